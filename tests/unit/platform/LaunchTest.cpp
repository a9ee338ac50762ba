// Starting a configured program: the command line split as the C runtime splits it, the
// program found where the provider looks, started in the current folder, and a clear
// failure for a program that is not there or cannot run.
#include "platform/Launch.h"
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "tests/support/ToolRecord.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using Words = std::vector<std::string>;

TEST(SplitWindowsCommandLine, GivesTheArgumentsTheRuntimeGivesMain) {
    const struct {
        const char* line;
        Words words;
    } cases[] = {
        {"prog", {"prog"}},
        {"", {""}},
        {"\"C:\\Program Files\\x.exe\" a b", {"C:\\Program Files\\x.exe", "a", "b"}},
        // The program's quotes only group; its backslashes are plain.
        {"\"C:\\dir\\\" arg", {"C:\\dir\\", "arg"}},
        {"pro\"g r\"am x", {"prog ram", "x"}},
        {"p  \"two words\"  \t last ", {"p", "two words", "last"}},
        {"p \"\"", {"p", ""}},
        {"p a\\\\b \"c\\\\\" d", {"p", "a\\\\b", "c\\", "d"}},
        {"p \\\"q\\\"", {"p", "\"q\""}},
        {"p \"a \\\"quoted\\\" b\"", {"p", "a \"quoted\" b"}},
        {"p \"a\"\"b\"", {"p", "a\"b"}},
        {"p \"unterminated arg", {"p", "unterminated arg"}},
        {"p x\"y z\"w", {"p", "xy zw"}},
        // What the history page builds: quoted paths, a blank after each, two blanks.
        {"\"/usr/bin/meld\"  \"/w/a.c\" \"/w/CVS/Diff/a.c.1.2\" ",
         {"/usr/bin/meld", "/w/a.c", "/w/CVS/Diff/a.c.1.2"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::SplitWindowsCommandLine(c.line), c.words) << c.line;
}

class StartProgram : public testing::Test {
protected:
    void SetUp() override { platform::SetCurrentFolder(folder_.Path()); }
    void TearDown() override { platform::SetCurrentFolder(testing_support::BinDir()); }

    testing_support::ToolRecorder recorder_;
    testing_support::TempDir folder_{"current folder"};
};

TEST_F(StartProgram, RunsTheCommandLineInTheCurrentFolderWithoutWaiting) {
    const std::string line = "\"" + testing_support::RecorderProgram() +
                             "\"  \"a file with blanks.txt\" plain \"say \\\"hi\\\"\" $HOME ;x ";
    std::string error;
    ASSERT_TRUE(platform::StartProgram(line, "", error)) << error;
    const testing_support::ToolStart start = recorder_.Wait();
    ASSERT_TRUE(start.seen);
    EXPECT_THAT(ArgumentsOf(start),
                ElementsAre("a file with blanks.txt", "plain", "say \"hi\"", "$HOME", ";x"));
    EXPECT_EQ(start.args[0], testing_support::RecorderProgram());
    EXPECT_EQ(start.folder, platform::GetCurrentFolder());
    if (!start.line.empty()) { // Windows hands the program its command line as it was given
        EXPECT_EQ(start.line, line);
    }
}

TEST_F(StartProgram, FindsABareNameInTheProgramsFolder) {
    // The recorder lies in the folder of the test programs; the current folder is elsewhere.
    std::string error;
    ASSERT_TRUE(platform::StartProgram("recordargs one", testing_support::BinDir(), error))
        << error;
    const testing_support::ToolStart start = recorder_.Wait();
    ASSERT_TRUE(start.seen);
    EXPECT_THAT(ArgumentsOf(start), ElementsAre("one"));
}

TEST_F(StartProgram, APlaceThatHoldsNoProgramFailsWithTheSystemsReason) {
    testing_support::WriteFile(folder_ / "notes.txt", "not a program\n");
    const std::string cases[] = {
        "\"" + (folder_ / "missing-program") + "\" a",
        "no-such-program-anywhere-4711 a",
        "\"" + (folder_ / "notes.txt") + "\"",
        "\"" + folder_.Path() + "\"",
        "",
    };
    for (const std::string& line : cases) {
        std::string error;
        EXPECT_FALSE(platform::StartProgram(line, folder_.Path(), error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    // A bare name is never taken from the current folder (a user's working copy).
    if (platform::kNativePathStyle == platform::PathStyle::Posix) {
        testing_support::WriteFile(folder_ / "local-tool", "#!/bin/sh\nexit 0\n");
        testing_support::Shell("chmod +x '" + (folder_ / "local-tool") + "'");
        std::string error;
        EXPECT_FALSE(platform::StartProgram("local-tool", "", error));
        EXPECT_EQ(error, "No such file or directory");
    }
    EXPECT_FALSE(recorder_.Started());
}

} // namespace
