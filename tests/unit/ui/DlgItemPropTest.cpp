// The item-properties sheet through the headless host, over a stand-in for cvs that plays
// each command's output and holds a command until the test lets it go: the facts of the
// General page; the Watchers and Editors pages loading on worker threads, their buttons, a
// listing that fails; two workers at once on one context; a sheet closed while its workers
// still run; and the sheet on a terminal and from scripted answers.
#include "ui/DlgItemProp.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/framework/HostChoice.h"
#include "ui/framework/TerminalHost.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <regex>
#include <thread>

using namespace uifw;
using testing::ElementsAre;
using testing::HasSubstr;
using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

namespace {

constexpr const char* kRoot = ":pserver:ann@127.0.0.1:2401/repo";
constexpr const char* kWatchers = "a.txt\tann\tedit\tunedit\tcommit\n"
                                  "\tbob\ttedit\ttunedit\ttcommit\n";
constexpr const char* kEditors = "a.txt\tbob\tMon Dec  7 10:00:00 2026 -0000\thost2\t/w/bob\n";

const Rows kWatcherRows = {{"a.txt", "ann", "yes", "yes", "yes"},
                           {"a.txt", "bob", "yes", "yes", "yes"}};
const Rows kEditorRows = {{"a.txt", "bob", "Mon Dec  7 10:00:00 2026 -0000", "host2", "/w/bob"}};
const Rows kUpdating = {{"Updating ..."}};

// A working folder of module "mod" with a.txt listed in CVS/Entries.
class ItemProp : public testing::Test {
protected:
    void SetUp() override {
        env_.Settings().SetCvsExePath(testing_support::FakeCvsPath());
        context_ = env_.MakeContext();
        context_->SetCVSRoot(kRoot);
        folder_ = NormalizePath(dir_.Path());
        ASSERT_TRUE(CreateAdminFolder(folder_, kRoot, "mod/src"));
        file_ = JoinPath(folder_, "a.txt");
        testing_support::WriteFile(file_, std::string(1234, 'x'));
        SetEntry("/a.txt/1.4/Thu Dec 10 02:42:21 2026//TREL_1\n");
        play_.Set("watchers", kWatchers);
        play_.Set("editors", kEditors);
    }
    void TearDown() override {
        context_.reset();
        ClearEntriesCache();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    void SetEntry(const std::string& lines) {
        testing_support::WriteFile(JoinPath(JoinPath(folder_, "CVS"), "Entries"), lines);
        ClearEntriesCache();
    }
    // Waits, as the sheet's thread does, until the page's list shows rows.
    bool WaitForRows(DialogDriver& ui, int page, ControlId list, const Rows& rows) {
        return env_.Host().WaitUntil([&] { return ui.Page(page).Rows(list) == rows; },
                                     "the rows of page " + std::to_string(page));
    }
    Strings Commands() { return env_.Pane().TakeCommands(); }

    testing_support::FakeCvsPlay play_;
    testing_support::TempDir dir_{"itemprop"};
    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string folder_, file_;
};

TEST_F(ItemProp, TheSheetHasThreePagesAndRunsNothingUntilAListIsShown) {
    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
    {
        auto ui = env_.Host().Open(sheet);
        EXPECT_EQ(ui.Caption(), "a.txt Properties");
        EXPECT_EQ(sheet.PageCount(), 3);
        EXPECT_EQ(sheet.Page(0).Title(), "General");
        EXPECT_EQ(sheet.Page(1).Title(), "Watchers");
        EXPECT_EQ(sheet.Page(2).Title(), "Editors");
        EXPECT_EQ(ui.ActivePage(), 0);
        ui.Click(kIdOk);
        EXPECT_EQ(ui.Result(), kIdOk);
    }
    // A page never shown has no worker, and nothing ran.
    EXPECT_FALSE(sheet.Watchers().HasWorker());
    EXPECT_FALSE(sheet.Editors().HasWorker());
    EXPECT_TRUE(Commands().empty());
}

TEST_F(ItemProp, TheGeneralPageShowsWhatTheWorkingCopyKnows) {
    // The process's current folder belongs to another working copy: the file's own
    // repository is shown.
    testing_support::TempDir elsewhere("elsewhere");
    ASSERT_TRUE(CreateAdminFolder(NormalizePath(elsewhere.Path()), ":local:/other", "other"));
    platform::SetCurrentFolder(elsewhere.Path());
    ASSERT_TRUE(platform::SetLastWriteTime(file_, 951829509)); // 2000-02-29 13:05:09 UTC
    testing_support::ScopedEnv zone("TZ", "UTC");
    MakeWritable(file_);

    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
    auto ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    using P = CPageItemGeneral;
    EXPECT_EQ(page.Text(P::kIdcFileName), "a.txt");
    EXPECT_EQ(page.Text(P::kIdcLocation), file_);
    EXPECT_EQ(page.Text(P::kIdcCvsRoot), kRoot);
    EXPECT_EQ(page.Text(P::kIdcModule), "mod/src");
    EXPECT_EQ(page.Text(P::kIdcBaseRevision), "1.4");
    EXPECT_EQ(page.Text(P::kIdcTag), "TREL_1");
    EXPECT_EQ(page.Text(P::kIdcEncoding), "Text");
    EXPECT_EQ(page.Text(P::kIdcStatus), "Checked Out");
    EXPECT_EQ(page.Text(P::kIdcSize), "1234 bytes");
    EXPECT_EQ(page.Label(P::kIdcSize), "Size:");
    EXPECT_TRUE(page.IsReadOnly(P::kIdcFileName));
    // The times in the machine's local time (where the zone can be set for the test, UTC).
    if (platform::ToLocalTime(0).hour == 0) {
        EXPECT_EQ(page.Text(P::kIdcModified), "Tuesday, February 29, 2000 01:05:09 PM");
    }
    // (std::regex: the matchers' regular expressions are too simple on Windows.)
    const std::regex shape("[A-Z][a-z]+day, [A-Z][a-z]+ [0-9][0-9], [0-9]{4} "
                           "[01][0-9]:[0-5][0-9]:[0-5][0-9] [AP]M");
    for (ControlId time : {P::kIdcCreated, P::kIdcModified, P::kIdcAccessed})
        EXPECT_TRUE(std::regex_match(page.Text(time), shape)) << page.Text(time);
    ui.Click(kIdCancel);
    platform::SetCurrentFolder(testing_support::BinDir());
}

TEST_F(ItemProp, StatusEncodingAndTagFromTheEntriesLine) {
    struct Case {
        std::string line;
        bool writable;
        std::string status, encoding, tag;
    };
    const std::vector<Case> cases = {
        {"/a.txt/1.4/x/-kb/TREL_1\n", false, "Checked In", "Binary", "TREL_1"},
        {"/a.txt/1.4/x/-ku/D2026.01.02.03.04.05\n", true, "Checked Out", "Unicode",
         "D2026.01.02.03.04.05"},
        {"/a.txt/1.4/x/-kv/\n", false, "Checked In", "Text", "N/A"},
        {"/a.txt/1.4/x//\n", true, "Checked Out", "Text", "N/A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SetEntry(c.line);
        if (c.writable)
            MakeWritable(file_);
        else
            MakeReadOnly(file_);
        CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
        auto ui = env_.Host().Open(sheet);
        DialogDriver page = ui.Page(0);
        EXPECT_EQ(page.Text(CPageItemGeneral::kIdcStatus), c.status);
        EXPECT_EQ(page.Text(CPageItemGeneral::kIdcEncoding), c.encoding);
        EXPECT_EQ(page.Text(CPageItemGeneral::kIdcTag), c.tag);
    }
    MakeWritable(file_);
}

TEST_F(ItemProp, AFileThatIsNotListedOrCannotBeRead) {
    const std::string loose = JoinPath(folder_, "loose.txt");
    testing_support::WriteFile(loose, "12345");
    CDlgItemProp sheet(*context_, "loose.txt Properties", loose, nullptr);
    auto ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    using P = CPageItemGeneral;
    for (ControlId id : {P::kIdcCvsRoot, P::kIdcBaseRevision, P::kIdcModule, P::kIdcStatus,
                         P::kIdcTag, P::kIdcEncoding})
        EXPECT_EQ(page.Text(id), "N/A") << id;
    EXPECT_EQ(page.Text(P::kIdcSize), "5 bytes");
    EXPECT_EQ(page.Text(P::kIdcLocation), loose);
    EXPECT_NE(page.Text(P::kIdcModified), "N/A");

    // Gone before the sheet opened: nothing to measure or date.
    const std::string gone = JoinPath(folder_, "gone.txt");
    CDlgItemProp other(*context_, "gone.txt Properties", gone, nullptr);
    auto otherUi = env_.Host().Open(other);
    EXPECT_EQ(otherUi.Page(0).Text(P::kIdcSize), "N/A");
    EXPECT_EQ(otherUi.Page(0).Text(P::kIdcModified), "N/A");
    EXPECT_EQ(otherUi.Page(0).Text(P::kIdcFileName), "gone.txt");
}

TEST_F(ItemProp, TheWatchersPageLoadsOnAWorkerAndItsButtonsLoadAgain) {
    play_.Hold("watchers");
    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr, CDlgItemProp::kPageWatchers);
    auto ui = env_.Host().Open(sheet);
    EXPECT_EQ(ui.ActivePage(), 1);
    using P = CPageItemWatchers;
    DialogDriver page = ui.Page(1);
    EXPECT_EQ(page.Columns(P::kIdcList),
              (Strings{"Filename", "Username", "edit", "unedit", "commit"}));
    const MemoryControl* list = page.Window()->Find(P::kIdcList);
    std::vector<int> widths;
    for (const MemoryControl::Column& c : list->columns)
        widths.push_back(c.width);
    EXPECT_EQ(widths, (std::vector<int>{150, 80, 45, 45, 45}));
    EXPECT_TRUE(sheet.Watchers().HasWorker());

    // While the worker's listing runs, the page says so and offers no button.
    EXPECT_TRUE(env_.Host().WaitUntil([&] { return play_.Started("watchers"); }, "the listing"));
    EXPECT_EQ(page.Rows(P::kIdcList), kUpdating);
    for (ControlId b : {P::kIdcWatchAdd, P::kIdcWatchRemove, P::kIdcRefresh})
        EXPECT_FALSE(page.IsEnabled(b)) << b;
    EXPECT_TRUE(sheet.Watchers().IsBusy());

    play_.Release("watchers");
    ASSERT_TRUE(WaitForRows(ui, 1, P::kIdcList, kWatcherRows));
    EXPECT_TRUE(env_.Host().WaitUntil([&] { return !sheet.Watchers().IsBusy(); }, "the end"));
    // The worker ran at the lowest priority: its cvs has the highest nice value (POSIX).
    if (!play_.Nice("watchers").empty()) {
        EXPECT_EQ(play_.Nice("watchers"), "19");
    }
    for (ControlId b : {P::kIdcWatchAdd, P::kIdcWatchRemove, P::kIdcRefresh})
        EXPECT_TRUE(page.IsEnabled(b)) << b;
    EXPECT_EQ(Commands(), Strings{"cvs watchers a.txt"});

    // The buttons run on the sheet's thread: the watch command, then the listing again.
    play_.Reset("watchers");
    play_.Set("watchers", "a.txt\tbob\ttedit\n");
    EXPECT_TRUE(page.Click(P::kIdcWatchRemove));
    EXPECT_EQ(page.Rows(P::kIdcList), (Rows{{"a.txt", "bob", "yes", "no", "no"}}));
    EXPECT_TRUE(env_.Pane().Has("Removing file watch ..."));
    EXPECT_EQ(Commands(), (Strings{"cvs watch remove a.txt", "cvs watchers a.txt"}));
    EXPECT_TRUE(page.Click(P::kIdcWatchAdd));
    EXPECT_EQ(Commands(), (Strings{"cvs watch add a.txt", "cvs watchers a.txt"}));
    // A watch command that fails is followed by the listing all the same.
    play_.Set("watch", "", 1, "cvs watch: no such file\n");
    EXPECT_TRUE(page.Click(P::kIdcWatchAdd));
    EXPECT_EQ(Commands(), (Strings{"cvs watch add a.txt", "cvs watchers a.txt"}));
    EXPECT_TRUE(page.Click(P::kIdcRefresh));
    EXPECT_EQ(Commands(), Strings{"cvs watchers a.txt"});
    EXPECT_TRUE(page.IsEnabled(P::kIdcRefresh));
    ui.Click(kIdOk);
}

TEST_F(ItemProp, TheEditorsPageAndItsRefresh) {
    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
    auto ui = env_.Host().Open(sheet);
    EXPECT_TRUE(ui.SelectPage(2));
    using P = CPageItemEditors;
    DialogDriver page = ui.Page(2);
    EXPECT_EQ(page.Columns(P::kIdcList),
              (Strings{"Filename", "Username", "Date/Time", "Hostname", "Working Directory"}));
    std::vector<int> widths;
    for (const MemoryControl::Column& c : page.Window()->Find(P::kIdcList)->columns)
        widths.push_back(c.width);
    EXPECT_EQ(widths, (std::vector<int>{90, 80, 166, 80, 150}));
    ASSERT_TRUE(WaitForRows(ui, 2, P::kIdcList, kEditorRows));
    EXPECT_TRUE(env_.Pane().Has("Getting file editors ..."));
    // The worker's text reached the output pane on the sheet's thread.
    EXPECT_EQ(env_.Pane().DeliveredBy("cvs editors a.txt"), std::this_thread::get_id());
    Commands();

    play_.Set("editors", "");
    EXPECT_TRUE(page.Click(P::kIdcRefresh));
    EXPECT_EQ(page.Rows(P::kIdcList), Rows{});
    EXPECT_EQ(Commands(), Strings{"cvs editors a.txt"});
    // Back and forth between the tabs loads nothing again.
    EXPECT_TRUE(ui.SelectPage(0));
    EXPECT_TRUE(ui.SelectPage(2));
    EXPECT_TRUE(Commands().empty());
    ui.Click(kIdOk);
}

// No server, or a file that is not under CVS: the listing fails, the controller's message
// shows in a box, the page keeps saying "Updating ..." with its buttons off, and the rest of
// the sheet stays usable.
TEST_F(ItemProp, AListingThatFailsSaysWhyAndLeavesTheSheetUsable) {
    play_.Set("editors", "", 1,
              "cvs [editors aborted]: connect to 127.0.0.1(127.0.0.1):2401 failed: "
              "Connection refused\n");
    env_.Host().ExpectMessageBox(kIdOk);
    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr, CDlgItemProp::kPageEditors);
    auto ui = env_.Host().Open(sheet);
    ASSERT_TRUE(env_.Host().WaitUntil([&] { return !env_.Host().MessageBoxes().empty(); },
                                      "the failure's box"));
    const MessageBoxRecord box = env_.Host().MessageBoxes()[0];
    EXPECT_THAT(box.text, HasSubstr("Connection refused"));
    EXPECT_EQ(box.caption, ApplicationTitle());
    EXPECT_EQ(box.style, kMbOk);
    EXPECT_EQ(box.owner, sheet.Editors().Handle());
    EXPECT_TRUE(env_.Host().WaitUntil([&] { return !sheet.Editors().IsBusy(); }, "the end"));
    EXPECT_EQ(ui.Page(2).Rows(CPageItemEditors::kIdcList), kUpdating);
    EXPECT_FALSE(ui.Page(2).IsEnabled(CPageItemEditors::kIdcRefresh));

