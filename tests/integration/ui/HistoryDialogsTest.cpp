// The revision history sheet, the file difference dialog and the tag selection against the
// real cvs, played through the headless host: what they list, what each action runs and
// starts, the files they write (a binary revision and the user's own content byte for
// byte), and what bad settings and failures get; and the history on a terminal and from
// scripted answers.
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Text.h"
#include "tests/support/CvsEngineFixture.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/support/ToolRecord.h"
#include "ui/DlgDiff.h"
#include "ui/DlgItemHistory.h"
#include "ui/DlgTagSelect.h"
#include "ui/framework/HeadlessHost.h"
#include "ui/framework/TerminalHost.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace uifw;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing_support::ArgumentsOf;
using testing_support::ModuleImageBytes;
using testing_support::ReadFile;
using testing_support::WithPlatformLineEnds;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;
using Strings = std::vector<std::string>;
using P = CPageItemRevHist;

class HistoryDialogs : public testing_support::CvsWorkingCopyFixture {
protected:
    void SetUp() override {
        CvsWorkingCopyFixture::SetUp();
        env_.Settings().SetEditor(testing_support::RecorderProgram());
        env_.Settings().SetDiffExe(testing_support::RecorderProgram() + " %1 %2");
    }

    // The rows' revision numbers, top to bottom.
    static Strings Revisions(const DialogDriver& page) {
        Strings revisions;
        for (const Strings& row : page.Rows(P::kIdcRevisions))
            revisions.push_back(row[1]);
        return revisions;
    }
    int RowOf(const DialogDriver& page, const std::string& revision) {
        const Strings revisions = Revisions(page);
        for (size_t i = 0; i < revisions.size(); ++i)
            if (revisions[i] == revision)
                return static_cast<int>(i);
        ADD_FAILURE() << "no row of revision " << revision;
        return 0;
    }

    testing_support::ToolRecorder recorder_;
};

INSTANTIATE_TEST_SUITE_P(Methods, HistoryDialogs, testing_support::AllCvsMethods(),
                         testing_support::CvsMethodParamName);

// The behaviours of the page that do not depend on how the repository is reached run on a
// local root only.
class HistoryPage : public HistoryDialogs {};
INSTANTIATE_TEST_SUITE_P(Local, HistoryPage, testing::Values(Method::Local),
                         testing_support::CvsMethodParamName);

TEST_P(HistoryPage, OpensOnTheFirstFileByNameWithItsRevisionsNewestFirst) {
    CDlgItemHistory sheet(*context_, "History", {File("sub/c.txt"), File("a.txt")});
    DialogSession ui = env_.Host().Open(sheet);
    EXPECT_EQ(ui.Caption(), "History");
    EXPECT_EQ(ui.GetPlacement(), Placement::CentredOnDesktop);
    EXPECT_TRUE(ui.WasBroughtToTop());
    EXPECT_EQ(ui.Owner(), nullptr);
    EXPECT_EQ(sheet.Revisions().Title(), "Revisions");
    DialogDriver page = ui.Page(0);
    EXPECT_THAT(page.Items(P::kIdcFileName), ElementsAre("a.txt", "c.txt"));
    EXPECT_EQ(page.SelectedText(P::kIdcFileName), "a.txt");
    EXPECT_EQ(sheet.Revisions().CurrentFile(), File("a.txt"));
    EXPECT_THAT(page.Columns(P::kIdcRevisions),
                ElementsAre("Date/Time", "Revision", "Author", "Branch", "Comment"));
    // By date, newest first; the import's two revisions share their second.
    const Strings revisions = Revisions(page);
    ASSERT_EQ(revisions.size(), 5u);
    EXPECT_EQ(revisions[0], "1.2.2.1");
    EXPECT_EQ(revisions[1], "1.3");
    EXPECT_EQ(revisions[2], "1.2");
    const Strings row = page.Rows(P::kIdcRevisions)[2];
    EXPECT_EQ(row[3], " 1.2.2;");
    EXPECT_EQ(row[4], "second revision");
    EXPECT_FALSE(row[2].empty());
    for (ControlId id : {P::kIdcView, P::kIdcDiffLocal, P::kIdcReplace, P::kIdcDiff, P::kIdcRefresh,
                         P::kIdcUpdateComments})
        EXPECT_FALSE(page.IsEnabled(id)) << id;
    EXPECT_EQ(page.Text(P::kIdcComments), "");
    EXPECT_THAT(env_.Pane().TakeCommands(), ElementsAre("cvs log a.txt"));

    page.Choose(P::kIdcFileName, "c.txt");
    EXPECT_EQ(sheet.Revisions().CurrentFile(), File("sub/c.txt"));
    EXPECT_THAT(Revisions(page), ElementsAre("1.1", "1.1.1.1"));
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
}

