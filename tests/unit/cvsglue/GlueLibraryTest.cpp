// The built client library with a stand-in for cvs: arguments, both streams, exit status,
// questions, passwords, the environment, abort and bad input. Runs on Linux and under Wine.
#include "tests/support/CvsGlueClient.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using testing_support::CvsGlueClient;
using testing_support::FakeCvsPath;
using Args = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

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

TEST_F(GlueLibrary, AbortEndsTheChildAndWhatItStarted) {
    testing_support::TempDir dir("abort");
    const std::string pidFile = dir / "pids";
    Clock::time_point abortedAt;
    glue.onOutput = [&](CvsGlueClient& c, const std::string& chunk) {
        if (chunk.find("started") != std::string::npos) {
            abortedAt = Clock::now();
            c.Abort(); // from inside a callback, as a Cancel button would
        }
    };
    CvsGlueClient::Result r = glue.Run(FakeCvsPath(), {"tree", "60", pidFile});
    const auto took = Clock::now() - abortedAt;
    EXPECT_EQ(r.rc, DLLGLUE_ABORTED);
    // A generous ceiling, far below the command's own end; the time an abort takes is
    // measured in bench/ContextBench.cpp.
    EXPECT_LT(took, std::chrono::seconds(30));
    std::ifstream pids(pidFile);
    long child = 0, grandchild = 0;
    pids >> grandchild >> child;
    ASSERT_GT(child, 0);
    ASSERT_GT(grandchild, 0);
    const auto until = Clock::now() + std::chrono::seconds(30);
    while (testing_support::ProcessIsAlive(grandchild) && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(testing_support::ProcessIsAlive(child));
    EXPECT_FALSE(testing_support::ProcessIsAlive(grandchild));
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
