// platform/FileSystem.h - files, folders, attributes and times.
//
// Paths are narrow strings (the ANSI code page on Windows, bytes on POSIX). Functions never
// throw; a bool result is true on success and says nothing else.
//
// Attributes use the Windows bits on every platform. On POSIX:
//  - read-only means "no write permission bit is set"; clearing it gives the owner write
//    permission back;
//  - the archive bit means "written since it was last cleared", as on Windows. Clearing it
//    records the file's modification time and size in the extended attribute
//    "user.morvek.archive"; the bit reads as set unless that record is present and still
//    matches the file. Any write, or a new file put in its place, therefore sets it again.
//    Where extended attributes are unsupported the bit always reads as set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;
// What GetAttributes answers for a path that cannot be found (every bit set).
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// One entry of a folder, or the entry a path names.
struct DirEntry {
    std::string name;          // the last component as stored on disk (letter case, long name)
    uint32_t attributes = 0;   // kAttr* bits
    int64_t lastWriteTime = 0; // seconds since 1970-01-01 00:00:00 UTC; may be negative
    uint64_t size = 0;         // bytes; 0 for folders
    bool isLink = false;       // a symbolic link or junction; the other fields describe its target
    bool IsFolder() const { return (attributes & kAttrDirectory) != 0; }
};

uint32_t GetAttributes(const std::string& path);
// Sets the read-only and archive bits as given; other bits are ignored.
bool SetAttributes(const std::string& path, uint32_t attributes);

// Looks the path up the way FindFirstFile does: the entry itself, never its contents, and
// never as a pattern. A path ending in a separator is not found. On Windows, where '*', '?',
// '<', '>' and '"' cannot be part of a name but would be read as wildcards, a path whose
// last component holds one is not found; on POSIX they are ordinary characters of a name.
std::optional<DirEntry> FindEntry(const std::string& path);
// The entries of a folder, without "." and "..", in the order the system gives them.
// False when the folder cannot be listed.
bool ListFolder(const std::string& folder, std::vector<DirEntry>& entries);

// The names in a folder, without "." and "..": a listing that looks at nothing but the names
// (on POSIX, ListFolder looks up every entry). False when the folder cannot be listed.
bool ListFolderNames(const std::string& folder, std::vector<std::string>& names);

// What one look-up of a path tells about it (stat on POSIX, GetFileAttributesEx on Windows),
// for readers that ask about many files at once. On POSIX the archive bit costs a second call
// (its extended attribute); a reader that needs it only for files with write permission says
// so, and for a read-only file archiveKnown is then false and archive means nothing.
struct PathFacts {
    bool exists = false;
    bool folder = false;
    bool readOnly = false;
    bool archive = false;
    bool archiveKnown = false;
    int64_t lastWriteTime = 0; // seconds since 1970-01-01 00:00:00 UTC, as DirEntry has it
    uint64_t size = 0;         // bytes; 0 for folders
};
enum class ArchiveBit { Always, OnlyIfWritable };
PathFacts GetPathFacts(const std::string& path, ArchiveBit archive = ArchiveBit::Always);

// What tells one state of a file from another, taken by a single look-up of the path (stat
// on POSIX, GetFileAttributesEx on Windows), so that a reader can tell whether a file it read
// before has changed without reading it again. Compare stamps only for equality: the fields
// mean different things on each platform.
//   lastWrite   POSIX: nanoseconds since 1970; Windows: 100-ns ticks since 1601. Either at
//               the resolution the file system keeps (2 s on FAT).
//   changed     POSIX: the status-change time (a write, a rename, chmod) in nanoseconds;
//               Windows: the creation time.
//   size        bytes.
//   device, id  POSIX: st_dev and st_ino, the file's identity: a file renamed over the name
//               is never the file it replaces. Windows: 0. The file index needs the file opened
//               (CreateFile, GetFileInformationByHandle, CloseHandle: three calls, and an open
//               handle that can collide with a writer's sharing mode), so it is left out; a file
//               renamed into place still shows through its own write time, creation time and size.
// No stamp shows two rewrites in place, of the same size, within one tick of the clock the
// file system takes its times from (a few milliseconds).
struct FileStamp {
    int64_t lastWrite = 0;
    int64_t changed = 0;
    uint64_t size = 0;
    uint64_t device = 0;
    uint64_t id = 0;

    bool operator==(const FileStamp& o) const {
        return lastWrite == o.lastWrite && changed == o.changed && size == o.size &&
               device == o.device && id == o.id;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
// None when the path cannot be found.
std::optional<FileStamp> GetFileStamp(const std::string& path);

bool Exists(const std::string& path);   // a file or a folder is there
bool IsFolder(const std::string& path); // an existing folder

bool MakeFolder(const std::string& path);     // one level; true if it now exists as a folder
bool MakeFolderTree(const std::string& path); // with missing parents; true if it now exists
bool RemoveEmptyFolder(const std::string& path);
// Removes a symbolic link or junction itself, never what it points to.
bool RemoveLink(const std::string& path);
// Deletes a file. As on Windows, a read-only file is not deleted.
bool DeleteFileAt(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists);
// Renames or moves; an existing target is replaced when replace is true.
bool MoveFileTo(const std::string& from, const std::string& to, bool replace);

// A file's bytes as they are on disk (no line-end conversion), at most limit of them; the
// rest is not read. False when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content, size_t limit = SIZE_MAX);
// Replaces a file's bytes with content, or makes the file: written to a new file beside it,
// then renamed over it, so that a failed write leaves the old file whole and never half a
// new one. The new file keeps an existing file's permissions. As on Windows, a read-only
// file is not replaced.
bool WriteWholeFile(const std::string& path, const std::string& content);

// A file's three times, in seconds since 1970-01-01 00:00:00 UTC. created: when the file
// came into being (POSIX: its birth time where the file system keeps one, else the earlier
// of its last status change and last write).
struct FileTimes {
    int64_t created = 0;
    int64_t modified = 0;
    int64_t accessed = 0;
};
// None when the path cannot be found.
std::optional<FileTimes> GetFileTimes(const std::string& path);

// Seconds since 1970 and the nanoseconds within that second (Windows keeps 100-ns steps).
bool SetLastWriteTime(const std::string& path, int64_t unixSeconds, long nanoseconds = 0);

// The process-wide current folder.
bool SetCurrentFolder(const std::string& path);
std::string GetCurrentFolder();
// The folder for temporary files, with its trailing separator (GetTempPath on Windows;
// $TMPDIR or /tmp on POSIX).
std::string GetTempFolderPath();

} // namespace platform