TEST_P(HistoryPage, RowsSelectedShowTheirCommentAndEnableTheActionsTwoAtMost) {
    Commit(Copy("other"), "a.txt", "line 4\n", "first line\r\nsecond line\r\n");
    CDlgItemHistory sheet(*context_, "History", {File("a.txt")});
    DialogSession ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    EXPECT_FALSE(page.IsEnabled(P::kIdcComments));

    const int r14 = RowOf(page, "1.4"), r12 = RowOf(page, "1.2"), r13 = RowOf(page, "1.3");
    page.ClickRow(P::kIdcRevisions, r14);
    // The message's carriage returns start lines in the box.
    EXPECT_TRUE(page.IsEnabled(P::kIdcComments));
    EXPECT_EQ(page.Text(P::kIdcComments), "first line\r\nsecond line"); // cvs drops the last CR
    for (ControlId id :
         {P::kIdcView, P::kIdcDiffLocal, P::kIdcReplace, P::kIdcRefresh, P::kIdcUpdateComments})
        EXPECT_TRUE(page.IsEnabled(id)) << id;
    EXPECT_FALSE(page.IsEnabled(P::kIdcDiff));

    page.CtrlClickRow(P::kIdcRevisions, r12);
    EXPECT_TRUE(page.IsEnabled(P::kIdcDiff));
    EXPECT_EQ(page.Text(P::kIdcComments), "second revision");
    // A third row is deselected again; the box shows the row whose state changed last.
    page.CtrlClickRow(P::kIdcRevisions, r13);
    EXPECT_THAT(page.SelectedRows(P::kIdcRevisions),
                ElementsAre(std::min(r14, r12), std::max(r14, r12)));
    EXPECT_EQ(page.Text(P::kIdcComments), "third revision");
    EXPECT_TRUE(page.IsEnabled(P::kIdcDiff));

    page.CtrlClickRow(P::kIdcRevisions, r14);
    page.CtrlClickRow(P::kIdcRevisions, r12);
    for (ControlId id : {P::kIdcView, P::kIdcDiff, P::kIdcRefresh})
        EXPECT_FALSE(page.IsEnabled(id)) << id;
}

TEST_P(HistoryPage, RefreshKeepsTheListsAscendingOrderAndChoosingAFileSortsNewestFirst) {
    CDlgItemHistory sheet(*context_, "History", {File("a.txt"), File("sub/c.txt")});
    DialogSession ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    const Strings newestFirst = Revisions(page);
    page.ClickRow(P::kIdcRevisions, 0);
    env_.Pane().TakeCommands();
    page.Click(P::kIdcRefresh);
    EXPECT_THAT(env_.Pane().TakeCommands(), ElementsAre("cvs log a.txt"));
    const Strings dates = page.RowTexts(P::kIdcRevisions);
    EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end()));
    EXPECT_EQ(Revisions(page).back(), newestFirst.front());
    EXPECT_EQ(page.Text(P::kIdcComments), "");
    EXPECT_THAT(page.SelectedRows(P::kIdcRevisions), IsEmpty());

    page.Choose(P::kIdcFileName, "c.txt");
    page.Choose(P::kIdcFileName, "a.txt");
    EXPECT_EQ(Revisions(page), newestFirst);
    EXPECT_FALSE(page.IsEnabled(P::kIdcRefresh));
}

