// platform/Window.h - the few window facts the engine needs below the dialog layer.
//
// Windows: real window handles. POSIX has no windows: a handle is an opaque token from the
// dialog host, the desktop is null, and every non-null window counts as visible.
#pragma once

#include "platform/Types.h"

namespace platform {

WindowHandle DesktopWindow();
bool IsVisibleWindow(WindowHandle window);
// The topmost child of a window (GetTopWindow), or the window itself when it has none.
WindowHandle TopChildWindow(WindowHandle window);
// Gives the keyboard focus to a window (null is ignored).
void FocusWindow(WindowHandle window);

} // namespace platform
