// scchost as a user runs it: commands, exit statuses and messages.
#include "platform/FileSystem.h"
#include "tests/e2e/BuildProducts.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;

class Scchost : public ::testing::Test {
protected:
    // The provider scchost loads reads and saves the settings of whoever runs it.
    testing_support::IsolatedUser user_;
};

TEST_F(Scchost, VersionAndHelp) {
    auto version = e2e::RunScchost({"version"});
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "1.1 (0x00010001)\n");

    auto help = e2e::RunScchost({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: scchost"), std::string::npos);
}

TEST_F(Scchost, DirStatusOfWorkingAndPlainFolders) {
    TempDir dir("host");
    ASSERT_TRUE(platform::MakeFolderTree(dir / "wc/CVS"));
    testing_support::WriteFile(dir / "wc/CVS/Entries", "");
    ASSERT_TRUE(platform::MakeFolder(dir / "plain"));
    auto result = e2e::RunScchost({"dirstatus", dir / "wc", dir / "plain", dir / "missing"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "controlled       " + dir / "wc" + "\nnot-controlled   " + dir / "plain" +
                              "\nnot-controlled   " + dir / "missing" + "\n");
}

TEST_F(Scchost, FailuresExitNonZeroWithAMessage) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } const cases[] = {
        {{"frobnicate"}, "scchost: unknown command frobnicate (try scchost --help)\n"},
        {{"--bogus", "version"}, "scchost: unknown option --bogus (try scchost --help)\n"},
        {{"dirstatus"}, "scchost: dirstatus needs at least one folder (try scchost --help)\n"},
        {{"version", "extra"}, "scchost: version takes no arguments\n"},
        {{"--provider"}, "scchost: --provider needs a value (try scchost --help)\n"},
    };
    for (const Case& c : cases) {
        auto result = e2e::RunScchost(c.args);
        EXPECT_NE(result.status, 0) << c.args[0];
        EXPECT_EQ(result.err, c.message);
        EXPECT_EQ(result.out, "");
    }
    auto missing = e2e::RunScchost({"--provider", "/nonexistent/libMorvekCVS.so", "version"});
    EXPECT_NE(missing.status, 0);
    EXPECT_EQ(
        missing.err.rfind("scchost: cannot load the provider '/nonexistent/libMorvekCVS.so'", 0),
        0u)
        << missing.err;
}

} // namespace