TEST_P(HistoryDialogs, ViewAndDiffFetchTheRevisionsAndStartTheToolsWithTheirCommandLines) {
    CDlgItemHistory sheet(*context_, "History", {File("a.txt")});
    DialogSession ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    const std::string diff = In(work_, "CVS/Diff");
    const std::string r12 = In(diff, "a.txt.1.2"), r11 = In(diff, "a.txt.1.1");
    const std::string tool = testing_support::RecorderProgram();

    // View Revision: both selected revisions, in list order, in one editor.
    page.ClickRow(P::kIdcRevisions, RowOf(page, "1.2"));
    page.CtrlClickRow(P::kIdcRevisions, RowOf(page, "1.1"));
    env_.Pane().TakeCommands();
    page.Click(P::kIdcView);
    EXPECT_THAT(env_.Pane().TakeCommands(),
                ElementsAre("cvs update -p -r 1.2 a.txt", "cvs update -p -r 1.1 a.txt"));
    EXPECT_EQ(ReadFile(r12), WithPlatformLineEnds("line 1\nline 2\n"));
    EXPECT_EQ(ReadFile(r11), WithPlatformLineEnds("line 1\n"));
    const std::string viewLine = "\"" + tool + "\" \"" + r12 + "\" \"" + r11 + "\" ";
    testing_support::ToolStart start = recorder_.Wait();
    ASSERT_TRUE(start.seen);
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(r12, r11));
    if (!start.line.empty()) {
        EXPECT_EQ(start.line, viewLine);
    }
    EXPECT_EQ(start.folder, platform::ThisModuleFolder());

    // Diff: the two revisions in the diff tool; the working file is not among them.
    page.Click(P::kIdcDiff);
    start = recorder_.Wait();
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(r12, r11));

    // Diff /w Local, by the placeholders of DIFFEXE.
    page.ClickRow(P::kIdcRevisions, RowOf(page, "1.2"));
    const std::string w = File("a.txt");
    const struct {
        std::string setting;
        Strings args;
        std::string line;
    } cases[] = {
        {tool + " %1 %2", {w, r12}, "\"" + tool + "\"  \"" + w + "\" \"" + r12 + "\" "},
        {tool, {r12, w}, "\"" + tool + "\" \"" + r12 + "\"  \"" + w + "\""},
        {tool + " %1", {w, r12}, "\"" + tool + "\" \"" + w + "\" \"" + r12 + "\" "},
        {tool + " %2", {r12, w}, "\"" + tool + "\" \"" + r12 + "\"  \"" + w + "\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        env_.Settings().SetDiffExe(c.setting);
        page.Click(P::kIdcDiffLocal);
        start = recorder_.Wait();
        ASSERT_TRUE(start.seen);
        EXPECT_EQ(ArgumentsOf(start), c.args);
        if (!start.line.empty()) {
            EXPECT_EQ(start.line, c.line);
        }
    }
    EXPECT_TRUE(env_.Host().MessageBoxes().empty());
    EXPECT_EQ(ReadFile(w), "line 1\nline 2\nline 3\n");
}

TEST_P(HistoryDialogs, ReplaceLocalKeepsTheUsersContentAndGivesBackABinaryRevisionExactly) {
    // The user's own changes to a text file are kept as cvs keeps them.
    const std::string mine("my own work\r\n\0with a NUL", 25);
    WriteFile(File("a.txt"), mine);
    {
        CDlgItemHistory sheet(*context_, "History", {File("a.txt")});
        DialogSession ui = env_.Host().Open(sheet);
        DialogDriver page = ui.Page(0);
        page.ClickRow(P::kIdcRevisions, RowOf(page, "1.2"));
        const Strings before = Revisions(page);
        page.Click(P::kIdcReplace);
        EXPECT_EQ(ReadFile(File("a.txt")), WithPlatformLineEnds("line 1\nline 2\n"));
        EXPECT_TRUE(ReadFile(File(".#a.txt.1.3")) == mine);
        EXPECT_TRUE(env_.Pane().Has("Kept the local changes of " + File("a.txt") + " as " +
                                    File(".#a.txt.1.3")))
            << env_.Pane().All();
        // Nothing is read again.
        EXPECT_EQ(Revisions(page), before);
        EXPECT_THAT(page.SelectedRows(P::kIdcRevisions), ElementsAre(RowOf(page, "1.2")));
    }

    // A binary file with NULs and CRs replaced by an older revision: exactly its bytes.
    const std::string newer("\0\r\n\r\0newer image\r", 18);
    Commit(work_, "img.bin", newer, "newer image");
    CDlgItemHistory sheet(*context_, "History", {File("img.bin")});
    DialogSession ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    ASSERT_THAT(Revisions(page), ElementsAre("1.2", "1.1", "1.1.1.1"));
    page.ClickRow(P::kIdcRevisions, 1);
    page.Click(P::kIdcReplace);
    EXPECT_TRUE(ReadFile(File("img.bin")) == ModuleImageBytes());
    EXPECT_FALSE(platform::Exists(File(".#img.bin.1.2")));
    // Changed by the user, then replaced: the user's bytes are kept beside it.
    MakeWritable(File("img.bin"));
    const std::string edited("\r\0\xff\r\n edited\0", 12);
    WriteFile(File("img.bin"), edited);
    page.ClickRow(P::kIdcRevisions, 0);
    page.Click(P::kIdcReplace);
    EXPECT_TRUE(ReadFile(File("img.bin")) == newer);
    EXPECT_TRUE(ReadFile(File(".#img.bin.1.2")) == edited);
}

