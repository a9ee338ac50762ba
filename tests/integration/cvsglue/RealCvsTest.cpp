// The client library with the real cvs, driven only through the library: on Linux
// /usr/bin/cvs itself, under Wine the Windows library with cvs-shim.exe in its place (the
// Linux cvs behind a loopback bridge). A repository is made, imported into, checked out,
// logged and listed with Windows paths on Windows and POSIX paths on Linux.
#include "platform/FileSystem.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::CvsGlueClient;
using testing_support::Sep;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The cvs the library runs here, or empty when there is none.
std::string RealCvs() {
    const std::string cvs = testing_support::CvsProgram();
    const bool there = testing_support::RunningUnderWine()
                           ? platform::Exists(cvs) && platform::Exists("Z:\\usr\\bin\\cvs")
                           : platform::Exists(cvs);
    return there ? cvs : std::string();
}

TEST(RealCvs, MakesImportsChecksOutLogsAndListsAModule) {
    const std::string cvs = RealCvs();
    if (cvs.empty())
        GTEST_SKIP() << "no real cvs here";
    CvsGlueClient glue;
    ASSERT_TRUE(glue.Loaded()) << glue.LoadError();
    testing_support::TempDir dir("realcvs");
    const std::string repo = dir / "repo", src = dir / "src", work = dir / "work";
    ASSERT_TRUE(platform::MakeFolder(src) && platform::MakeFolder(dir / "home"));
    testing_support::WriteFile(src + Sep() + "a.txt", "first line\n");
    glue.env = {{"HOME", dir / "home"}};
    const std::string old = platform::GetCurrentFolder();
    auto run = [&](const std::string& folder, const std::vector<std::string>& args) {
        platform::SetCurrentFolder(folder);
        CvsGlueClient::Result r = glue.Run(cvs, args);
        platform::SetCurrentFolder(old);
        return r;
    };

    CvsGlueClient::Result r = run(dir.Path(), {"--version"});
    ASSERT_EQ(r.rc, 0) << r.err;
    ASSERT_TRUE(Has(r.out, "Concurrent Versions System (CVS)")) << r.out;
    r = run(dir.Path(), {"-d", repo, "init"});
    ASSERT_EQ(r.rc, 0) << r.err;

    const std::string message = "first \"import\"; with spaces, $(uname) and a \\ backslash";
    r = run(src, {"-d", repo, "import", "-m", message, "mod", "vendor", "start"});
    ASSERT_EQ(r.rc, 0) << r.err;
    r = run(dir.Path(), {"-d", repo, "checkout", "-d", "work", "mod"});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(testing_support::ReadFile(work + Sep() + "a.txt"), "first line\n");

    r = run(work, {"log", "a.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "\n" + message + "\n")) << r.out;

    // GNU is recognised: ls of a repository path runs as rls.
    r = run(dir.Path(), {"-d", repo, "ls", "-e", "mod"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "/a.txt/1.1.1.1/")) << r.out;

    r = run(work, {"update", "-p", "-r", "9.9", "a.txt"});
    EXPECT_NE(r.rc, 0);
    r = run(work, {"nosuchcommand"});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(Has(r.err, "Unknown command")) << r.err;
}

} // namespace
