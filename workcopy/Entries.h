// workcopy/Entries.h - a folder's CVS/Entries file, and the process-wide cache of them.
//
// An Entries line is a run of fields separated by '/', without quoting. Field k is the text
// after the (k+1)-th '/' up to the next '/' or the end; text before the first '/' (the D
// of a folder line) belongs to no field, and a missing field is empty:
//
//   field      0 name   1 revision   2 timestamp                 3 options   4 tag or date
//   "/a.c/1.3/Sun Nov  6 08:49:37 1994/-kb/Trel"  =>  a.c, 1.3, "Sun Nov  6 08:49:37 1994", -kb,
//   Trel "D/sub////"                                    =>  sub, "", "", "", ""
//
// A line's key is its name; on Windows with ASCII letters folded to lower case, since file
// names there ignore case. Empty lines and lines without '/' share the empty key, and of
// several lines with one key the last wins.
//
// The cache reads a folder's Entries file once and again only when the file's stamp changes:
// its last-write time at the file system's full resolution, its size and, on POSIX, its
// identity, since cvs replaces Entries by renaming a new file over it (see
// platform::FileStamp). Two writes within one second are both seen; a query costs one look-up
// of the file. Objects it hands out are shared and never change, so a caller may keep reading
// one after another thread has replaced or cleared it.
#pragma once

#include "platform/FileSystem.h"
#include "platform/PathStyle.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

// One line of an Entries file, as raw text without its line end.
struct CCVSEntry {
    std::string line;

    std::string Field(int k) const;
};

// Field k of an Entries line (see above); empty when the line has fewer fields.
std::string GetEntryField(std::string_view line, int k);

// The key under which a line, or a file name, is stored.
std::string EntryKeyOf(std::string_view name,
                       platform::PathStyle style = platform::kNativePathStyle);

class CCVSEntries {
public:
    // Splits Entries content into lines; CR LF and a lone LF both end a line.
    static CCVSEntries Parse(std::string_view content, std::string path, platform::FileStamp stamp,
                             platform::PathStyle style = platform::kNativePathStyle);

    // The line stored for a file name, or an empty text.
    std::string GetEntryLine(const std::string& name) const;

    const std::string& Path() const { return path_; }
    const platform::FileStamp& Stamp() const { return stamp_; }
    const std::map<std::string, CCVSEntry>& Lines() const { return lines_; }

private:
    std::string path_;          // normalized path of the Entries file: the cache key
    platform::FileStamp stamp_; // of the file, taken just before it was read
    std::map<std::string, CCVSEntry> lines_;
    platform::PathStyle style_ = platform::kNativePathStyle;
};

// The one process-wide map from Entries path to its parsed content, under one lock.
class EntriesCache {
public:
    static EntriesCache& Instance();

    // The current content of an Entries file, from the cache or freshly read; null when the
    // file cannot be read (nothing is cached then).
    std::shared_ptr<const CCVSEntries> Get(const std::string& entriesPath);
    void Clear();
    size_t Size() const;
    // How many times a file was read; lets tests see that a query was served from memory.
    unsigned long Loads() const;

private:
    mutable std::mutex lock_;
    std::map<std::string, std::shared_ptr<const CCVSEntries>> objects_; // by EntryKeyOf(path)
    unsigned long loads_ = 0;
};

// The Entries file that governs a path: the folder's own for a folder, else its parent's.
std::string GetEntriesPath(const std::string& path);
std::shared_ptr<const CCVSEntries> GetCachedEntries(const std::string& entriesPath);
void ClearEntriesCache();

// Fields 1 to 4 of the Entries line of a file; empty when there is no such line or file.
std::string GetEntryRevision(const std::string& path);
std::string GetEntryTimestamp(const std::string& path);
std::string GetEntryOptions(const std::string& path);
std::string GetEntryTagDate(const std::string& path);

// The file is listed in the Entries file of its folder (which must exist).
bool IsInEntries(const std::string& path);
// The path is a folder that has a CVS/Entries file.
bool IsCVSFolder(const std::string& path);
