// platform/posix/Threads.cpp - threads held at a gate until they are resumed; the lowest
// priority as the thread's own nice value.
#include "platform/Threads.h"

#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

struct CThread::State {
    std::function<void()> body;
    std::thread thread;
    std::mutex lock;
    std::condition_variable changed;
    bool resumed = false;
    bool cancelled = false; // the owner went before resuming it
    bool lowest = false;
    bool ended = false;
};

CThread::CThread() = default;

CThread::~CThread() {
    if (!state_)
        return;
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        if (!state_->resumed)
            state_->cancelled = true;
    }
    state_->changed.notify_all();
    if (state_->thread.joinable())
        state_->thread.join();
}

bool CThread::CreateSuspended(std::function<void()> body) {
    if (state_)
        return false;
    auto state = std::make_unique<State>();
    state->body = std::move(body);
    State* s = state.get();
    try {
        state->thread = std::thread([s] {
            {
                std::unique_lock<std::mutex> guard(s->lock);
                s->changed.wait(guard, [s] { return s->resumed || s->cancelled; });
                if (s->cancelled) {
                    s->ended = true;
                    s->changed.notify_all();
                    return;
                }
                // The thread sets its own nice value: on Linux it belongs to the thread.
                if (s->lowest)
                    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 19);
            }
            s->body();
            std::lock_guard<std::mutex> guard(s->lock);
            s->ended = true;
            s->changed.notify_all();
        });
    } catch (...) {
        return false;
    }
    state_ = std::move(state);
    return true;
}

bool CThread::SetLowestPriority() {
    if (!state_)
        return false;
    std::lock_guard<std::mutex> guard(state_->lock);
    if (state_->resumed)
        return false;
    state_->lowest = true;
    return true;
}

void CThread::Resume() {
    if (!state_)
        return;
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->resumed = true;
    }
    state_->changed.notify_all();
}

bool CThread::Wait(int timeoutMs) {
    if (!state_)
        return true;
    std::unique_lock<std::mutex> guard(state_->lock);
    auto ended = [this] { return state_->ended; };
    if (timeoutMs < 0)
        state_->changed.wait(guard, ended);
    else if (!state_->changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), ended))
        return false;
    guard.unlock();
    if (state_->thread.joinable())
        state_->thread.join();
    return true;
}

bool CThread::Created() const {
    return state_ != nullptr;
}

bool IsLowestPriorityThread() {
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
    return errno == 0 && nice == 19;
}

struct CThreadSlot::Key {
    pthread_key_t key;
    bool made = false;
};

CThreadSlot::CThreadSlot(void (*cleanup)(void*)) : key_(std::make_unique<Key>()) {
    key_->made = pthread_key_create(&key_->key, cleanup) == 0;
}

CThreadSlot::~CThreadSlot() {
    if (key_->made)
        pthread_key_delete(key_->key);
}

void* CThreadSlot::Get() const {
    return key_->made ? pthread_getspecific(key_->key) : nullptr;
}

bool CThreadSlot::Set(void* value) {
    return key_->made && pthread_setspecific(key_->key, value) == 0;
}

} // namespace platform
