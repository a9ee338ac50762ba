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

// One value per thread, with a cleanup that runs on a thread when it ends while its value is
// set. Unlike a C++ thread_local with a destructor, which keeps a shared library loaded until
// every thread that touched it has ended, a slot lets the module unload. Destroying the slot
// may run the cleanup of the values still set (Windows does; POSIX leaves them to the owner),
// and no cleanup runs after it.
class CThreadSlot {
public:
    explicit CThreadSlot(void (*cleanup)(void* value));
    ~CThreadSlot();
    CThreadSlot(const CThreadSlot&) = delete;
    CThreadSlot& operator=(const CThreadSlot&) = delete;

    // The calling thread's value; null until it sets one (and when the slot could not be made).
    void* Get() const;
    // False when the slot could not be made.
    bool Set(void* value);

    struct Key;

private:
    std::unique_ptr<Key> key_;
};

} // namespace platform