    EXPECT_TRUE(ui.SelectPage(1));
    ASSERT_TRUE(WaitForRows(ui, 1, CPageItemWatchers::kIdcList, kWatcherRows));
    EXPECT_TRUE(ui.SelectPage(0));
    EXPECT_EQ(ui.Page(0).Text(CPageItemGeneral::kIdcFileName), "a.txt");
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
}

// Both workers at once on one context: the second waits for the first's turn, and each
// page gets its own rows.
TEST_F(ItemProp, BothWorkersAtOnceOnOneContext) {
    play_.Hold("watchers");
    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
    auto ui = env_.Host().Open(sheet);
    EXPECT_TRUE(ui.SelectPage(1));
    EXPECT_TRUE(env_.Host().WaitUntil([&] { return play_.Started("watchers"); }, "the listing"));
    EXPECT_TRUE(ui.SelectPage(2));
    EXPECT_TRUE(sheet.Editors().HasWorker());
    play_.Release("watchers");
    ASSERT_TRUE(WaitForRows(ui, 1, CPageItemWatchers::kIdcList, kWatcherRows));
    ASSERT_TRUE(WaitForRows(ui, 2, CPageItemEditors::kIdcList, kEditorRows));
    EXPECT_EQ(Commands(), (Strings{"cvs watchers a.txt", "cvs editors a.txt"}));
    ui.Click(kIdOk);
}

// Closed while both workers still run: the sheet's object waits for them when it goes,
// serving what they send meanwhile; nothing reaches the pages that have gone (the editors
// page's failure would show a box, which the host would report).
TEST_F(ItemProp, ASheetClosedWhileItsWorkersRun) {
    play_.Hold("watchers");
    play_.Hold("editors");
    play_.Set("editors", "", 1, "cvs editors: failed\n");
    std::thread releaser;
    {
        CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
        {
            auto ui = env_.Host().Open(sheet);
            // The watchers' command runs and holds the context; the editors' worker waits.
            EXPECT_TRUE(ui.SelectPage(1));
            EXPECT_TRUE(
                env_.Host().WaitUntil([&] { return play_.Started("watchers"); }, "a listing"));
            EXPECT_TRUE(ui.SelectPage(2));
            ui.Click(kIdOk);
        }
        EXPECT_FALSE(sheet.Watchers().IsRealised());
        EXPECT_TRUE(sheet.Watchers().IsBusy());
        EXPECT_TRUE(sheet.Editors().IsBusy());
        // Let the commands go only once the sheet is being destroyed.
        releaser = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            play_.Release("watchers");
            play_.Release("editors");
        });
    }
    releaser.join();
    // The workers ended before the sheet did: both ran their command to its end.
    EXPECT_EQ(Commands(), (Strings{"cvs watchers a.txt", "cvs editors a.txt"}));
    EXPECT_TRUE(env_.Host().MessageBoxes().empty());
}

