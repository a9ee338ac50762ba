// The connect and module selection dialogs against the real cvs: the connection test's
// outcomes, the module tree filled only when a node opens, and both dialogs played on a
// terminal and from scripted answers.
#include "platform/FileSystem.h"
#include "tests/support/CvsEngineFixture.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/DlgConnect.h"
#include "ui/DlgModules.h"
#include "ui/DlgPassword.h"
#include "ui/framework/TerminalHost.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;

namespace {

using testing::HasSubstr;
using Method = testing_support::CvsMethod;
using Strings = std::vector<std::string>;

class DialogsWithCvs : public testing_support::CvsEngineFixture {
protected:
    void SetUp() override {
        CvsEngineFixture::SetUp();
        platform::SetCurrentFolder(sandbox_.Home());
    }
    HeadlessHost& Host() { return env_.Host(); }
    std::string Password() const { return server_ ? server_->Password() : std::string(); }
    void ExpectLogin(const std::string& password) {
        Host().ExpectDialog("CVS Repository Login ...", [password](DialogDriver& ui) {
            ui.Type(CDlgPassword::kIdcPassword, password);
            ui.Click(kIdOk);
        });
    }
};

INSTANTIATE_TEST_SUITE_P(Methods, DialogsWithCvs, testing_support::AllCvsMethods(),
                         testing_support::CvsMethodParamName);

TEST_P(DialogsWithCvs, ASuccessfulConnectionTestRemembersTheRootOnce) {
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    DialogSession ui = Host().Open(dialog);
    ui.Type(CDlgConnect::kIdcCvsRoot, root_);
    ui.Type(CDlgConnect::kIdcModule, "mod");
    for (int round = 0; round < 2; ++round) {
        ExpectLogin(Password());
        Host().ExpectMessageBox(kIdOk);
        ui.Click(CDlgConnect::kIdcVerify);
        const MessageBoxRecord box = Host().MessageBoxes().back();
        EXPECT_EQ(box.text, "Successfully connected to " + root_ + ".");
        EXPECT_EQ(box.caption, "Morvek :> Connection Test");
        EXPECT_EQ(box.style, kMbOk | kMbIconInformation);
        EXPECT_EQ(box.owner, ui.Handle());
        EXPECT_EQ(ui.Items(CDlgConnect::kIdcCvsRoot), Strings{root_});
        EXPECT_EQ(ui.Text(CDlgConnect::kIdcModule), "mod");
        CSccSettings saved; // what the settings store holds now
        ASSERT_EQ(saved.GetRootCount(), 1);
        EXPECT_EQ(saved.GetRoot(0), root_);
    }
    EXPECT_EQ(ui.Selection(CDlgConnect::kIdcCvsRoot), 0); // the second test selected it
    EXPECT_EQ(context_->GetCVSRoot(), "");                // the context's own is untouched
    EXPECT_FALSE(ui.Ended());
}

TEST_P(DialogsWithCvs, TheModuleTreeIsListedOnlyWhereItOpens) {
    CDlgModules dialog(nullptr);
    dialog.SetContext(context_.get());
    dialog.SetCvsRoot(root_);
    DialogSession ui = Host().Open(dialog);
    EXPECT_EQ(ui.Caption(), "Module Selection ...");
    EXPECT_EQ(Commands(), Strings{"cvs -d " + root_ + " ls -e ."});
    EXPECT_EQ(ui.TreeChildTexts(CDlgModules::kIdcTree), Strings{root_});
    const TreeItem mod = ui.TreeItemAt(CDlgModules::kIdcTree, {root_, "mod"});
    ASSERT_NE(mod, kTreeNone);
    EXPECT_TRUE(ui.TreeHasButton(CDlgModules::kIdcTree, mod));
    EXPECT_TRUE(ui.TreeChildren(CDlgModules::kIdcTree, mod).empty());

    EXPECT_TRUE(ui.ExpandTreeItem(CDlgModules::kIdcTree, mod));
    EXPECT_EQ(Commands(), Strings{"cvs -d " + root_ + " ls -e mod"});
    EXPECT_EQ(ui.TreeChildTexts(CDlgModules::kIdcTree, mod), Strings{"sub"}); // folders only
    const TreeItem sub = ui.TreeItemAt(CDlgModules::kIdcTree, {root_, "mod", "sub"});
    ui.ExpandTreeItem(CDlgModules::kIdcTree, sub);
    const TreeItem deep = ui.TreeItemAt(CDlgModules::kIdcTree, {root_, "mod", "sub", "deep"});
    EXPECT_FALSE(ui.ExpandTreeItem(CDlgModules::kIdcTree, deep));
    EXPECT_FALSE(ui.TreeHasButton(CDlgModules::kIdcTree, deep)); // nothing below it
    EXPECT_EQ(Commands(), (Strings{"cvs -d " + root_ + " ls -e mod/sub",
                                   "cvs -d " + root_ + " ls -e mod/sub/deep"}));
    ui.CollapseTreeItem(CDlgModules::kIdcTree, mod);
    ui.ExpandTreeItem(CDlgModules::kIdcTree, mod);
    EXPECT_TRUE(Commands().empty()); // listed once

    ui.ClickTreeItem(CDlgModules::kIdcTree, sub);
    ui.ClickTreeItem(CDlgModules::kIdcTree, ui.TreeItemAt(CDlgModules::kIdcTree, {root_}));
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.GetSelectedModule(), "mod/sub"); // the top leaves the choice as it was
}

