// workcopy/FileUtilities.h - small file and text functions shared by the interface, the CVS
// operations and the dialogs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What path-producing operations return when there is no path.
constexpr const char* kInvalidPathResult = "invalid";
// False exactly for the failure marker "invalid" (letter case and blanks count).
bool IsValidPathResult(const std::string& text);

// True when the path exists; otherwise creates it with its missing parents.
bool EnsureFolder(const std::string& path);
// The path itself for a folder; else the path without its last component, keeping a root's
// separator: C:\a\b.c gives C:\a, C:\b.c gives C:\, /b.c gives /.
std::string GetFolderOfPath(const std::string& path);
// How much of a path names the folder of its last component, as GetFolderOfPath takes it for
// a file, without looking at the disk: 0 for a bare name.
size_t FolderPartLength(std::string_view path);
// Clears the read-only and archive attributes, then deletes the file; true when deleted.
bool RemoveFile(const std::string& path);
// True when both files can be read and hold the same bytes.
bool SameFileContent(const std::string& a, const std::string& b);
// Makes the folder (or the file's folder) the process-wide current folder. Always true.
bool SetCurrentFolderTo(const std::string& path);
std::string GetCurrentFolder();
// The temporary folder, normalized (no trailing separator).
std::string GetTempFolder();

enum TextEncoding {
    kEncodingUnknown = 0, // a folder, or a file that cannot be opened
    kEncodingText = 1,
    kEncodingUnicode = 2, // added with -ku
    kEncodingBinary = 3,  // added with -kb
};
// Classifies a file by its first 255 bytes, read as a text-mode stream (CR LF as LF, 0x1A
// ends the data): Unicode when it looks like UTF-16 (or starts FE FF), text when every byte
// is printable ASCII or white space (or it starts with the UTF-8 byte-order mark), binary
// otherwise. An empty file is text.
int DetectTextEncoding(const std::string& path);

// 0 when the texts are equal after lower-casing (null counts as empty); otherwise the byte
// order of the lower-cased texts. For texts that are not file names: it folds everywhere.
int CompareNoCase(const char* a, const char* b);
int CompareNoCase(const std::string& a, const std::string& b);
// Compares two folder paths as the platform's file names compare: without letter case on
// Windows, exactly on POSIX.
bool SamePath(const std::string& a, const std::string& b);

// The provider module's product version, "major.minor.build.revision".
std::string GetModuleVersionText();