// On a terminal: the facts, then each list as a table once it has loaded, with the watch
// buttons offered as a choice and the list shown again after each; Enter goes on.
TEST_F(ItemProp, OnATerminal) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {"2", ""};
    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
    EXPECT_EQ(sheet.DoModal(), kIdOk);
    const std::string& shown = terminal.shown;
    EXPECT_THAT(shown, HasSubstr("a.txt Properties\n[General]\nFilename: a.txt\nCVSROOT: "));
    EXPECT_THAT(shown, HasSubstr("\nEncoding: Text\nStatus: "));
    const std::string watchers = "Watchers:\n"
                                 "      Filename  Username  edit  unedit  commit\n"
                                 "  1)  a.txt     ann       yes   yes     yes\n"
                                 "  2)  a.txt     bob       yes   yes     yes\n"
                                 "Watch:\n  1) Watch Add\n  2) Watch Remove\n";
    const std::string editors =
        "Editors:\n"
        "      Filename  Username  Date/Time                       "
        "Hostname  Working Directory\n"
        "  1)  a.txt     bob       Mon Dec  7 10:00:00 2026 -0000  host2     "
        "/w/bob\n";
    // The progress line comes and goes between them; the tables follow their tabs.
    const size_t watchersTab = shown.find("[Watchers]\n");
    const size_t first = shown.find(watchers);
    const size_t second = shown.find(watchers, first + 1);
    const size_t editorsTab = shown.find("[Editors]\n");
    const size_t editorsTable = shown.find(editors);
    EXPECT_LT(watchersTab, first);
    EXPECT_LT(first, second); // shown again after the watch was removed
    EXPECT_LT(second, editorsTab);
    EXPECT_LT(editorsTab, editorsTable);
    EXPECT_NE(editorsTable, std::string::npos) << shown;
    EXPECT_THAT(terminal.prompts, ElementsAre("choose (a number): ", "choose (a number): "));
    EXPECT_EQ(Commands(), (Strings{"cvs watchers a.txt", "cvs watch remove a.txt",
                                   "cvs watchers a.txt", "cvs editors a.txt"}));
}