TEST_P(HistoryPage, UpdateCommentsSetsTheTextOfTheBoxWholeOrShowsWhyNot) {
    CDlgItemHistory sheet(*context_, "History", {File("a.txt")});
    DialogSession ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    page.ClickRow(P::kIdcRevisions, RowOf(page, "1.2"));
    page.Type(P::kIdcComments, "refused");
    // The repository refuses: its reason under "Morvek :> Error".
    env_.Host().ExpectMessageBox(kIdOk);
    page.Click(P::kIdcUpdateComments);
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(env_.Host().MessageBoxes()[0].caption, "Morvek :> Error");
    EXPECT_THAT(env_.Host().MessageBoxes()[0].text, HasSubstr("_cvsadmin"));
    EXPECT_EQ(page.Rows(P::kIdcRevisions)[static_cast<size_t>(RowOf(page, "1.2"))][4],
              "second revision");

    AllowAdmin();
    // A long message with bytes outside ASCII is set whole, not cut at 4999 characters.
    // (Under Wine the test's cvs runs on Linux, and the shim hands it the Windows code page
    // as UTF-8: the byte comes back other than it went.)
    std::string message = testing_support::RunningUnderWine() ? "cafe " : "caf\xE9 ";
    while (message.size() < 6000)
        message += static_cast<char>('a' + message.size() % 26);
    page.Type(P::kIdcComments, message);
    env_.Pane().TakeCommands();
    page.Click(P::kIdcUpdateComments);
    const Strings commands = env_.Pane().TakeCommands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0], "cvs admin -m 1.2:" + message + " a.txt");
    EXPECT_EQ(commands[1], "cvs log a.txt");
    EXPECT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(page.Rows(P::kIdcRevisions)[static_cast<size_t>(RowOf(page, "1.2"))][4], message);
}

TEST_P(HistoryPage, ARevisionThatCannotBeFetchedOrAToolThatCannotStartLeaveTheSheetUsable) {
    CDlgItemHistory sheet(*context_, "History", {File("a.txt")});
    DialogSession ui = env_.Host().Open(sheet);
    DialogDriver page = ui.Page(0);
    page.ClickRow(P::kIdcRevisions, RowOf(page, "1.2"));

    const std::string missing = File("no-such-tool");
    for (const std::string& setting : {missing + " %1 %2", File("a.txt") + " %1 %2"}) {
        SCOPED_TRACE(setting);
        env_.Settings().SetDiffExe(setting);
        env_.Host().ExpectMessageBox(kIdOk);
        page.Click(P::kIdcDiffLocal);
        const MessageBoxRecord box = env_.Host().MessageBoxes().back();
        const std::string program = setting.substr(0, setting.find(" %1"));
        EXPECT_EQ(box.text.rfind("Could not start \"" + program + "\" (DIFFEXE): ", 0), 0u)
            << box.text;
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, "Morvek CVS SCC");
        EXPECT_TRUE(env_.Pane().Has(box.text));
    }
    env_.Settings().SetEditor("");
    env_.Settings().SetEditor(missing);
    env_.Host().ExpectMessageBox(kIdOk);
    page.Click(P::kIdcView);
    EXPECT_THAT(env_.Host().MessageBoxes().back().text, HasSubstr("(EDITOR)"));
    EXPECT_FALSE(recorder_.Started());

    // A revision that cannot be fetched ends the action with a line in the pane.
    testing_support::RemoveTree(In(work_, "CVS"));
    page.Click(P::kIdcView);
    EXPECT_TRUE(env_.Pane().Has("Could not get revision 1.2 of " + File("a.txt")));
    EXPECT_FALSE(recorder_.Started());
    EXPECT_EQ(env_.Host().MessageBoxes().size(), 3u);

    // Still usable: it closes as ever.
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
}

