// The advanced-options sheets through the headless host: what a fresh context shows, which
// control enables which, what OK writes to the command options map (and what the update
// makes of it), Cancel, the date cvs reads, the tag selection behind each "...", and the
// sheets on a terminal and from scripted answers.
#include "ui/DlgCmdOpts.h"

#include "operations/CVSController.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/DlgTagSelect.h"
#include "ui/framework/TerminalHost.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using testing::ElementsAre;
using testing::HasSubstr;
using Strings = std::vector<std::string>;
using U = CPageUpdateOpts;
using C = CPageCheckinOpts;

namespace {

// "cvs log -h" of a file with two tags, as the tag selection reads it.
constexpr const char* kLog = "RCS file: /repo/mod/a.txt,v\n"
                             "Working file: a.txt\n"
                             "head: 1.3\n"
                             "branch:\n"
                             "locks: strict\n"
                             "access list:\n"
                             "symbolic names:\n"
                             "\tBR_FIX: 1.3.0.2\n"
                             "\tREL_1: 1.2\n"
                             "keyword substitution: kv\n"
                             "total revisions: 3\n"
                             "=============================================================\n";

class CmdOpts : public testing::Test {
protected:
    void SetUp() override {
        env_.Settings().SetCvsExePath(testing_support::FakeCvsPath());
        context_ = env_.MakeContext();
        context_->SetLocalPath(NormalizePath(dir_.Path()));
        play_.Set("log", kLog);
    }
    void TearDown() override { context_.reset(); }
    CCVSStringMap& Map() { return context_->GetOptions(); }

