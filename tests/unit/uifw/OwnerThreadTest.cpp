// Acting on windows from other threads: actions run on the window's thread while it
// waits, an action for a window that has gone is dropped (also one queued before it went),
// nothing waits for a thread that has ended; and the threads the pages run their loads on.
#include "SampleDialog.h"

#include "platform/Threads.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/HeadlessHost.h"
#include "ui/framework/OwnerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace uifw;

namespace {

constexpr auto kCeiling = std::chrono::seconds(30);

class OwnerThread : public testing::Test {
protected:
    HeadlessHost host_{testing_support::FailTest};
};

TEST_F(OwnerThread, AnActionFromAWorkerRunsOnTheWindowsThreadWhileItWaits) {
    sample::CSampleDialog dialog;
    auto ui = host_.Open(dialog);
    std::atomic<bool> returned{false};
    std::thread::id ranOn;
    bool ran = false;
    std::thread worker([&] {
        ran = dialog.RunOnOwnerThread([&] {
            ranOn = std::this_thread::get_id();
            dialog.Edit(sample::kName).SetText("from the worker");
        });
        returned = true;
    });
    // Nothing happens to the window until its thread serves.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned);
    EXPECT_EQ(ui.Text(sample::kName), "initial");
    EXPECT_TRUE(host_.WaitUntil([&] { return returned.load(); }, "the worker"));
    worker.join();
    EXPECT_TRUE(ran);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(ui.Text(sample::kName), "from the worker");

    // On the window's own thread the action runs at once.
    EXPECT_TRUE(dialog.RunOnOwnerThread([&] { dialog.Edit(sample::kName).SetText("here"); }));
    EXPECT_EQ(ui.Text(sample::kName), "here");
}

TEST_F(OwnerThread, AnActionForAWindowThatHasGoneIsDropped) {
    sample::CSampleDialog dialog;
    // Not realised yet: dropped at once, from any thread.
    EXPECT_FALSE(dialog.RunOnOwnerThread([] { ADD_FAILURE() << "ran without a window"; }));
    std::thread([&] {
        EXPECT_FALSE(dialog.RunOnOwnerThread([] { ADD_FAILURE() << "ran without a window"; }));
    }).join();

    // Queued while the window was there, served after it went (and another window of the
    // same object has been made since): dropped, and the worker goes on.
    std::atomic<int> result{-1};
    std::thread worker;
    {
        auto ui = host_.Open(dialog);
        worker = std::thread([&] {
            result = dialog.RunOnOwnerThread([] { ADD_FAILURE() << "ran on a gone window"; });
        });
        // The action is queued (the worker waits), and this thread does not serve it before
        // the window goes.
        const auto until = std::chrono::steady_clock::now() + kCeiling;
        while (!ThisThreadQueue()->HasPending() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ui.Click(kIdCancel);
    }
    auto again = host_.Open(dialog);
    EXPECT_TRUE(host_.WaitUntil([&] { return result.load() != -1; }, "the worker"));
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(again.IsOpen());
}

TEST_F(OwnerThread, NothingWaitsForAThreadThatHasEnded) {
    auto life = std::make_shared<CWindowLife>();
    std::atomic<bool> endOwner{false};
    std::thread owner([&] {
        life->Attach();
        while (!endOwner)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Ends without serving what was sent to it.
    });
    while (!life->IsAlive())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::atomic<int> result{-1};
    std::thread sender([&] { result = life->SendToOwner([] { ADD_FAILURE() << "ran"; }); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    endOwner = true;
    owner.join();
    sender.join();
    EXPECT_EQ(result, 0);
    // Sent after its thread ended: refused at once.
    EXPECT_FALSE(life->SendToOwner([] { ADD_FAILURE() << "ran"; }));
}

// Two threads that each own a window and send to the other's: each serves its own queue
// while it waits for the other, so neither waits for ever.
TEST_F(OwnerThread, TwoThreadsSendingToEachOthersWindowsBothGetThrough) {
    auto mine = std::make_shared<CWindowLife>();
    mine->Attach();
    auto theirs = std::make_shared<CWindowLife>();
    std::atomic<bool> ready{false};
    std::atomic<int> theirsRan{0};
    bool mineRan = false;
    std::thread other([&] {
        theirs->Attach();
        ready = true;
        EXPECT_TRUE(mine->SendToOwner([&] { mineRan = true; }));
        theirs->Detach();
    });
    while (!ready)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(theirs->SendToOwner([&] { ++theirsRan; }));
    other.join();
    EXPECT_TRUE(mineRan);
    EXPECT_EQ(theirsRan, 1);
}

TEST_F(OwnerThread, WaitingInVainIsAFaultNotAHang) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    EXPECT_FALSE(host.WaitUntil([] { return false; }, "a worker that never comes",
                                std::chrono::milliseconds(30)));
    ASSERT_EQ(faults.seen.size(), 1u);
    EXPECT_NE(faults.seen[0].find("a worker that never comes"), std::string::npos);
}

TEST(Threads, ASuspendedThreadRunsOnlyOnceResumedAndAtTheLowestPriority) {
    std::atomic<bool> ran{false}, lowest{false};
    platform::CThread thread;
    ASSERT_TRUE(thread.CreateSuspended([&] {
        lowest = platform::IsLowestPriorityThread();
        ran = true;
    }));
    EXPECT_FALSE(thread.CreateSuspended([] {}));
    EXPECT_TRUE(thread.SetLowestPriority());
    EXPECT_FALSE(thread.Wait(50));
    EXPECT_FALSE(ran);
    thread.Resume();
    EXPECT_TRUE(thread.Wait(-1));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(lowest);
    EXPECT_FALSE(platform::IsLowestPriorityThread());

    // One never resumed runs nothing, and its owner's going ends it.
    {
        platform::CThread idle;
        ASSERT_TRUE(idle.CreateSuspended([] { ADD_FAILURE() << "never resumed, yet it ran"; }));
    }
    // Waiting with a limit tells a thread that still runs.
    std::atomic<bool> release{false};
    platform::CThread busy;
    ASSERT_TRUE(busy.CreateSuspended([&] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }));
    busy.Resume();
    EXPECT_FALSE(busy.Wait(20));
    release = true;
    EXPECT_TRUE(busy.Wait(
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(kCeiling).count())));
}

} // namespace

// A slot's cleanup runs on each thread that ends with a value set, and no more once the slot
// has gone (what lets the module that owns the slot unload).
TEST(Threads, ASlotCleansUpWhenAThreadEndsAndNotAfterItHasGone) {
    static std::atomic<int> cleaned{0};
    cleaned = 0;
    auto slot = std::make_unique<platform::CThreadSlot>([](void* value) {
        EXPECT_EQ(value, &cleaned);
        ++cleaned;
    });
    EXPECT_EQ(slot->Get(), nullptr);
    std::thread setter([&] {
        EXPECT_TRUE(slot->Set(&cleaned));
        EXPECT_EQ(slot->Get(), &cleaned);
    });
    setter.join();
    std::thread idle([] {});
    idle.join();
    EXPECT_EQ(cleaned, 1); // the thread that set nothing needed no cleanup
    EXPECT_EQ(slot->Get(), nullptr) << "each thread has its own value";

    std::atomic<bool> set{false}, end{false};
    std::thread late([&] {
        slot->Set(&cleaned);
        set = true;
        while (!end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    while (!set)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    slot.reset(); // Windows cleans up the values still set here; POSIX never does
    const int atReset = cleaned;
    EXPECT_LE(atReset, 2);
    end = true;
    late.join();
    EXPECT_EQ(cleaned, atReset);
}