TEST_P(HistoryPage, AnEmptyListOfFilesOrAFileNotUnderCvsShowNoRevisions) {
    {
        CDlgItemHistory sheet(*context_, "History", {});
        DialogSession ui = env_.Host().Open(sheet);
        DialogDriver page = ui.Page(0);
        EXPECT_THAT(page.Items(P::kIdcFileName), IsEmpty());
        EXPECT_THAT(page.Rows(P::kIdcRevisions), IsEmpty());
        EXPECT_THAT(env_.Pane().TakeCommands(), IsEmpty());
        ui.Click(kIdCancel);
    }
    WriteFile(File("loose.txt"), "not under CVS\n");
    CDlgItemHistory sheet(*context_, "History", {File("loose.txt")});
    DialogSession ui = env_.Host().Open(sheet);
    EXPECT_THAT(ui.Page(0).Rows(P::kIdcRevisions), IsEmpty());
}

TEST_P(HistoryPage, TheDiffDialogListsUpToThirtyRevisionsTheFirstChosen) {
    // A file of 31 revisions, written into the repository as cvs keeps it (committing each
    // would take a second apiece).
    std::string rcs = "head\t1.31;\naccess;\nsymbols;\nlocks; strict;\ncomment\t@# @;\n\n";
    for (int i = 31; i >= 1; --i)
        rcs += "\n1." + std::to_string(i) + "\ndate\t2024.01.01.10.00." + (i < 10 ? "0" : "") +
               std::to_string(i) + ";\tauthor alice;\tstate Exp;\nbranches;\nnext\t" +
               (i > 1 ? "1." + std::to_string(i - 1) : std::string()) + ";\n";
    rcs += "\n\ndesc\n@@\n";
    for (int i = 31; i >= 1; --i)
        rcs += "\n\n1." + std::to_string(i) + "\nlog\n@change " + std::to_string(i) +
               "\n@\ntext\n@" + (i == 31 ? std::string() : std::string("d1 1\na1 1\n")) + "line " +
               std::to_string(i) + "\n@\n";
    WriteFile(In(repo_.Path(), "mod/sub/many.txt,v"), rcs);
    ASSERT_EQ(repo_.Cvs({"update", "many.txt"}, File("sub")).status, 0);
    ClearEntriesCache();
    int owner = 0;
    CDlgDiff dialog(*context_, File("sub/many.txt"), &owner);
    DialogSession ui = env_.Host().Open(dialog);
    EXPECT_EQ(ui.Caption(), "Morvek :> File Difference");
    EXPECT_EQ(ui.Owner(), &owner);
    EXPECT_EQ(ui.GetPlacement(), Placement::CentredOnDesktop);
    EXPECT_EQ(ui.Text(CDlgDiff::kIdcSourceFile), File("sub/many.txt"));
    EXPECT_TRUE(ui.IsReadOnly(CDlgDiff::kIdcSourceFile));
    const Strings items = ui.Items(CDlgDiff::kIdcRevision);
    ASSERT_EQ(items.size(), 30u);
    // The working revision is the head here: "head " wins over "ancestor ".
    EXPECT_EQ(items[0].rfind("head 1.31 ", 0), 0u) << items[0];
    EXPECT_EQ(items[1].rfind("1.30 ", 0), 0u) << items[1];
    EXPECT_EQ(ui.Selection(CDlgDiff::kIdcRevision), 0);
    ui.Choose(CDlgDiff::kIdcRevision, items[2]);
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.GetEntry().revision, "1.29");
}

TEST_P(HistoryPage, TheDiffDialogMarksTheWorkingRevisionAndNeedsAChoice) {
    CDlgDiff dialog(*context_, File("a.txt"), nullptr);
    DialogSession ui = env_.Host().Open(dialog);
    const Strings items = ui.Items(CDlgDiff::kIdcRevision);
    ASSERT_EQ(items.size(), 5u);
    // The log's order: the head first, the branch revision last.
    EXPECT_EQ(items[0].rfind("head 1.3 ", 0), 0u) << items[0];
    EXPECT_EQ(items[4].rfind("1.2.2.1 ", 0), 0u) << items[4];
    ui.Click(kIdCancel);
    EXPECT_EQ(ui.Result(), kIdCancel);

    // An older working revision is the "ancestor".
    ASSERT_EQ(repo_.Cvs({"update", "-r", "1.2", "a.txt"}, work_).status, 0);
    ClearEntriesCache();
    CDlgDiff older(*context_, File("a.txt"), nullptr);
    DialogSession second = env_.Host().Open(older);
    EXPECT_EQ(second.Items(CDlgDiff::kIdcRevision)[1].rfind("ancestor 1.2 ", 0), 0u);

    // Nothing to choose: OK says so and the dialog stays open.
    WriteFile(File("loose.txt"), "x\n");
    CDlgDiff none(*context_, File("loose.txt"), nullptr);
    DialogSession third = env_.Host().Open(none);
    EXPECT_THAT(third.Items(CDlgDiff::kIdcRevision), IsEmpty());
    env_.Host().ExpectMessageBox(kIdOk);
    third.Click(kIdOk);
    EXPECT_FALSE(third.Ended());
    EXPECT_EQ(env_.Host().MessageBoxes().back().text, "No revision selected");
    EXPECT_EQ(env_.Host().MessageBoxes().back().caption, "Morvek CVS SCC");
    third.Click(kIdCancel);
    EXPECT_EQ(third.Result(), kIdCancel);
}

