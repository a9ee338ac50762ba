// Controllers of two threads on one context, against a stand-in for cvs: their commands
// take turns and each operation reads its own output; what a worker's command shows (text,
// the progress window, the login dialog) is shown by the context's own thread.
#include "engine/DlgStatus.h"
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/DlgPassword.h"
#include "ui/framework/OwnerThread.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

constexpr auto kCeiling = std::chrono::seconds(60);

class ControllerTurns : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Settings().SetCvsExePath(testing_support::FakeCvsPath());
        context_ = env_.MakeContext();
        file_ = NormalizePath(folder_ / "a.txt");
        testing_support::WriteFile(file_, "a\n");
    }
    void TearDown() override {
        context_.reset();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    // Waits as the context's thread does: serving what the worker sends it.
    static void Serve(const std::function<bool()>& done) {
        ASSERT_TRUE(uifw::ServeUntil(done, kCeiling));
    }

    testing_support::FakeCvsPlay play_;
    testing_support::TempDir folder_{"turns"};
    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string file_;
};

TEST_F(ControllerTurns, TwoThreadsTakeTurnsAndEachReadsItsOwnOutput) {
    play_.Set("editors", "a.txt\talice\tMon\thost\t/w\n");
    play_.Set("watchers", "a.txt\tbob\ttedit\n");
    play_.Hold("editors");

    std::vector<CCVSEditor> editors;
    testing_support::ServedWorker worker([&] {
        CCVSController controller(*context_);
        EXPECT_TRUE(controller.GetEditors({file_}, editors));
    });
    Serve([&] { return play_.Started("editors"); });
    // The worker's progress window is this thread's, opened for it.
    ASSERT_NE(context_->GetProgressWindow(), nullptr);
    EXPECT_EQ(context_->GetProgressWindow()->Activity(), "Getting file editors ...");

    // This thread's listing waits for the worker's turn to end; the worker's command goes
    // on meanwhile and its text arrives here.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        play_.Release("editors");
    });
    std::vector<CCVSWatcher> watchers;
    {
        CCVSController controller(*context_);
        EXPECT_TRUE(controller.GetWatchers({file_}, watchers));
    }
    worker.Join();
    releaser.join();

    ASSERT_EQ(editors.size(), 1u);
    EXPECT_EQ(editors[0].user, "alice");
    ASSERT_EQ(watchers.size(), 1u);
    EXPECT_EQ(watchers[0].user, "bob");
    EXPECT_TRUE(watchers[0].edit);
    // Each command whole: the worker's, then this thread's; every text delivered here.
    EXPECT_EQ(env_.Pane().DeliveredBy("Getting file editors ..."), std::this_thread::get_id());
    EXPECT_EQ(env_.Pane().DeliveredBy("cvs editors a.txt"), std::this_thread::get_id());
    EXPECT_EQ(env_.Pane().TakeCommands(),
              (std::vector<std::string>{"cvs editors a.txt", "cvs watchers a.txt"}));
    EXPECT_EQ(context_->GetProgressWindow(), nullptr);
}

TEST_F(ControllerTurns, AWorkersLoginDialogIsShownByTheContextsThread) {
    context_->SetCVSRoot(":pserver:ann@127.0.0.1:2401/repo");
    play_.Set("editors", "", 1, "cvs editors: authorization failed: try \"cvs login\"\n");
    const std::thread::id self = std::this_thread::get_id();
    std::thread::id shownOn;
    env_.Host().ExpectDialog("CVS Repository Login ...", [&](uifw::DialogDriver& ui) {
        shownOn = std::this_thread::get_id();
        EXPECT_EQ(ui.Text(CDlgPassword::kIdcCvsRoot), ":pserver:ann@127.0.0.1:2401/repo");
        ui.Click(uifw::kIdCancel);
    });
    bool listed = true;
    testing_support::ServedWorker worker([&] {
        CCVSController controller(*context_);
        std::vector<CCVSEditor> editors;
        listed = controller.GetEditors({file_}, editors);
    });
    worker.Join();
    EXPECT_FALSE(listed);
    EXPECT_EQ(shownOn, self);
    // The worker's controller closed its progress window here as it ended.
    EXPECT_EQ(context_->GetProgressWindow(), nullptr);
}

} // namespace
