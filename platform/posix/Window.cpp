// platform/posix/Window.cpp - no windows on POSIX: handles are tokens of the dialog host.
#include "platform/Window.h"

namespace platform {

WindowHandle DesktopWindow() {
    return nullptr;
}
bool IsVisibleWindow(WindowHandle window) {
    return window != nullptr;
}
WindowHandle TopChildWindow(WindowHandle window) {
    return window;
}
void FocusWindow(WindowHandle) {}

} // namespace platform
