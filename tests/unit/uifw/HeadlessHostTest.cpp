// The headless host: prepared answers, faults instead of waits, sheets, panels, the
// progress window, message boxes and the busy cursor.
#include "SampleDialog.h"

#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/HeadlessHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

using namespace uifw;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

// A dialog whose button asks a question and opens another dialog.
class COuterDialog : public CDialog {
public:
    enum : ControlId { kAsk = 10, kNested = 11 };
    COuterDialog()
        : CDialog(DialogTemplate(1, "Outer")
                      .Button(kAsk, "Ask")
                      .Button(kNested, "Nested")
                      .Button(kIdOk, "OK")
                      .Button(kIdCancel, "Cancel")) {}
    int answer = 0;
    int nestedResult = 0;

protected:
    void OnClicked(ControlId id) override {
        if (id == kAsk)
            answer = MessageBox("Continue?", "CVS Alert", kMbYesNo | kMbIconQuestion);
        if (id == kNested) {
            sample::CSampleDialog inner;
            nestedResult = inner.DoModal();
        }
    }
};

TEST(HeadlessHost, PreparedDialogsAndBoxesArePlayedInOrderAndRecorded) {
    HeadlessHost host(testing_support::FailTest);
    host.ExpectDialog("Outer", [](DialogDriver& ui) {
        ui.Click(COuterDialog::kAsk);
        ui.Click(COuterDialog::kNested);
        ui.Click(kIdOk);
    });
    platform::WindowHandle outerHandle = nullptr;
    host.ExpectMessageBox([&](const MessageBoxRecord& box) {
        outerHandle = box.owner;
        return kIdNo;
    });
    host.ExpectDialog("Sample", [](DialogDriver& ui) { ui.Click(kIdCancel); });

    COuterDialog outer;
    EXPECT_EQ(outer.DoModal(), kIdOk);
    EXPECT_EQ(outer.answer, kIdNo);
    EXPECT_EQ(outer.nestedResult, kIdCancel);
    EXPECT_NE(outerHandle, nullptr);
    EXPECT_THAT(host.DialogsShown(), ElementsAre("Outer", "Sample"));
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].caption, "CVS Alert");
    EXPECT_EQ(host.MessageBoxes()[0].text, "Continue?");
    EXPECT_EQ(host.MessageBoxes()[0].style, kMbYesNo | kMbIconQuestion);
    EXPECT_EQ(host.PendingExpectations(), 0u);
}

// Nothing waits: what was not prepared is a fault with a clear message and is cancelled.
TEST(HeadlessHost, WhatWasNotPreparedFailsInsteadOfWaiting) {
    testing_support::FaultLog faults;
    {
        HeadlessHost host(faults.Sink());
        sample::CSampleDialog dialog;
        EXPECT_EQ(dialog.DoModal(), kIdCancel);
        EXPECT_EQ(ShowMessageBox(nullptr, "Overwrite?", "Question", kMbYesNo), kIdNo);
        EXPECT_EQ(ShowAppMessageBox(nullptr, "Retry?", kMbRetryCancel), kIdCancel);

        host.ExpectDialog("Something else", [](DialogDriver&) {});
        EXPECT_EQ(dialog.DoModal(), kIdCancel);
        host.ExpectDialog("", [](DialogDriver& ui) { ui.Type(sample::kName, "x"); });
        EXPECT_EQ(dialog.DoModal(), kIdCancel);
        host.ExpectMessageBox(kIdYes);
        EXPECT_EQ(ShowMessageBox(nullptr, "Saved.", "Info", kMbOk), kIdOk);
        host.ExpectDialog("Never", [](DialogDriver&) {});
        host.ExpectMessageBox(kIdOk);
    }
    ASSERT_EQ(faults.seen.size(), 8u);
    EXPECT_THAT(faults.seen[0], HasSubstr("unexpected dialog \"Sample\""));
    EXPECT_THAT(faults.seen[0], HasSubstr("ExpectDialog"));
    EXPECT_THAT(faults.seen[1], HasSubstr("unexpected message box \"Question\" saying "
                                          "\"Overwrite?\""));
    EXPECT_THAT(faults.seen[2], HasSubstr("\"Morvek CVS SCC\" saying \"Retry?\""));
    EXPECT_THAT(faults.seen[3], HasSubstr("\"Sample\" opened where \"Something else\""));
    EXPECT_THAT(faults.seen[4], HasSubstr("\"Sample\" was left open"));
    EXPECT_THAT(faults.seen[5], HasSubstr("answered with Yes, which it does not offer"));
    EXPECT_THAT(faults.seen[6], HasSubstr("expected but never opened: \"Never\""));
    EXPECT_THAT(faults.seen[7], HasSubstr("1 message box answer(s) prepared"));
}