// Without a terminal, scripted answers press a watch button once; without one nothing is
// asked and the sheet closes with OK.
TEST_F(ItemProp, FromScriptedAnswers) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    std::string tables;
    host.UseScriptedAnswers(
        ScriptedAnswers(std::map<std::string, std::string>{{"watch", "watch add"}}),
        [](const std::string&) {}, [&](const std::string& table) { tables += table; });
    CDlgItemProp sheet(*context_, "a.txt Properties", file_, nullptr);
    EXPECT_EQ(sheet.DoModal(), kIdOk);
    // Each list once, as it stands after the watch was added.
    EXPECT_EQ(tables, "Filename\tUsername\tedit\tunedit\tcommit\n"
                      "a.txt\tann\tyes\tyes\tyes\n"
                      "a.txt\tbob\tyes\tyes\tyes\n"
                      "Filename\tUsername\tDate/Time\tHostname\tWorking Directory\n"
                      "a.txt\tbob\tMon Dec  7 10:00:00 2026 -0000\thost2\t/w/bob\n");
    EXPECT_EQ(Commands(), (Strings{"cvs watchers a.txt", "cvs watch add a.txt",
                                   "cvs watchers a.txt", "cvs editors a.txt"}));
    EXPECT_TRUE(faults.seen.empty());

    HeadlessHost bare(faults.Sink());
    bare.UseScriptedAnswers(ScriptedAnswers(), [](const std::string&) {});
    CDlgItemProp again(*context_, "a.txt Properties", file_, nullptr);
    EXPECT_EQ(again.DoModal(), kIdOk);
    EXPECT_EQ(Commands(), (Strings{"cvs watchers a.txt", "cvs editors a.txt"}));
    EXPECT_TRUE(faults.seen.empty());
}

} // namespace
