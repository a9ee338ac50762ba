// platform/win32/WaitSignal.cpp - an auto-reset event waited for with MsgWaitForMultipleObjects,
// dispatching the thread's window messages as they come.
#include "platform/WaitSignal.h"

#include "platform/win32/Win32.h"

namespace platform {

struct CWaitSignal::State {
    HANDLE event = nullptr;
};

namespace {

// Everything but WM_QUIT: a quit belongs to the loop that runs the thread, which must still
// find it when the wait is over.
int DispatchWaiting() {
    MSG msg;
    int dispatched = 0;
    while (::PeekMessageA(&msg, nullptr, 0, WM_QUIT - 1, PM_REMOVE) ||
           ::PeekMessageA(&msg, nullptr, WM_QUIT + 1, ~0u, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        ++dispatched;
    }
    return dispatched;
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
    const ULONGLONG start = ::GetTickCount64();
    const ULONGLONG total = timeout.count() < 0 ? 0 : static_cast<ULONGLONG>(timeout.count());
    for (;;) {
        const ULONGLONG spent = ::GetTickCount64() - start;
        const DWORD left = spent >= total ? 0 : static_cast<DWORD>(total - spent);
        const DWORD handles = state_->event ? 1 : 0;
        const DWORD result = ::MsgWaitForMultipleObjectsEx(handles, &state_->event, left,
                                                           QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (handles && result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + handles)
            return false; // the time has passed (or the wait failed)
        // Input that could not be taken (a quit held for its loop) would end every wait at
        // once: then only the signal ends this one, soon looked at again.
        if (DispatchWaiting() == 0 && handles &&
            ::WaitForSingleObject(state_->event, left < 5 ? left : 5) == WAIT_OBJECT_0)
            return true;
        if (left == 0)
            return false;
    }
}

} // namespace platform
