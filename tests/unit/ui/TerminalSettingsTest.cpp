// The settings dialog on a terminal (a menu of topics, each panel's values asked with their
// current value) and, without one, from scripted answers: in process over a terminal the test
// plays, and the program that shows it (settings_probe) on a pseudo-terminal.
#include "ui/DlgSettings.h"

#include "tests/support/DialogTestSupport.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/framework/HostChoice.h"
#include "ui/framework/TerminalHost.h"
#include "workcopy/FileUtilities.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using testing::Contains;
using testing::HasSubstr;
using testing::Not;

namespace {

// A terminal host over a terminal the test plays, with the isolated user's settings.
struct OnTerminal {
    explicit OnTerminal(ScriptedAnswers answers = ScriptedAnswers())
        : host(terminal, std::move(answers), testing_support::FailTest) {}
    testing_support::EngineEnvironment env;
    testing_support::FakeTerminal terminal;
    TerminalHost host;
    ScopedHost use{host};
};

constexpr const char* kMenu = "Topics:\n"
                              "  1) Source Control Options\n"
                              "  2) External Tools\n"
                              "  3) Comment Templates\n"
                              "  4) About Morvek\n"
                              "  5) OK\n"
                              "  6) Cancel\n";

// Enter for each of the eleven boxes of "CVS Options".
std::vector<std::string> KeepOptions() {
    return std::vector<std::string>(11, "");
}

TEST(TerminalSettings, TopicsAreAMenuAndEachPanelAsksItsValues) {
    OnTerminal t;
    t.env.Settings().SetCvsExePath("/usr/bin/cvs");
    t.env.Settings().SetUseCompression(false);
    t.env.Settings().SetCompressLevel("3");
    t.env.Settings().SetEditor("/usr/bin/vi");
    t.env.Settings().SetAutoCommit(true);
    // Path, vendor, Delete (with no root to choose), compression and its level.
    std::vector<std::string> in = {"1", "", "Anna Berg", "", "y", "9"};
    std::vector<std::string> options = KeepOptions();
    options[3] = "n"; // "Enable auto commit/checkin ..."
    in.insert(in.end(), options.begin(), options.end());
    in.insert(in.end(), {"2", "", "", "/usr/bin/emacs", "4", "5"});
    t.terminal.input.assign(in.begin(), in.end());

    CDlgSettings dialog(nullptr, nullptr);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_TRUE(t.terminal.input.empty());

    const std::string& shown = t.terminal.shown;
    EXPECT_THAT(shown, HasSubstr(std::string("Morvek CVS SCC :> Settings\n") + kMenu));
    EXPECT_THAT(t.terminal.prompts, Contains("cvs.exe path [/usr/bin/cvs]: "));
    EXPECT_THAT(t.terminal.prompts, Contains("Enable Compression? [y/n] [no]: "));
    // Ticking compression enables the level, so it is asked next.
    EXPECT_THAT(t.terminal.prompts, Contains("choose (a number) [3]: "));
    EXPECT_THAT(t.terminal.prompts,
                Contains("Enable auto commit/checkin when adding new files to cvs? [y/n] [yes]: "));
    // A label that is a sentence asks without its full stop.
    EXPECT_THAT(
        t.terminal.prompts,
        Contains("Enable cvs diagnostic output (-t) option for cvs commands? [y/n] [no]: "));
    EXPECT_THAT(t.terminal.prompts, Contains("Text Editor [/usr/bin/vi]: "));
    // The tools panel says what the texts may carry; the about panel shows its texts.
    EXPECT_THAT(shown, HasSubstr("External Tools\nOptional command-line arguments:\n"
                                 "%1 local file, %2 remote file\n"));
    EXPECT_THAT(shown, HasSubstr("About Morvek\nMorvek CVS SCC Version " + GetModuleVersionText() +
                                 " [64-bit]\n"));

    std::unique_ptr<CSccSettings> stored = std::make_unique<CSccSettings>();
    EXPECT_EQ(stored->GetVendorName(), "Anna Berg");
    EXPECT_TRUE(stored->GetUseCompression());
    EXPECT_EQ(stored->GetCompressLevel(), "9");
    EXPECT_FALSE(stored->GetAutoCommit());
    EXPECT_EQ(stored->GetCvsExePath(), "/usr/bin/cvs");
    EXPECT_EQ(stored->GetEditor(), "/usr/bin/emacs");
}

// Cancel from the menu, or the end of input anywhere, saves nothing; a wrong answer is
// explained and asked again.
TEST(TerminalSettings, CancelAndEndOfInputSaveNothing) {
    for (const std::vector<std::string>& in :
         {std::vector<std::string>{"2", "", "", "/bin/ed", "cancel"},
          std::vector<std::string>{"seven", "2", "", "", "/bin/ed"}}) {
        OnTerminal t;
        t.env.Settings().SetEditor("/usr/bin/vi");
        t.env.Settings().Save();
        t.terminal.input.assign(in.begin(), in.end());
        CDlgSettings dialog(nullptr, nullptr);
        EXPECT_EQ(dialog.DoModal(), kIdCancel);
        EXPECT_EQ(CSccSettings().GetEditor(), "/usr/bin/vi");
        if (in[0] == "seven") {
            EXPECT_THAT(t.terminal.shown, HasSubstr("\"seven\" is not one of the choices of "
                                                    "\"Topics\""));
        }
    }
}

// Scripted answers, named after the settings, visit every panel and press OK; what they
// leave out stays as it is.
TEST(TerminalSettings, ScriptedAnswersSetValuesOnEveryPanel) {
    ScriptedAnswers answers;
    answers.Set("usecompression", "yes");
    answers.Set("compresslevel", "6");
    answers.Set("hidestatusui", "1");
    answers.Set("diffexe", "meld %1 %2");
    answers.Set("templates", "<New...>");
    answers.Set("templatetitle", "Review");
    answers.Set("templatebody", "Reviewed-by:");
    answers.Set("savetemplate", "yes");
    testing_support::EngineEnvironment env;
    env.Settings().SetWarnOnEdit(true);
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    std::vector<std::string> told;
    host.UseScriptedAnswers(answers, [&](const std::string& text) { told.push_back(text); });

    CDlgSettings dialog(nullptr, nullptr);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_TRUE(faults.seen.empty());
    CSccSettings stored;
    EXPECT_TRUE(stored.GetUseCompression());
    EXPECT_EQ(stored.GetCompressLevel(), "6");
    EXPECT_TRUE(stored.GetHideStatusUI());
    EXPECT_TRUE(stored.GetWarnOnEdit());
    EXPECT_EQ(stored.GetDiffExe(), "meld %1 %2");
    ASSERT_EQ(stored.GetTemplateCount(), 1);
    EXPECT_EQ(stored.GetTemplate(0), "Review\nReviewed-by:");

    // settings=cancel closes it at once; a wrong kind of value names what is allowed.
    for (const auto& [name, value, fault] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"settings", "cancel", ""},
             {"hidestatusui", "maybe", "must be yes or no, not \"maybe\""},
             {"compresslevel", "10",
              "\"10\" is not one of the choices of \"Compression Level:\": "
              "\"1\", \"2\", \"3\", \"4\", \"5\", \"6\", \"7\", \"8\", \"9\""}}) {
        SCOPED_TRACE(name);
        ScriptedAnswers wrong = answers;
        wrong.Set(name, value);
        faults.seen.clear();
        host.UseScriptedAnswers(wrong, [](const std::string&) {});
        CDlgSettings refused(nullptr, nullptr);
        EXPECT_EQ(refused.DoModal(), kIdCancel);
        if (fault.empty()) {
            EXPECT_TRUE(faults.seen.empty());
        } else {
            ASSERT_EQ(faults.seen.size(), 1u);
            EXPECT_THAT(faults.seen[0], HasSubstr(fault));
        }
    }
}

