// The built client library with a stand-in for cvs: arguments, both streams, exit status,
// questions, passwords, the environment, abort and bad input. Runs on Linux and under Wine.
#include "platform/ProcessList.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace {

using testing_support::CvsGlueClient;
using testing_support::FakeCvsPath;
using Args = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// How long an aborted command may take at most before a test calls it hung; the library
// takes well under a second (bench_cvsglue measures it).
constexpr auto kCeiling = std::chrono::seconds(20);

class GlueLibrary : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(glue.Loaded()) << glue.LoadError(); }
    CvsGlueClient glue;
};

// The arguments as fakecvs prints them back.
std::string Echoed(const Args& args) {
    std::string out;
    for (const std::string& a : args)
        out += std::to_string(a.size()) + ":" + a + "\n";
    return out;
}

TEST_F(GlueLibrary, HandsEveryArgumentOverAsOneWordWithoutAShell) {
    const Args tricky = {
        "two words",     "say \"hi\"",    "-leading", "$(echo hi)", "a; rm -rf /tmp", "",
        "back\\slash\\", "tab\tand\\\"q", "*",        "100%",       "`uname`",        "|&<>"};
    Args args = {"args"};
    args.insert(args.end(), tricky.begin(), tricky.end());
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), args);
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, Echoed(tricky));
    EXPECT_EQ(r.err, "");
}

TEST_F(GlueLibrary, AddsTheNoRcOptionFirst) {
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"-q", "globals"});
    EXPECT_EQ(r.out, "-f\n-q\n");
}

TEST_F(GlueLibrary, DeliversBothStreamsInOrderAndTheExitStatus) {
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"streams", "300"});
    std::string out, err;
    for (int k = 0; k < 300; ++k) {
        out += "out " + std::to_string(k) + "\n";
        err += "err " + std::to_string(k) + "\n";
    }
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(r.err, err);
    EXPECT_EQ(r.exitCalls, 1);

    r = glue.Run(FakeCvsPath(), {"exit", "7"});
    EXPECT_EQ(r.rc, 7);
    EXPECT_EQ(r.exitCalls, 1);
    EXPECT_EQ(r.exitResult, 7);
}

TEST_F(GlueLibrary, PassesChunksWithTheirLengthNulBytesIncluded) {
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"nul"});
    EXPECT_EQ(r.out, std::string("a\0b", 3));

    const size_t size = 8u << 20;
    r = glue.Run(FakeCvsPath(), {"bytes", std::to_string(size)});
    ASSERT_EQ(r.out.size(), size);
    size_t wrong = 0;
    for (size_t i = 0; i < size; ++i)
        wrong += static_cast<unsigned char>(r.out[i]) != i % 251;
    EXPECT_EQ(wrong, 0u);
}

TEST_F(GlueLibrary, AsksTheQuestionAfterItWasDeliveredAndAnswersIt) {
    std::string seenWhenAsked;
    glue.onAsk = [&](CvsGlueClient& c, const std::string& name) {
        if (name == "CVSLIB_YESNO") {
            seenWhenAsked = c.Current().out;
            c.env["CVSLIB_YESNO"] = "yes";
        }
    };
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"unedit"});
    EXPECT_EQ(seenWhenAsked, "x.txt has been modified; revert changes? ");
    EXPECT_EQ(r.out, "x.txt has been modified; revert changes? answer=[y]\n");

    glue.onAsk = nullptr;
    glue.env.erase("CVSLIB_YESNO"); // no answer is no
    r = glue.Run(FakeCvsPath(), {"unedit"});
    EXPECT_EQ(r.out, "x.txt has been modified; revert changes? answer=[n]\n");
}

TEST_F(GlueLibrary, AnswersThePasswordPromptWithoutShowingIt) {
    glue.env["CVS_GETPASS"] = "s3cret word";
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"login"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, "password=[s3cret word]\n");
    EXPECT_EQ(r.err, "");

    glue.env.erase("CVS_GETPASS"); // the user declined
    r = glue.Run(FakeCvsPath(), {"login"});
    EXPECT_NE(r.rc, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("no password given"), std::string::npos) << r.err;
}

