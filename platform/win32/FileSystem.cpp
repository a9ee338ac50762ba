// platform/win32/FileSystem.cpp - Win32 files, folders, attributes and times.
#include "platform/FileSystem.h"
#include "platform/win32/Win32.h"

#include <algorithm>
#include <atomic>
#include <string>

namespace platform {
namespace {

DirEntry EntryFrom(const WIN32_FIND_DATAA& data) {
    DirEntry entry;
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    entry.lastWriteTime = win32::FileTimeToUnix(data.ftLastWriteTime);
    entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (entry.IsFolder())
        entry.size = 0;
    entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return entry;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Characters no Windows name can hold, which FindFirstFile would take as wildcards in the
// last component ('<', '>' and '"' are its DOS forms of '*', '?' and '.'): a path whose name
// holds one names nothing. Elsewhere in the path they only make the look-up fail, and the
// "\\?\" prefix of long paths must pass.
bool NameHoldsWildcards(const std::string& path) {
    std::string::size_type sep = path.find_last_of("\\/");
    return path.find_first_of("*?<>\"", sep == std::string::npos ? 0 : sep + 1) !=
           std::string::npos;
}

int64_t Ticks(const FILETIME& ft) {
    return static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) |
                                ft.dwLowDateTime);
}

} // namespace

uint32_t GetAttributes(const std::string& path) {
    if (win32::Injected(FaultKind::Lookup, ERROR_ACCESS_DENIED, "GetAttributes", path))
        return kInvalidAttributes;
    return path.empty() ? kInvalidAttributes : ::GetFileAttributesA(path.c_str());
}

bool SetAttributes(const std::string& path, uint32_t attributes) {
    if (win32::Injected(FaultKind::File, ERROR_ACCESS_DENIED, "SetAttributes", path))
        return false;
    DWORD current = ::GetFileAttributesA(path.c_str());
    if (current == INVALID_FILE_ATTRIBUTES)
        return false;
    DWORD wanted =
        (current & ~DWORD(kAttrReadOnly | kAttrArchive | kAttrNormal | FILE_ATTRIBUTE_DIRECTORY)) |
        (attributes & (kAttrReadOnly | kAttrArchive));
    if (wanted == 0)
        wanted = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileAttributesA(path.c_str(), wanted) != 0;
}

std::optional<DirEntry> FindEntry(const std::string& path) {
    if (win32::Injected(FaultKind::Lookup, ERROR_ACCESS_DENIED, "FindEntry", path))
        return std::nullopt;
    if (path.empty() || IsSeparator(path.back()) || NameHoldsWildcards(path))
        return std::nullopt;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return std::nullopt;
    ::FindClose(find);
    return EntryFrom(data);
}

std::optional<FileStamp> GetFileStamp(const std::string& path) {
    if (win32::Injected(FaultKind::Lookup, ERROR_ACCESS_DENIED, "GetFileStamp", path))
        return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileStamp stamp;
    stamp.lastWrite = Ticks(data.ftLastWriteTime);
    stamp.changed = Ticks(data.ftCreationTime);
    stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return stamp;
}

bool ListFolderNames(const std::string& folder, std::vector<std::string>& names) {
    std::vector<DirEntry> entries;
    if (!ListFolder(folder, entries))
        return false;
    for (DirEntry& entry : entries)
        names.push_back(std::move(entry.name));
    return true;
}

