// scc/FileRequest.cpp - the frame of the file commands and the checks of the host's names.
#include "scc/FileRequest.h"
#include "scc/NoContext.h"

#include "platform/PathStyle.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

namespace {

constexpr const char* kTitle = "Morvek CVS SCC";
constexpr const char* kScratchMarker = "~sak";

// Whether a component of the path is "." or "..": such a path names its place only after
// resolution, and the project check below compares text.
bool HasDotComponent(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsPathSeparator(path[end]))
            ++end;
        const std::string part = path.substr(start, end - start);
        if (part == "." || part == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// The path is the folder or lies below it, compared as the platform compares file names.
bool IsInsideFolder(const std::string& path, const std::string& folder) {
    if (SamePath(path, folder))
        return true;
    if (folder.empty() || path.size() <= folder.size())
        return false;
    const bool endsWithSeparator = IsPathSeparator(folder.back());
    if (!endsWithSeparator && !IsPathSeparator(path[folder.size()]))
        return false;
    return SamePath(path.substr(0, folder.size()), folder);
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

SCCRTN RunFileCommand(void* context, SccWindow window, bool busy,
                      const std::function<SCCRTN(CCVSContext&)>& command) {
    if (!context)
        return NoContext();
    CCVSContext& ctx = *static_cast<CCVSContext*>(context);
    ctx.SetWindow(window);
    if (!busy)
        return command(ctx);
    uifw::CWaitCursor cursor;
    return command(ctx);
}

void Refuse(CCVSContext& context, const std::string& text) {
    context.Echo(text, SCC_MSG_ERROR);
}

bool TakeNames(CCVSContext& context, SccLong count, const char** names, NameKind kind,
               std::vector<std::string>& paths, std::vector<SccLong>* positions) {
    paths.clear();
    if (positions)
        positions->clear();
    const char* what = kind == NameKind::Folders ? "folder" : "file";
    if (count < 0 || (count > 0 && !names)) {
        Refuse(context, std::string("The request named no ") + what +
                            "s the provider could read; nothing was done.");
        return false;
    }
    if (count == 0) {
        context.Echo(std::string("The request named no ") + what + "s; nothing was done.");
        return true;
    }
    const std::string project = context.GetLocalPath();
    if (project.empty()) {
        Refuse(context, "No project is open; nothing was done. Open the project that holds the " +
                            std::string(what) + "s first.");
        return false;
    }
    for (SccLong i = 0; i < count; ++i) {
        if (!names[i] || !*names[i]) {
            Refuse(context, "Name " + std::to_string(i + 1) + " of the request is empty; " +
                                "nothing was done.");
            return false;
        }
        const std::string path = NormalizePath(names[i]);
        if (!IsAbsolutePath(names[i]) || HasDotComponent(names[i])) {
            Refuse(context, Quoted(names[i]) + " is not a full path; nothing was done.");
            return false;
        }
        const bool folder = platform::IsFolder(path);
        if (kind == NameKind::Files && folder) {
            Refuse(context, Quoted(path) +
                                " is a folder, where a file was expected; nothing was done. "
                                "Select the files in it instead.");
            return false;
        }
        if (kind == NameKind::Folders && !folder) {
            Refuse(context, Quoted(path) +
                                (PathExists(path) ? " is a file, where a folder was expected"
                                                  : " is not an existing folder") +
                                "; nothing was done.");
            return false;
        }
        if (!IsInsideFolder(path, project)) {
            Refuse(context, Quoted(path) + " lies outside the open project " + Quoted(project) +
                                "; nothing was done. Open the project that holds it.");
            return false;
        }
        bool twice = false;
        for (const std::string& earlier : paths)
            twice = twice || SamePath(earlier, path);
        if (twice) {
            context.Echo(Quoted(path) + " was named more than once; it is handled once.");
            continue;
        }
        paths.push_back(path);
        if (positions)
            positions->push_back(i);
    }
    return true;
}

bool TakeFiles(CCVSContext& context, SccLong count, const char** names,
               const std::function<void(const std::string&)>& scratchAction,
               std::vector<std::string>& files, SCCRTN& answer, std::vector<SccLong>* positions) {
    answer = SCC_OK;
    if (IsHostScratchFile(count, names)) {
        scratchAction(NormalizePath(names[0]));
        return false;
    }
    if (!TakeNames(context, count, names, NameKind::Files, files, positions)) {
        answer = SCC_E_NONSPECIFICERROR;
        return false;
    }
    return !files.empty();
}

bool IsHostScratchFile(SccLong count, const char** names) {
    if (count < 1 || !names || !names[0])
        return false;
    const std::string path = NormalizePath(names[0]);
    return GetFileNamePart(path).find(kScratchMarker) != std::string::npos &&
           !(IsAbsolutePath(path) && IsInEntries(path));
}

namespace {

// Whether a file of the folder beside the given file holds the content of the copy: the file
// itself, cvs's ".#NAME.REVISION" backups or an unversioned file set aside as
// "NAME.~unversioned...".
bool ContentStillThere(const std::string& file, const std::string& copy) {
    if (SameFileContent(file, copy))
        return true;
    const std::string folder = GetParentFolder(file);
    const std::string name = GetFileNamePart(file);
    std::vector<platform::DirEntry> entries;
    if (!platform::ListFolder(folder, entries))
        return false;
    for (const platform::DirEntry& entry : entries) {
        const bool cvsBackup = entry.name.rfind(".#" + name + ".", 0) == 0;
        const bool setAside = entry.name.rfind(name + ".~unversioned", 0) == 0;
        if ((cvsBackup || setAside) && !entry.IsFolder() &&
            SameFileContent(JoinPath(folder, entry.name), copy))
            return true;
    }
    return false;
}

} // namespace

bool CKeptEdits::Keep(CCVSContext& context, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (!platform::Exists(file) || platform::IsFolder(file) || IsFileUnchanged(file))
            continue;
        std::string copy = file + ".~edits";
        for (int n = 2; platform::Exists(copy); ++n)
            copy = file + ".~edits" + std::to_string(n);
        if (platform::CopyFileTo(file, copy, true)) {
            kept_.push_back({file, copy});
            continue;
        }
        // Nothing has changed yet: the copies made so far hold what their files still hold.
        for (const Kept& kept : kept_)
            RemoveFile(kept.copy);
        kept_.clear();
        Refuse(context, "Could not keep a copy of the edits of " + Quoted(file) + " as " +
                            Quoted(copy) + ", so nothing was changed: the command would " +
                            "overwrite the only copy of them. Make room or fix the folder's " +
                            "permissions, then try again.");
        return false;
    }
    return true;
}

void CKeptEdits::Settle(CCVSContext& context) {
    for (const Kept& kept : kept_) {
        if (ContentStillThere(kept.file, kept.copy)) {
            RemoveFile(kept.copy);
            continue;
        }
        context.Echo("The edits of " + Quoted(kept.file) + " are kept in " + Quoted(kept.copy));
    }
    kept_.clear();
}
