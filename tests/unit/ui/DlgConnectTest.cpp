// The connect dialog through the headless host: how it opens, what OK checks, the folder
// browser, the module browser's guard and help. (The connection test and the module tree
// run cvs: tests/integration/ui.)
#include "ui/DlgConnect.h"

#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/PathStyle.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;

namespace {

using Strings = std::vector<std::string>;

class DlgConnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Settings().UpdateRootList(":pserver:ann@example.org:/cvs", false);
        env_.Settings().UpdateRootList("/srv/cvs", false);
        env_.Settings().UpdateModuleList("tools", false);
        context_ = env_.MakeContext();
    }
    HeadlessHost& Host() { return env_.Host(); }

    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    testing_support::TempDir dir_{"connect"};
};

TEST_F(DlgConnectTest, OpensWithTheProposalsAndTheSettingsLists) {
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    dialog.SetLocalPath("/home/ann/proj");
    dialog.SetCvsRoot("/srv/cvs");
    dialog.SetInitialModule("web/proj");
    DialogSession ui = Host().Open(dialog);

    EXPECT_EQ(ui.Caption(), "Connect to Repository/Module ...");
    EXPECT_EQ(ui.Label(CDlgConnect::kIdcLocalGroup), "Local Solution/Project");
    EXPECT_EQ(ui.Label(CDlgConnect::kIdcRemoteGroup), "Remote Repository/Module");
    EXPECT_EQ(ui.Label(CDlgConnect::kIdcLocalPath), "Working Directory:");
    EXPECT_EQ(ui.Label(CDlgConnect::kIdcCvsRoot), "CVS Repository:");
    EXPECT_EQ(ui.Label(CDlgConnect::kIdcModule), "CVS Module:");
    EXPECT_EQ(ui.Text(CDlgConnect::kIdcExample), ":pserver:user@host:/path/to/repository");
    EXPECT_EQ(ui.Label(CDlgConnect::kIdcVerify), "Verify Connection");
    EXPECT_EQ(ui.Label(CDlgConnect::kIdcHelp), "Help");

    EXPECT_EQ(ui.Text(CDlgConnect::kIdcLocalPath), "/home/ann/proj");
    EXPECT_TRUE(ui.IsReadOnly(CDlgConnect::kIdcLocalPath));
    EXPECT_FALSE(ui.IsEnabled(CDlgConnect::kIdcBrowseFolder));
    EXPECT_EQ(ui.Items(CDlgConnect::kIdcCvsRoot),
              (Strings{"/srv/cvs", ":pserver:ann@example.org:/cvs"}));
    EXPECT_EQ(ui.Text(CDlgConnect::kIdcCvsRoot), "/srv/cvs");
    EXPECT_TRUE(ui.IsEnabled(CDlgConnect::kIdcCvsRoot));
    EXPECT_TRUE(ui.IsEnabled(CDlgConnect::kIdcVerify));
    // The proposed module first, then the list; an empty module takes the proposal.
    EXPECT_EQ(ui.Items(CDlgConnect::kIdcModule), (Strings{"web/proj", "tools"}));
    EXPECT_EQ(ui.Text(CDlgConnect::kIdcModule), "web/proj");
    EXPECT_EQ(ui.FocusedControl(), CDlgConnect::kIdcCvsRoot);
    EXPECT_TRUE(ui.WasBroughtToTop());
    ui.PressEscape();
    EXPECT_EQ(ui.Result(), kIdCancel);
}

TEST_F(DlgConnectTest, WhatMayBeChangedDecidesTheFocus) {
    struct Case {
        bool localPathEditable, repositoryEditable;
        ControlId focus;
    } const cases[] = {
        {true, true, CDlgConnect::kIdcLocalPath},
        {false, true, CDlgConnect::kIdcCvsRoot},
        {false, false, CDlgConnect::kIdcModule},
        {true, false, CDlgConnect::kIdcModule},
    };
    for (const Case& c : cases) {
        CDlgConnect dialog(nullptr);
        dialog.SetLocalPathEditable(c.localPathEditable);
        dialog.SetRepositoryEditable(c.repositoryEditable);
        dialog.SetModule("typed");
        dialog.SetInitialModule("proposed");
        DialogSession ui = Host().Open(dialog);
        EXPECT_EQ(ui.FocusedControl(), c.focus) << c.localPathEditable << c.repositoryEditable;
        EXPECT_EQ(ui.IsReadOnly(CDlgConnect::kIdcLocalPath), !c.localPathEditable);
        EXPECT_EQ(ui.IsEnabled(CDlgConnect::kIdcBrowseFolder), c.localPathEditable);
        EXPECT_EQ(ui.IsEnabled(CDlgConnect::kIdcCvsRoot), c.repositoryEditable);
        EXPECT_EQ(ui.IsEnabled(CDlgConnect::kIdcVerify), c.repositoryEditable);
        EXPECT_EQ(ui.Text(CDlgConnect::kIdcModule), "typed"); // a given module stays
        ui.PressEscape();
    }
}