// The remembered CVSROOTs and the comment templates are edited on the terminal too.
TEST(TerminalSettings, ARootIsDeletedAndATemplateStoredOnTheTerminal) {
    OnTerminal t;
    t.env.Settings().UpdateRootList(":local:/b", false);
    t.env.Settings().UpdateRootList(":local:/a", false);
    std::vector<std::string> in = {"1", "", "", ":local:/b", "yes", ""};
    std::vector<std::string> options = KeepOptions();
    in.insert(in.end(), options.begin(), options.end());
    in.insert(in.end(), {"3", "<New...>", "Release", "Version:", "Notes:", ".", "y", "", "ok"});
    t.terminal.input.assign(in.begin(), in.end());

    CDlgSettings dialog(nullptr, nullptr);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_TRUE(t.terminal.input.empty());
    EXPECT_THAT(t.terminal.shown, HasSubstr("CVS Root(s):\n  1) :local:/a\n  2) :local:/b\n"
                                            "choose (a number) [:local:/a]: "));
    EXPECT_THAT(t.terminal.prompts, Contains("Delete the chosen CVS root? [y/n] [no]: "));
    EXPECT_THAT(t.terminal.shown, HasSubstr("Comment template:\n  1) <New...>\n"));
    EXPECT_THAT(t.terminal.prompts, Contains("Save the template? [y/n] [no]: "));
    CSccSettings stored;
    EXPECT_EQ(stored.GetRootCount(), 1);
    EXPECT_EQ(stored.GetRoot(0), ":local:/a");
    ASSERT_EQ(stored.GetTemplateCount(), 1);
    EXPECT_EQ(stored.GetTemplate(0), "Release\nVersion:\r\nNotes:");
}

