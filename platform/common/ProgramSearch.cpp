// platform/common/ProgramSearch.cpp - which folders a program is looked for in, and where
// the program a setting names is.
#include "platform/Process.h"

namespace platform {
namespace {

bool IsSeparatorOf(char c, PathStyle style) {
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

// Absolute whatever the current folder (and, on Windows, the current drive) is.
bool IsAbsoluteOf(const std::string& path, PathStyle style) {
    if (style == PathStyle::Posix)
        return !path.empty() && path[0] == '/';
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && IsSeparatorOf(path[2], style);
    const bool share =
        path.size() >= 2 && IsSeparatorOf(path[0], style) && IsSeparatorOf(path[1], style);
    return drive || share;
}

} // namespace

std::vector<std::string> ProgramSearchFolders(const std::string& pathValue, PathStyle style) {
    const char listSeparator = style == PathStyle::Windows ? ';' : ':';
    std::vector<std::string> folders;
    std::string::size_type from = 0;
    while (from <= pathValue.size()) {
        std::string::size_type to = pathValue.find(listSeparator, from);
        if (to == std::string::npos)
            to = pathValue.size();
        std::string folder = pathValue.substr(from, to - from);
        if (style == PathStyle::Windows) {
            std::string unquoted;
            for (char c : folder)
                if (c != '"')
                    unquoted += c;
            folder = unquoted;
        }
        if (IsAbsoluteOf(folder, style))
            folders.push_back(folder);
        from = to + 1;
    }
    return folders;
}

std::string ResolveProgramPath(const std::string& program) {
    if (IsAbsoluteOf(program, kNativePathStyle))
        return program;
    for (char c : program)
        if (IsSeparatorOf(c, kNativePathStyle) || c == ':')
            return std::string();
    return FindProgramOnPath(program);
}

} // namespace platform
