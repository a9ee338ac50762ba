// engine/MessageWindow.cpp - synchronous delivery of console text on the context's thread.
#include "engine/MessageWindow.h"

#include "engine/CVSContext.h"

CMsgWnd::CMsgWnd(CCVSContext* context) : context_(context), thread_(std::this_thread::get_id()) {}

void CMsgWnd::Deliver(std::string& text, int kind) {
    std::lock_guard<std::mutex> guard(deliveryLock_);
    if (context_)
        context_->DeliverText(std::move(text), kind);
}

void CMsgWnd::DrainQueue(std::unique_lock<std::mutex>& guard) {
    while (!queue_.empty()) {
        Pending* p = queue_.front();
        queue_.pop_front();
        guard.unlock();
        Deliver(*p->text, p->kind);
        guard.lock();
        p->done = true;
        changed_.notify_all();
    }
}

void CMsgWnd::Send(std::string text, int kind) {
    if (std::this_thread::get_id() == thread_) {
        Deliver(text, kind);
        return;
    }
    std::unique_lock<std::mutex> guard(lock_);
    if (serving_ == 0) {
        guard.unlock();
        Deliver(text, kind);
        return;
    }
    Pending pending{&text, kind};
    queue_.push_back(&pending);
    changed_.notify_all();
    changed_.wait(guard, [&] { return pending.done; });
}

CMsgWnd::Serving::Serving(CMsgWnd& window) : window_(window) {
    std::lock_guard<std::mutex> guard(window_.lock_);
    ++window_.serving_;
}

CMsgWnd::Serving::~Serving() {
    // Whatever was handed over is delivered before the context's thread stops serving, so
    // no sender is left waiting.
    std::unique_lock<std::mutex> guard(window_.lock_);
    window_.DrainQueue(guard);
    --window_.serving_;
}

void CMsgWnd::ServePending() {
    if (std::this_thread::get_id() != thread_)
        return;
    std::unique_lock<std::mutex> guard(lock_);
    DrainQueue(guard);
}
