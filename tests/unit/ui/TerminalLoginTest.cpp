// The login dialog on a terminal and, without one, from scripted answers: the program that
// shows it (login_probe) chooses its host as the provider does.
#include "ui/DlgPassword.h"

#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/HeadlessHost.h"
#include "ui/framework/HostChoice.h"
#include "ui/framework/TerminalHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using testing::HasSubstr;
using testing::Not;

namespace {

std::string Probe() {
    return testing_support::BinDir() + testing_support::Sep() + "login_probe";
}

// Variables that would steer the probe's choice of host are cleared for it.
struct CleanEnvironment {
    testing_support::ScopedEnv host{kHostVariable, nullptr};
    testing_support::ScopedEnv password{"MORVEK_ANSWER_PASSWORD", nullptr};
    testing_support::ScopedEnv cvsRoot{"MORVEK_ANSWER_CVSROOT", nullptr};
};

TEST(TerminalLogin, AsksForThePasswordOnATerminalWithoutEcho) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "Wine has no pseudo-terminals; the terminal host runs on Linux only here";
    CleanEnvironment clean;
    testing_support::TempDir dir("login");
    const std::string result = dir / "result";

    testing_support::TerminalRunResult run = testing_support::RunOnTerminal(
        {Probe(), result, ":pserver:anna@127.0.0.1:/repo"}, {{"Password: ", "s3cr3t-pw\n"}});
    ASSERT_EQ(run.found.size(), 1u) << run.transcript;
    EXPECT_TRUE(run.found[0]) << run.transcript;
    EXPECT_FALSE(run.echo[0]) << "typing is echoed while the password is asked";
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_THAT(run.transcript, HasSubstr("CVS Repository Login ..."));
    EXPECT_THAT(run.transcript, HasSubstr("CVSROOT: :pserver:anna@127.0.0.1:/repo"));
    EXPECT_THAT(run.transcript, Not(HasSubstr("s3cr3t-pw")));
    EXPECT_EQ(testing_support::ReadFile(result),
              "result=1\ncvsroot=:pserver:anna@127.0.0.1:/repo\npassword=s3cr3t-pw\n");

    // Without a root it asks for one first, with echo; end of input cancels.
    run = testing_support::RunOnTerminal({Probe(), result},
                                         {{"CVSROOT: ", ":local:/r\n"}, {"Password: ", "\x04"}});
    ASSERT_EQ(run.found.size(), 2u) << run.transcript;
    EXPECT_TRUE(run.echo[0]);
    EXPECT_FALSE(run.echo[1]);
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_EQ(testing_support::ReadFile(result), "result=2\ncvsroot=\npassword=\n");
}

TEST(TerminalLogin, WithoutATerminalTheAnswerComesFromTheEnvironmentOrNamesTheOption) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "no child processes under Wine here; the in-process test covers it";
    CleanEnvironment clean;
    testing_support::TempDir dir("login");
    const std::string result = dir / "result";
    {
        testing_support::ScopedEnv answer("MORVEK_ANSWER_PASSWORD", "from-option");
        testing_support::RunResult run = testing_support::Run({Probe(), result, ":local:/r"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(testing_support::ReadFile(result),
                  "result=1\ncvsroot=:local:/r\npassword=from-option\n");
    }
    testing_support::RunResult run = testing_support::Run({Probe(), result, ":local:/r"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(testing_support::ReadFile(result), "result=2\ncvsroot=:local:/r\npassword=\n");
    EXPECT_THAT(run.err, HasSubstr("\"CVS Repository Login ...\": no answer for \"Password:\""));
    EXPECT_THAT(run.err, HasSubstr("--password PASSWORD or --password-file FILE"));
}

// The same in-process, on every platform: the answers are taken out of the environment.
TEST(TerminalLogin, ScriptedAnswersAreTakenFromTheEnvironment) {
    CleanEnvironment clean;
    testing_support::ScopedEnv answer("MORVEK_ANSWER_PASSWORD", "taken");
    HeadlessHost host(testing_support::FailTest);
    host.UseScriptedAnswers(ScriptedAnswers::TakeFromEnvironment());
    EXPECT_EQ(testing_support::GetEnv("MORVEK_ANSWER_PASSWORD"), "");
    CDlgPassword dialog(nullptr);
    dialog.SetCvsRoot(":local:/r");
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetPassword(), "taken");
}

TEST(TerminalLogin, TerminalHostKeepsAPresetPasswordOnEnterAndPrefersScriptedAnswers) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {""};
    CDlgPassword dialog(nullptr);
    dialog.SetCvsRoot(":local:/r");
    dialog.SetPassword("abc");
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetPassword(), "abc");
    EXPECT_THAT(terminal.prompts, testing::ElementsAre("Password (Enter keeps ***): (no echo)"));

    testing_support::FakeTerminal quiet;
    TerminalHost scripted(
        quiet, ScriptedAnswers(std::map<std::string, std::string>{{"password", "given"}}),
        testing_support::FailTest);
    ScopedHost useScripted(scripted);
    CDlgPassword again(nullptr);
    again.SetCvsRoot(":local:/r");
    EXPECT_EQ(again.DoModal(), kIdOk);
    EXPECT_EQ(again.GetPassword(), "given");
    EXPECT_TRUE(quiet.prompts.empty()) << "asked although an answer was given";
}

} // namespace
