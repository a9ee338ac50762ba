// platform/win32/WaitSignal.cpp - an auto-reset event waited for with MsgWaitForMultipleObjects,
// dispatching the thread's window messages as they come.
#include "platform/WaitSignal.h"

#include "platform/win32/DialogKeyboard.h"
#include "platform/win32/Win32.h"

namespace platform {

struct CWaitSignal::State {
    HANDLE event = nullptr;
};

namespace {

// Everything but WM_QUIT: a quit belongs to the loop that runs the thread, which must still
// find it when the wait is over. The keyboard of a dialog open meanwhile (the progress window
// above all, whose Cancel a user may reach only by keys) is served as in a modal loop.
void DispatchWaiting() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, WM_QUIT - 1, PM_REMOVE) ||
           ::PeekMessageA(&msg, nullptr, WM_QUIT + 1, ~0u, PM_REMOVE))
        win32::DispatchThreadMessage(msg);
}

} // namespace

CWaitSignal::CWaitSignal() : state_(std::make_unique<State>()) {
    state_->event = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

CWaitSignal::~CWaitSignal() {
    if (state_->event)
        ::CloseHandle(state_->event);
}

void CWaitSignal::Raise() {
    if (state_->event)
        ::SetEvent(state_->event);
}

bool CWaitSignal::Wait(std::chrono::milliseconds timeout) {
    const ULONGLONG begun = ::GetTickCount64();
    const ULONGLONG total = timeout.count() < 0 ? 0 : static_cast<ULONGLONG>(timeout.count());
    for (;;) {
        // What is there already first: the wait below wakes only for input that is new since
        // the thread last looked, which keeps a quit held for its loop from waking it again
        // and again. Messages sent from other threads are answered inside PeekMessage.
        DispatchWaiting();
        if (!state_->event)
            return false;
        if (::WaitForSingleObject(state_->event, 0) == WAIT_OBJECT_0)
            return true;
        const ULONGLONG spent = ::GetTickCount64() - begun;
        if (spent >= total)
            return false;
        const DWORD result = ::MsgWaitForMultipleObjectsEx(
            1, &state_->event, static_cast<DWORD>(total - spent), QS_ALLINPUT, 0);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false; // the time has passed (or the wait failed)
    }
}

} // namespace platform
