// scc/StatusQueries.cpp - file status and file lists for the host.
#include "scc/StatusQueries.h"

#include "engine/CVSContext.h"
#include "operations/CVSController.h"
#include "scc/ExportArgs.h"
#include "workcopy/Entries.h"
#include "workcopy/EntriesOnDisk.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"
#include "workcopy/StatusReader.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

constexpr SccLong kMayEdit = SCC_STATUS_CHECKEDOUT | SCC_STATUS_OUTBYUSER;

// A repository path without a separator at its end, as Repository files may hold it.
std::string TrimmedRepository(std::string repository) {
    while (repository.size() > 1 && IsPathSeparator(repository.back()))
        repository.pop_back();
    return repository;
}

std::string EntriesPathOf(const std::string& folder) {
    return JoinPath(JoinPath(folder, "CVS"), "Entries");
}

bool IsAtOrBelow(const std::string& path, const std::string& top) {
    if (top.empty() || path.size() < top.size() || !SamePath(path.substr(0, top.size()), top))
        return false;
    return path.size() == top.size() || IsPathSeparator(top.back()) ||
           IsPathSeparator(path[top.size()]);
}

// Whether the user may edit a present file: changed, checked out, or made writable by the
// provider (writable with the archive bit clear) and not written since.
bool MayEdit(const WorkingFileFacts& facts) {
    return facts.exists &&
           (!facts.unchanged || facts.baseCopy || (facts.writable && !facts.archive));
}

class StatusQuery {
public:
    explicit StatusQuery(CCVSContext* context) : context_(context) {}

    SccLong FileStatus(const std::string& name);

private:
    bool PrepareFolder(const std::string& given);
    bool RepairCopiedFolder(std::string folder);
    std::string OriginalOf(const std::string& folder, const CCVSEntries& parentEntries);
    bool FetchMissingFolder(const std::string& folder);
    SccLong Decide(const std::string& name, WorkingFileFacts& facts);
    CCVSController& Controller();

    CCVSContext* context_;
    std::unique_ptr<CCVSController> controller_;
    CStatusReader reader_;
    std::unordered_set<std::string> prepared_;   // folders as the names spell them
    std::unordered_set<std::string> unreadable_; // folders already said to be unreadable
    std::string lastPrepared_;
};

SccLong StatusQuery::FileStatus(const std::string& name) {
    WorkingFileFacts facts = reader_.Read(name);
    if (facts.folder)
        return IsCVSFolder(name) ? SCC_DIRSTATUS_CONTROLLED : SCC_DIRSTATUS_NOTCONTROLLED;
    const std::string_view given = std::string_view(name).substr(0, FolderPartLength(name));
    if (given != lastPrepared_) {
        lastPrepared_.assign(given.data(), given.size());
        if (prepared_.insert(lastPrepared_).second && PrepareFolder(lastPrepared_)) {
            reader_.Forget();
            facts = reader_.Read(name);
        }
    }
    return Decide(name, facts);
}

// The folder-level work before the first file of a folder is judged; true when it changed
// the working copy.
bool StatusQuery::PrepareFolder(const std::string& given) {
    const std::string folder = NormalizePath(given);
    const bool repaired = RepairCopiedFolder(folder);
    const bool fetched = FetchMissingFolder(folder);
    return repaired || fetched;
}

bool StatusQuery::RepairCopiedFolder(std::string folder) {
    bool changed = false;
    for (;;) {
        const std::string parent = GetParentFolderNormalized(folder);
        if (parent.empty() || SamePath(parent, folder))
            return changed;
        std::shared_ptr<const CCVSEntries> own = GetCachedEntries(EntriesPathOf(folder));
        std::shared_ptr<const CCVSEntries> up = GetCachedEntries(EntriesPathOf(parent));
        if (!own || !up)
            return changed;
        const std::string original = OriginalOf(folder, *up);
        if (original.empty())
            return changed;
        RemoveAdminFolderTree(folder);
        changed = true;
        if (context_)
            context_->Echo("The folder " + folder + " is a copy of the working folder " + original +
                           ": its CVS folders were removed, so that it can be added "
                           "as a folder of its own.\n");
        if (context_ && SamePath(folder, NormalizePath(context_->GetLocalPath())))
            return changed;
        folder = parent;
    }
}

// The working folder that the folder is a copy of, or empty when it is not a copy.
std::string StatusQuery::OriginalOf(const std::string& folder, const CCVSEntries& parentEntries) {
    const std::string name = GetFileNamePart(folder);
    if (parentEntries.ListsFolder(name))
        return std::string();
    const std::string repository = TrimmedRepository(ReadRepository(folder));
    if (repository.empty() || CompareNoCase(GetFileNamePart(repository), name) == 0)
        return std::string();
    // cvs records a folder it checks out inside a working folder in the parent's
    // CVS/Entries.Log first (A D/name), until its next command there; a log it cannot read
    // counts as listing the folder.
    if (ReadEntriesListing(folder) != EntriesListing::NotListed)
        return std::string();
    // Where this working copy keeps that repository path: below the nearest working folder
    // above whose own repository path leads to it.
    std::string above = GetParentFolderNormalized(folder);
    for (;;) {
        const std::string base = TrimmedRepository(ReadRepository(above));
        if (!base.empty() && repository.size() > base.size() + 1 &&
            repository.compare(0, base.size(), base) == 0 && repository[base.size()] == '/') {
            const std::string original =
                NormalizePath(JoinPath(above, repository.substr(base.size() + 1)));
            const bool isOriginal = !SamePath(original, folder) && IsCVSFolder(original) &&
                                    TrimmedRepository(ReadRepository(original)) == repository;
            return isOriginal ? original : std::string();
        }
        // Only through folders that cvs keeps as one working copy: each listed by its parent.
        const std::string next = GetParentFolderNormalized(above);
        std::shared_ptr<const CCVSEntries> nextEntries =
            next.empty() || SamePath(next, above) ? nullptr : GetCachedEntries(EntriesPathOf(next));
        if (!nextEntries || !nextEntries->ListsFolder(GetFileNamePart(above)))
            break;
        above = next;
    }
    return std::string();
}

