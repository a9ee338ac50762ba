// workcopy/PathFunctions.h - the canonical form of paths, used by every floor above.
//
// The working-copy folder reads a CVS working copy without running CVS: path functions,
// the Entries files and their cache, the per-file status predicates, small file utilities
// and the binding of folders to a repository. It knows nothing of CVS commands.
//
// Paths are narrow strings; either separator is accepted on input, and results use the
// platform's separator. The lexical functions take a PathStyle (default: the platform's)
// so that the Windows rules are tested everywhere:
//
//   GetParentFolder        Windows                      Posix
//     "C:\a\b.c"        => "C:\a"        "/a/b.c"    => "/a"
//     "C:\a"            => "C:"          "/a"        => "/"
//     "C:\"             => ""            "/"         => ""
//     "name"            => ""            "name"      => ""
//
// NormalizePath brings an existing path into its on-disk form: on Windows every existing
// component takes its stored letter case and long name, separators become '\', and a
// trailing separator is dropped; a missing last component keeps the form it was given in.
// On POSIX the on-disk form of a path is the path itself, so only the separators and the
// trailing separator change and no lookup is made.
#pragma once

#include "platform/PathStyle.h"

#include <functional>
#include <optional>
#include <string>

using platform::PathStyle;

// What NormalizePath asks of the file system, so that the resolution rules can be run
// against a table in tests.
struct PathLookup {
    // The stored name of the last component of an existing path (FindFirstFile), or none.
    std::function<std::optional<std::string>(const std::string&)> storedName;
    // Whether the path is an existing folder (GetFileAttributes reports a directory).
    std::function<bool(const std::string&)> isFolder;
};

std::string NormalizePath(const std::string& path);
std::string NormalizePath(const char* path); // null counts as empty
std::string NormalizePathWith(const std::string& path, PathStyle style, const PathLookup& lookup);

std::string GetParentFolder(const std::string& path, PathStyle style = platform::kNativePathStyle);
std::string GetParentFolderNormalized(const std::string& path);
// The text after the last separator; empty when the path ends with one; the whole path
// when it has none.
std::string GetFileNamePart(const std::string& path);
// folder := NormalizePath(folder + separator + name), without doubling a separator that
// is already there. An empty folder gives the name alone: a bare name stays relative and
// never turns into a path at the root.
void AppendPath(std::string& folder, const std::string& name);
// A path that names the same place whatever the current folder: on Windows one beginning
// with a drive and a separator (C:\) or two separators (\\server\share); on POSIX one
// beginning with a separator. "C:x" and "\x" depend on the current drive's folder and are
// relative.
bool IsAbsolutePath(const std::string& path, PathStyle style = platform::kNativePathStyle);

// True for an existing folder; for a missing path, true when it ends with a separator.
bool IsDirectoryPath(const std::string& path);
bool PathExists(const std::string& path);

// Joins a folder and a relative name with one separator, without touching the disk. An
// empty folder gives the name itself (relative to the current folder).
std::string JoinPath(const std::string& folder, const std::string& name,
                     PathStyle style = platform::kNativePathStyle);

inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}
