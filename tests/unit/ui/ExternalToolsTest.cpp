// The text editor and the diff tool: their command lines for each placement of the
// placeholders, exact; the program started as the command line says, in the library's
// folder; and what a tool that cannot start gets.
#include "ui/ExternalTools.h"

#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/PathStyle.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/support/ToolRecord.h"
#include "ui/framework/MessageBox.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing_support::ArgumentsOf;

TEST(ExternalTools, TheDiffCommandsCommandLinePlacesTheFilesByThePlaceholders) {
    const std::string w = "C:\\work\\a.c", t = "C:\\work\\CVS\\Diff\\a.c.1.2";
    const struct {
        const char* diffExe;
        std::string line;
    } cases[] = {
        // Each in quotes where it stands: two blanks after the program.
        {"C:\\tools\\cmp.exe %1 %2", "\"C:\\tools\\cmp.exe\"  \"" + w + "\" \"" + t + "\""},
        {"C:\\tools\\cmp.exe %2 %1", "\"C:\\tools\\cmp.exe\"  \"" + t + "\" \"" + w + "\""},
        {"  C:\\Program Files\\Cmp\\cmp.exe %1 %2 \t",
         "\"C:\\Program Files\\Cmp\\cmp.exe\"  \"" + w + "\" \"" + t + "\""},
        {"cmp %1 %2 %1", "\"cmp\"  \"" + w + "\" \"" + t + "\" \"" + w + "\""},
        // %1 only: working file first; otherwise the revision first.
        {"cmp %1", "\"cmp\" \"" + w + "\" \"" + t + "\""},
        {"cmp %2", "\"cmp\" \"" + t + "\" \"" + w + "\""},
        {"cmp", "\"cmp\" \"" + t + "\" \"" + w + "\""},
        {"RevEdivuvozAziraz.Exe", "\"RevEdivuvozAziraz.Exe\" \"" + t + "\" \"" + w + "\""},
        // A placeholder at the very start counts as absent; switches stay in the program, and
        // text between placeholders too (the program is then not found as written).
        {"%1 %2", "\"\" \"" + t + "\" \"" + w + "\""},
        {"cmp --strict %1 %2", "\"cmp --strict\"  \"" + w + "\" \"" + t + "\""},
        {"cmp %1 -- %2", "\"cmp  --\" cmp \"" + w + "\" -- \"" + t + "\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareCommandLine(c.diffExe, w, t), c.line) << c.diffExe;
    // A file name that holds a placeholder is not substituted again.
    EXPECT_EQ(CompareCommandLine("cmp %1 %2", "/w/100%2.txt", "/w/CVS/Diff/100%2.txt.1.1"),
              "\"cmp\"  \"/w/100%2.txt\" \"/w/CVS/Diff/100%2.txt.1.1\"");
}

TEST(ExternalTools, TheHistoryCommandLinesForViewDiffAndDiffWithLocal) {
    const std::string w = "/w/a.c";
    const std::string one = RevisionFileList({"/w/CVS/Diff/a.c.1.2"});
    const std::string two = RevisionFileList({"/w/CVS/Diff/a.c.1.3", "/w/CVS/Diff/a.c.1.1"});
    EXPECT_EQ(two, "\"/w/CVS/Diff/a.c.1.3\" \"/w/CVS/Diff/a.c.1.1\" ");
    const struct {
        const char* name;
        const char* setting;
        std::string list;
        bool useDiffTool, withWorkingFile;
        std::string line;
    } cases[] = {
        {"view one", "/usr/bin/gedit", one, false, true, "\"/usr/bin/gedit\" " + one},
        {"view two in one editor", "ed %1", two, false, true, "\"ed\" " + two},
        {"diff two revisions", "meld %1 %2", two, true, false, "\"meld\" " + two},
        {"with local, both", "meld %1 %2", one, true, true,
         "\"meld\"  \"/w/a.c\" \"/w/CVS/Diff/a.c.1.2\" "},
        {"with local, program only", "meld", one, true, true,
         "\"meld\" \"/w/CVS/Diff/a.c.1.2\"  \"/w/a.c\""},
        {"with local, %1 only", "meld %1", one, true, true,
         "\"meld\" \"/w/a.c\" \"/w/CVS/Diff/a.c.1.2\" "},
        {"with local, %2 only", "meld %2", one, true, true,
         "\"meld\" \"/w/CVS/Diff/a.c.1.2\"  \"/w/a.c\""},
        {"with local, %2 first", "meld %2 %1", one, true, true,
         "\"meld\"  \"/w/CVS/Diff/a.c.1.2\"  \"/w/a.c\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HistoryToolCommandLine(c.setting, c.list, w, c.useDiffTool, c.withWorkingFile),
                  c.line)
            << c.name;
}

class StartExternalToolTest : public testing::Test {
protected:
    void TearDown() override { platform::SetCurrentFolder(testing_support::BinDir()); }

    testing_support::EngineEnvironment env_;
    testing_support::ToolRecorder recorder_;
    testing_support::TempDir files_{"tool files"};
};

TEST_F(StartExternalToolTest, StartsTheCommandLineInTheLibrarysFolder) {
    auto context = env_.MakeContext();
    const std::string w = files_ / "work file.c", t = files_ / "a.c.1.2";
    const std::string program = testing_support::RecorderProgram();
    for (const std::string& diffExe :
         {program + " %1 %2", program + " %2", program + " %1", program,
          // A bare name is found in the library's folder, the current one by then.
          std::string("recordargs %1 %2")}) {
        SCOPED_TRACE(diffExe);
        platform::SetCurrentFolder(files_.Path());
        const std::string line = CompareCommandLine(diffExe, w, t);
        ASSERT_TRUE(StartExternalTool(*context, line, "DIFFEXE", "Morvek CVS SCC"));
        const testing_support::ToolStart start = recorder_.Wait();
        ASSERT_TRUE(start.seen);
        EXPECT_EQ(ArgumentsOf(start), ArgumentsOf(line));
        if (!start.line.empty()) { // Windows: the command line itself
            EXPECT_EQ(start.line, line);
        }
        EXPECT_EQ(start.folder, platform::ThisModuleFolder());
        EXPECT_EQ(platform::GetCurrentFolder(), platform::ThisModuleFolder());
    }
    EXPECT_TRUE(env_.Host().MessageBoxes().empty());
}

TEST_F(StartExternalToolTest, AProgramThatCannotStartIsNamedWithTheSettingAndTheReason) {
    auto context = env_.MakeContext();
    testing_support::WriteFile(files_ / "notes.txt", "not a program\n");
    const std::string missing = files_ / "no-such-diff-tool";
    const std::string notProgram = files_ / "notes.txt";
    const bool posix = platform::kNativePathStyle == platform::PathStyle::Posix;
    const struct {
        std::string line, setting, caption, message, posixReason;
    } cases[] = {
        {"\"" + missing + "\" \"b\" \"a\"", "DIFFEXE", "Morvek CVS SCC",
         "Could not start \"" + missing + "\" (DIFFEXE): ", "No such file or directory"},
        {"\"" + notProgram + "\" \"a.c.1.1\" ", "EDITOR", "",
         "Could not start \"" + notProgram + "\" (EDITOR): ", "Permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        env_.Pane().Clear();
        env_.Host().ExpectMessageBox(uifw::kIdOk);
        EXPECT_FALSE(StartExternalTool(*context, c.line, c.setting, c.caption));
        const auto boxes = env_.Host().MessageBoxes();
        ASSERT_FALSE(boxes.empty());
        const uifw::MessageBoxRecord& box = boxes.back();
        // The system's reason follows; Windows words it in its own way.
        EXPECT_EQ(box.text.rfind(c.message, 0), 0u) << box.text;
        if (posix) {
            EXPECT_EQ(box.text, c.message + c.posixReason);
        } else {
            EXPECT_GT(box.text.size(), c.message.size());
        }
        EXPECT_EQ(box.caption, "Morvek CVS SCC");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.style & uifw::kMbButtonMask, uifw::kMbOk);
        EXPECT_THAT(env_.Pane().Lines(), ElementsAre(box.text));
    }
    EXPECT_FALSE(recorder_.Started());
}

} // namespace
