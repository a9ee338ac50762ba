// platform/Threads.h - threads of the process's own, made suspended so that their priority
// is set before they run.
//
// A thread is created suspended with its body, may be given the lowest priority, and runs
// its body once it is resumed. Its owner waits for it to end (Wait), with or without a time
// limit, before it goes; a thread that was never resumed runs nothing and ends when its
// owner goes.
//
// Lowest priority: Windows' THREAD_PRIORITY_LOWEST; on POSIX the highest nice value for that
// thread alone (Linux keeps one per thread), which any user may set.
#pragma once

#include <functional>
#include <memory>

namespace platform {

class CThread {
public:
    CThread();
    // Waits for a thread that runs; a suspended one is ended without running its body.
    ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // Creates the thread, suspended; false when it cannot be made (or was made before).
    bool CreateSuspended(std::function<void()> body);
    // Before Resume: the thread runs at the lowest priority. False when it cannot.
    bool SetLowestPriority();
    void Resume();
    // Waits for the body to end: up to timeoutMs milliseconds, or without a limit when it is
    // negative. True when it has ended (or no thread was made).
    bool Wait(int timeoutMs);
    bool Created() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

// Whether the calling thread runs at the lowest priority.
bool IsLowestPriorityThread();

} // namespace platform
