// platform/ToolDefaults.h - the programs a new user's settings name: the text editor, the
// diff tool and the conflict editor.
//
// Windows names the programs the provider has always named there. Elsewhere those do not
// exist, so the defaults are programs the user has:
//  - the editor: the program of $VISUAL, else of $EDITOR (its first word: the editor is
//    started with the revision files as its only arguments), else the first installed of
//    gedit, kate, mousepad, xed, pluma and gvim; else $VISUAL's or $EDITOR's program as it
//    stands, or gedit, so that the message that it cannot be started names something to
//    install;
//  - the diff tool: the first installed of meld, kdiff3, kompare, diffuse, tkdiff and
//    xxdiff, followed by " %1 %2" (the working file first, the repository's revision
//    second); "meld %1 %2" when none is;
//  - the conflict editor: the diff tool's program alone.
// An installed program is named by its full path.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

struct ToolDefaults {
    std::string editor;         // EDITOR, written by the first run and its getter's default
    std::string firstRunDiff;   // DIFFEXE as the first run writes it
    std::string diff;           // DIFFEXE's getter's default
    std::string conflictEditor; // CONFLICTEXE's getter's default
};

// This platform's defaults, decided once per process.
const ToolDefaults& DefaultTools();

// The POSIX choice from the two variables and a search: find gives the full path of an
// installed program named by a bare name or a path, or empty. Pure, tested everywhere.
ToolDefaults ChoosePosixTools(const std::optional<std::string>& visual,
                              const std::optional<std::string>& editor,
                              const std::function<std::string(const std::string&)>& find);

} // namespace platform
