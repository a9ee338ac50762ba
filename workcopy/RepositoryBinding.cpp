// workcopy/RepositoryBinding.cpp - the CVS folder of a working folder.
#include "workcopy/RepositoryBinding.h"

#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "platform/Text.h"
#include "workcopy/Entries.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

#include <optional>
#include <vector>

namespace {

std::string AdminFile(const std::string& folder, const char* name) {
    std::string path = folder;
    AppendPath(path, std::string("CVS") + platform::kPathSeparator + name);
    return path;
}

// The first line of a file (see FirstAdminLine); none also when it cannot be opened.
std::optional<std::string> ReadFirstLine(const std::string& path, size_t buffer) {
    std::string head;
    if (!platform::ReadWholeFile(path, head, buffer))
        return std::nullopt;
    return FirstAdminLine(head, buffer);
}

std::string FolderOf(const std::string& path) {
    return NormalizePath(IsDirectoryPath(path) ? path : GetParentFolder(path));
}

// PathAppend's join: the second part's leading separators are skipped, one separator is put
// between, and "." and ".." components are resolved. Both separators split components, as
// the repository part uses '/' and the local part the platform's separator.
std::string AppendCanonical(const std::string& base, const std::string& more) {
    std::vector<std::string> parts;
    for (const std::string& piece : {base, more}) {
        std::string::size_type from = 0;
        while (from <= piece.size()) {
            std::string::size_type to = piece.find_first_of("\\/", from);
            if (to == std::string::npos)
                to = piece.size();
            const std::string part = piece.substr(from, to - from);
            if (part == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            from = to + 1;
        }
    }
    std::string result;
    for (size_t i = 0; i < parts.size(); ++i)
        result += (i ? "/" : "") + parts[i];
    return result;
}

} // namespace

std::optional<std::string> FirstAdminLine(std::string_view content, size_t buffer) {
    if (content.empty())
        return std::nullopt;
    const std::string_view line = content.substr(0, content.find('\n'));
    if (line.size() >= buffer)
        return std::nullopt;
    std::string result(line);
    if (!result.empty() && result.back() == '\r')
        result.pop_back();
    return result;
}

std::string ReadRepository(const std::string& path) {
    if (GetParentFolder(path).empty())
        return std::string();
    return ReadFirstLine(AdminFile(FolderOf(path), "Repository"), kRepositoryLineBuffer)
        .value_or(std::string());
}

std::optional<std::string> ReadFolderRepository(const std::string& folder) {
    return ReadFirstLine(AdminFile(NormalizePath(folder), "Repository"), kRepositoryLineBuffer);
}

std::string ReadRoot(const std::string& path) {
    const std::string direct = AdminFile(path, "Root");
    if (PathExists(direct))
        return ReadFirstLine(direct, kRootLineBuffer).value_or(std::string());
    for (std::string folder = FolderOf(path); !folder.empty();
         folder = GetParentFolderNormalized(folder)) {
        const std::string root = AdminFile(folder, "Root");
        if (!PathExists(root))
            continue;
        std::optional<std::string> line = ReadFirstLine(root, kRootLineBuffer);
        if (line && !line->empty())
            return *line;
    }
    return std::string();
}

std::string GetModulePath(const std::string& path) {
    if (GetParentFolder(path).empty())
        return std::string();
    std::string folder = FolderOf(path);
    std::string suffix;
    for (;;) {
        std::optional<std::string> line =
            ReadFirstLine(AdminFile(folder, "Repository"), kRepositoryLineBuffer);
        if (line)
            return suffix.empty() ? *line : *line + '/' + suffix;
        const std::string name = GetFileNamePart(folder);
        folder = GetParentFolderNormalized(folder);
        if (folder.empty())
            return std::string();
        suffix = suffix.empty() ? name : name + '/' + suffix;
    }
}

std::string DeriveRepositoryPath(const std::string& path, const std::string& projectPath,
                                 const std::string& module) {
    // Both paths are folders: asking the file system what they are could, when a look-up
    // fails, read a parent's binding instead and have a sound folder rebuilt.
    const std::string own = ReadFolderRepository(path).value_or(std::string());
    if (CompareNoCase(own, module) == 0)
        return own;
    if (SamePath(path, projectPath))
        return module;
    const std::string base = ReadFolderRepository(projectPath).value_or(std::string());
    const std::string rest =
        path.size() > projectPath.size() ? path.substr(projectPath.size()) : std::string();
    // "." and ".." are resolved while joining, so only separators can lead; a folder whose
    // name begins with a dot keeps it.
    const std::string joined = AppendCanonical(base, rest);
    if (joined.empty()) {
        std::string whole = base + rest;
        for (char& c : whole)
            if (c == '\\')
                c = '/';
        return whole;
    }
    return joined;
}

std::string FindWorkingCopyTop(const std::string& given) {
    std::string path = given;
    if (path.empty())
        return kInvalidPathResult;
    while (!IsCVSFolder(path)) {
        path = GetParentFolderNormalized(path);
        if (path.empty())
            return kInvalidPathResult;
    }
    for (;;) {
        const std::string last = path;
        path = GetParentFolderNormalized(path);
        if (path.empty() || !IsCVSFolder(path))
            return last;
    }
}

bool CreateAdminFolder(const std::string& path, const std::string& root,
                       const std::string& repository) {
    const std::string folder =
        IsDirectoryPath(path) ? NormalizePath(path) : GetParentFolderNormalized(path);
    if (!IsAbsolutePath(folder))
        return false;
    std::string cvs = folder;
    AppendPath(cvs, "CVS");
    if (!PathExists(cvs) && !platform::MakeFolderTree(cvs))
        return false;
    const std::string eol = platform::kTextLineEnd;
    if (!platform::WriteWholeFile(AdminFile(folder, "Root"), root + eol) ||
        !platform::WriteWholeFile(AdminFile(folder, "Repository"), repository + eol) ||
        !platform::WriteWholeFile(AdminFile(folder, "Entries"), std::string()))
        return false;
    EnsureFolder(AdminFile(folder, "Base"));
    return true;
}

bool DeleteFolderContents(const std::string& folder) {
    if (!IsAbsolutePath(folder))
        return false;
    std::vector<platform::DirEntry> entries;
    if (!platform::ListFolder(folder, entries))
        return false;
    for (const platform::DirEntry& entry : entries) {
        const std::string path = JoinPath(folder, entry.name);
        if (entry.isLink) {
            platform::RemoveLink(path);
        } else if (entry.IsFolder()) {
            DeleteFolderContents(path);
            platform::RemoveEmptyFolder(path);
        } else {
            platform::DeleteFileAt(path);
        }
    }
    return true;
}

bool RemoveAdminFolder(const std::string& folder) {
    // A relative folder would mean another one once the current folder has been changed below.
    if (!IsAbsolutePath(folder) || !IsCVSFolder(folder))
        return false;
    std::string cvs = NormalizePath(folder);
    AppendPath(cvs, "CVS");
    SetCurrentFolderTo(GetParentFolderNormalized(cvs));
    if (!DeleteFolderContents(cvs))
        return false;
    return platform::RemoveEmptyFolder(cvs);
}

void RemoveAdminFolderTree(const std::string& path) {
    const std::string folder = IsDirectoryPath(path) ? path : GetParentFolder(path);
    if (!IsAbsolutePath(folder))
        return;
    RemoveAdminFolder(NormalizePath(folder));
    std::vector<platform::DirEntry> entries;
    if (!platform::ListFolder(folder, entries))
        return;
    for (const platform::DirEntry& entry : entries)
        if (entry.IsFolder() && !entry.isLink)
            RemoveAdminFolderTree(NormalizePath(JoinPath(folder, entry.name)));
}
