// scchost's history commands end to end: diff answering by its exit status, the visual
// diff on a chosen revision, log's table for scripts, and the history sheet from scripted
// answers and on a terminal. Against a local repository, :fork: and a pserver.
#include "platform/FileSystem.h"
#include "settings/SccSettings.h"
#include "tests/e2e/ScchostByMethod.h"
#include "tests/support/TestSupport.h"
#include "tests/support/ToolRecord.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;
using testing_support::ArgumentsOf;
using testing_support::ReadFile;
using testing_support::RunResult;
using testing_support::Sep;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;

// The tests run scchost inside a job that is ended with it (platform/Process.h); the tool
// scchost starts leaves that job, so it writes its record after scchost has ended.

class ScchostHistory : public e2e::ScchostByMethod {
protected:
    void SetUp() override {
        ScchostByMethod::SetUp();
        if (IsSkipped())
            return;
        work_ = sandbox_.Folder("work");
        platform::RemoveEmptyFolder(work_);
        std::string error;
        ASSERT_TRUE(repo_.Checkout(root_, work_, &error)) << error;
        CSccSettings settings;
        settings.SetDiffExe(testing_support::RecorderProgram() + " %1 %2");
        settings.SetEditor(testing_support::RecorderProgram());
    }
    RunResult Scchost(std::vector<std::string> args) {
        return ScchostByMethod::Scchost(args, work_);
    }
    std::string File(const std::string& name) const { return work_ + Sep() + name; }

    testing_support::ToolRecorder recorder_;
    std::string work_;
};

INSTANTIATE_TEST_SUITE_P(Methods, ScchostHistory,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         e2e::MethodName);

TEST_P(ScchostHistory, DiffSaysSameOrDiffersByItsExitStatus) {
    // A working folder needs no project file: the provider reads its repository there.
    RunResult same = Scchost({"diff", "a.txt"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "");
    // The same content written anew: newer by time (INDEPENDENTMODE's quick diff), the
    // same by contents.
    WriteFile(File("a.txt"), ReadFile(File("a.txt")));
    platform::SetLastWriteTime(File("a.txt"),
                               platform::FindEntry(File("a.txt"))->lastWriteTime + 60);
    EXPECT_EQ(Scchost({"diff", "a.txt"}).status, 1);
    { CSccSettings().SetIndependentMode(false); }
    EXPECT_EQ(Scchost({"diff", "a.txt"}).status, 0);
    WriteFile(File("sub/c.txt"), "changed\n");
    RunResult differs = Scchost({"diff", "sub/c.txt"});
    EXPECT_EQ(differs.status, 1) << differs.err;
    EXPECT_EQ(differs.out, "");

    WriteFile(File("loose.txt"), "x\n");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } bad[] = {
        {{"diff", "loose.txt"}, "loose.txt is not under CVS"},
        {{"diff", "gone.txt"}, "gone.txt does not exist"},
        {{"diff"}, "diff needs a file"},
        {{"diff", "a.txt", "b.txt"}, "diff takes one file"},
        {{"diff", "--revision", "1.1", "a.txt"}, "--revision picks the revision of --visual"},
    };
    for (const auto& c : bad) {
        RunResult r = Scchost(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_THAT(r.err, HasSubstr(c.message));
    }
    EXPECT_FALSE(recorder_.Started());
}

TEST_P(ScchostHistory, VisualDiffStartsTheDiffToolOnTheRevisionGiven) {
    RunResult missing = Scchost({"diff", "--visual", "--revision", "9.9", "a.txt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_THAT(missing.err, HasSubstr("\"9.9\" is not one of the choices"));
    EXPECT_THAT(missing.err, HasSubstr("no revision was chosen"));

    { CSccSettings().SetDiffExe(work_ + Sep() + "no-such-tool %1 %2"); }
    RunResult broken = Scchost({"diff", "--visual", "--revision", "1.2", "a.txt"});
    EXPECT_EQ(broken.status, 2);
    // The system's reason follows, in the system's words.
    EXPECT_THAT(broken.err,
                HasSubstr("Could not start \"" + work_ + Sep() + "no-such-tool\" (DIFFEXE): "));
    EXPECT_FALSE(recorder_.Started());

    { CSccSettings().SetDiffExe(testing_support::RecorderProgram() + " %1 %2"); }
    RunResult visual = Scchost({"diff", "--visual", "--revision", "1.1", "a.txt"});
    EXPECT_EQ(visual.status, 0) << visual.err;
    const testing_support::ToolStart start = recorder_.Wait();
    ASSERT_TRUE(start.seen);
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(File("a.txt"), work_ + Sep() + "CVS" + Sep() +
                                                                   "Diff" + Sep() + "a.txt.1.1"));
}

