// ui/framework/OwnerThread.cpp - per-thread queues of actions and the windows they are for.
#include "ui/framework/OwnerThread.h"

#include "platform/Threads.h"

#include <algorithm>
#include <set>

namespace uifw {

struct CThreadQueue::Item {
    std::shared_ptr<CWindowLife> life;
    uint64_t generation = 0;
    std::function<void()> action;
    std::shared_ptr<CThreadQueue> sender; // woken when the item is done
    std::atomic<bool> done{false};
    std::atomic<bool> ran{false};
};

namespace {

// How long a waiting thread sleeps at most before it looks at its condition again: a
// condition that changes without a Wake (a worker's flag) is seen this late at worst.
constexpr auto kLookAgain = std::chrono::milliseconds(10);

void Finish(CThreadQueue::Item& item, bool ran) {
    item.ran = ran;
    item.done = true;
    if (item.sender)
        item.sender->Wake();
}

} // namespace

CThreadQueue::CThreadQueue() = default;

CThreadQueue::~CThreadQueue() {
    Close();
}

void CThreadQueue::Serve() {
    for (;;) {
        std::shared_ptr<Item> item;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (items_.empty()) {
                pending_ = false;
                return;
            }
            item = std::move(items_.front());
            items_.pop_front();
            pending_ = !items_.empty();
        }
        // The window is looked at here, on its own thread, where it could only have gone
        // before this moment: what runs finds it there.
        const bool current = item->life && item->life->IsCurrent(item->generation);
        if (current)
            item->action();
        Finish(*item, current);
    }
}

bool CThreadQueue::ServeUntil(const std::function<bool()>& done,
                              std::chrono::steady_clock::duration ceiling) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline =
        ceiling >= Clock::time_point::max() - start ? Clock::time_point::max() : start + ceiling;
    for (;;) {
        Serve();
        if (done())
            return true;
        if (pending_.load())
            continue;
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return false;
        // A Post or Wake after the look above leaves the signal raised: the wait ends at once.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        changed_.Wait(left > kLookAgain ? kLookAgain
                                        : std::max(left, std::chrono::milliseconds(1)));
    }
}

void CThreadQueue::Wake() {
    changed_.Raise();
}

bool CThreadQueue::Post(const std::shared_ptr<Item>& item) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (closed_)
            return false;
        items_.push_back(item);
        pending_ = true;
    }
    changed_.Raise();
    return true;
}

void CThreadQueue::Close() {
    std::deque<std::shared_ptr<Item>> dropped;
    {
        std::lock_guard<std::mutex> guard(lock_);
        closed_ = true;
        dropped.swap(items_);
        pending_ = false;
    }
    for (const std::shared_ptr<Item>& item : dropped)
        Finish(*item, false);
}

namespace {
// The queues of the threads, each closed when its thread ends so that nothing waits for it in
// vain. A platform slot, not a thread_local with a destructor: such a destructor, once
// registered on a thread of the host, would keep the module loaded after its host unloads it.
class ThreadQueues {
public:
    ThreadQueues() : slot_(std::make_unique<platform::CThreadSlot>(&ThreadEnded)) {}
    // The module goes: first no thread's end reaches this code any more, then the queues of
    // threads still running are let go (whoever still holds one keeps it).
    ~ThreadQueues() {
        {
            std::lock_guard<std::mutex> guard(lock_);
            going_ = true;
        }
        slot_.reset();
        for (Held* held : held_)
            delete held;
    }

    std::shared_ptr<CThreadQueue>& Mine() {
        if (auto* held = static_cast<Held*>(slot_->Get()))
            return held->queue;
        auto* held = new Held;
        std::lock_guard<std::mutex> guard(lock_);
        held_.insert(held);
        slot_->Set(held); // without a slot the queue lives until the module goes, never closed
        return held->queue;
    }

private:
    struct Held {
        std::shared_ptr<CThreadQueue> queue = std::make_shared<CThreadQueue>();
    };

    static void ThreadEnded(void* value);

    std::unique_ptr<platform::CThreadSlot> slot_;
    std::mutex lock_;
    std::set<Held*> held_;
    bool going_ = false;
};

ThreadQueues& Queues() {
    static ThreadQueues queues;
    return queues;
}

void ThreadQueues::ThreadEnded(void* value) {
    auto* held = static_cast<Held*>(value);
    ThreadQueues& queues = Queues();
    {
        std::lock_guard<std::mutex> guard(queues.lock_);
        if (queues.going_ || queues.held_.erase(held) == 0)
            return; // the module is going: its destructor lets the queue go
    }
    held->queue->Close();
    delete held;
}

CThreadQueue& MyQueue() {
    return *Queues().Mine();
}
} // namespace

std::shared_ptr<CThreadQueue> ThisThreadQueue() {
    return Queues().Mine();
}

void ServeThisThread() {
    CThreadQueue& queue = MyQueue();
    if (queue.HasPending())
        queue.Serve();
}

bool ServeUntil(const std::function<bool()>& done, std::chrono::steady_clock::duration ceiling) {
    return MyQueue().ServeUntil(done, ceiling);
}

// --- CWindowLife

void CWindowLife::Attach() {
    std::lock_guard<std::mutex> guard(lock_);
    owner_ = ThisThreadQueue();
    ++generation_;
    alive_ = true;
}

void CWindowLife::Detach() {
    std::lock_guard<std::mutex> guard(lock_);
    alive_ = false;
}

bool CWindowLife::IsAlive() const {
    std::lock_guard<std::mutex> guard(lock_);
    return alive_;
}

bool CWindowLife::OnOwnerThread() const {
    std::lock_guard<std::mutex> guard(lock_);
    return owner_ && owner_ == Queues().Mine();
}

bool CWindowLife::IsCurrent(uint64_t generation) const {
    std::lock_guard<std::mutex> guard(lock_);
    return alive_ && generation_ == generation;
}

bool CWindowLife::SendToOwner(std::function<void()> action) {
    std::shared_ptr<CThreadQueue> owner;
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!alive_)
            return false;
        owner = owner_;
        generation = generation_;
    }
    const std::shared_ptr<CThreadQueue> self = ThisThreadQueue();
    if (owner == self) {
        action(); // alive was read on the owner thread itself: nothing can have changed it
        return true;
    }
    auto item = std::make_shared<CThreadQueue::Item>();
    item->life = shared_from_this();
    item->generation = generation;
    item->action = std::move(action);
    item->sender = self;
    if (!owner->Post(item))
        return false;
    self->ServeUntil([&] { return item->done.load(); });
    return item->ran;
}

} // namespace uifw