TEST_F(GlueLibrary, AnswersReplaceInheritedVariablesAndNullKeepsThem) {
    testing_support::ScopedEnv inherited("CVS_RSH", "inherited-rsh");
    testing_support::ScopedEnv editor("CVSEDITOR", "inherited-editor");
    testing_support::ScopedEnv pass("CVS_PASSFILE", nullptr);
    glue.env = {{"CVSROOT", ":pserver:a@h:/r"}, {"HOME", "/some/work"}, {"CVSEDITOR", ""}};
    CvsGlueClient::Result r =
        glue.Run(FakeCvsPath(), {"env", "CVSROOT", "HOME", "CVS_RSH", "CVSEDITOR"});
    EXPECT_EQ(r.out,
              "CVSROOT=:pserver:a@h:/r\nHOME=/some/work\nCVS_RSH=inherited-rsh\nCVSEDITOR=\n");
    // Neither question is asked unless cvs asks it.
    for (const std::string& name : glue.asked) {
        EXPECT_NE(name, "CVS_GETPASS");
        EXPECT_NE(name, "CVSLIB_YESNO");
    }
}

TEST_F(GlueLibrary, KeepsThePasswordFileOutOfHome) {
    testing_support::ScopedEnv pass("CVS_PASSFILE", nullptr);
    glue.env = {{"HOME", "/some/work"}};
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"env", "CVS_PASSFILE"});
    EXPECT_EQ(r.out.rfind("CVS_PASSFILE=", 0), 0u) << r.out;
    EXPECT_EQ(r.out.find("/some/work"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(".cvspass"), std::string::npos) << r.out;

    testing_support::ScopedEnv testFile("CVS_PASSFILE", "/tmp/elsewhere/pass");
    r = glue.Run(FakeCvsPath(), {"env", "CVS_PASSFILE"});
    EXPECT_EQ(r.out, "CVS_PASSFILE=/tmp/elsewhere/pass\n");
}

