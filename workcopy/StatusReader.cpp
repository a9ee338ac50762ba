// workcopy/StatusReader.cpp - per-file facts with one look-up of each file.
#include "workcopy/StatusReader.h"

#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

#include <algorithm>

WorkingFileFacts CStatusReader::Read(const std::string& path) {
    WorkingFileFacts facts;
    const platform::PathFacts seen =
        platform::GetPathFacts(path, platform::ArchiveBit::OnlyIfWritable);
    if (seen.folder || (!seen.exists && !path.empty() && IsPathSeparator(path.back()))) {
        facts.folder = true;
        return facts;
    }
    facts.exists = seen.exists;
    facts.writable = seen.exists && !seen.readOnly;
    if (seen.archiveKnown)
        facts.archive = seen.archive;

    const size_t split = FolderPartLength(path);
    Folder& folder = FolderOf(std::string_view(path).substr(0, split));
    std::string_view name = std::string_view(path).substr(split);
    if (!name.empty() && IsPathSeparator(name.front()))
        name.remove_prefix(1);
    if (folder.unreadable) {
        facts.entriesUnreadable = true;
        return facts;
    }
    const std::string_view line =
        folder.entries ? folder.entries->FindLine(name) : std::string_view();
    facts.listed = !line.empty();
    if (!facts.listed)
        return facts;
    if (facts.exists)
        facts.unchanged = TimestampMatches(EntryFieldOfLine(line, 2), seen.lastWriteTime);
    if (!facts.exists || facts.unchanged)
        facts.baseCopy = HasBaseCopy(folder, name);
    return facts;
}

std::shared_ptr<const CCVSEntries> CStatusReader::EntriesOf(const std::string& normalizedFolder) {
    return FolderOf(normalizedFolder).entries;
}

void CStatusReader::Forget() {
    folders_.clear();
    last_ = nullptr;
    lastKey_.clear();
}

CStatusReader::Folder& CStatusReader::FolderOf(std::string_view given) {
    // Hosts list the files of one folder together, so most files need no look-up at all.
    if (last_ && given == lastKey_)
        return *last_;
    lastKey_.assign(given.data(), given.size());
    auto it = folders_.find(lastKey_);
    if (it == folders_.end()) {
        Folder folder;
        folder.path = NormalizePath(lastKey_);
        const std::string entriesPath = JoinPath(JoinPath(folder.path, "CVS"), "Entries");
        folder.entries = GetCachedEntries(entriesPath);
        // A missing Entries means a folder cvs does not know; one that is there but cannot be
        // read says nothing, and must not pass for "not controlled".
        folder.unreadable = !folder.entries && platform::GetFileStamp(entriesPath).has_value();
        it = folders_.emplace(lastKey_, std::move(folder)).first;
    }
    last_ = &it->second;
    return *last_;
}

bool CStatusReader::HasBaseCopy(Folder& folder, std::string_view name) {
    if (!folder.baseCopies) {
        const std::string base = JoinPath(JoinPath(folder.path, "CVS"), "Base");
        std::vector<std::string> names;
        if (!platform::ListFolderNames(base, names))
            platform::MakeFolderTree(base);
        for (std::string& n : names)
            n = EntryKeyOf(n);
        std::sort(names.begin(), names.end());
        folder.baseCopies = std::move(names);
    }
    const std::vector<std::string>& copies = *folder.baseCopies;
    if (copies.empty())
        return false;
    if (platform::kFileNamesFoldCase)
        return std::binary_search(copies.begin(), copies.end(), EntryKeyOf(name));
    return std::binary_search(copies.begin(), copies.end(), name);
}
