// workcopy/PathFunctions.cpp - canonical paths.
#include "workcopy/PathFunctions.h"

#include "platform/FileSystem.h"

namespace {

std::string::size_type LastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && path[1] == ':' && IsPathSeparator(path[2]);
}

// The Windows resolution of one path whose last component is looked up; folder is true
// for the folder variant, which leaves a path it cannot find unchanged.
class Resolver {
public:
    explicit Resolver(const PathLookup& lookup) : lookup_(lookup) {}

    std::string Folder(const std::string& p) const {
        if (p.size() <= 2)
            return p;
        std::optional<std::string> name = lookup_.storedName(p);
        if (!name)
            return p;
        return Joined(p, *name);
    }

    std::string File(const std::string& p) const {
        std::optional<std::string> name = lookup_.storedName(p);
        if (name)
            return Joined(p, *name);
        std::string::size_type s = LastSeparator(p);
        if (s == std::string::npos || s == 0)
            return p;
        return Folder(p.substr(0, s)) + '\\' + p.substr(s + 1);
    }

private:
    std::string Joined(const std::string& p, const std::string& name) const {
        std::string::size_type s = LastSeparator(p);
        if (s == std::string::npos)
            s = 0;
        std::string prefix = p.substr(0, s);
        std::string head = s > 1 ? Folder(prefix) : prefix;
        return head + '\\' + name;
    }

    const PathLookup& lookup_;
};

const PathLookup& NativeLookup() {
    static const PathLookup lookup{[](const std::string& p) -> std::optional<std::string> {
                                       if (auto entry = platform::FindEntry(p))
                                           return entry->name;
                                       return std::nullopt;
                                   },
                                   [](const std::string& p) { return platform::IsFolder(p); }};
    return lookup;
}

std::string NormalizePosix(const std::string& given) {
    std::string path = given;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string NormalizePathWith(const std::string& given, PathStyle style, const PathLookup& lookup) {
    if (given.empty())
        return std::string();
    if (style == PathStyle::Posix)
        return NormalizePosix(given);
    if (given.size() == 2 && given[1] == ':')
        return given + '\\';
    if (given.size() == 3 && given[1] == ':')
        return given;
    std::string path = given;
    if (IsPathSeparator(path.back()))
        path.pop_back();
    if (path.empty())
        return path;
    Resolver resolve(lookup);
    return lookup.isFolder(path) ? resolve.Folder(path) : resolve.File(path);
}

std::string NormalizePath(const std::string& path) {
    return NormalizePathWith(path, platform::kNativePathStyle, NativeLookup());
}

std::string NormalizePath(const char* path) {
    return NormalizePath(std::string(path ? path : ""));
}

std::string GetParentFolder(const std::string& path, PathStyle style) {
    if (style == PathStyle::Windows ? IsDriveRoot(path) : path == "/")
        return std::string();
    std::string::size_type s = LastSeparator(path);
    if (s == std::string::npos)
        return std::string();
    if (s == 0 && style == PathStyle::Posix)
        return "/";
    return path.substr(0, s);
}

std::string GetParentFolderNormalized(const std::string& path) {
    return NormalizePath(GetParentFolder(path));
}

std::string GetFileNamePart(const std::string& path) {
    std::string::size_type s = LastSeparator(path);
    return s == std::string::npos ? path : path.substr(s + 1);
}

void AppendPath(std::string& folder, const std::string& name) {
    if (folder.empty() || IsPathSeparator(folder.back()))
        folder = NormalizePath(folder + name);
    else
        folder = NormalizePath(folder + platform::kPathSeparator + name);
}

bool IsAbsolutePath(const std::string& path, PathStyle style) {
    if (style == PathStyle::Posix)
        return !path.empty() && IsPathSeparator(path[0]);
    if (path.size() >= 3 && path[1] == ':' && IsPathSeparator(path[2]))
        return true;
    return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

bool IsDirectoryPath(const std::string& path) {
    if (path.empty())
        return false;
    if (platform::Exists(path))
        return platform::IsFolder(path);
    return IsPathSeparator(path.back());
}

bool PathExists(const std::string& path) {
    return platform::Exists(path);
}

std::string JoinPath(const std::string& folder, const std::string& name, PathStyle style) {
    if (folder.empty())
        return name;
    if (IsPathSeparator(folder.back()))
        return folder + name;
    return folder + platform::SeparatorOf(style) + name;
}
