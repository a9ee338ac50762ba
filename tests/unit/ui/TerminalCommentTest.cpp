// The check-in comment on a terminal (typed over several lines, or a template chosen from a
// numbered list) and, without one, from scripted answers: the program that shows it
// (comment_probe) chooses its host as the provider does.
#include "ui/DlgComment.h"

#include "tests/support/DialogTestSupport.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/ui/CommentTestSupport.h"
#include "ui/framework/HostChoice.h"
#include "ui/framework/TerminalHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using comment_tests::StoreTemplates;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

std::string Probe() {
    return testing_support::BinDir() + testing_support::Sep() + "comment_probe";
}

// Variables that would steer the probe's choice of host or answer its dialog are cleared.
struct CleanEnvironment {
    testing_support::ScopedEnv host{kHostVariable, nullptr};
    testing_support::ScopedEnv comment{"MORVEK_ANSWER_COMMENT", nullptr};
    testing_support::ScopedEnv chosen{"MORVEK_ANSWER_TEMPLATE", nullptr};
    testing_support::ScopedEnv box{"MORVEK_ANSWER_DONOTDISPLAY", nullptr};
    testing_support::ScopedEnv dialog{"MORVEK_ANSWER_CHECKINCOMMENTS", nullptr};
};

const std::vector<std::string> kStored = {"Zeta\nzeta body", "Review\nReviewed-by: anna"};

// A terminal host over a terminal the test plays, with the isolated user's settings.
struct OnTerminal {
    testing_support::EngineEnvironment env;
    testing_support::FakeTerminal terminal;
    TerminalHost host{terminal, ScriptedAnswers(), testing_support::FailTest};
    ScopedHost use{host};
};

TEST(TerminalComment, ATemplateIsChosenFromANumberedListAndEnterKeepsItsBody) {
    OnTerminal t;
    StoreTemplates(t.env.Settings(), kStored);
    t.terminal.input = {"1", "", ""};
    CDlgComment dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetComment(), "Reviewed-by: anna");
    EXPECT_FALSE(dialog.GetDoNotDisplay());
    EXPECT_EQ(t.env.Settings().GetMruTemplate(), "Review");
    EXPECT_THAT(t.terminal.shown,
                HasSubstr("Checkin Comments\nTemplate:\n  1) Review\n  2) Zeta\n"));
    EXPECT_THAT(t.terminal.shown, HasSubstr("  | Reviewed-by: anna\n"));
    EXPECT_THAT(t.terminal.prompts,
                ElementsAre("choose (a number): ", "> ", "Do not display? [y/n] [no]: "));
}

TEST(TerminalComment, TheCommentIsTypedOverSeveralLines) {
    OnTerminal t;
    t.terminal.input = {"First line", "", "Third line", ".", "y"};
    CDlgComment dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetComment(), "First line\r\n\r\nThird line");
    EXPECT_TRUE(dialog.GetDoNotDisplay());
    // With no template stored there is nothing to choose from, so nothing is asked.
    EXPECT_THAT(t.terminal.prompts,
                ElementsAre("> ", "> ", "> ", "> ", "Do not display? [y/n] [no]: "));
    EXPECT_EQ(t.env.Settings().GetMruTemplate(), "");
}

// Typing replaces a template's body or a comment handed in; end of input cancels and gives
// the caller's comment back untouched.
TEST(TerminalComment, EndOfInputCancelsAndKeepsTheCallersComment) {
    OnTerminal t;
    StoreTemplates(t.env.Settings(), kStored);
    t.terminal.input = {"2", "half a comm"};
    CDlgComment dialog(nullptr);
    dialog.SetComment("written in the IDE");
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_EQ(dialog.GetComment(), "written in the IDE");
    EXPECT_EQ(t.env.Settings().GetMruTemplate(), "");
}

TEST(TerminalComment, OnAPseudoTerminal) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "Wine has no pseudo-terminals; the terminal host runs on Linux only here";
    CleanEnvironment clean;
    testing_support::IsolatedUser user;
    {
        CSccSettings settings;
        StoreTemplates(settings, kStored);
    }
    testing_support::TempDir dir("comment");
    const std::string result = dir / "result";

    testing_support::TerminalRunResult run = testing_support::RunOnTerminal(
        {Probe(), result}, {{"choose (a number): ", "2\n"}, {"> ", "\n"}, {"[no]: ", "\n"}});
    ASSERT_EQ(run.found.size(), 3u) << run.transcript;
    EXPECT_TRUE(run.found[2]) << run.transcript;
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_THAT(run.transcript, HasSubstr("1) Review"));
    EXPECT_THAT(run.transcript, HasSubstr("| zeta body"));
    EXPECT_EQ(testing_support::ReadFile(result),
              "result=1\ncomment=zeta body\ndonotdisplay=0\nmru=Zeta\n");
    // The choice was saved at once.
    EXPECT_EQ(CSccSettings().GetMruTemplate(), "Zeta");

    // The remembered template comes first now; typing replaces its body.
    run = testing_support::RunOnTerminal({Probe(), result}, {{"choose (a number) [Zeta]: ", "\n"},
                                                             {"> ", "line one\n"},
                                                             {"> ", "line two\n"},
                                                             {"> ", ".\n"},
                                                             {"[no]: ", "yes\n"}});
    ASSERT_EQ(run.found.size(), 5u) << run.transcript;
    EXPECT_TRUE(run.found[4]) << run.transcript;
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_EQ(testing_support::ReadFile(result),
              "result=1\ncomment=line one\r\nline two\ndonotdisplay=1\nmru=Zeta\n");

    // Ctrl-D cancels: the comment handed in comes back.
    run = testing_support::RunOnTerminal({Probe(), result, "from the IDE"},
                                         {{"choose (a number): ", "\x04"}});
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_EQ(testing_support::ReadFile(result),
              "result=2\ncomment=from the IDE\ndonotdisplay=0\nmru=Zeta\n");
}

TEST(TerminalComment, WithoutATerminalTheAnswerComesFromTheEnvironmentOrNamesTheOption) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "no child processes under Wine here; the in-process tests cover it";
    CleanEnvironment clean;
    testing_support::IsolatedUser user;
    testing_support::TempDir dir("comment");
    const std::string result = dir / "result";
    {
        testing_support::ScopedEnv answer("MORVEK_ANSWER_COMMENT", "from the option\nline 2");
        testing_support::RunResult run = testing_support::Run({Probe(), result});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(testing_support::ReadFile(result),
                  "result=1\ncomment=from the option\r\nline 2\ndonotdisplay=0\nmru=\n");
    }
    testing_support::RunResult run = testing_support::Run({Probe(), result});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(testing_support::ReadFile(result), "result=2\ncomment=\ndonotdisplay=0\nmru=\n");
    EXPECT_THAT(run.err, HasSubstr("\"Checkin Comments\": no answer for \"Comments:\""));
    EXPECT_THAT(run.err, HasSubstr("pass --answer comment=VALUE"));
    EXPECT_THAT(run.err, Not(HasSubstr("Template")));
}

} // namespace