TEST_P(HistoryDialogs, TheTagSelectionListsTheTagsLastFoundFirst) {
    Strings found;
    CCVSController(*context_).GetTags(work_, found);
    ASSERT_GE(found.size(), 3u);
    CDlgTagSelect dialog(*context_, nullptr);
    dialog.SetPath(work_);
    DialogSession ui = env_.Host().Open(dialog);
    EXPECT_EQ(ui.Caption(), "Select Tag");
    EXPECT_EQ(ui.Label(CDlgTagSelect::kIdcTags), "Current Tags:");
    const Strings listed = ui.RowTexts(CDlgTagSelect::kIdcTags);
    EXPECT_EQ(listed, Strings(found.rbegin(), found.rend()));
    ui.ClickRow(CDlgTagSelect::kIdcTags, 1);
    ui.Click(kIdOk);
    EXPECT_EQ(dialog.GetTag(), listed[1]);

    // OK without a choice gives no tag; a folder outside CVS lists none.
    CDlgTagSelect plain(*context_, nullptr);
    plain.SetPath(sandbox_.Folder("plain"));
    DialogSession second = env_.Host().Open(plain);
    EXPECT_THAT(second.RowTexts(CDlgTagSelect::kIdcTags), IsEmpty());
    second.Click(kIdOk);
    EXPECT_EQ(second.Result(), kIdOk);
    EXPECT_EQ(plain.GetTag(), "");
}

TEST_P(HistoryPage, ScriptedAnswersChooseRowsAndActionsAndTheTableGoesToTheScript) {
    testing_support::FaultLog faults;
    std::vector<std::string> shown;
    HeadlessHost scripted(faults.Sink());
    scripted.UseScriptedAnswers(
        ScriptedAnswers({{"historyfile", "a.txt"}, {"revisions", "1.2, 1.1"}, {"action", "view"}}),
        [](const std::string&) {}, [&](const std::string& table) { shown.push_back(table); });
    CDlgItemHistory sheet(*context_, "History", {File("sub/c.txt"), File("a.txt")});
    EXPECT_EQ(sheet.DoModal(), kIdOk);
    EXPECT_THAT(faults.seen, IsEmpty());
    const testing_support::ToolStart start = recorder_.Wait();
    EXPECT_THAT(ArgumentsOf(start),
                ElementsAre(In(work_, "CVS/Diff/a.txt.1.2"), In(work_, "CVS/Diff/a.txt.1.1")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, shown[0].find('\n')),
              "Date/Time\tRevision\tAuthor\tBranch\tComment");
    EXPECT_THAT(shown[0], HasSubstr("\t1.2\t"));
    EXPECT_THAT(shown[0], HasSubstr("\t 1.2.2;\tsecond revision\n"));
}

TEST_P(HistoryPage, ATerminalShowsTheTableAndAsksForRowsAndActions) {
    AllowAdmin();
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {"",         "3", "update comments",
                      "new text", ".", // 1.2 gets a new comment
                      "",         "",  "close"};
    CDlgItemHistory sheet(*context_, "History", {File("a.txt")});
    EXPECT_EQ(sheet.DoModal(), kIdOk);
    EXPECT_THAT(terminal.shown, HasSubstr("Date/Time"));
    EXPECT_THAT(terminal.shown, HasSubstr("  3)  "));
    EXPECT_THAT(terminal.shown, HasSubstr("second revision"));
    EXPECT_THAT(terminal.shown, HasSubstr("  6) Close\n")); // Diff needs two rows
    EXPECT_THAT(terminal.shown, HasSubstr("Revision Comments (several lines;"));
    const std::vector<CCVSLogEntry> log = CCVSController(*context_).GetHistory(File("a.txt"));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1].revision, "1.2");
    EXPECT_EQ(log[1].message, "new text");
}

} // namespace