TEST(HeadlessHost, FolderBrowserAndFileDialogAreAnsweredAsPreparedAndRecorded) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    int owner = 0;
    host.ExpectPathRequest(std::optional<std::string>("/work/project"));
    host.ExpectPathRequest([](const PathRequest& r) { return r.file.initialPath + ".new"; });
    EXPECT_EQ(BrowseForFolder(&owner, "Select a folder"),
              std::optional<std::string>("/work/project"));
    FileDialogRequest file;
    file.filter = "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||";
    file.initialPath = "cvs.exe";
    EXPECT_EQ(ChooseFileToOpen(&owner, file), std::optional<std::string>("cvs.exe.new"));
    EXPECT_EQ(BrowseForFolder(nullptr, "Select a folder"), std::nullopt);
    ASSERT_EQ(host.PathRequests().size(), 3u);
    EXPECT_EQ(host.PathRequests()[0].title, "Select a folder");
    EXPECT_EQ(host.PathRequests()[0].owner, &owner);
    EXPECT_EQ(host.PathRequests()[1].kind, PathRequest::Kind::File);
    EXPECT_EQ(host.PathRequests()[1].file.filter, file.filter);
    ASSERT_EQ(faults.seen.size(), 1u);
    EXPECT_THAT(faults.seen[0], HasSubstr("unexpected folder browser"));
}

TEST(HeadlessHost, BusyCursorIsCounted) {
    HeadlessHost host(testing_support::FailTest);
    {
        CWaitCursor wait;
        CWaitCursor nested;
        EXPECT_EQ(host.BusyCursorDepth(), 2);
    }
    { CWaitCursor again; }
    EXPECT_EQ(host.BusyCursorDepth(), 0);
    EXPECT_EQ(host.BusyCursorShown(), 2);
}

// A page that logs what the sheet tells it.
class CLogPage : public CPropertyPage {
public:
    enum : ControlId { kText = 20 };
    CLogPage(std::string title, std::vector<std::string>& log)
        : CPropertyPage(DialogTemplate(0, "").Label("Text:").Edit(kText), title), log_(log) {}
    std::string text;
    bool refuseToLeave = false;

protected:
    bool OnInitDialog() override {
        log_.push_back(Title() + " init");
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange& dx) override { dx.Text(kText, text); }
    bool OnSetActive() override {
        log_.push_back(Title() + " active");
        return true;
    }
    bool OnKillActive() override {
        log_.push_back(Title() + " leave");
        return !refuseToLeave && CPropertyPage::OnKillActive();
    }
    void OnOK() override { log_.push_back(Title() + " ok"); }
    void OnCancel() override { log_.push_back(Title() + " cancel"); }

private:
    std::vector<std::string>& log_;
};

TEST(HeadlessHost, PropertySheetCreatesPagesWhenChosenAndClosesThoseItCreated) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    std::vector<std::string> log;
    CLogPage general("General", log), watchers("Watchers", log), editors("Editors", log);
    general.text = "g";
    CPropertySheet sheet("file.c Properties", nullptr, 0);
    sheet.AddPage(general);
    sheet.AddPage(watchers);
    sheet.AddPage(editors);

    DialogSession ui = host.Open(sheet);
    EXPECT_EQ(ui.Caption(), "file.c Properties");
    EXPECT_EQ(ui.ActivePage(), 0);
    EXPECT_FALSE(watchers.IsCreated());
    EXPECT_EQ(ui.Page(0).Text(CLogPage::kText), "g");
    EXPECT_EQ(ui.Page(0).FocusedControl(), CLogPage::kText);

    ui.SelectPage(1);
    EXPECT_TRUE(watchers.IsCreated());
    EXPECT_FALSE(ui.Page(0).IsWindowVisible());
    EXPECT_FALSE(ui.Page(0).Type(CLogPage::kText, "hidden page")); // refused
    ASSERT_EQ(faults.seen.size(), 1u);
    EXPECT_THAT(faults.seen[0], HasSubstr("hidden"));

    watchers.refuseToLeave = true;
    EXPECT_FALSE(ui.SelectPage(0));
    EXPECT_EQ(ui.ActivePage(), 1);
    watchers.refuseToLeave = false;
    ui.Page(1).Type(CLogPage::kText, "w");
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(watchers.text, "w");
    EXPECT_FALSE(editors.IsCreated());
    EXPECT_THAT(log, ElementsAre("General init", "General active", "General leave", "Watchers init",
                                 "Watchers active", "Watchers leave", "Watchers leave",
                                 "General ok", "Watchers ok"));
}

