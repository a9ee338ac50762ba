// platform/WaitSignal.h - a thread waits for a signal while its windows keep answering.
//
// A thread that owns windows must go on serving them whenever it waits: otherwise its
// windows stop repainting, a click on one of them is not seen, and a message another thread
// sends to one of them (SendMessage) waits as long as it does. On Windows the wait
// dispatches the messages sent and posted to the calling thread's windows meanwhile, a
// dialog's keys as its own modal loop would (Tab, Enter, Escape); a quit message is left
// where it is, for the loop it is meant for. POSIX has no window messages:
// there it is a plain wait.
#pragma once

#include <chrono>
#include <memory>

namespace platform {

class CWaitSignal {
public:
    CWaitSignal();
    ~CWaitSignal();
    CWaitSignal(const CWaitSignal&) = delete;
    CWaitSignal& operator=(const CWaitSignal&) = delete;

    // From any thread: ends the wait going on, or the next one when none is.
    void Raise();
    // Waits until the signal is raised or the time has passed, serving the calling thread's
    // windows meanwhile; true when it was raised (it is lowered again by that).
    bool Wait(std::chrono::milliseconds timeout);

    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace platform
