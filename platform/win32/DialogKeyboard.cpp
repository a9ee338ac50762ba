// platform/win32/DialogKeyboard.cpp - dialog keyboard navigation in the loops that serve a
// thread's messages.
#include "platform/win32/DialogKeyboard.h"

namespace platform::win32 {
namespace {

// The atom of the system's dialog class ("#32770").
constexpr ATOM kDialogClassAtom = 0x8002;

// The dialog that the message's window belongs to, or null. Only a top-level window of the
// dialog class counts: IsDialogMessage on any other window (a frame of the IDE, say) would
// swallow its Tab and arrow keys, which that window's own loop would never do.
HWND DialogOf(const MSG& msg) {
    if (!msg.hwnd)
        return nullptr;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (!root || ::GetClassLongPtrA(root, GCW_ATOM) != kDialogClassAtom)
        return nullptr;
    return root;
}

} // namespace

void DispatchThreadMessage(MSG& msg) {
    HWND dialog = DialogOf(msg);
    if (dialog && ::IsDialogMessageA(dialog, &msg))
        return;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

} // namespace platform::win32
