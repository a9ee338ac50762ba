// operations/CVSControllerFiles.cpp - putting local changes into the repository: adding
// files and folders, checking in, removing and renaming.
//
// What none of these may do is lose a user's file. Before a step that deletes, moves or
// overwrites a working file, the content must exist elsewhere (in the repository, or in a
// copy beside the file that the output pane names); a step that fails puts back what it
// moved.
#include "engine/CVSArgs.h"
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "settings/SccSettings.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

namespace {

constexpr const char* kErrorAddingFile = "Error while adding file";
constexpr const char* kErrorAddingFolder = "Error while adding directory";
// Appended to a removed file's name for the copy kept while cvs deletes it.
constexpr const char* kRemovalBackupSuffix = ".~bak";

// cvs reads a word that begins with "-" as an option wherever options may stand; after
// "--" every word is a name. The marker goes in only when a name needs it, so that every
// other command line stays as it always was.
bool NeedsEndOfOptions(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (!name.empty() && name[0] == '-')
            return true;
    return false;
}

void AddNames(CCVSArgs& args, const std::vector<std::string>& names) {
    if (NeedsEndOfOptions(names))
        args.Add("--");
    for (const std::string& name : names)
        args.Add(name);
}

// RunOnFiles, with "--" before the names when one of them needs it.
bool RunOnNames(CCVSContext& context, CCVSArgs& args, const std::vector<std::string>& files) {
    std::vector<std::string> names;
    for (const std::string& file : files)
        names.push_back(GetFileNamePart(file));
    if (NeedsEndOfOptions(names))
        args.Add("--");
    return context.RunOnFiles(args, files);
}

// What to do after a refused check-in, from what cvs said.
std::string CommitAdvice(const std::string& error, const std::string& folder) {
    const auto has = [&error](const char* text) { return error.find(text) != std::string::npos; };
    std::string advice =
        "The check-in stopped in " + folder + "; your files there still hold your changes. ";
    if (has("Up-to-date check failed"))
        return advice + "The repository has newer revisions of some of them: get them first "
                        "(merging them into your changes), then check in again.";
    if (has("had a conflict") || has("conflict indicators"))
        return advice + "A file still holds the conflict of a merge: resolve it in the file, "
                        "then check in again.";
    if (has("lock"))
        return advice + "A file or folder is locked in the repository: ask whoever holds the "
                        "lock to release it, then check in again.";
    if (has("Valid edit does not exist"))
        return advice + "A file was not checked out (edited) before the check-in: check it out, "
                        "or check in without the option that requires it.";
    return advice + "Correct the problem cvs reports above, then check in again.";
}

// Runs of consecutive files that share a folder, in list order: one cvs command each.
std::vector<std::vector<std::string>> FolderBatches(const std::vector<std::string>& files) {
    std::vector<std::vector<std::string>> batches;
    for (size_t i = 0; i < files.size(); ++i) {
        if (i == 0 || !SamePath(GetParentFolder(files[i - 1]), GetParentFolder(files[i])))
            batches.emplace_back();
        batches.back().push_back(files[i]);
    }
    return batches;
}

bool IsInside(const std::string& path, const std::string& folder) {
    if (folder.empty())
        return false;
    if (SamePath(path, folder))
        return true;
    const std::string prefix =
        IsPathSeparator(folder.back()) ? folder : folder + platform::kPathSeparator;
    return path.size() > prefix.size() && SamePath(path.substr(0, prefix.size()), prefix);
}

// What rebuilding the CVS folders of a tree would throw away besides the binding itself:
// scheduled additions and removals (their Entries lines), base copies of checked-out files,
// and changes cvs has logged but not yet folded into Entries.
struct PendingWork {
    std::vector<std::string> added, removed, baseCopies, logged;