TEST_P(DialogsWithCvs, TheModuleBrowserFillsTheModuleBox) {
    env_.Settings().UpdateModuleList("tools", false);
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    dialog.SetLocalPath(sandbox_.Home());
    dialog.SetCvsRoot(root_);
    DialogSession ui = Host().Open(dialog);
    ui.Choose(CDlgConnect::kIdcModule, "tools"); // the browser's choice must win over it
    Host().ExpectDialog("Module Selection ...", [this](DialogDriver& modules) {
        modules.ExpandTreeItem(CDlgModules::kIdcTree,
                               modules.TreeItemAt(CDlgModules::kIdcTree, {root_, "mod"}));
        modules.ClickTreeItem(CDlgModules::kIdcTree,
                              modules.TreeItemAt(CDlgModules::kIdcTree, {root_, "mod", "sub"}));
        modules.Click(kIdOk);
    });
    ui.Click(CDlgConnect::kIdcBrowseModules);
    EXPECT_EQ(ui.Text(CDlgConnect::kIdcModule), "mod/sub");
    ui.Click(kIdOk);
    EXPECT_EQ(dialog.GetModule(), "mod/sub");
}

TEST_P(DialogsWithCvs, OnATerminalTheTreeIsWalkedLevelByLevel) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers({{"password", Password()}}),
                      testing_support::FailTest);
    ScopedHost use(host);
    // Keep the root; no connection test; browse: the top, then mod, then stop there; keep
    // the module the browser chose.
    terminal.input = {"", "n", "y", "1", "2", "", ""};
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    dialog.SetLocalPath(sandbox_.Home());
    dialog.SetCvsRoot(root_);
    dialog.SetModule("proj");
    EXPECT_EQ(dialog.DoModal(), kIdOk) << terminal.shown;
    EXPECT_EQ(dialog.GetModule(), "mod");
    EXPECT_THAT(terminal.shown, HasSubstr("Working Directory: " + sandbox_.Home() + "\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("Module (in " + root_ + "):\n  1) CVSROOT\n  2) mod\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("Module (in mod):\n  1) sub\n"));
    ASSERT_GE(terminal.prompts.size(), 3u);
    EXPECT_EQ(terminal.prompts[1], "Verify Connection? [y/n] [no]: ");
    EXPECT_EQ(terminal.prompts[2], "Choose the module from the repository? [y/n] [no]: ");
    EXPECT_EQ(terminal.prompts.back(), "choose (a number or a text) [mod]: ");
    EXPECT_TRUE(dialog.AnsweredByPerson());
}

TEST_P(DialogsWithCvs, ScriptedAnswersBrowseAndVerify) {
    Host().UseScriptedAnswers(ScriptedAnswers({{"cvsroot", root_},
                                               {"password", Password()},
                                               {"verify", "yes"},
                                               {"browse", "yes"},
                                               {"modules", "mod/sub/deep"}}),
                              [](const std::string&) {});
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    dialog.SetLocalPath(sandbox_.Home());
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetCvsRoot(), root_);
    EXPECT_EQ(dialog.GetModule(), "mod/sub/deep");
    EXPECT_FALSE(dialog.AnsweredByPerson());
    ASSERT_FALSE(Host().MessageBoxes().empty());
    EXPECT_EQ(Host().MessageBoxes()[0].text, "Successfully connected to " + root_ + ".");
}