// A folder of the open project that is missing on disk is made and, when the repository has
// it, bound and brought up to date. Folders outside the project are left alone: there is no
// repository path to derive for them.
bool StatusQuery::FetchMissingFolder(const std::string& folder) {
    if (!context_ || folder.empty() || PathExists(folder))
        return false;
    const std::string local = NormalizePath(context_->GetLocalPath());
    const std::string root = context_->GetCVSRoot();
    if (root.empty() || !IsAtOrBelow(folder, local))
        return false;
    EnsureFolder(folder);
    const std::string repository =
        DeriveRepositoryPath(folder, local, context_->GetProjectModule());
    if (Controller().TestModule(root, repository) && CreateAdminFolder(folder, root, repository))
        Controller().UpdateFolder(folder, false);
    return true;
}

SccLong StatusQuery::Decide(const std::string& name, WorkingFileFacts& facts) {
    if (facts.entriesUnreadable) {
        const std::string folder(std::string_view(name).substr(0, FolderPartLength(name)));
        if (context_ && unreadable_.insert(folder).second)
            context_->Echo("The status of the files in " + folder +
                           " is unknown: its CVS/Entries cannot be read. Check that you may "
                           "read it, then refresh.\n");
        return SCC_STATUS_INVALID;
    }
    if (!facts.listed)
        return SCC_STATUS_NOTCONTROLLED;
    SccLong status = SCC_STATUS_CONTROLLED;
    if (facts.exists) {
        // Written by someone else (cvs, on update) and still what cvs wrote: the provider's
        // mark goes back on. Not on a checked-out file, which the user may still edit.
        if (facts.unchanged && facts.writable && facts.archive && !facts.baseCopy) {
            MakeReadOnly(name);
            facts.writable = false;
        }
        if (MayEdit(facts))
            status |= kMayEdit;
    } else if (facts.baseCopy) {
        status |= kMayEdit;
    }
    return status;
}

CCVSController& StatusQuery::Controller() {
    if (!controller_)
        controller_ = std::make_unique<CCVSController>(*context_);
    return *controller_;
}

} // namespace

void QueryFileStatus(CCVSContext* context, SccLong count, const char** names, SccLong* status) {
    StatusQuery query(context);
    for (SccLong i = 0; i < count; ++i) {
        const std::string name(NameAt(names, i));
        if (name.find(".~sak") != std::string::npos)
            continue;
        const SccLong answer = name.empty() ? SCC_STATUS_NOTCONTROLLED : query.FileStatus(name);
        if (status)
            status[i] = answer;
    }
}

void PopulateFileList(CCVSContext* context, SccLong command, SccLong count, const char** names,
                      POPLISTFUNC populate, void* callerData, SccLong* status, SccLong options) {
    if (count <= 0)
        return;
    CStatusReader reader;
    if (options & SCC_PL_DIR) {
        if (!context)
            return;
        CCVSController controller(*context);
        const std::string root = context->GetCVSRoot();
        for (SccLong i = 0; i < count; ++i) {
            const std::string folder(NameAt(names, i));
            if (folder.empty())
                continue;
            const std::string repository =
                DeriveRepositoryPath(folder, context->GetLocalPath(), context->GetProjectModule());
            const std::vector<CCVSModuleEntry> listing =
                controller.GetModules(root, repository, false, true);
            // Bound to the path that was listed, and only when the repository has it: a
            // folder bound to a path the repository lacks can never be added.
            if (!IsCVSFolder(folder) &&
                (!listing.empty() || controller.TestModule(root, repository))) {
                CreateAdminFolder(folder, root, repository);
                reader.Forget();
            }
            for (const CCVSModuleEntry& entry : listing) {
                if (!entry.IsFile())
                    continue;
                const std::string file = NormalizePath(JoinPath(folder, entry.name));
                const WorkingFileFacts facts = reader.Read(file);
                const SccLong listStatus = facts.listed && MayEdit(facts)
                                               ? SCC_STATUS_CONTROLLED | SCC_STATUS_CHECKEDOUT
                                               : SCC_STATUS_CONTROLLED;
                if (!populate)
                    continue;
                std::vector<char> buffer(file.begin(), file.end());
                buffer.push_back('\0');
                if (command != SCC_COMMAND_UNCHECKOUT)
                    populate(callerData, 1, listStatus, buffer.data());
                else if (listStatus & SCC_STATUS_CHECKEDOUT)
                    populate(callerData, 1, SCC_STATUS_CHECKEDOUT, buffer.data());
            }
        }
        return;
    }
    if (command != SCC_COMMAND_GET)
        return;
    for (SccLong i = 0; i < count; ++i) {
        const std::string name(NameAt(names, i));
        if (name.empty() || GetFileNamePart(name).empty())
            continue;
        const WorkingFileFacts facts = reader.Read(name);
        if (facts.folder || !facts.listed || !status)
            continue;
        status[i] = SCC_STATUS_CONTROLLED | (MayEdit(facts) ? SCC_STATUS_CHECKEDOUT : 0);
    }
}
