// platform/posix/MessageBox.cpp - POSIX has no system message box: the text goes to
// standard error and the default (first) button answers.
#include "platform/MessageBox.h"

#include <cstdio>

namespace platform {

int ShowSystemMessageBox(WindowHandle, const std::string& text, const std::string& caption,
                         unsigned style) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    switch (style & 0xF) {
    case kMbYesNo:
        return kIdYes;
    default:
        return kIdOk;
    }
}

} // namespace platform
