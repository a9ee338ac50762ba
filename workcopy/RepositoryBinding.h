// workcopy/RepositoryBinding.h - how a working folder is bound to a repository: its
// CVS/Root (which repository), CVS/Repository (which path in it) and CVS/Entries (which
// files); creating, reading and removing that binding, and finding the top of a working copy.
//
// Administrative files are written with the platform's text line end (LF on POSIX, where
// GNU cvs refuses CR LF) and read with either. The functions that write or delete them take
// only absolute folders and refuse (false, or nothing done) an empty or relative one: a bare
// file name has no folder, and the current folder is process-wide and changed by others.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The longest first lines the readers take, with room for a terminating NUL: cvs itself reads
// these files into buffers of this size.
constexpr size_t kRepositoryLineBuffer = 10000;
constexpr size_t kRootLineBuffer = 2000;

// The first line of an administrative file's content, without its line end (LF or CR LF);
// none when the content is empty or its first line does not fit the buffer with its NUL. The
// readers below give it at most the buffer's size of the file.
std::optional<std::string> FirstAdminLine(std::string_view content, size_t buffer);

// The first line of the folder's own CVS/Repository (a file's folder, or the folder itself);
// empty when it is missing, empty or its first line has 10,000 characters or more.
std::string ReadRepository(const std::string& path);
// The first line of the nearest CVS/Root at or above the path; empty when there is none.
// Walking upward, an empty or unreadable Root is passed over; a CVS/Root directly below the
// given path is taken as it is, even when empty.
std::string ReadRoot(const std::string& path);
// The repository path of the folder: the nearest CVS/Repository at or above it, followed by
// the names of the folders between, joined by '/'.
std::string GetModulePath(const std::string& path);
// The first line of the folder's own CVS/Repository, the path taken as a folder whatever a
// look-up says of it; none when the file cannot be read.
std::optional<std::string> ReadFolderRepository(const std::string& folder);
// The repository path of a folder inside a project whose local path and module are given.
std::string DeriveRepositoryPath(const std::string& path, const std::string& projectPath,
                                 const std::string& module);
// The highest folder of the unbroken chain of working folders that starts at the nearest
// working folder at or above the path; "invalid" when there is none.
std::string FindWorkingCopyTop(const std::string& path);

// Creates or refreshes the CVS folder of the folder (or the file's folder): Root and
// Repository with one line each, an empty Entries file (an existing one is emptied) and a
// Base folder. Meant for folders that are not yet working folders.
bool CreateAdminFolder(const std::string& path, const std::string& root,
                       const std::string& repository);
// Deletes the CVS folder of a working folder with everything in it; true when it is gone.
// Makes the folder the process-wide current folder.
bool RemoveAdminFolder(const std::string& folder);
// RemoveAdminFolder for the folder (or the file's folder) and every folder below it.
void RemoveAdminFolderTree(const std::string& path);
// Deletes every file and folder inside the folder; read-only files stay. True when the folder
// could be listed. Links are removed as links and never followed, so nothing outside the
// folder is touched.
bool DeleteFolderContents(const std::string& folder);