    testing_support::ScopedEnv clock_{"MORVEK_TEST_CLOCK", "2026-12-10T09:30:00"};
    testing_support::FakeCvsPlay play_;
    testing_support::TempDir dir_{"cmdopts"};
    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
};

const std::vector<ControlId> kUpdateChecks = {U::kIdcResetSticky, U::kIdcPruneEmpty,
                                              U::kIdcCreateNewDir, U::kIdcCleanCopy,
                                              U::kIdcKeywordSub};

TEST_F(CmdOpts, AFreshContextOpensWithNothingChosen) {
    CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    auto ui = env_.Host().Open(sheet);
    EXPECT_EQ(ui.Caption(), "Get/Check-out Advanced Options...");
    ASSERT_EQ(sheet.PageCount(), 1);
    EXPECT_EQ(sheet.Page(0).Title(), "Options");
    DialogDriver p = ui.Page(0);
    EXPECT_TRUE(p.IsChecked(U::kIdcDontMerge));
    EXPECT_TRUE(p.IsChecked(U::kIdcDefaultVer));
    for (ControlId id : kUpdateChecks)
        EXPECT_FALSE(p.IsChecked(id)) << id;
    EXPECT_EQ(p.Date(U::kIdcDate), DateValue::Make(2026, 12, 10, 9, 30, 0));
    EXPECT_EQ(p.Displayed(U::kIdcDate), "12/10/2026");
    for (ControlId id :
         {U::kIdcDate, U::kIdcTag, U::kIdcMergeTag1, U::kIdcMergeTag2, U::kIdcKeyword})
        EXPECT_FALSE(p.IsEnabled(id)) << id;
    for (ControlId id : {U::kIdcChooseTag, U::kIdcChooseMergeTag1, U::kIdcChooseMergeTag2})
        EXPECT_TRUE(p.IsEnabled(id)) << id;
    EXPECT_EQ(p.Items(U::kIdcKeyword),
              (Strings{"(-kv) (Default) Substitue keyword and value.",
                       "(-kvl) Substitue keyword, value, and locker (if any).",
                       "(-kk) Substitue keyword only.", "(-ko) Preserve original string.",
                       "(-kb) Like o, but mark file as binary.", "(-ku) Mark file as unicode",
                       "(-kv) Substitue value only."}));
    EXPECT_EQ(p.Selection(U::kIdcKeyword), -1);
    EXPECT_EQ(p.Label(U::kIdcDontMerge), "Don't merge");

    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(Map(), (CCVSStringMap{{"CHECKOUT_DONTMERGE", "1"},
                                    {"CHECKOUT_MERGEBRANCH1", "0"},
                                    {"CHECKOUT_MERGEBRANCH2", "0"},
                                    {"CHECKOUT_MERGETAG1", ""},
                                    {"CHECKOUT_MERGETAG2", ""},
                                    {"CHECKOUT_USEDEFAULTVER", "1"},
                                    {"CHECKOUT_USEREVVER", "0"},
                                    {"CHECKOUT_GETREVVER", ""},
                                    {"CHECKOUT_USEDATEVER", "0"},
                                    {"CHECKOUT_GETDATEVER", "2026-12-10"},
                                    {"CHECKOUT_RESETSTICKY", "0"},
                                    {"CHECKOUT_PRUNEEMPTY", "0"},
                                    {"CHECKOUT_CREATENEWDIR", "0"},
                                    {"CHECKOUT_GETCLEANCOPY", "0"},
                                    {"CHECKOUT_USEKEYWORDSUB", "0"},
                                    {"CHECKOUT_USEKEYWORD", ""}}));
    EXPECT_TRUE(options::UpdateOptions(Map()).empty());
}

// After each choice: which boxes are enabled (tag, date, merge 1, merge 2, keyword list).
TEST_F(CmdOpts, EachChoiceEnablesItsBoxes) {
    CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    auto ui = env_.Host().Open(sheet);
    DialogDriver p = ui.Page(0);
    const struct {
        ControlId click;
        bool tag, date, merge1, merge2, keyword;
    } steps[] = {
        {U::kIdcByTag, true, false, false, false, false},
        {U::kIdcByDate, false, true, false, false, false},
        {U::kIdcMergeBranch1, false, true, true, false, false},
        {U::kIdcMergeBranch2, false, true, true, true, false},
        {U::kIdcKeywordSub, false, true, true, true, true},
        {U::kIdcDontMerge, false, true, false, false, true},
        {U::kIdcKeywordSub, false, true, false, false, false},
        {U::kIdcDefaultVer, false, false, false, false, false},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(p.Click(step.click));
        SCOPED_TRACE(step.click);
        EXPECT_EQ(p.IsEnabled(U::kIdcTag), step.tag);
        EXPECT_EQ(p.IsEnabled(U::kIdcDate), step.date);
        EXPECT_EQ(p.IsEnabled(U::kIdcMergeTag1), step.merge1);
        EXPECT_EQ(p.IsEnabled(U::kIdcMergeTag2), step.merge2);
        EXPECT_EQ(p.IsEnabled(U::kIdcKeyword), step.keyword);
        EXPECT_TRUE(p.IsEnabled(U::kIdcChooseTag));
    }
    ui.Click(kIdCancel);
}

// Every option chosen reaches the map, comes back when the sheet opens again for the same
// context, and gives the update its options in their order.
TEST_F(CmdOpts, OkWritesEveryOptionAndTheNextOpeningShowsIt) {
    {
        CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
        auto ui = env_.Host().Open(sheet);
        DialogDriver p = ui.Page(0);
        p.Click(U::kIdcMergeBranch2);
        p.Type(U::kIdcMergeTag1, "REL_1");
        p.Type(U::kIdcMergeTag2, "BR_FIX");
        p.Click(U::kIdcByDate);
        p.PickDate(U::kIdcDate, DateValue::Make(2026, 3, 4, 17, 5, 0));
        for (ControlId id : kUpdateChecks)
            p.Tick(id);
        p.ChooseIndex(U::kIdcKeyword, 4);
        ui.Click(kIdOk);
        EXPECT_EQ(ui.Result(), kIdOk);
    }
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_USEKEYWORD"), "-kb");
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_GETDATEVER"), "2026-03-04");
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_DONTMERGE"), "0");
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_MERGEBRANCH1"), "1");
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_MERGEBRANCH2"), "1");
    // Both merges, as "Merge two branches (-j -j)" says.
    EXPECT_EQ(options::UpdateOptions(Map()), (Strings{"-A", "-P", "-kb", "-C", "-d", "-j", "REL_1",
                                                      "-j", "BR_FIX", "-D", "2026-03-04"}));

    CDlgGetCmdOpts again(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    auto ui = env_.Host().Open(again);
    DialogDriver p = ui.Page(0);
    EXPECT_TRUE(p.IsChecked(U::kIdcMergeBranch2));
    EXPECT_FALSE(p.IsChecked(U::kIdcMergeBranch1));
    EXPECT_EQ(p.Text(U::kIdcMergeTag1), "REL_1");
    EXPECT_EQ(p.Text(U::kIdcMergeTag2), "BR_FIX");
    EXPECT_TRUE(p.IsChecked(U::kIdcByDate));
    EXPECT_EQ(p.Displayed(U::kIdcDate), "03/04/2026");
    for (ControlId id : kUpdateChecks)
        EXPECT_TRUE(p.IsChecked(id)) << id;
    EXPECT_EQ(p.Selection(U::kIdcKeyword), 4);
    EXPECT_TRUE(p.IsEnabled(U::kIdcKeyword));
    EXPECT_TRUE(p.IsEnabled(U::kIdcMergeTag2));

    // One branch, by tag, and the second item of -kv: reopening chooses the first -kv.
    p.Click(U::kIdcMergeBranch1);
    p.Click(U::kIdcByTag);
    p.Type(U::kIdcTag, "REL_1");
    p.ChooseIndex(U::kIdcKeyword, 6);
    p.Tick(U::kIdcCleanCopy, false);
    ui.Click(kIdOk);
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_USEKEYWORD"), "-kv");
    EXPECT_EQ(options::UpdateOptions(Map()),
              (Strings{"-A", "-P", "-kv", "-d", "-j", "REL_1", "-r", "REL_1"}));
    CDlgGetCmdOpts third(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    auto ui3 = env_.Host().Open(third);
    EXPECT_EQ(ui3.Page(0).Selection(U::kIdcKeyword), 0);
    EXPECT_TRUE(ui3.Page(0).IsChecked(U::kIdcMergeBranch1));
    EXPECT_TRUE(ui3.Page(0).IsChecked(U::kIdcByTag));
    ui3.Click(kIdCancel);
}

TEST_F(CmdOpts, CancelLeavesTheMapAsItWas) {
    Map() = {{"CHECKOUT_RESETSTICKY", "1"}, {"CHECKOUT_USEREVVER", "1"}, {"COMMIT_FORCED", "1"}};
    const CCVSStringMap before = Map();
    {
        CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
        auto ui = env_.Host().Open(sheet);
        DialogDriver p = ui.Page(0);
        p.Click(U::kIdcMergeBranch2);
        p.Type(U::kIdcMergeTag1, "A");
        p.Click(U::kIdcByDate);
        for (ControlId id : kUpdateChecks)
            p.Tick(id, !p.IsChecked(id));
        p.ChooseIndex(U::kIdcKeyword, 1);
        ui.Click(kIdCancel);
        EXPECT_EQ(ui.Result(), kIdCancel);
    }
    {
        CDlgCheckInOpts sheet(*context_, CDlgCheckInOpts::kCaption, nullptr);
        auto ui = env_.Host().Open(sheet);
        ui.Page(0).Tick(C::kIdcForce, false);
        ui.Page(0).Tick(C::kIdcCommitBranch);
        ui.Page(0).Type(C::kIdcBranch, "BR");
        ui.Click(kIdCancel);
    }
    EXPECT_EQ(Map(), before);
}

// Stored dates: as these sheets write them, as MM/dd/yyyy, or unreadable (today instead).
TEST_F(CmdOpts, StoredDatesAndADateCvsCouldNotRead) {
    const struct {
        const char* stored;
        DateValue shown;
    } cases[] = {
        {"2025-01-31", DateValue::Make(2025, 1, 31)},
        {"01/31/2025", DateValue::Make(2025, 1, 31)},
        {"31.01.2025", DateValue::Make(2026, 12, 10, 9, 30, 0)},
        {"Invalid DateTime", DateValue::Make(2026, 12, 10, 9, 30, 0)},
        {"2025-02-30", DateValue::Make(2026, 12, 10, 9, 30, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Map() = {{"CHECKOUT_GETDATEVER", c.stored}, {"CHECKOUT_USEDATEVER", "1"}};
        CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
        auto ui = env_.Host().Open(sheet);
        EXPECT_EQ(ui.Page(0).Date(U::kIdcDate), c.shown);
        EXPECT_TRUE(ui.Page(0).IsEnabled(U::kIdcDate));
        ui.Click(kIdCancel);
    }

    // By date without a date: said so, and the sheet stays open with the map untouched.
    Map().clear();
    CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    auto ui = env_.Host().Open(sheet);
    DialogDriver p = ui.Page(0);
    p.Click(U::kIdcByDate);
    p.PickDate(U::kIdcDate, DateValue::Empty());
    env_.Host().ExpectMessageBox(kIdOk);
    ui.Click(kIdOk);
    EXPECT_FALSE(ui.Ended());
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_THAT(env_.Host().MessageBoxes()[0].text, HasSubstr("Choose the date"));
    EXPECT_TRUE(Map().empty());
    // Without "By date" an empty date is no matter: it is stored empty.
    p.Click(U::kIdcDefaultVer);
    ui.Click(kIdOk);
    EXPECT_TRUE(ui.Ended());
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_GETDATEVER"), "");
    EXPECT_EQ(CPageUpdateOpts::StoredDate(DateValue::Invalid()), "Invalid DateTime");
}

// Each "..." lists the tags of the project's folder; OK puts the chosen one into its box,
// Cancel leaves the box as it was.
TEST_F(CmdOpts, TheTagSelectionFillsTheBoxBesideItsButton) {
    CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    auto ui = env_.Host().Open(sheet);
    DialogDriver p = ui.Page(0);
    const struct {
        ControlId button, box;
    } pairs[] = {{U::kIdcChooseTag, U::kIdcTag},
                 {U::kIdcChooseMergeTag1, U::kIdcMergeTag1},
                 {U::kIdcChooseMergeTag2, U::kIdcMergeTag2}};
    for (const auto& pair : pairs) {
        Strings listed;
        env_.Host().ExpectDialog("Select Tag", [&](DialogDriver& tags) {
            listed = tags.RowTexts(CDlgTagSelect::kIdcTags);
            tags.ClickRow(CDlgTagSelect::kIdcTags, 1);
            tags.Click(kIdOk);
        });
        ASSERT_TRUE(p.Click(pair.button));
        EXPECT_EQ(listed, (Strings{"REL_1", "BR_FIX"}));
        EXPECT_EQ(p.Text(pair.box), "BR_FIX");
        env_.Host().ExpectDialog("Select Tag", [](DialogDriver& tags) {
            tags.ClickRow(CDlgTagSelect::kIdcTags, 0);
            tags.Click(kIdCancel);
        });
        ASSERT_TRUE(p.Click(pair.button));
        EXPECT_EQ(p.Text(pair.box), "BR_FIX");
    }
    EXPECT_EQ(env_.Pane().TakeCommands(), Strings(6, "cvs log -h"));
    ui.Click(kIdCancel);

    CDlgCheckInOpts checkin(*context_, CDlgCheckInOpts::kCaption, nullptr);
    auto ci = env_.Host().Open(checkin);
    ci.Page(0).Click(C::kIdcCommitBranch);
    env_.Host().ExpectDialog("Select Tag", [](DialogDriver& tags) {
        tags.ClickRow(CDlgTagSelect::kIdcTags, 0);
        tags.Click(kIdOk);
    });
    ASSERT_TRUE(ci.Page(0).Click(C::kIdcChooseBranch));
    EXPECT_EQ(ci.Page(0).Text(C::kIdcBranch), "REL_1");
    ci.Click(kIdOk);
    EXPECT_EQ(LookupValue(Map(), "COMMIT_BRANCHNAME"), "REL_1");
}

TEST_F(CmdOpts, TheCheckInPage) {
    {
        CDlgCheckInOpts sheet(*context_, CDlgCheckInOpts::kCaption, nullptr);
        auto ui = env_.Host().Open(sheet);
        EXPECT_EQ(ui.Caption(), "Check-in Advanced Options...");
        EXPECT_EQ(sheet.Page(0).Title(), "Options");
        DialogDriver p = ui.Page(0);
        EXPECT_EQ(p.Label(C::kIdcForce), "Force commit/checkin (-f)");
        EXPECT_EQ(p.Label(C::kIdcCheckEdits), "Check for valid edits (-c)");
        EXPECT_EQ(p.Label(C::kIdcCommitBranch), "Commit to this branch or trunk revision (-r rev)");
        for (ControlId id : {C::kIdcForce, C::kIdcCheckEdits, C::kIdcCommitBranch})
            EXPECT_FALSE(p.IsChecked(id)) << id;
        EXPECT_FALSE(p.IsEnabled(C::kIdcBranch));
        EXPECT_FALSE(p.IsEnabled(C::kIdcChooseBranch));
        p.Click(C::kIdcCommitBranch);
        EXPECT_TRUE(p.IsEnabled(C::kIdcBranch));
        EXPECT_TRUE(p.IsEnabled(C::kIdcChooseBranch));
        p.Type(C::kIdcBranch, "BR_FIX");
        p.Click(C::kIdcCommitBranch);
        EXPECT_FALSE(p.IsEnabled(C::kIdcBranch));
        EXPECT_FALSE(p.IsEnabled(C::kIdcChooseBranch));
        p.Tick(C::kIdcCheckEdits);
        ui.Click(kIdOk);
    }
    // The branch's name is kept even with its box cleared.
    EXPECT_EQ(Map(), (CCVSStringMap{{"COMMIT_FORCED", "0"},
                                    {"COMMIT_CHECKEDITS", "1"},
                                    {"COMMIT_BRANCH", "0"},
                                    {"COMMIT_BRANCHNAME", "BR_FIX"}}));

    Map()["COMMIT_BRANCH"] = "1";
    Map()["COMMIT_FORCED"] = "yes"; // only "1" is on
    CDlgCheckInOpts sheet(*context_, CDlgCheckInOpts::kCaption, nullptr);
    auto ui = env_.Host().Open(sheet);
    DialogDriver p = ui.Page(0);
    EXPECT_TRUE(p.IsChecked(C::kIdcCommitBranch));
    EXPECT_FALSE(p.IsChecked(C::kIdcForce));
    EXPECT_TRUE(p.IsChecked(C::kIdcCheckEdits));
    EXPECT_TRUE(p.IsEnabled(C::kIdcBranch));
    EXPECT_TRUE(p.IsEnabled(C::kIdcChooseBranch));
    EXPECT_EQ(p.Text(C::kIdcBranch), "BR_FIX");
    ui.Click(kIdCancel);
}

// On a terminal every value is asked with its current one, a box only while it is enabled.
TEST_F(CmdOpts, OnATerminal) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    // merge: two branches; tag 1 typed; no tag selection; tag 2 from the tag selection;
    // version: by date; the date; the check boxes; keyword -kb.
    terminal.input = {"3",          "REL_1", "", "BR", "y", "2", "3",
                      "01/02/2026", "y",     "", "",   "y", "y", "5"};
    CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    EXPECT_EQ(sheet.DoModal(), kIdOk) << terminal.shown;
    EXPECT_THAT(terminal.shown, HasSubstr("Branch Merging:\n  1) Don't merge\n"));
    EXPECT_EQ(options::UpdateOptions(Map()),
              (Strings{"-A", "-kb", "-C", "-j", "REL_1", "-j", "BR_FIX", "-D", "2026-01-02"}))
        << terminal.shown;
}

TEST_F(CmdOpts, FromScriptedAnswers) {
    testing_support::FaultLog faults;
    auto play = [&](std::map<std::string, std::string> answers, CDialog& sheet) {
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers(std::move(answers)), [](const std::string&) {});
        return sheet.DoModal();
    };
    CDlgGetCmdOpts sheet(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    EXPECT_EQ(play({{"merge", "merge with branch"},
                    {"mergetag1", "REL_1"},
                    {"version", "by date"},
                    {"date", "12/24/2026"},
                    {"keywordsub", "yes"},
                    {"keyword", "-kk"},
                    {"pruneempty", "yes"}},
                   sheet),
              kIdOk);
    EXPECT_EQ(options::UpdateOptions(Map()),
              (Strings{"-P", "-kk", "-j", "REL_1", "-D", "2026-12-24"}));
    EXPECT_TRUE(faults.seen.empty());

    // A date cvs could not read is refused, and nothing is written.
    CDlgGetCmdOpts bad(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    EXPECT_EQ(play({{"version", "by date"}, {"date", "24.12.2026"}}, bad), kIdCancel);
    ASSERT_EQ(faults.seen.size(), 1u);
    EXPECT_THAT(faults.seen[0], HasSubstr("not a date (MM/DD/YYYY): \"24.12.2026\""));
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_GETDATEVER"), "2026-12-24");

    CDlgGetCmdOpts cancelled(*context_, CDlgGetCmdOpts::kCaption, nullptr);
    EXPECT_EQ(play({{"getoptions", "cancel"}, {"resetsticky", "yes"}}, cancelled), kIdCancel);
    EXPECT_EQ(LookupValue(Map(), "CHECKOUT_RESETSTICKY"), "0");

    CDlgCheckInOpts checkin(*context_, CDlgCheckInOpts::kCaption, nullptr);
    EXPECT_EQ(play({{"force", "yes"}, {"branch", "ignored while its box is off"}}, checkin), kIdOk);
    EXPECT_EQ(LookupValue(Map(), "COMMIT_FORCED"), "1");
    EXPECT_EQ(LookupValue(Map(), "COMMIT_BRANCH"), "0");
    EXPECT_EQ(LookupValue(Map(), "COMMIT_BRANCHNAME"), "");
    EXPECT_EQ(faults.seen.size(), 1u);
}

} // namespace
