// Dialogs and message boxes as questions: on a terminal (played by a fake one) and from
// scripted answers; the progress line; the choice of host.
#include "SampleDialog.h"

#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/HeadlessHost.h"
#include "ui/framework/HostChoice.h"
#include "ui/framework/TerminalHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using namespace sample;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

TEST(Prompts, TerminalAsksForEveryControlThatHasAPrompt) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {"Zed", "", "y", "3", "ban", "my own", "1, 3", "1", "a", "", "none"};
    CSampleDialog dialog;
    EXPECT_EQ(dialog.DoModal(), kIdOk);

    EXPECT_THAT(terminal.prompts,
                ElementsAre("Name [initial]: ", "Secret (Enter keeps **): (no echo)",
                            "Enable notes? [y/n] [no]: ", "choose (a number) [Beta]: ",
                            "choose (a number) [cherry]: ", "choose (a number or a text) [typed]: ",
                            "choose (numbers, separated by commas): ", "choose (a number): ",
                            "choose (a number) [root]: ", "choose (a number) [a]: ",
                            "When (MM/DD/YYYY or none) [02/29/2024]: "));
    EXPECT_THAT(terminal.shown, HasSubstr("Sample\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("Locked: fixed\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("choice:\n  1) Alpha\n  2) Beta\n  3) Gamma\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("Tree (in root):\n  1) a\n  2) b\n"));
    EXPECT_EQ(dialog.name, "Zed");
    EXPECT_EQ(dialog.notes, "first\r\nsecond"); // disabled when it came to it
    EXPECT_EQ(dialog.secret, "pw");
    EXPECT_TRUE(dialog.notesEnabled);
    EXPECT_EQ(dialog.choice, 2);
    EXPECT_EQ(dialog.fruit, "banana");
    EXPECT_EQ(dialog.comboText, "my own");
    EXPECT_EQ(dialog.when.state, DateValue::State::Empty);
    EXPECT_THAT(dialog.events, testing::Contains("tree a"));
    EXPECT_THAT(dialog.events, testing::Contains("row 2 on"));
}

TEST(Prompts, TerminalAsksAgainWhenTheDialogRefusesAndEndOfInputCancels) {
    testing_support::FakeTerminal terminal;
    // Everything but the name is scripted, so the terminal is asked for the name only.
    TerminalHost host(terminal,
                      ScriptedAnswers({{"secret", "s"},
                                       {"enable", "no"},
                                       {"choice", "1"},
                                       {"fruit", "1"},
                                       {"combo", "c"},
                                       {"rows", "1"},
                                       {"tree", "root"},
                                       {"when", "1/1/2020"}}),
                      testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {"", "Zed"};
    CSampleDialog dialog;
    dialog.name.clear();
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_THAT(terminal.prompts, ElementsAre("Name: ", "Name: "));
    EXPECT_THAT(terminal.shown, HasSubstr("Error: Missing name\n"));
    EXPECT_EQ(dialog.name, "Zed");
    EXPECT_EQ(dialog.when, DateValue::Make(2020, 1, 1));

    terminal.input = {};
    CSampleDialog again;
    EXPECT_EQ(again.DoModal(), kIdCancel);
}

TEST(Prompts, ScriptedAnswersFillEveryKindOfControl) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    host.UseScriptedAnswers(ScriptedAnswers({{"name", "Zed"},
                                             {"notes", "not asked: disabled"},
                                             {"secret", "s3"},
                                             {"enable", "yes"},
                                             {"choice", "gamma"},
                                             {"fruit", "Apple"},
                                             {"combo", "ALPHA"},
                                             {"rows", "2023-12-24, 2024-03-01"},
                                             {"tree", "root/a/a1"},
                                             {"when", "01/02/2025"}}),
                            [](const std::string&) {});
    CSampleDialog dialog;
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_THAT(faults.seen, IsEmpty());
    EXPECT_EQ(dialog.name, "Zed");
    EXPECT_EQ(dialog.notes, "first\r\nsecond");
    EXPECT_EQ(dialog.secret, "s3");
    EXPECT_TRUE(dialog.notesEnabled);
    EXPECT_EQ(dialog.choice, 2);
    EXPECT_EQ(dialog.fruit, "Apple");
    EXPECT_EQ(dialog.comboText, "alpha");
    EXPECT_EQ(dialog.when, DateValue::Make(2025, 1, 2));
    EXPECT_THAT(dialog.events, testing::Contains("tree a1"));
    EXPECT_THAT(dialog.events, testing::Contains("row 2 on"));
}