// The process ids a fakecvs command wrote to path, once the file is there; empty when it
// did not come within the ceiling.
std::vector<long> IdsWrittenTo(const std::string& path) {
    const auto until = Clock::now() + kCeiling;
    while (!std::filesystem::exists(path) && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::vector<long> ids;
    std::ifstream in(path);
    for (long id = 0; in >> id;)
        ids.push_back(id);
    return ids;
}

// Whether all these processes have ended, given a moment to go.
bool AllEnded(const std::vector<long>& ids) {
    const auto until = Clock::now() + std::chrono::seconds(5);
    for (;;) {
        bool alive = false;
        for (long id : ids)
            alive = alive || testing_support::ProcessIsAlive(id);
        if (!alive)
            return true;
        if (Clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Ends what a failed test left running; false, so that it reads as the failure it is.
bool EndLeftovers(const std::vector<long>& ids) {
    for (long id : ids)
        if (testing_support::ProcessIsAlive(id))
            platform::TerminateProcessById(static_cast<uint32_t>(id));
    return false;
}

// Runs one command on a thread of its own. A library that has not returned within the
// ceiling fails the test, and the processes listed in pidFile are ended so that the test
// does not hang on it.
CvsGlueClient::Result RunWithinCeiling(CvsGlueClient& glue, const Args& args,
                                       const std::string& pidFile) {
    std::mutex mutex;
    std::condition_variable done;
    bool returned = false;
    CvsGlueClient::Result r;
    std::thread runner([&] {
        CvsGlueClient::Result result = glue.Run(FakeCvsPath(), args);
        std::lock_guard<std::mutex> lock(mutex);
        r = result;
        returned = true;
        done.notify_all();
    });
    std::unique_lock<std::mutex> lock(mutex);
    if (!done.wait_for(lock, kCeiling, [&] { return returned; })) {
        ADD_FAILURE() << "the aborted command did not return";
        EndLeftovers(IdsWrittenTo(pidFile));
    }
    lock.unlock();
    runner.join();
    return r;
}

// One abort ends the child and everything it started, whatever they do: a grandchild in the
// child's group, one that ignores SIGTERM and keeps the output open, in the child's group,
// in a group of its own or in a session of its own. The abort comes from inside a callback,
// as a Cancel button's would, once the grandchild is ready.
TEST_F(GlueLibrary, AbortEndsTheChildAndEverythingItStarted) {
    struct Case {
        Args command;
        const char* ready; // the output that says the grandchild runs
    } const cases[] = {{{"tree", "60"}, "started"},
                       {{"linger", "group", "60"}, "stubborn"},
                       {{"linger", "newgroup", "60"}, "stubborn"},
                       {{"linger", "session", "60"}, "stubborn"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command[0] + " " + c.command[1]);
        testing_support::TempDir dir("abort");
        const std::string pidFile = dir / "pids";
        Args args = c.command;
        args.push_back(pidFile);
        // The child says "started" once it has written the ids, and the grandchild may
        // speak first: the abort waits for both, so the ids are always there to check.
        std::string seen;
        glue.onOutput = [&c, &seen](CvsGlueClient& client, const std::string& chunk) {
            seen += chunk;
            if (seen.find("started") != std::string::npos &&
                seen.find(c.ready) != std::string::npos)
                client.Abort();
        };
        CvsGlueClient::Result r = RunWithinCeiling(glue, args, pidFile);
        EXPECT_EQ(r.rc, DLLGLUE_ABORTED);
        const std::vector<long> ids = IdsWrittenTo(pidFile);
        ASSERT_EQ(ids.size(), 2u);
        EXPECT_TRUE(AllEnded(ids) || EndLeftovers(ids))
            << "a process of the command is left: " << ids[0] << " " << ids[1];
    }
}

// The child has closed both output streams and ignores SIGTERM: the library is waiting for
// it to end when the abort comes.
TEST_F(GlueLibrary, AbortEndsAChildThatClosedItsOutputAndIgnoresTerminate) {
    testing_support::TempDir dir("deaf");
    const std::string pidFile = dir / "pids";
    std::thread aborter([&] {
        IdsWrittenTo(pidFile);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        glue.Abort();
    });
    CvsGlueClient::Result r = RunWithinCeiling(glue, {"deaf", "60", pidFile}, pidFile);
    aborter.join();
    EXPECT_EQ(r.rc, DLLGLUE_ABORTED);
    const std::vector<long> ids = IdsWrittenTo(pidFile);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_TRUE(AllEnded(ids) || EndLeftovers(ids)) << "the child " << ids[0] << " is left";
}

TEST_F(GlueLibrary, AbortFromAnotherThreadEndsACommandThatNeverEnds) {
    std::thread canceller;
    glue.onOutput = [&](CvsGlueClient& c, const std::string&) {
        if (!canceller.joinable())
            canceller = std::thread([&c] {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                c.Abort();
            });
    };
    const auto start = Clock::now();
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"sleep", "600"});
    canceller.join();
    EXPECT_EQ(r.rc, DLLGLUE_ABORTED);
    EXPECT_EQ(r.out, "sleeping\n");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
    // An abort without a running command does nothing, and the next command runs.
    glue.Abort();
    EXPECT_EQ(glue.Run(FakeCvsPath(), {"exit", "0"}).rc, 0);
}

TEST_F(GlueLibrary, SaysClearlyWhenTheProgramCannotRun) {
    testing_support::TempDir dir("missing");
    const std::string missing = dir / "no-such-cvs";
    CvsGlueClient::Result r = glue.Run(missing, {"update"});
    EXPECT_EQ(r.rc, DLLGLUE_CANNOT_START);
    EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
    EXPECT_EQ(r.exitCalls, 1);

    r = glue.Run("", {"update"});
    EXPECT_EQ(r.rc, DLLGLUE_CANNOT_START);
    EXPECT_NE(r.err.find("no cvs program"), std::string::npos) << r.err;
}

TEST_F(GlueLibrary, RunsAProgramWhosePathHasSpaces) {
    testing_support::TempDir dir("spaces");
    const std::string folder = dir / "a folder with spaces";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::string copy =
        folder + testing_support::Sep() + "fake cvs" +
        (FakeCvsPath().size() > 4 && FakeCvsPath().compare(FakeCvsPath().size() - 4, 4, ".exe") == 0
             ? ".exe"
             : "");
    std::filesystem::copy_file(FakeCvsPath(), copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
    CvsGlueClient::Result r = glue.Run(copy, {"args", "x y"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, Echoed({"x y"}));
}

TEST_F(GlueLibrary, ReportsQuickAndErrorOnlyProgramsAsTheyAre) {
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"exit", "0"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");

    r = glue.Run(FakeCvsPath(), {"stderr", "cvs update: something went wrong"});
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "cvs update: something went wrong\n");
}

} // namespace