    bool Empty() const {
        return added.empty() && removed.empty() && baseCopies.empty() && logged.empty();
    }
};

void CollectPendingWork(const std::string& folder, PendingWork& pending) {
    const std::string admin = JoinPath(folder, "CVS");
    if (platform::IsFolder(admin)) {
        if (auto entries = GetCachedEntries(GetEntriesPath(folder))) {
            entries->ForEachLine([&](std::string_view line) {
                const std::string revision = GetEntryField(line, 1);
                const std::string path = JoinPath(folder, GetEntryField(line, 0));
                if (revision == "0")
                    pending.added.push_back(path);
                else if (!revision.empty() && revision[0] == '-')
                    pending.removed.push_back(path);
            });
        }
        std::vector<platform::DirEntry> base;
        if (platform::ListFolder(JoinPath(admin, "Base"), base))
            for (const platform::DirEntry& entry : base)
                pending.baseCopies.push_back(JoinPath(folder, entry.name));
        if (platform::Exists(JoinPath(admin, "Entries.Log")))
            pending.logged.push_back(JoinPath(admin, "Entries.Log"));
    }
    std::vector<platform::DirEntry> entries;
    if (!platform::ListFolder(folder, entries))
        return;
    for (const platform::DirEntry& entry : entries)
        if (entry.IsFolder() && !entry.isLink && entry.name != "CVS")
            CollectPendingWork(JoinPath(folder, entry.name), pending);
}

std::string Listed(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths)
        text += "\n    " + path;
    return text;
}

// The first of NAME.~bak, NAME.~bak2, ... that is free, or that already holds exactly the
// file's content (replacing it then loses nothing).
std::string RemovalBackupName(const std::string& file) {
    std::string backup = file + kRemovalBackupSuffix;
    for (int n = 2; PathExists(backup) && !SameFileContent(file, backup); ++n)
        backup = file + kRemovalBackupSuffix + std::to_string(n);
    return backup;
}

// Whether CVS has the file scheduled for removal: its Entries line carries a negative
// revision; a file that was only scheduled for addition has no line left at all.
bool RemovalScheduled(const std::string& file, bool wasAdded) {
    const std::string revision = GetEntryRevision(file);
    return (!revision.empty() && revision[0] == '-') || (wasAdded && !IsInEntries(file));
}

} // namespace

bool CCVSController::AddFile(const std::string& path, const CCVSStringMap* options) {
    return AddFile(path, options, GetSettings().GetAutoCommit());
}

bool CCVSController::AddFile(const std::string& path, const CCVSStringMap* options,
                             bool autoCommit) {
    if (IsInEntries(path))
        return true;
    const CCVSStringMap& map = options ? *options : context_.GetOptions();
    if (IsDirectoryPath(path))
        return AddFailed(path + " is a folder, not a file. Add the files in it; their folders "
                                "are added with them.");
    const std::string folder = NormalizePath(GetFolderOfPath(path));
    // The project's own layout says where a folder inside it belongs; a folder outside it
    // has no place to derive, and its binding is whatever cvs gave it.
    if (IsCVSFolder(folder) && IsInside(folder, context_.GetLocalPath())) {
        const std::string expected =
            DeriveRepositoryPath(folder, context_.GetLocalPath(), context_.GetProjectModule());
        // Rebuilt only on what the folder's own CVS/Repository says: a binding that cannot be
        // read now is no reason to empty its Entries.
        const std::optional<std::string> recorded = ReadFolderRepository(folder);
        if (recorded && *recorded != expected && !RebindFolder(folder, *recorded, expected))
            return AddFailed(std::string());
    }
    if (!IsCVSFolder(folder) && !AddFolder(folder, &map))
        return false;

    Announce("Adding file(s) ...");
    CCVSArgs args;
    args.Add("add");
    const int encoding = DetectTextEncoding(path);
    if (encoding == kEncodingUnicode)
        args.Add("-ku");
    else if (encoding == kEncodingBinary)
        args.Add("-kb");
    args.Add("-m");
    args.Add(context_.GetComment());
    if (options::IsOn(map, options::kCommitBranch)) {
        args.Add("-r");
        args.Add(LookupValue(map, options::kCommitBranchName));
    }
    AddNames(args, {GetFileNamePart(path)});
    if (!context_.RunInFolder(path, args))
        return AddFailed(std::string());
    if (!autoCommit)
        return true;

    Announce("Commiting file(s) ...");
    CCVSArgs commit;
    for (const char* item : {"commit", "-m"})
        commit.Add(item);
    commit.Add(context_.GetComment());
    AddNames(commit, {GetFileNamePart(path)});
    if (!context_.RunInFolder(path, commit)) {
        // A run that never started has no error text; the reason its message box gave
        // belongs on this line too.
        std::string reason = context_.GetErrorText();
        if (reason.empty())
            reason = context_.GetLibrary().GetStartFailure();
        context_.Echo(path + " is scheduled for addition but was not committed: " + reason +
                      " Check it in to finish the addition.");
        return false;
    }
    MakeReadOnly(path);
    platform::DeleteFileAt(GetBaseCopyPath(path));
    return true;
}

