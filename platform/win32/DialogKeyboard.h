// platform/win32/DialogKeyboard.h - serving one of the thread's messages as its loop would,
// with dialog keyboard navigation (Tab, arrows, Enter, Escape, mnemonics) for dialogs.
//
// Every loop of this library that serves a thread's messages - the modal loop of its
// dialogs and the waits of a running command - serves them through here, so that a dialog
// answers the keyboard the same whichever loop happens to be running.
#pragma once

#include "platform/win32/Win32.h"

namespace platform::win32 {

// The message goes to the dialog that holds its window (a top-level window of the system's
// dialog class) as keyboard navigation when the dialog takes it; otherwise it is translated
// and dispatched. Other windows' messages are left exactly as a plain loop serves them.
void DispatchThreadMessage(MSG& msg);

} // namespace platform::win32
