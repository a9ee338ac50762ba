// platform/win32/MessageBox.cpp - the system message box.
#include "platform/MessageBox.h"
#include "platform/win32/Win32.h"

namespace platform {

int ShowSystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         unsigned style) {
    return ::MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
}

} // namespace platform