TEST(Prompts, ScriptedAnswersThatCannotBeUsedFailNamingTheOption) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> answers;
        bool emptyName;
        std::string fault;
    } cases[] = {
        {"missing required",
         {},
         true,
         "no answer for \"Name:\" (no terminal to ask on): pass "
         "--answer name=VALUE"},
        {"not a choice",
         {{"fruit", "kiwi"}},
         false,
         "\"kiwi\" is not one of the choices of \"Fruit:\": \"Apple\", \"banana\", \"cherry\""},
        {"not yes or no", {{"enable", "perhaps"}}, false, "must be yes or no"},
        {"not a date", {{"when", "tomorrow"}}, false, "is not a date (MM/DD/YYYY)"},
        {"refused", {{"name", ""}}, false, "did not accept the answers"},
        {"bad dialog answer", {{"sample", "maybe"}}, false, "is neither ok nor cancel"},
        {"cancelled", {{"sample", "Cancel"}}, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::FaultLog faults;
        std::vector<std::string> told;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers(c.answers),
                                [&](const std::string& t) { told.push_back(t); });
        CSampleDialog dialog;
        if (c.emptyName)
            dialog.name.clear();
        EXPECT_EQ(dialog.DoModal(), kIdCancel);
        if (c.fault.empty()) {
            EXPECT_THAT(faults.seen, IsEmpty());
        } else {
            ASSERT_EQ(faults.seen.size(), 1u);
            EXPECT_THAT(faults.seen[0], HasSubstr("\"Sample\""));
            EXPECT_THAT(faults.seen[0], HasSubstr(c.fault));
        }
    }
}

TEST(Prompts, MessageBoxesOnATerminal) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {"maybe", "n", "y", "OK"};
    EXPECT_EQ(ShowMessageBox(nullptr, "Continue?", "CVS Alert", kMbYesNo), kIdNo);
    EXPECT_EQ(ShowMessageBox(nullptr, "Files already open for edit. Continue?", "", kMbYesNo),
              kIdYes);
    EXPECT_EQ(ShowMessageBox(nullptr, "Done.", "Morvek CVS SCC", kMbOk), kIdOk);
    EXPECT_EQ(ShowMessageBox(nullptr, "Go on?", "Q", kMbOkCancel), kIdOk);
    EXPECT_EQ(ShowMessageBox(nullptr, "Retry?", "Q", kMbRetryCancel), kIdCancel); // no input
    EXPECT_THAT(terminal.prompts,
                ElementsAre("CVS Alert: Continue? [Yes/No]: ", "CVS Alert: Continue? [Yes/No]: ",
                            "Files already open for edit. Continue? [Yes/No]: ",
                            "Q: Go on? [OK/Cancel]: ", "Q: Retry? [Retry/Cancel]: "));
    EXPECT_THAT(terminal.shown, HasSubstr("answer one of: Yes, No\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("Morvek CVS SCC: Done.\n"));
}

TEST(Prompts, MessageBoxesFromScriptedAnswers) {
    struct Case {
        std::map<std::string, std::string> answers;
        unsigned style;
        int answer;
        std::string fault;
    } cases[] = {
        {{{"yesno", "yes"}}, kMbYesNo, kIdYes, ""},
        {{{"YESNO", "no"}}, kMbYesNo, kIdNo, ""},
        {{{"yesno", "yes"}}, kMbOkCancel, kIdOk, ""},
        {{{"yesno", "no"}}, kMbOkCancel, kIdCancel, ""},
        {{{"yesno", "ignore"}}, kMbAbortRetryIgnore, kIdIgnore, ""},
        {{}, kMbOk, kIdOk, ""},
        {{}, kMbYesNo, kIdNo, "pass --yes or --no"},
        {{{"yesno", "later"}}, kMbYesNoCancel, kIdCancel, "names none of its buttons"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        testing_support::FaultLog faults;
        std::vector<std::string> told;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers(c.answers),
                                [&](const std::string& t) { told.push_back(t); });
        EXPECT_EQ(ShowMessageBox(nullptr, "Continue?", "CVS Alert", c.style), c.answer);
        if (c.fault.empty()) {
            EXPECT_THAT(faults.seen, IsEmpty());
            ASSERT_EQ(told.size(), 1u);
            EXPECT_THAT(told[0], HasSubstr("CVS Alert: Continue?"));
        } else {
            ASSERT_EQ(faults.seen.size(), 1u);
            EXPECT_THAT(faults.seen[0], HasSubstr("\"CVS Alert: Continue?\""));
            EXPECT_THAT(faults.seen[0], HasSubstr(c.fault));
        }
    }
}

TEST(Prompts, FolderAndFileOnATerminalAndFromScriptedAnswers) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    FileDialogRequest file;
    file.initialPath = "diff.exe";
    terminal.input = {"/srv/work", "", ""};
    EXPECT_EQ(BrowseForFolder(nullptr, "Select a folder"), std::optional<std::string>("/srv/work"));
    EXPECT_EQ(ChooseFileToOpen(nullptr, file), std::optional<std::string>("diff.exe"));
    EXPECT_EQ(BrowseForFolder(nullptr, "Select a folder"), std::nullopt);
    EXPECT_THAT(terminal.prompts,
                ElementsAre("Select a folder: ", "File to open [diff.exe]: ", "Select a folder: "));

    testing_support::FaultLog faults;
    HeadlessHost scripted(faults.Sink());
    scripted.UseScriptedAnswers(
        ScriptedAnswers(std::map<std::string, std::string>{{"file", "/usr/bin/meld"}}));
    EXPECT_EQ(ChooseFileToOpen(nullptr, file), std::optional<std::string>("/usr/bin/meld"));
    EXPECT_EQ(BrowseForFolder(nullptr, "Select a folder"), std::nullopt);
    ASSERT_EQ(faults.seen.size(), 1u);
    EXPECT_THAT(faults.seen[0], HasSubstr("pass --answer folder=VALUE"));
}