// A panel that is shown and hidden by its parent.
class CPanel : public CChildPanel {
public:
    enum : ControlId { kBox = 30 };
    CPanel() : CChildPanel(DialogTemplate(0, "").CheckBox(kBox, "Box")) {}
    std::vector<bool> shows;

protected:
    void OnShowWindow(bool show) override { shows.push_back(show); }
};

class CPanelHost : public CDialog {
public:
    CPanelHost() : CDialog(DialogTemplate(2, "Panels").Button(kIdOk, "OK")) {}
    CPanel first, second;

protected:
    bool OnInitDialog() override {
        first.Create(*this);
        second.Create(*this);
        first.MoveWindow(Rect{10, 10, 100, 50});
        first.ShowWindow(true);
        return CDialog::OnInitDialog();
    }
};

TEST(HeadlessHost, ChildPanelsStartHiddenAndGoWithTheirParent) {
    HeadlessHost host(testing_support::FailTest);
    CPanelHost dialog;
    {
        DialogSession ui = host.Open(dialog);
        EXPECT_TRUE(ui.Child(dialog.first).IsWindowVisible());
        EXPECT_FALSE(ui.Child(dialog.second).IsWindowVisible());
        EXPECT_EQ(ui.Child(dialog.first).Window()->Position().width, 100);
        ui.Child(dialog.first).Click(CPanel::kBox);
        EXPECT_TRUE(dialog.first.Button(CPanel::kBox).GetCheck());
        dialog.first.ShowWindow(false);
        dialog.second.ShowWindow(true);
        EXPECT_THAT(dialog.first.shows, ElementsAre(true, false));
        EXPECT_THAT(dialog.second.shows, ElementsAre(true));
        ui.Click(kIdOk);
    }
    EXPECT_FALSE(dialog.first.IsRealised());
    EXPECT_FALSE(dialog.second.IsRealised());
}

using sample::CProgress;

TEST(HeadlessHost, ProgressWindowShowsActivityAndCommandAndAsksToCancelAtEachPressOrEscape) {
    HeadlessHost host(testing_support::FailTest);
    bool destroyed = false;
    CProgress progress(&destroyed);
    int aborts = 0;
    progress.SetCancelHook([&] { ++aborts; });
    progress.SetActivity("before the window"); // stored, shown when it opens
    ASSERT_TRUE(progress.Create(nullptr));
    ASSERT_EQ(host.ModelessWindows().size(), 1u);
    DialogDriver ui = host.DriverFor(progress);
    EXPECT_TRUE(ui.IsWindowVisible());
    EXPECT_EQ(ui.GetPlacement(), Placement::CentredOnDesktop);
    EXPECT_EQ(ui.Text(CProgress::kActivity), "before the window");

    const int redraws = ui.Window()->RedrawCount();
    progress.SetActivity("Updating file(s) ...");
    progress.SetStatusText("cvs update\n -d\n");
    EXPECT_EQ(ui.Text(CProgress::kActivity), "Updating file(s) ...");
    EXPECT_EQ(ui.Text(CProgress::kStatus), "cvs update -d");
    EXPECT_EQ(ui.Window()->RedrawCount(), redraws + 2);
    EXPECT_EQ(progress.SummaryLine(), "Updating file(s) ...  cvs update -d");

    // Ctrl-C on a terminal asks from another thread; the button asks again, as often as it
    // is pressed, and stays usable for the next command under the same window.
    std::thread other([&] { progress.RequestCancel(); });
    other.join();
    EXPECT_TRUE(progress.CancelRequested());
    EXPECT_EQ(aborts, 1);
    EXPECT_TRUE(ui.Click(CProgress::kCancel));
    EXPECT_TRUE(ui.Click(CProgress::kCancel));
    EXPECT_EQ(aborts, 3);
    EXPECT_TRUE(ui.IsEnabled(CProgress::kCancel));
    // Escape is Cancel, though the button's id is not kIdCancel; Enter, with no button to
    // press, must not stop a long command by accident.
    EXPECT_TRUE(ui.PressEnter());
    EXPECT_EQ(aborts, 3);
    EXPECT_TRUE(ui.PressEscape());
    EXPECT_EQ(aborts, 4);

    progress.DestroyWindow();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(host.ModelessWindows().empty());
    EXPECT_FALSE(ui.IsOpen());
}

TEST(HeadlessHost, TheInstalledHostIsTheProcessHostWhileItLives) {
    HeadlessHost outer(testing_support::FailTest);
    {
        HeadlessHost inner(testing_support::FailTest);
        EXPECT_EQ(&Host(), &inner);
        HeadlessHost notInstalled(testing_support::FailTest, false);
        EXPECT_EQ(&Host(), &inner);
    }
    EXPECT_EQ(&Host(), &outer);
}

} // namespace