std::string Probe() {
    return testing_support::BinDir() + testing_support::Sep() + "settings_probe";
}

// Variables that would steer the probe's choice of host or answer its dialog are cleared.
struct CleanEnvironment {
    testing_support::ScopedEnv host{kHostVariable, nullptr};
    testing_support::ScopedEnv dialog{"MORVEK_ANSWER_SETTINGS", nullptr};
    testing_support::ScopedEnv editor{"MORVEK_ANSWER_EDITOR", nullptr};
    testing_support::ScopedEnv compression{"MORVEK_ANSWER_USECOMPRESSION", nullptr};
    testing_support::ScopedEnv level{"MORVEK_ANSWER_COMPRESSLEVEL", nullptr};
};

TEST(TerminalSettings, OnAPseudoTerminal) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "Wine has no pseudo-terminals; the terminal host runs on Linux only here";
    CleanEnvironment clean;
    testing_support::IsolatedUser user;
    testing_support::TempDir dir("settings");
    const std::string result = dir / "result";

    testing_support::TerminalRunResult run =
        testing_support::RunOnTerminal({Probe(), result}, {{"choose (a number): ", "2\n"},
                                                           {"Diff/Merge [", "\n"},
                                                           {"Conflict Editor [", "\n"},
                                                           {"Text Editor [", "/usr/bin/vi\n"},
                                                           {"choose (a number): ", "5\n"}});
    ASSERT_EQ(run.found.size(), 5u);
    EXPECT_TRUE(run.found[4]) << run.transcript;
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_THAT(run.transcript, HasSubstr("Morvek CVS SCC :> Settings"));
    EXPECT_EQ(testing_support::ReadFile(result),
              "result=1\neditor=/usr/bin/vi\nusecompression=0\ncompresslevel=3\n");

    // Ctrl-D cancels and saves nothing.
    run = testing_support::RunOnTerminal(
        {Probe(), result}, {{"choose (a number): ", "2\n"}, {"Diff/Merge [", "\x04"}});
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_EQ(testing_support::ReadFile(result),
              "result=2\neditor=/usr/bin/vi\nusecompression=0\ncompresslevel=3\n");
}

TEST(TerminalSettings, WithoutATerminalTheAnswersComeFromTheEnvironment) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "no child processes under Wine here; the in-process tests cover it";
    CleanEnvironment clean;
    testing_support::IsolatedUser user;
    testing_support::TempDir dir("settings");
    const std::string result = dir / "result";
    {
        testing_support::ScopedEnv compression("MORVEK_ANSWER_USECOMPRESSION", "yes");
        testing_support::ScopedEnv level("MORVEK_ANSWER_COMPRESSLEVEL", "7");
        testing_support::ScopedEnv editor("MORVEK_ANSWER_EDITOR", "/bin/ed");
        testing_support::RunResult run = testing_support::Run({Probe(), result});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(testing_support::ReadFile(result),
                  "result=1\neditor=/bin/ed\nusecompression=1\ncompresslevel=7\n");
    }
    testing_support::ScopedEnv cancel("MORVEK_ANSWER_SETTINGS", "cancel");
    testing_support::ScopedEnv editor("MORVEK_ANSWER_EDITOR", "/bin/other");
    testing_support::RunResult run = testing_support::Run({Probe(), result});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(testing_support::ReadFile(result),
              "result=2\neditor=/bin/ed\nusecompression=1\ncompresslevel=7\n");
}

} // namespace
