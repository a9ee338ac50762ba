// ui/framework/OwnerThread.h - acting on a window from another thread: the action runs on
// the thread that owns the window, and an action for a window that has gone is dropped.
//
// Windows belong to the thread that made them, and only that thread touches them. A worker
// that wants something done to a window sends it there (SendToOwner) and waits until it has
// been done, as a sent window message does; the owner thread carries it out when it serves
// its queue, and checks there, on its own thread, whether the window is still there. A
// window goes only on its own thread, so no action can find it half gone, and nobody needs
// to ask "does the window still exist" before acting.
//
// The headless and terminal hosts keep one queue per thread (CThreadQueue). A thread serves
// its queue whenever it waits: in a modal loop (HeadlessHost::WaitUntil, the prompts of a
// text-only host), in a command (as its output arrives), while it waits for another thread
// (a worker's end, a context another thread is using: ServeUntil), and while it waits for
// an action it sent itself. A thread that ends drops what is still queued for it.
//
// Where real windows exist, every such wait also dispatches the thread's window messages
// (platform/WaitSignal.h), so its windows stay alive and a message sent to one of them from
// another thread is answered while it waits; the Win32 host serves the queue in its modal
// loop, between the thread's window messages.
#pragma once

#include "platform/WaitSignal.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace uifw {

class CWindowLife;

// The actions sent to one thread.
class CThreadQueue {
public:
    CThreadQueue();
    ~CThreadQueue();
    CThreadQueue(const CThreadQueue&) = delete;
    CThreadQueue& operator=(const CThreadQueue&) = delete;

    // Carries out every action waiting now. Only its own thread may call it.
    void Serve();
    // Serves until done() holds, looking again after every action and whenever the queue is
    // woken (and at least every few milliseconds); false when the ceiling passed first.
    bool ServeUntil(
        const std::function<bool()>& done,
        std::chrono::steady_clock::duration ceiling = std::chrono::steady_clock::duration::max());
    // Whether actions wait to be served.
    bool HasPending() const { return pending_.load(); }
    // Makes a ServeUntil look at its condition now (another thread changed what it waits for).
    void Wake();

    struct Item;
    // Queues an item; false when the thread has ended.
    bool Post(const std::shared_ptr<Item>& item);
    // Drops what is queued and refuses what comes: the thread is ending.
    void Close();

private:
    std::mutex lock_;
    // Raised by every Post and Wake; the owner thread waits for it serving its windows too.
    platform::CWaitSignal changed_;
    std::deque<std::shared_ptr<Item>> items_;
    std::atomic<bool> pending_{false};
    bool closed_ = false;
};

// The calling thread's queue, made on first use and closed when the thread ends.
std::shared_ptr<CThreadQueue> ThisThreadQueue();
// Serves the calling thread's queue when something waits in it (cheap when nothing does).
void ServeThisThread();
// ThisThreadQueue()->ServeUntil(done, ceiling).
bool ServeUntil(const std::function<bool()>& done, std::chrono::steady_clock::duration ceiling =
                                                       std::chrono::steady_clock::duration::max());

// Whether a window is there, and which thread owns it. A window object keeps one for its
// whole life and tells it when a host realises the window (on the owner thread) and when
// the window goes. Each realisation counts anew: an action meant for a window that has gone
// never reaches a later window of the same object.
class CWindowLife : public std::enable_shared_from_this<CWindowLife> {
public:
    // The window is realised on the calling thread, which owns it from now on.
    void Attach();
    // The window has gone (on its owner thread).
    void Detach();
    bool IsAlive() const;
    // Whether the calling thread owns the window.
    bool OnOwnerThread() const;

    // Runs the action on the owner thread while the window is there and waits for it; the
    // calling thread serves its own queue meanwhile. On the owner thread it runs at once.
    // True when it ran; false when it was dropped (the window is not there, or went before
    // its turn came).
    bool SendToOwner(std::function<void()> action);
    // Whether the window is the same one as at generation and still there; for the queue.
    bool IsCurrent(uint64_t generation) const;

private:
    mutable std::mutex lock_;
    std::shared_ptr<CThreadQueue> owner_;
    uint64_t generation_ = 0;
    bool alive_ = false;
};

} // namespace uifw
