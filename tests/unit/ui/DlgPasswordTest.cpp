// The login dialog, played through the headless host.
#include "ui/DlgPassword.h"

#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/HeadlessHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using testing::HasSubstr;

namespace {

TEST(DlgPassword, OpensWithAKnownRootReadOnlyAndThePasswordMasked) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    CDlgPassword dialog(nullptr);
    dialog.SetCvsRoot(":pserver:anna@cvs.example.org:/cvsroot");
    dialog.SetPassword("hunter2");

    DialogSession ui = host.Open(dialog);
    EXPECT_EQ(ui.Caption(), "CVS Repository Login ...");
    EXPECT_EQ(ui.Label(CDlgPassword::kIdcCredentials), "Credentials");
    EXPECT_EQ(ui.Label(CDlgPassword::kIdcCvsRoot), "CVSROOT:");
    EXPECT_EQ(ui.Label(CDlgPassword::kIdcPassword), "Password:");
    EXPECT_EQ(ui.Text(CDlgPassword::kIdcCvsRoot), ":pserver:anna@cvs.example.org:/cvsroot");
    EXPECT_TRUE(ui.IsReadOnly(CDlgPassword::kIdcCvsRoot));
    EXPECT_EQ(ui.Text(CDlgPassword::kIdcPassword), "hunter2");
    EXPECT_EQ(ui.Displayed(CDlgPassword::kIdcPassword), "*******");
    EXPECT_TRUE(ui.WasBroughtToTop());
    // The framework's choice: the first control that takes the focus.
    EXPECT_EQ(ui.FocusedControl(), CDlgPassword::kIdcCvsRoot);

    EXPECT_FALSE(ui.Type(CDlgPassword::kIdcCvsRoot, ":local:/elsewhere"));
    ASSERT_EQ(faults.seen.size(), 1u);
    EXPECT_THAT(faults.seen[0], HasSubstr("\"CVSROOT:\""));
    EXPECT_THAT(faults.seen[0], HasSubstr("read-only"));

    ui.Type(CDlgPassword::kIdcPassword, "correct horse");
    EXPECT_EQ(ui.Displayed(CDlgPassword::kIdcPassword), std::string(13, '*'));
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.GetPassword(), "correct horse");
    EXPECT_EQ(dialog.GetCvsRoot(), ":pserver:anna@cvs.example.org:/cvsroot");
}

TEST(DlgPassword, WithoutARootTheTypedRootIsReturnedOnOk) {
    HeadlessHost host(testing_support::FailTest);
    CDlgPassword dialog(nullptr);
    DialogSession ui = host.Open(dialog);
    EXPECT_FALSE(ui.IsReadOnly(CDlgPassword::kIdcCvsRoot));
    EXPECT_EQ(ui.Text(CDlgPassword::kIdcPassword), "");
    ui.Type(CDlgPassword::kIdcCvsRoot, ":pserver:bob@127.0.0.1:/repo");
    ui.Type(CDlgPassword::kIdcPassword, "pw");
    ui.PressEnter();
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.GetCvsRoot(), ":pserver:bob@127.0.0.1:/repo");
    EXPECT_EQ(dialog.GetPassword(), "pw");
}

TEST(DlgPassword, CancelReturnsAnEmptyPasswordWhateverWasTypedOrPreset) {
    HeadlessHost host(testing_support::FailTest);
    for (bool escape : {false, true}) {
        CDlgPassword dialog(nullptr);
        dialog.SetCvsRoot(":local:/repo");
        dialog.SetPassword("preset");
        DialogSession ui = host.Open(dialog);
        ui.Type(CDlgPassword::kIdcPassword, "typed");
        if (escape)
            ui.PressEscape();
        else
            ui.Click(kIdCancel);
        EXPECT_EQ(ui.Result(), kIdCancel);
        EXPECT_EQ(dialog.GetPassword(), "");
        EXPECT_EQ(dialog.GetCvsRoot(), ":local:/repo");
    }
}

TEST(DlgPassword, OkWithoutTypingKeepsThePresetPassword) {
    HeadlessHost host(testing_support::FailTest);
    CDlgPassword dialog(nullptr);
    dialog.SetCvsRoot(":local:/repo");
    dialog.SetPassword("from-the-environment");
    DialogSession ui = host.Open(dialog);
    ui.Click(kIdOk);
    EXPECT_EQ(dialog.GetPassword(), "from-the-environment");
}

TEST(DlgPassword, ShownModallyAsTheControllerOpensIt) {
    HeadlessHost host(testing_support::FailTest);
    int owner = 0;
    platform::WindowHandle shownOwner = nullptr;
    host.ExpectDialog("CVS Repository Login ...", [&](DialogDriver& ui) {
        shownOwner = ui.Owner();
        ui.Type(CDlgPassword::kIdcPassword, "s3cret");
        ui.Click(kIdOk);
    });
    CDlgPassword dialog(&owner);
    dialog.SetCvsRoot(":local:/repo");
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetPassword(), "s3cret");
    EXPECT_EQ(shownOwner, &owner);
    EXPECT_FALSE(dialog.IsRealised());
}

// Without a terminal the dialog is answered from scripted answers, or fails naming the
// option that would have answered it.
TEST(DlgPassword, ScriptedAnswers) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> answers;
        std::string cvsRoot, preset;
        int result;
        std::string password, cvsRootAfter;
        std::string fault; // part of the failure message; empty: none
    } cases[] = {
        {"password given", {{"password", "pw"}}, ":local:/r", "", kIdOk, "pw", ":local:/r", ""},
        {"preset kept", {}, ":local:/r", "env", kIdOk, "env", ":local:/r", ""},
        {"password missing",
         {},
         ":local:/r",
         "",
         kIdCancel,
         "",
         ":local:/r",
         "pass --password PASSWORD or --password-file FILE"},
        {"root missing",
         {{"password", "pw"}},
         "",
         "",
         kIdCancel,
         "",
         "",
         "pass --answer cvsroot=VALUE"},
        {"root given",
         {{"CVSROOT", ":local:/x"}, {"password", "pw"}},
         "",
         "",
         kIdOk,
         "pw",
         ":local:/x",
         ""},
        {"dialog cancelled",
         {{"login", "cancel"}, {"password", "pw"}},
         ":local:/r",
         "",
         kIdCancel,
         "",
         ":local:/r",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::FaultLog faults;
        std::vector<std::string> told;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers(c.answers),
                                [&](const std::string& t) { told.push_back(t); });
        CDlgPassword dialog(nullptr);
        dialog.SetCvsRoot(c.cvsRoot);
        dialog.SetPassword(c.preset);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.GetPassword(), c.password);
        EXPECT_EQ(dialog.GetCvsRoot(), c.cvsRootAfter);
        if (c.fault.empty()) {
            EXPECT_THAT(faults.seen, testing::IsEmpty());
        } else {
            ASSERT_EQ(faults.seen.size(), 1u);
            EXPECT_THAT(faults.seen[0], HasSubstr("\"CVS Repository Login ...\""));
            EXPECT_THAT(faults.seen[0], HasSubstr(c.fault));
        }
    }
}

} // namespace