// Failures of the connection test, each with its reason and without remembering the root.
class ConnectionTestFailures : public testing::Test {
protected:
    void SetUp() override {
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        env_.Settings().SetCvsExePath(testing_support::CvsProgram());
        context_ = env_.MakeContext();
    }
    void TearDown() override {
        context_.reset();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    // The message the test shows for the root, after the login dialog got the password.
    std::string Verify(const std::string& root, const std::string& password) {
        CDlgConnect dialog(nullptr);
        dialog.SetContext(context_.get());
        DialogSession ui = env_.Host().Open(dialog);
        ui.Type(CDlgConnect::kIdcCvsRoot, root);
        env_.Host().ExpectDialog("CVS Repository Login ...", [password](DialogDriver& login) {
            login.Type(CDlgPassword::kIdcPassword, password);
            login.Click(kIdOk);
        });
        env_.Host().ExpectMessageBox(kIdOk);
        ui.Click(CDlgConnect::kIdcVerify);
        EXPECT_TRUE(ui.Items(CDlgConnect::kIdcCvsRoot).empty()) << root;
        EXPECT_EQ(env_.Settings().GetRootCount(), 0) << root;
        return env_.Host().MessageBoxes().back().text;
    }

    testing_support::CvsSandbox sandbox_;
    testing_support::CvsRepository repo_;
    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
};

TEST_F(ConnectionTestFailures, ARepositoryThatIsNotThere) {
    const std::string root = ":local:" + repo_.Path() + "-missing";
    const std::string text = Verify(root, "");
    EXPECT_EQ(text.rfind("Unable to connect to " + root + "\n\n", 0), 0u) << text;
    EXPECT_THAT(text, HasSubstr("-missing"));
}

TEST_F(ConnectionTestFailures, APserverThatRefusesThePasswordOrDoesNotAnswer) {
    testing_support::CvsPserver server(repo_);
    if (!server.Ready())
        GTEST_SKIP() << server.Problem();
    std::string text = Verify(server.Root(), "wrong");
    EXPECT_EQ(text.rfind("Unable to connect to " + server.Root() + "\n\n", 0), 0u) << text;
    EXPECT_THAT(text, HasSubstr("authorization failed"));

    std::string closed = server.Root();
    closed.replace(closed.find(std::to_string(server.Port())), std::to_string(server.Port()).size(),
                   "1");
    text = Verify(closed, "secret");
    EXPECT_EQ(text.rfind("Unable to connect to " + closed + "\n\n", 0), 0u) << text;
    EXPECT_THAT(text, HasSubstr("onnect")); // "connect to ... failed" or "Connection refused"
}

} // namespace

namespace {

// The connection test of the dialog that ConnectProject shows runs a controller of its own;
// when it ends, the project's controller must still answer the login its commands ask for.
TEST_P(DialogsWithCvs, AfterTheConnectionTestTheOperationStillLogsIn) {
    if (GetParam() != Method::Pserver)
        GTEST_SKIP() << "only a pserver asks for a login";
    testing_support::WriteFile(sandbox_.PassFile(), ""); // logged out
    const std::string folder = sandbox_.Folder("mod");
    Host().ExpectDialog("Connect to Repository/Module ...", [this](DialogDriver& ui) {
        ui.Type(CDlgConnect::kIdcCvsRoot, root_);
        ExpectLogin("wrong");
        Host().ExpectMessageBox(kIdOk); // "Unable to connect to ..."
        ui.Click(CDlgConnect::kIdcVerify);
        ExpectLogin(server_->Password()); // asked by the module test of ConnectProject
        ui.Click(kIdOk);
    });
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.ConnectProject("", folder, true, dialog));
    EXPECT_EQ(context_->GetController(), &controller);
    EXPECT_THAT(Host().MessageBoxes()[0].text, HasSubstr("Unable to connect"));
    EXPECT_TRUE(IsCVSFolder(folder));
    EXPECT_TRUE(PathExists(folder + testing_support::Sep() + "a.txt"));
}

} // namespace
