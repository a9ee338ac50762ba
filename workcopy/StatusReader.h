// workcopy/StatusReader.h - the facts of many working files at once, for one status question.
//
// The host asks for the status of thousands of files at a time, and asks again whenever it
// likes. A reader answers the per-file questions of FileStatus.h for a list of files with one
// look-up of each file (one stat on POSIX, and one extended attribute for a writable file);
// what belongs to a folder (its Entries, its base copies) it reads once per folder while it
// lives. It keeps no answer from one question to the next: only the Entries cache outlives it,
// and that notices every change of an Entries file. A reader lives for one question; whoever
// changes a folder's administrative files meanwhile (unbinds it, fetches it) calls Forget.
//
// Like GetBaseCopyPath, a reader makes a folder's CVS/Base when it looks for base copies
// there and the folder is missing.
#pragma once

#include "workcopy/Entries.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What the status rules ask of one file. A fact the rules cannot ask, given the others, is
// not read and keeps its default: unchanged for a file that is missing or not listed,
// archive for a file that is read-only (it reads as set), baseCopy for a file that is
// not listed, or present and changed.
struct WorkingFileFacts {
    bool folder = false;    // the path is a folder: nothing else is read
    bool listed = false;    // IsInEntries
    bool exists = false;    // PathExists
    bool unchanged = false; // IsFileUnchanged
    bool writable = false;  // IsWritable
    bool archive = true;    // IsArchiveSet
    bool baseCopy = false;  // PathExists(GetBaseCopyPath)
    // CVS/Entries of the folder is there but could not be read: nothing above is known.
    bool entriesUnreadable = false;
};

class CStatusReader {
public:
    WorkingFileFacts Read(const std::string& path);
    // The folder's Entries (null when it has none), as this reader sees it.
    std::shared_ptr<const CCVSEntries> EntriesOf(const std::string& normalizedFolder);
    // Drops what was read of every folder.
    void Forget();

private:
    struct Folder {
        std::string path; // normalized
        std::shared_ptr<const CCVSEntries> entries;
        bool unreadable = false;                            // Entries is there, yet gave no lines
        std::optional<std::vector<std::string>> baseCopies; // sorted keys, read when first asked
    };
    Folder& FolderOf(std::string_view given);
    bool HasBaseCopy(Folder& folder, std::string_view name);

    std::unordered_map<std::string, Folder> folders_; // by the folder as the caller spelt it
    Folder* last_ = nullptr;                          // the folder of the previous file
    std::string lastKey_;
};
