// workcopy/FileStatus.h - the per-file facts from which status is decided.
//
//   Is the file present?                         PathExists
//   Does it still hold what CVS last wrote?      IsFileUnchanged (asked for present files)
//   Is it being edited ("cvs edit" done)?        PathExists(GetBaseCopyPath(file))
//   Did the provider make it writable, with no   IsWritable && !IsArchiveSet
//   write since?
//
// The provider marks files it made read-only with both the read-only and the archive
// attribute and clears both when it makes a file writable; every write sets the archive
// attribute again (emulated on POSIX, see platform/FileSystem.h).
#pragma once

#include <cstdint>
#include <string>

// A time as the Entries timestamps spell it, but with a zero-padded day of month:
// "%a %b %d %H:%M:%S %Y" in UTC and in English, e.g. "Sun Nov 06 08:49:37 1994".
std::string FormatFileTime(int64_t unixSeconds);

// The last-write time of a file as FormatFileTime text; empty for a folder or a missing path.
std::string GetFileTimeText(const std::string& path);

// True exactly when the Entries timestamp of the file, its space-padded day of month made
// zero-padded, equals the file's time text. No tolerance; a merge note, a conflict note or
// a missing line never matches.
bool IsFileUnchanged(const std::string& path);

// The path of the file's base copy in CVS/Base of its folder; creates that folder when the
// file's path is absolute (a bare or relative name gives the path and creates nothing).
std::string GetBaseCopyPath(const std::string& path);

bool IsArchiveSet(const std::string& path); // true for a missing file
bool IsWritable(const std::string& path);   // false for a missing file
// Set or clear the read-only and archive attributes together. Always true.
bool MakeReadOnly(const std::string& path);
bool MakeWritable(const std::string& path);