TEST(Prompts, ProgressIsOneLineRedrawnInPlaceAndCtrlCAsksToStop) {
    testing_support::FakeTerminal terminal;
    terminal.columns = 30;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    auto* progress = new CProgress;
    int aborts = 0;
    progress->SetCancelHook([&] { ++aborts; });
    progress->SetActivity("Updating file(s) ...");
    ASSERT_TRUE(progress->Create(nullptr));
    EXPECT_EQ(terminal.shown, "\rUpdating file(s) ...");
    ASSERT_TRUE(terminal.interrupt);

    terminal.shown.clear();
    progress->SetStatusText("cvs -f update -d -P a-long-file-name.c\n");
    EXPECT_EQ(terminal.shown, "\rUpdating file(s) ...  cvs -f "); // 29 columns
    terminal.shown.clear();
    progress->SetActivity("Adding");
    EXPECT_EQ(terminal.shown, "\rAdding  cvs -f update -d -P a");

    {
        terminal.shown.clear();
        CConsoleTextScope text;
        EXPECT_EQ(terminal.shown, "\r" + std::string(29, ' ') + "\r");
    }
    EXPECT_EQ(terminal.shown, "\r" + std::string(29, ' ') + "\r\rAdding  cvs -f update -d -P a");

    terminal.interrupt();
    terminal.interrupt(); // each Ctrl-C asks again, as each press of Cancel does
    EXPECT_EQ(aborts, 2);
    terminal.shown.clear();
    progress->DestroyWindow();
    delete progress;
    EXPECT_EQ(terminal.shown, "\r" + std::string(29, ' ') + "\r");
    EXPECT_EQ(terminal.stops, 1);
}

TEST(Prompts, ProgressOnAStandardErrorThatIsNoTerminalPrintsEachNewLineOnce) {
    testing_support::FakeTerminal terminal;
    terminal.errorIsTerminal = false;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    CProgress progress;
    progress.Create(nullptr);
    progress.SetActivity("Updating file(s) ...");
    progress.SetActivity("Updating file(s) ...");
    progress.SetStatusText("cvs update");
    progress.DestroyWindow();
    EXPECT_EQ(terminal.shown, "Updating file(s) ...\nUpdating file(s) ...  cvs update\n");
}