TEST_F(DlgConnectTest, OkWantsAllThreeAndKeepsTheDialogOpenOnTheEmptyOne) {
    struct Case {
        const char* path;
        const char* root;
        const char* module;
        const char* message;
        ControlId focus;
    } const cases[] = {
        {"", "/srv/cvs", "m", "Missing local path", CDlgConnect::kIdcLocalPath},
        {"/w", "", "m", "Missing cvs root", CDlgConnect::kIdcCvsRoot},
        {"/w", "/srv/cvs", "", "Missing cvs module", CDlgConnect::kIdcModule},
    };
    for (const Case& c : cases) {
        CDlgConnect dialog(nullptr);
        dialog.SetLocalPathEditable(true);
        DialogSession ui = Host().Open(dialog);
        ui.Type(CDlgConnect::kIdcLocalPath, c.path);
        ui.Type(CDlgConnect::kIdcCvsRoot, c.root);
        ui.Type(CDlgConnect::kIdcModule, c.module);
        Host().ExpectMessageBox(kIdOk);
        ui.Click(kIdOk);
        EXPECT_FALSE(ui.Ended()) << c.message;
        ASSERT_FALSE(Host().MessageBoxes().empty());
        const MessageBoxRecord box = Host().MessageBoxes().back();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.style, kMbOk);
        EXPECT_EQ(box.owner, ui.Handle());
        EXPECT_EQ(ui.FocusedControl(), c.focus);
        ui.PressEscape();
    }
}

TEST_F(DlgConnectTest, OkReturnsTheBoxesAndAChosenModuleItem) {
    ConnectDialogValues values;
    values.localPath = "/w/proj";
    values.cvsRoot = "/srv/cvs";
    values.module = "proj";
    values.initialModule = "web/proj";
    CDlgConnect dialog(nullptr);
    Host().ExpectDialog("Connect to Repository/Module ...", [](DialogDriver& ui) {
        ui.Choose(CDlgConnect::kIdcCvsRoot, ":pserver");
        ui.Choose(CDlgConnect::kIdcModule, "tools");
        ui.Click(kIdOk);
    });
    EXPECT_TRUE(dialog.Ask(values));
    EXPECT_EQ(values.localPath, "/w/proj");
    EXPECT_EQ(values.cvsRoot, ":pserver:ann@example.org:/cvs");
    EXPECT_EQ(values.module, "tools");

    Host().ExpectDialog("", [](DialogDriver& ui) {
        ui.Type(CDlgConnect::kIdcModule, "typed/module");
        ui.Click(kIdCancel);
    });
    EXPECT_FALSE(dialog.Ask(values));
    EXPECT_EQ(values.module, "tools"); // Cancel changes nothing
}

TEST_F(DlgConnectTest, AFolderBoundElsewhereIsRefused) {
    const std::string folder = NormalizePath(dir_ / "wc");
    ASSERT_TRUE(CreateAdminFolder(folder + platform::kPathSeparator, "/srv/cvs", "proj"));
    struct Case {
        const char* root;
        const char* module;
        const char* message; // empty: accepted
    } const cases[] = {
        {"/srv/other", "proj", "is a working folder of /srv/cvs, not of /srv/other."},
        {"/srv/cvs", "other", "is a working folder of the module proj, not of other."},
        {":local:/srv/cvs", "proj/", ""},
    };
    for (const Case& c : cases) {
        CDlgConnect dialog(nullptr);
        dialog.SetLocalPath(folder);
        DialogSession ui = Host().Open(dialog);
        ui.Type(CDlgConnect::kIdcCvsRoot, c.root);
        ui.Type(CDlgConnect::kIdcModule, c.module);
        if (*c.message)
            Host().ExpectMessageBox(kIdOk);
        ui.Click(kIdOk);
        EXPECT_EQ(ui.Ended(), !*c.message) << c.root << " " << c.module;
        if (*c.message) {
            EXPECT_THAT(Host().MessageBoxes().back().text,
                        testing::HasSubstr("The folder " + folder + " " + c.message));
            ui.PressEscape();
        }
    }
}

TEST_F(DlgConnectTest, TheFolderBrowserFillsTheWorkingFolder) {
    CDlgConnect dialog(nullptr);
    dialog.SetLocalPath("/before");
    dialog.SetLocalPathEditable(true);
    DialogSession ui = Host().Open(dialog);
    Host().ExpectPathRequest(std::optional<std::string>());
    ui.Click(CDlgConnect::kIdcBrowseFolder);
    EXPECT_EQ(ui.Text(CDlgConnect::kIdcLocalPath), "/before");
    Host().ExpectPathRequest(std::optional<std::string>("/home/ann/chosen"));
    ui.Click(CDlgConnect::kIdcBrowseFolder);
    EXPECT_EQ(ui.Text(CDlgConnect::kIdcLocalPath),
              std::string("/home/ann/chosen") + platform::kPathSeparator);
    ASSERT_EQ(Host().PathRequests().size(), 2u);
    EXPECT_EQ(Host().PathRequests()[1].title, "Select a folder");
    EXPECT_EQ(Host().PathRequests()[1].owner, ui.Handle());
}

TEST_F(DlgConnectTest, TheModuleBrowserWantsARootAndHelpOpensTheHelpFile) {
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    DialogSession ui = Host().Open(dialog);
    Host().ExpectMessageBox(kIdOk);
    ui.Click(CDlgConnect::kIdcBrowseModules);
    ASSERT_EQ(Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(Host().MessageBoxes()[0].text, "Please enter a CVSROOT");
    EXPECT_EQ(Host().MessageBoxes()[0].caption, ApplicationTitle());
    EXPECT_EQ(Host().DialogsShown().size(), 1u); // itself, no module browser
    EXPECT_TRUE(env_.Pane().Lines().empty());    // and nothing ran

    ui.Click(CDlgConnect::kIdcHelp);
    EXPECT_EQ(Host().HelpRequests(),
              Strings{platform::ThisModuleFolder() + platform::kPathSeparator + "MorvekCVS.chm"});
    EXPECT_FALSE(ui.Ended());
}

} // namespace
