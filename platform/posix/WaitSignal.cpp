// platform/posix/WaitSignal.cpp - no window messages: a flag under a condition variable.
#include "platform/WaitSignal.h"

#include <condition_variable>
#include <mutex>

namespace platform {

struct CWaitSignal::State {
    std::mutex lock;
    std::condition_variable changed;
    bool raised = false;
};

CWaitSignal::CWaitSignal() : state_(std::make_unique<State>()) {}

CWaitSignal::~CWaitSignal() = default;

void CWaitSignal::Raise() {
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->raised = true;
    }
    state_->changed.notify_all();
}

bool CWaitSignal::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> guard(state_->lock);
    const bool raised = state_->changed.wait_for(guard, timeout, [&] { return state_->raised; });
    state_->raised = false;
    return raised;
}

} // namespace platform