bool CCVSController::AddFailed(const std::string& reason) {
    if (!reason.empty())
        context_.Echo(reason);
    context_.Echo(kErrorAddingFile);
    SetErrorMessage(kErrorAddingFile);
    return false;
}

bool CCVSController::RebindFolder(const std::string& folder, const std::string& recorded,
                                  const std::string& expected) {
    // Rebuilding empties Entries and drops CVS/Base in the folder and in every folder below
    // it. Files are never touched, but what only those files record would be gone.
    PendingWork pending;
    CollectPendingWork(folder, pending);
    if (!pending.Empty()) {
        std::string text = "The folder " + folder + " is bound to the repository path " + recorded +
                           ", but in this project it belongs at " + expected +
                           ". Its CVS folders were left as they are, because rebuilding them "
                           "would lose work recorded only there:";
        if (!pending.added.empty())
            text += "\n  scheduled for addition:" + Listed(pending.added);
        if (!pending.removed.empty())
            text += "\n  scheduled for removal:" + Listed(pending.removed);
        if (!pending.baseCopies.empty())
            text += "\n  checked out (base copies):" + Listed(pending.baseCopies);
        if (!pending.logged.empty())
            text += "\n  changes cvs has not finished recording:" + Listed(pending.logged);
        text += "\nCheck in or undo these first (or bind the folder by hand), then add the file "
                "again.";
        context_.Echo(text);
        return false;
    }
    RemoveAdminFolderTree(folder);
    CreateAdminFolder(folder, context_.GetCVSRoot(), expected);
    if (!UpdateFolder(folder, false))
        RemoveAdminFolderTree(folder);
    return true;
}