TEST_P(ScchostHistory, LogWritesTheRevisionsAsATableForScripts) {
    RunResult log = Scchost({"log", "a.txt"});
    ASSERT_EQ(log.status, 0) << log.err;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    for (std::istringstream in(log.out); std::getline(in, line);) {
        std::vector<std::string> cells;
        std::string::size_type from = 0;
        for (std::string::size_type tab; (tab = line.find('\t', from)) != std::string::npos;
             from = tab + 1)
            cells.push_back(line.substr(from, tab - from));
        cells.push_back(line.substr(from));
        rows.push_back(cells);
    }
    ASSERT_EQ(rows.size(), 6u) << log.out;
    EXPECT_THAT(rows[0], ElementsAre("Date/Time", "Revision", "Author", "Branch", "Comment"));
    std::vector<std::string> revisions;
    for (size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 5u);
        revisions.push_back(rows[i][1]);
        EXPECT_THAT(rows[i][0], StartsWith("20"));
    }
    EXPECT_THAT(revisions, ElementsAre("1.2.2.1", "1.3", "1.2", "1.1", "1.1.1.1"));
    EXPECT_EQ(rows[3][3], " 1.2.2;");
    EXPECT_EQ(rows[3][4], "second revision");

    WriteFile(File("loose.txt"), "x\n");
    RunResult loose = Scchost({"log", "loose.txt"});
    EXPECT_EQ(loose.status, 1);
    EXPECT_THAT(loose.err, HasSubstr("nothing known about loose.txt"));
    EXPECT_THAT(Scchost({"log"}).err, HasSubstr("log takes one file"));
}

TEST_P(ScchostHistory, HistoryFromScriptedAnswersViewsTheRevisionsChosen) {
    RunResult history = Scchost(
        {"--answer", "revisions=1.3,1.1", "--answer", "action=view revision", "history", "a.txt"});
    EXPECT_EQ(history.status, 0) << history.err;
    EXPECT_THAT(history.out, HasSubstr("Date/Time\tRevision\tAuthor\tBranch\tComment\n"));
    const std::string diff = work_ + Sep() + "CVS" + Sep() + "Diff" + Sep();
    EXPECT_EQ(ReadFile(diff + "a.txt.1.3"),
              testing_support::WithPlatformLineEnds("line 1\nline 2\nline 3\n"));
    EXPECT_EQ(ReadFile(diff + "a.txt.1.1"), testing_support::WithPlatformLineEnds("line 1\n"));
    const testing_support::ToolStart start = recorder_.Wait();
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(diff + "a.txt.1.3", diff + "a.txt.1.1"));
}

class ScchostHistoryOnATerminal : public ScchostHistory {};
INSTANTIATE_TEST_SUITE_P(Local, ScchostHistoryOnATerminal, testing::Values(Method::Local),
                         e2e::MethodName);

TEST_P(ScchostHistoryOnATerminal, TheTableOfRevisionsAndTheActionsChosenFromAList) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "Wine has no pseudo-terminals; the terminal host runs on Linux only here";
    testing_support::TerminalRunResult run =
        testing_support::RunOnTerminal({e2e::ProgramPath("scchost"), "--quiet", "--project", work_,
                                        "history", File("a.txt"), File("sub/c.txt")},
                                       {{"choose (a number) [a.txt]: ", "\n"},
                                        {"choose (numbers, separated by commas): ", "3\n"},
                                        {"choose (a number): ", "diff /w\n"},
                                        {"choose (a number) [a.txt]: ", "c.txt\n"},
                                        {"choose (numbers, separated by commas): ", "\n"},
                                        {"choose (a number): ", "close\n"}});
    ASSERT_EQ(run.found.size(), 6u);
    EXPECT_TRUE(run.found[5]) << run.transcript;
    EXPECT_EQ(run.status, 0) << run.transcript;
    EXPECT_THAT(run.transcript, HasSubstr("Date/Time"));
    EXPECT_THAT(run.transcript, HasSubstr("second revision"));
    EXPECT_THAT(run.transcript, HasSubstr("Action:"));
    const testing_support::ToolStart start = recorder_.Wait();
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(File("a.txt"), work_ + Sep() + "CVS" + Sep() +
                                                                   "Diff" + Sep() + "a.txt.1.2"));
}

} // namespace
