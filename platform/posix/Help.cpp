// platform/posix/Help.cpp - there is no HTML Help control on POSIX.
#include "platform/Help.h"

namespace platform {

bool ShowHtmlHelp(const std::string&) {
    return false;
}

} // namespace platform
