// engine/CommandThread.cpp - a thread per command; callbacks carried back to the asker.
#include "engine/CommandThread.h"

#include "ui/framework/OwnerThread.h"

#include <atomic>
#include <memory>
#include <system_error>
#include <thread>

namespace commandthread {
namespace {

// The asking thread of the command this thread runs; a plain pointer, so that the thread
// needs no destructor at its end.
thread_local uifw::CWindowLife* t_asker = nullptr;

} // namespace

int Run(const std::function<int()>& body) {
    // The asking thread stands for a window of its own for the length of the call: what is
    // carried back is dropped, never run late, should it have gone (it cannot, it waits).
    auto asker = std::make_shared<uifw::CWindowLife>();
    asker->Attach();
    const std::shared_ptr<uifw::CThreadQueue> queue = uifw::ThisThreadQueue();
    std::atomic<bool> done{false};
    int result = 0;
    std::thread runner;
    try {
        runner = std::thread([&] {
            t_asker = asker.get();
            result = body();
            t_asker = nullptr;
            done = true;
            queue->Wake();
        });
    } catch (const std::system_error&) { // no thread to be had: the call blocks, but runs
        asker->Detach();
        return body();
    }
    queue->ServeUntil([&] { return done.load(); });
    runner.join();
    asker->Detach();
    return result;
}

void Back(const std::function<void()>& action) {
    if (t_asker)
        t_asker->SendToOwner(action);
    else
        action();
}

} // namespace commandthread