bool CCVSController::AddFolder(const std::string& folder, const CCVSStringMap* options) {
    if (IsCVSFolder(folder))
        return true;
    const CCVSStringMap& map = options ? *options : context_.GetOptions();
    const bool onBranch = options::IsOn(map, options::kCommitBranch);
    const std::string branch = LookupValue(map, options::kCommitBranchName);

    // The walk keeps the separators the path begins with (the POSIX root, a share's "\\").
    std::string reached = folder.substr(0, folder.find_first_not_of("/\\"));
    std::string repository;
    std::string::size_type start = reached.size();
    while (start < folder.size()) {
        std::string::size_type end = folder.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = folder.size();
        const std::string component = folder.substr(start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        reached = JoinPath(reached, component);
        if (!repository.empty())
            repository += "/" + component;
        if (!IsCVSFolder(reached) && !repository.empty()) {
            Announce("Adding directory ...");
            CCVSArgs args;
            args.Add("add");
            const std::string name = GetFileNamePart(reached);
            if (NeedsEndOfOptions({name})) {
                // With "--" before it, a branch after the name would be read as names too.
                if (onBranch) {
                    args.Add("-r");
                    args.Add(branch);
                }
                AddNames(args, {name});
            } else {
                args.Add(name);
                if (onBranch) {
                    args.Add("-r");
                    args.Add(branch);
                }
            }
            if (!context_.RunInFolder(GetParentFolderNormalized(reached), args)) {
                context_.Echo(kErrorAddingFolder);
                SetErrorMessage(kErrorAddingFolder);
                return false;
            }
        }
        if (repository.empty())
            repository = GetModulePath(reached);
    }
    if (repository.empty()) {
        context_.Echo(folder + " is not inside a CVS working folder, so it cannot be added. " +
                      "Open or connect the project it belongs to first.");
        SetErrorMessage(kErrorAddingFolder);
    }
    return IsCVSFolder(folder);
}

bool CCVSController::CommitFiles(const std::vector<std::string>& files, bool keepCheckedOut,
                                 const CCVSStringMap* options) {
    Announce("Checking in file(s) ...");
    const CCVSStringMap& map = options ? *options : context_.GetOptions();
    for (const std::vector<std::string>& batch : FolderBatches(files)) {
        // A new file goes in with its folder's commit: committing each one on its own would
        // run a commit per file.
        for (const std::string& file : batch)
            AddFile(file, &map, false);
        if (!CommitBatch(batch, keepCheckedOut, map))
            return false;
    }
    return true;
}

bool CCVSController::CommitBatch(const std::vector<std::string>& batch, bool keepCheckedOut,
                                 const CCVSStringMap& map) {
    CCVSArgs args;
    for (const char* item : {"commit", "-m"})
        args.Add(item);
    args.Add(context_.GetComment());
    if (options::IsOn(map, options::kCommitForced))
        args.Add("-f");
    if (options::IsOn(map, options::kCommitCheckEdits))
        args.Add("-c");
    const bool ran = RunOnNames(context_, args, batch);
    if (!ran || context_.GetErrorText().find("failed:", 1) != std::string::npos) {
        const std::string error = context_.GetErrorText();
        Failed();
        context_.Echo(CommitAdvice(error, GetParentFolderNormalized(batch.back())));
        return false;
    }
    const bool independent = GetSettings().GetIndependentMode();
    CCVSArgs unedit;
    unedit.Add("unedit");
    if (!independent && !RunOnNames(context_, unedit, batch))
        return Failed();
    for (const std::string& file : batch) {
        if (keepCheckedOut) {
            MakeWritable(file);
            continue;
        }
        if (independent)
            MakeReadOnly(file);
        RemoveFile(GetBaseCopyPath(file));
    }
    return true;
}

bool CCVSController::RemoveFromCVS(const std::string& path) {
    Announce("Removing file ...");
    if (IsDirectoryPath(path)) {
        context_.Echo(path + " is a folder, not a file: nothing was removed. Remove the files "
                             "in it; cvs drops an empty folder on the next update.");
        return false;
    }
    const std::string name = GetFileNamePart(path);
    const bool present = PathExists(path);
    const std::string revision = GetEntryRevision(path);
    const bool wasAdded = revision == "0";
    // Content equal to a revision the repository holds may go; anything else is kept.
    const bool committedContent =
        present && !revision.empty() && revision[0] != '-' && !wasAdded && IsFileUnchanged(path);
    std::string backup;
    if (present) {
        backup = RemovalBackupName(path);
        if (!platform::CopyFileTo(path, backup, false)) {
            context_.Echo("Could not copy " + path + " to " + backup +
                          ", so it was not removed: cvs would delete the only copy of it. " +
                          "Make room or fix the folder's permissions, then remove it again.");
            return false;
        }
    }

    CCVSArgs remove;
    for (const char* item : {"remove", "-f"})
        remove.Add(item);
    AddNames(remove, {name});
    bool ok = context_.RunInFolder(path, remove);
    const bool scheduled = ok && RemovalScheduled(path, wasAdded);
    if (ok && !scheduled) {
        // GNU cvs deletes the file first and only then finds that it knows nothing of it.
        context_.Echo("CVS does not know " + path +
                      ", so nothing was removed from the repository; the file stays as it was.");
        ok = false;
    }
    // A file that was only scheduled for addition has nothing in the repository to remove:
    // the remove alone took it back.
    if (ok && GetSettings().GetAutoCommit() && wasAdded) {
        platform::CopyFileTo(backup, path, false);
    } else if (ok && GetSettings().GetAutoCommit()) {
        CCVSArgs commit;
        for (const char* item : {"commit", "-m"})
            commit.Add(item);
        commit.Add(context_.GetComment());
        AddNames(commit, {name});
        ok = context_.RunInFolder(path, commit);
        if (!ok) {
            // The removal cannot be committed: take it back while the file is absent (cvs
            // brings back the revision), then the user's own content goes back over it.
            CCVSArgs add;
            add.Add("add");
            AddNames(add, {name});
            context_.RunInFolder(path, add);
            context_.Echo("The removal of " + path + " was not committed and is undone; " +
                          "correct the problem cvs reports above, then remove it again.");
        }
        if (!backup.empty())
            platform::CopyFileTo(backup, path, false);
    } else if (!ok && !backup.empty() && !PathExists(path)) {
        platform::CopyFileTo(backup, path, true);
    }

    if (backup.empty())
        return ok;
    const bool restored = PathExists(path) && SameFileContent(path, backup);
    if (restored || (committedContent && !PathExists(path))) {
        if (!RemoveFile(backup))
            context_.Echo("Could not delete " + backup + ", the copy of " + path +
                          " made for the removal; it holds nothing that is not kept elsewhere.");
    } else if (!PathExists(path)) {
        context_.Echo("Your changes to " + path + " were never checked in; cvs deleted the " +
                      "file, and its content is kept as " + backup + ".");
    } else {
        context_.Echo("The content " + path + " had before the removal is kept as " + backup + ".");
    }
    return ok;
}

bool CCVSController::RenameFile(const std::string& oldPath, const std::string& newPath) {
    Announce("Renaming file ...");
    const auto refuse = [this, &oldPath, &newPath](const std::string& why) {
        context_.Echo("Cannot rename " + oldPath + " to " + newPath + ": " + why +
                      " Nothing was changed.");
        return false;
    };
    if (!SamePath(GetParentFolder(oldPath), GetParentFolder(newPath)))
        return refuse("CVS renames a file only within its folder.");
    if (IsDirectoryPath(oldPath) || IsDirectoryPath(newPath))
        return refuse("CVS cannot rename a folder; rename the files in it one by one.");
    if (SamePath(oldPath, newPath))
        return refuse(oldPath == newPath ? "the two names are the same."
                                         : "the names differ only in letter case, which file "
                                           "names here ignore.");

    // The environment may have renamed the file already; cvs needs it under its old name.
    bool movedBack = false;
    if (PathExists(newPath)) {
        if (PathExists(oldPath)) {
            // A copy left under the old name may go: its content is the new file's. Anything
            // else under both names is two different files.
            if (!SameFileContent(oldPath, newPath) || IsInEntries(newPath))
                return refuse(newPath + " exists already and holds other content than " + oldPath +
                              ". Rename or remove one of them first.");
            if (!RemoveFile(oldPath))
                return refuse("the copy left as " + oldPath + " cannot be deleted.");
        }
        if (!platform::MoveFileTo(newPath, oldPath, false)) {
            context_.Echo("Could not move " + newPath + " back to " + oldPath +
                          " for cvs; nothing was renamed.");
            return false;
        }
        movedBack = true;
    }
    CCVSArgs args;
    args.Add("rename");
    AddNames(args, {GetFileNamePart(oldPath), GetFileNamePart(newPath)});
    const bool ok = context_.RunInFolder(oldPath, args);
    if (!ok && movedBack && PathExists(oldPath) && !PathExists(newPath) &&
        platform::MoveFileTo(oldPath, newPath, false))
        context_.Echo("The rename failed in CVS; the file keeps its new name " + newPath +
                      ", and CVS still knows it as " + oldPath + ".");
    return ok;
}
