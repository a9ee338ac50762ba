// platform/win32/Window.cpp - window facts.
#include "platform/Window.h"
#include "platform/win32/Win32.h"

namespace platform {

WindowHandle DesktopWindow() {
    return ::GetDesktopWindow();
}

bool IsVisibleWindow(WindowHandle window) {
    return window && ::IsWindow(static_cast<HWND>(window)) &&
           ::IsWindowVisible(static_cast<HWND>(window));
}

WindowHandle TopChildWindow(WindowHandle window) {
    HWND top = ::GetTopWindow(static_cast<HWND>(window));
    return top ? top : window;
}

void FocusWindow(WindowHandle window) {
    if (window && ::IsWindow(static_cast<HWND>(window)))
        ::SetFocus(static_cast<HWND>(window));
}

} // namespace platform
