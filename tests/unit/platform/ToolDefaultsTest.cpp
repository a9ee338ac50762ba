// The programs a new user's settings name: Windows keeps its own; elsewhere the user's
// editor and an installed diff tool.
#include "platform/ToolDefaults.h"
#include "platform/PathStyle.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Installed = std::set<std::string>;

// A search over a made-up machine whose programs live in /usr/bin.
std::function<std::string(const std::string&)> Machine(const Installed& installed) {
    return [installed](const std::string& program) -> std::string {
        if (installed.count(program))
            return program[0] == '/' ? program : "/usr/bin/" + program;
        return std::string();
    };
}

TEST(ToolDefaults, ThePosixEditorIsTheUsersAndTheDiffToolAnInstalledOne) {
    const std::optional<std::string> unset;
    const struct {
        const char* name;
        std::optional<std::string> visual, editor;
        Installed installed;
        const char *editorWanted, *diffWanted, *conflictWanted;
    } cases[] = {
        {"VISUAL first",
         "code --wait",
         "vim",
         {"code", "vim", "meld"},
         "/usr/bin/code",
         "/usr/bin/meld %1 %2",
         "/usr/bin/meld"},
        {"EDITOR without VISUAL",
         unset,
         " emacs -nw",
         {"emacs", "kdiff3"},
         "/usr/bin/emacs",
         "/usr/bin/kdiff3 %1 %2",
         "/usr/bin/kdiff3"},
        {"a VISUAL that is not installed",
         "nano",
         "vim",
         {"vim", "kompare"},
         "/usr/bin/vim",
         "/usr/bin/kompare %1 %2",
         "/usr/bin/kompare"},
        {"a path",
         "/opt/ed/bin/ed",
         unset,
         {"/opt/ed/bin/ed"},
         "/opt/ed/bin/ed",
         "meld %1 %2",
         "meld"},
        {"blank variables",
         "  ",
         "",
         {"kate", "mousepad", "tkdiff", "xxdiff"},
         "/usr/bin/kate",
         "/usr/bin/tkdiff %1 %2",
         "/usr/bin/tkdiff"},
        {"meld before the others",
         unset,
         unset,
         {"xxdiff", "meld", "diffuse", "gedit"},
         "/usr/bin/gedit",
         "/usr/bin/meld %1 %2",
         "/usr/bin/meld"},
        {"nothing installed, a named editor", "nano", unset, {}, "nano", "meld %1 %2", "meld"},
        {"nothing at all", unset, unset, {}, "gedit", "meld %1 %2", "meld"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::ToolDefaults tools =
            platform::ChoosePosixTools(c.visual, c.editor, Machine(c.installed));
        EXPECT_EQ(tools.editor, c.editorWanted);
        EXPECT_EQ(tools.firstRunDiff, c.diffWanted);
        EXPECT_EQ(tools.diff, c.diffWanted);
        EXPECT_EQ(tools.conflictEditor, c.conflictWanted);
    }
}

TEST(ToolDefaults, WindowsKeepsItsOwnPrograms) {
    if (platform::kNativePathStyle != platform::PathStyle::Windows)
        GTEST_SKIP() << "the Windows build's values";
    const platform::ToolDefaults& tools = platform::DefaultTools();
    EXPECT_EQ(tools.editor, "c:\\windows\\notepad.exe");
    EXPECT_EQ(tools.firstRunDiff, "RevEdivuvozAziraz.exe");
    EXPECT_EQ(tools.diff, "RevEdivuvozAziraz.Exe");
    EXPECT_EQ(tools.conflictEditor, "RevEdivuvozAziraz.Exe");
}

} // namespace