// A drop-down list whose items are several words ("head 1.5 2024-01-02 anna") takes one of
// the words, after its whole text, its number and its start.
TEST(Prompts, AScriptedItemMayBeAWordOfItsText) {
    class CWords : public CDialog {
    public:
        CWords() : CDialog(DialogTemplate(951, "Words").DropList(7).Prompt("pick")) {}
        int chosen = -1;

    protected:
        bool OnInitDialog() override {
            for (const char* item :
                 {"head 1.5 2024-01-02 anna", "ancestor 1.4 2024-01-01 bo", "1.3 2023-12-24 anna"})
                Combo(7).AddString(item);
            Combo(7).SetCurSel(0);
            return CDialog::OnInitDialog();
        }
        void OnOK() override {
            chosen = Combo(7).GetCurSel();
            CDialog::OnOK();
        }
    };
    for (const auto& [answer, index] : std::vector<std::pair<std::string, int>>{
             {"1.4", 1}, {"1.3", 2}, {"BO", 1}, {"anna", 0}, {"2", 1}, {"1.3 2023", 2}}) {
        testing_support::FaultLog faults;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(
            ScriptedAnswers(std::map<std::string, std::string>{{"pick", answer}}),
            [](const std::string&) {});
        CWords dialog;
        EXPECT_EQ(dialog.DoModal(), kIdOk) << answer;
        EXPECT_EQ(dialog.chosen, index) << answer;
        EXPECT_THAT(faults.seen, IsEmpty()) << answer;
    }
}

TEST(HostChoice, ChoosesByTheVariableTheTerminalAndTheWindows) {
    // windowed: a program without a console of its own; screen: whether it can make windows.
    struct Case {
        std::optional<std::string> setting;
        bool terminal, windowed, screen;
        HostKind kind;
    } cases[] = {
        {std::nullopt, true, false, true, HostKind::Terminal},
        {std::nullopt, false, false, true, HostKind::Headless},
        {"auto", true, false, false, HostKind::Terminal},
        {"", false, false, false, HostKind::Headless},
        {"terminal", false, true, true, HostKind::Terminal},
        {"Headless", true, true, true, HostKind::Headless},
        {"win32", false, false, true, HostKind::Headless},
        // A windowed program shows windows where it can, and falls back where it cannot.
        {std::nullopt, false, true, true, HostKind::Windows},
        {"auto", true, true, true, HostKind::Windows},
        {std::nullopt, false, true, false, HostKind::Headless},
        {std::nullopt, true, true, false, HostKind::Terminal},
        // Asked for by name, a console program shows them too.
        {"Windows", true, false, true, HostKind::Windows},
        {"windows", false, false, false, HostKind::Headless},
        {"windows", true, false, false, HostKind::Terminal},
    };
    for (const Case& c : cases) {
        int asked = 0;
        HostFacts facts{c.terminal, c.windowed, [&] {
                            ++asked;
                            return c.screen;
                        }};
        EXPECT_EQ(ChooseHostKind(c.setting, facts), c.kind)
            << (c.setting ? *c.setting : "(unset)") << " " << c.terminal << c.windowed << c.screen;
        // Making a window to find out is left to the cases that need the answer.
        const std::string s = c.setting ? *c.setting : std::string();
        if (!c.windowed && s != "windows" && s != "Windows") {
            EXPECT_EQ(asked, 0);
        }
    }
    EXPECT_EQ(OptionForAnswer("PASSWORD"), "--password PASSWORD or --password-file FILE");
    EXPECT_EQ(OptionForAnswer("yesno"), "--yes or --no");
    EXPECT_EQ(OptionForAnswer("Comment"), "--answer comment=VALUE");
}

TEST(HostChoice, ScriptedAnswersLeaveTheEnvironment) {
    testing_support::ScopedEnv a("MORVEK_ANSWER_PASSWORD", "pw");
    testing_support::ScopedEnv b("MORVEK_ANSWER_COMMENT", "line one\nline two");
    ScriptedAnswers answers = ScriptedAnswers::TakeFromEnvironment();
    EXPECT_EQ(answers.Get("password"), std::optional<std::string>("pw"));
    EXPECT_EQ(answers.Get("Comment"), std::optional<std::string>("line one\nline two"));
    EXPECT_EQ(answers.Get("yesno"), std::nullopt);
    EXPECT_EQ(testing_support::GetEnv("MORVEK_ANSWER_PASSWORD"), "");
    EXPECT_EQ(testing_support::GetEnv("MORVEK_ANSWER_COMMENT"), "");
}

} // namespace