PathFacts GetPathFacts(const std::string& path, ArchiveBit) {
    if (win32::Injected(FaultKind::Lookup, ERROR_ACCESS_DENIED, "GetPathFacts", path))
        return PathFacts();
    PathFacts facts;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return facts;
    facts.exists = true;
    facts.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.archive = (data.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
    facts.archiveKnown = true;
    facts.lastWriteTime = win32::FileTimeToUnix(data.ftLastWriteTime);
    facts.size =
        facts.folder ? 0 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return facts;
}

std::optional<FileTimes> GetFileTimes(const std::string& path) {
    if (win32::Injected(FaultKind::Lookup, ERROR_ACCESS_DENIED, "GetFileTimes", path))
        return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileTimes times;
    times.created = win32::FileTimeToUnix(data.ftCreationTime);
    times.modified = win32::FileTimeToUnix(data.ftLastWriteTime);
    times.accessed = win32::FileTimeToUnix(data.ftLastAccessTime);
    return times;
}

bool ListFolder(const std::string& folder, std::vector<DirEntry>& entries) {
    if (win32::Injected(FaultKind::Folder, ERROR_ACCESS_DENIED, "ListFolder", folder))
        return false;
    std::string pattern = folder;
    if (!pattern.empty() && !IsSeparator(pattern.back()))
        pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            entries.push_back(EntryFrom(data));
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return true;
}

// Exists, IsFolder and ListFolderNames fail through the calls they are made of, so that one
// look-up counts once.
bool Exists(const std::string& path) {
    return GetAttributes(path) != kInvalidAttributes;
}

bool IsFolder(const std::string& path) {
    DWORD a = GetAttributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& path) {
    if (win32::Injected(FaultKind::Folder, ERROR_ACCESS_DENIED, "MakeFolder", path))
        return false;
    if (path.empty())
        return false;
    return ::CreateDirectoryA(path.c_str(), nullptr) || IsFolder(path);
}

bool MakeFolderTree(const std::string& path) {
    if (path.empty())
        return false;
    std::string trimmed = path;
    while (trimmed.size() > 3 && IsSeparator(trimmed.back()))
        trimmed.pop_back();
    if (IsFolder(trimmed))
        return true;
    std::string::size_type sep = trimmed.find_last_of("\\/");
    if (sep != std::string::npos && sep > 0) {
        std::string parent = trimmed.substr(0, sep);
        if (parent.size() == 2 && parent[1] == ':')
            parent += '\\';
        if (!IsFolder(parent) && !MakeFolderTree(parent))
            return false;
    }
    return MakeFolder(trimmed);
}

bool RemoveEmptyFolder(const std::string& path) {
    if (win32::Injected(FaultKind::Folder, ERROR_ACCESS_DENIED, "RemoveEmptyFolder", path))
        return false;
    return !path.empty() && ::RemoveDirectoryA(path.c_str());
}

bool RemoveLink(const std::string& path) {
    if (win32::Injected(FaultKind::File, ERROR_ACCESS_DENIED, "RemoveLink", path))
        return false;
    DWORD a = GetAttributes(path);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryA(path.c_str()) != 0
                                          : ::DeleteFileA(path.c_str()) != 0;
}

bool DeleteFileAt(const std::string& path) {
    if (win32::Injected(FaultKind::File, ERROR_ACCESS_DENIED, "DeleteFileAt", path))
        return false;
    return !path.empty() && ::DeleteFileA(path.c_str());
}

bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
    if (win32::Injected(FaultKind::File, ERROR_WRITE_FAULT, "CopyFileTo", to))
        return false;
    return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool MoveFileTo(const std::string& from, const std::string& to, bool replace) {
    if (win32::Injected(FaultKind::File, ERROR_ACCESS_DENIED, "MoveFileTo", to))
        return false;
    DWORD flags = MOVEFILE_COPY_ALLOWED | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return ::MoveFileExA(from.c_str(), to.c_str(), flags) != 0;
}

bool ReadWholeFile(const std::string& path, std::string& content, size_t limit) {
    content.clear();
    if (win32::Injected(FaultKind::File, ERROR_ACCESS_DENIED, "ReadWholeFile", path))
        return false;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size)) {
        ::CloseHandle(file);
        return false;
    }
    // One more byte than the file is said to hold, so that a single read sees its end.
    content.resize(std::min(static_cast<size_t>(size.QuadPart) + 1, limit));
    size_t got = 0;
    bool ok = true;
    while (got < limit) {
        if (got == content.size()) // it grew since it was measured
            content.resize(std::min(content.size() * 2 + 1, limit));
        const DWORD want = static_cast<DWORD>(std::min<size_t>(content.size() - got, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(file, &content[got], want, &n, nullptr)) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    content.resize(got);
    ::SetLastError(error);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    // An injected fault fails the bytes' write, as a full disk would: the temporary file
    // exists by then and must go again.
    const bool writeFails = FaultDue(FaultKind::File, "WriteWholeFile", path);
    // Refused before anything is written: a folder, and a read-only file, which Windows
    // does not replace; asked here, so that no system's rename decides otherwise.
    const DWORD old = ::GetFileAttributesA(path.c_str());
    if (old != INVALID_FILE_ATTRIBUTES &&
        (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // A name of this process's own beside the target, created only if absent, so that two
    // writers never share one.
    static std::atomic<unsigned> serial{0};
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temp = path + ".morvek-new-" + std::to_string(::GetCurrentProcessId()) + "-" +
               std::to_string(serial.fetch_add(1));
        file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = !writeFails;
    if (writeFails)
        ::SetLastError(ERROR_WRITE_FAULT);
    for (size_t done = 0; ok && done < content.size();) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        DWORD n = 0;
        ok = ::WriteFile(file, content.data() + done, want, &n, nullptr) && n > 0;
        done += n;
    }
    ok = ::CloseHandle(file) && ok;
    // While another opens the target (a reader, a writer's own rename, a virus scanner) the
    // rename is refused for a moment; it is tried again for up to about a quarter second.
    for (DWORD wait = 1; ok; wait *= 2) {
        if (::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
            break;
        const DWORD error = ::GetLastError();
        ok = wait <= 128 && (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION);
        if (ok)
            ::Sleep(wait);
        else
            ::SetLastError(error);
    }
    if (!ok) {
        const DWORD error = ::GetLastError();
        ::DeleteFileA(temp.c_str());
        ::SetLastError(error);
    }
    return ok;
}

bool SetLastWriteTime(const std::string& path, int64_t unixSeconds, long nanoseconds) {
    if (win32::Injected(FaultKind::File, ERROR_ACCESS_DENIED, "SetLastWriteTime", path))
        return false;
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME ft = win32::UnixToFileTime(unixSeconds);
    const uint64_t ticks = ((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) +
                           static_cast<uint64_t>(nanoseconds / 100);
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    BOOL ok = ::SetFileTime(file, nullptr, nullptr, &ft);
    ::CloseHandle(file);
    return ok != 0;
}

bool SetCurrentFolder(const std::string& path) {
    if (win32::Injected(FaultKind::Folder, ERROR_ACCESS_DENIED, "SetCurrentFolder", path))
        return false;
    return !path.empty() && ::SetCurrentDirectoryA(path.c_str());
}

std::string GetCurrentFolder() {
    if (win32::Injected(FaultKind::Folder, ERROR_ACCESS_DENIED, "GetCurrentFolder", std::string()))
        return std::string();
    char buffer[5000];
    DWORD n = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string GetTempFolderPath() {
    char buffer[5000];
    DWORD n = ::GetTempPathA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

} // namespace platform
