// platform/common/ToolDefaults.cpp - the choice of a POSIX user's editor and diff tool.
#include "platform/ToolDefaults.h"

#include <vector>

namespace platform {
namespace {

// The program of an editor variable: its first word ("emacs -nw" names emacs).
std::string ProgramOf(const std::optional<std::string>& value) {
    if (!value)
        return std::string();
    const std::string::size_type from = value->find_first_not_of(" \t");
    if (from == std::string::npos)
        return std::string();
    const std::string::size_type to = value->find_first_of(" \t", from);
    return value->substr(from, to == std::string::npos ? std::string::npos : to - from);
}

} // namespace

ToolDefaults ChoosePosixTools(const std::optional<std::string>& visual,
                              const std::optional<std::string>& editor,
                              const std::function<std::string(const std::string&)>& find) {
    ToolDefaults tools;
    const std::vector<std::string> named = {ProgramOf(visual), ProgramOf(editor)};
    std::vector<std::string> editors = named;
    for (const char* graphical : {"gedit", "kate", "mousepad", "xed", "pluma", "gvim"})
        editors.push_back(graphical);
    for (const std::string& candidate : editors)
        if (!candidate.empty())
            if (std::string path = find(candidate); !path.empty()) {
                tools.editor = path;
                break;
            }
    if (tools.editor.empty())
        tools.editor = !named[0].empty() ? named[0] : !named[1].empty() ? named[1] : "gedit";

    std::string diff;
    for (const char* candidate : {"meld", "kdiff3", "kompare", "diffuse", "tkdiff", "xxdiff"})
        if (std::string path = find(candidate); !path.empty()) {
            diff = path;
            break;
        }
    if (diff.empty())
        diff = "meld";
    tools.firstRunDiff = tools.diff = diff + " %1 %2";
    tools.conflictEditor = diff;
    return tools;
}

} // namespace platform
