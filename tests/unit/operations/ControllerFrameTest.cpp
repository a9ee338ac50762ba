// The controller's frame against a stand-in for cvs: registration, questions, password
// requests and the batches by folder.
#include "engine/CVSArgs.h"
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/DlgPassword.h"
#include "workcopy/PathFunctions.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using testing_support::ScopedEnv;

class ControllerFrame : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Settings().SetCvsExePath(testing_support::FakeCvsPath());
        env_.Settings().SetIndependentMode(true);
        context_ = env_.MakeContext();
        context_->SetCVSRoot(":pserver:bob@127.0.0.1:2401/repo");
    }
    void TearDown() override {
        context_.reset();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    std::vector<std::string> Commands() { return env_.Pane().TakeCommands(); }

    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
};

TEST_F(ControllerFrame, RegistersWhileItLivesAndClosesTheProgressWindow) {
    {
        CCVSController controller(*context_);
        EXPECT_EQ(context_->GetController(), &controller);
        context_->SetActivity("Updating file(s) ...");
        EXPECT_NE(context_->GetProgressWindow(), nullptr);
        EXPECT_EQ(controller.GetErrorMessage(), "");
    }
    EXPECT_EQ(context_->GetController(), nullptr);
    EXPECT_EQ(context_->GetProgressWindow(), nullptr);
}

TEST_F(ControllerFrame, AControllerMadeInsideAnotherHandsTheContextBack) {
    CCVSController outer(*context_);
    {
        CCVSController inner(*context_);
        EXPECT_EQ(context_->GetController(), &inner);
    }
    EXPECT_EQ(context_->GetController(), &outer);
}

TEST_F(ControllerFrame, TheQuestionLeavesOutThePromptLines) {
    CCVSController controller(*context_);
    const char output[] = "\nx.txt has been modified; revert changes?\n"
                          "Question: revert?\nEnter: Yes/No\n";
    context_->OnConsoleText(output, std::strlen(output), 0);
    env_.Host().ExpectMessageBox(uifw::kIdYes);
    controller.OnYesNoQuestion();
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    const uifw::MessageBoxRecord box = env_.Host().MessageBoxes()[0];
    EXPECT_EQ(box.text, "x.txt has been modified; revert changes?\n");
    EXPECT_EQ(box.caption, "CVS Alert");
    EXPECT_EQ(box.style, uifw::kMbYesNo | uifw::kMbIconQuestion);
    EXPECT_EQ(LookupValue(context_->GetEnvironment(), "CVSLIB_YESNO"), "yes");
    EXPECT_EQ(context_->GetOutput(), "");

    env_.Host().ExpectMessageBox(uifw::kIdNo);
    controller.OnYesNoQuestion();
    EXPECT_EQ(LookupValue(context_->GetEnvironment(), "CVSLIB_YESNO"), "no");
}

TEST_F(ControllerFrame, APasswordRequestAsksForTheContextsRoot) {
    CCVSController controller(*context_);
    env_.Host().ExpectDialog("CVS Repository Login ...", [](uifw::DialogDriver& ui) {
        EXPECT_EQ(ui.Text(CDlgPassword::kIdcCvsRoot), ":pserver:bob@127.0.0.1:2401/repo");
        EXPECT_TRUE(ui.IsReadOnly(CDlgPassword::kIdcCvsRoot));
        EXPECT_EQ(ui.Text(CDlgPassword::kIdcPassword), "");
        ui.Type(CDlgPassword::kIdcPassword, "typed");
        ui.Click(uifw::kIdOk);
    });
    controller.OnPasswordRequest();
    EXPECT_EQ(LookupValue(context_->GetEnvironment(), "CVS_GETPASS"), "typed");

    env_.Host().ExpectDialog("CVS Repository Login ...", [](uifw::DialogDriver& ui) {
        ui.Type(CDlgPassword::kIdcPassword, "not this");
        ui.Click(uifw::kIdCancel);
    });
    controller.OnPasswordRequest();
    EXPECT_EQ(LookupValue(context_->GetEnvironment(), "CVS_GETPASS"), "typed");
}

TEST_F(ControllerFrame, FilesRunInOneBatchPerFolderInListOrder) {
    ScopedEnv any("FAKECVS_ANY_COMMAND", "1");
    testing_support::TempDir dir("batches");
    const char sep = testing_support::Sep();
    for (const char* folder : {"one", "two"}) {
        ASSERT_TRUE(platform::MakeFolderTree(dir / folder + sep + "CVS"));
        testing_support::WriteFile(dir / folder + sep + "CVS" + sep + "Entries",
                                   "/a.c/1.1///\n/b.c/1.1///\n");
    }
    const std::string one = dir / "one", two = dir / "two";
    // On Windows folder names ignore letter case: ONE and one are one folder.
    const std::string oneAgain = platform::kFileNamesFoldCase ? dir / "ONE" : one;
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.UpdateFiles(
        {one + sep + "a.c", oneAgain + sep + "b.c", two + sep + "a.c", one + sep + "b.c"}, false,
        false, false, nullptr));
    EXPECT_EQ(Commands(),
              (std::vector<std::string>{"cvs update a.c b.c", "cvs update a.c", "cvs update b.c"}));
}

} // namespace
