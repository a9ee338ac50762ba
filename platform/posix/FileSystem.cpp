// platform/posix/FileSystem.cpp - POSIX files, folders, attributes and times.
//
// Only POSIX calls here. Read-only maps onto the write permission bits; the archive bit is
// emulated with an extended attribute (see platform/FileSystem.h).
#include "platform/FileSystem.h"
#include "platform/posix/Posix.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr const char* kArchiveAttr = "user.morvek.archive";

bool StatPath(const std::string& path, struct stat& st) {
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

// The record that marks a file's archive bit as cleared: its modification time to the
// nanosecond and its size, as they were when the bit was cleared.
std::string ArchiveRecord(const struct stat& st) {
    char text[96];
    std::snprintf(text, sizeof text, "%lld.%09ld:%lld", static_cast<long long>(st.st_mtim.tv_sec),
                  static_cast<long>(st.st_mtim.tv_nsec), static_cast<long long>(st.st_size));
    return text;
}

bool ArchiveIsClear(const std::string& path, const struct stat& st) {
    char stored[96];
    ssize_t n = ::getxattr(path.c_str(), kArchiveAttr, stored, sizeof stored - 1);
    if (n <= 0)
        return false;
    stored[n] = '\0';
    return ArchiveRecord(st) == stored;
}

uint32_t AttributesOf(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return kAttrDirectory | ((st.st_mode & 0222) == 0 ? kAttrReadOnly : 0);
    uint32_t attributes = 0;
    if ((st.st_mode & 0222) == 0)
        attributes |= kAttrReadOnly;
    if (!ArchiveIsClear(path, st))
        attributes |= kAttrArchive;
    return attributes ? attributes : kAttrNormal;
}

const char* LastComponent(const std::string& path) {
    std::string::size_type slash = path.find_last_of('/');
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

} // namespace

uint32_t GetAttributes(const std::string& path) {
    if (posix::Injected(FaultKind::Lookup, EACCES, "GetAttributes", path))
        return kInvalidAttributes;
    struct stat st;
    if (!StatPath(path, st))
        return kInvalidAttributes;
    return AttributesOf(path, st);
}

bool SetAttributes(const std::string& path, uint32_t attributes) {
    if (posix::Injected(FaultKind::File, EACCES, "SetAttributes", path))
        return false;
    struct stat st;
    if (!StatPath(path, st))
        return false;
    const bool wantReadOnly = (attributes & kAttrReadOnly) != 0;
    mode_t finalMode = wantReadOnly ? (st.st_mode & ~mode_t(0222))
                                    : ((st.st_mode & 0222) ? st.st_mode : (st.st_mode | S_IWUSR));
    if (S_ISDIR(st.st_mode))
        return ::chmod(path.c_str(), finalMode & 07777) == 0;

    // Extended attributes of the "user" namespace need write permission on the file, so the
    // record is changed while the file is writable and the final mode is set last.
    bool ok = true;
    if ((st.st_mode & S_IWUSR) == 0)
        ok = ::chmod(path.c_str(), (st.st_mode | S_IWUSR) & 07777) == 0;
    if (attributes & kAttrArchive) {
        if (::removexattr(path.c_str(), kArchiveAttr) != 0 && errno != ENODATA && errno != ENOTSUP)
            ok = false;
    } else {
        std::string record = ArchiveRecord(st); // chmod changes no time, so st still holds
        if (::setxattr(path.c_str(), kArchiveAttr, record.data(), record.size(), 0) != 0)
            ok = false;
    }
    if (::chmod(path.c_str(), finalMode & 07777) != 0)
        ok = false;
    return ok;
}

std::optional<DirEntry> FindEntry(const std::string& path) {
    if (posix::Injected(FaultKind::Lookup, EACCES, "FindEntry", path))
        return std::nullopt;
    if (path.empty() || path.back() == '/')
        return std::nullopt;
    struct stat st;
    if (!StatPath(path, st))
        return std::nullopt;
    DirEntry entry;
    entry.name = LastComponent(path);
    entry.attributes = AttributesOf(path, st);
    entry.lastWriteTime = st.st_mtim.tv_sec;
    entry.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
    return entry;
}

std::optional<FileStamp> GetFileStamp(const std::string& path) {
    if (posix::Injected(FaultKind::Lookup, EACCES, "GetFileStamp", path))
        return std::nullopt;
    struct stat st;
    if (!StatPath(path, st))
        return std::nullopt;
    FileStamp stamp;
    stamp.lastWrite = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changed = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.id = static_cast<uint64_t>(st.st_ino);
    return stamp;
}

bool ListFolderNames(const std::string& folder, std::vector<std::string>& names) {
    if (posix::Injected(FaultKind::Folder, EACCES, "ListFolderNames", folder))
        return false;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    while (struct dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") != 0 && std::strcmp(d->d_name, "..") != 0)
            names.emplace_back(d->d_name);
    }
    ::closedir(dir);
    return true;
}

PathFacts GetPathFacts(const std::string& path, ArchiveBit archive) {
    if (posix::Injected(FaultKind::Lookup, EACCES, "GetPathFacts", path))
        return PathFacts();
    PathFacts facts;
    struct stat st;
    if (!StatPath(path, st))
        return facts;
    facts.exists = true;
    facts.folder = S_ISDIR(st.st_mode);
    facts.readOnly = (st.st_mode & 0222) == 0;
    facts.lastWriteTime = st.st_mtim.tv_sec;
    facts.size = facts.folder ? 0 : static_cast<uint64_t>(st.st_size);
    if (!facts.folder && (archive == ArchiveBit::Always || !facts.readOnly)) {
        facts.archive = !ArchiveIsClear(path, st);
        facts.archiveKnown = true;
    }
    return facts;
}

std::optional<FileTimes> GetFileTimes(const std::string& path) {
    if (posix::Injected(FaultKind::Lookup, EACCES, "GetFileTimes", path))
        return std::nullopt;
    struct stat st;
    if (!StatPath(path, st))
        return std::nullopt;
    FileTimes times;
    times.modified = static_cast<int64_t>(st.st_mtim.tv_sec);
    times.accessed = static_cast<int64_t>(st.st_atim.tv_sec);
    times.created = std::min(static_cast<int64_t>(st.st_ctim.tv_sec), times.modified);
#ifdef STATX_BTIME
    struct statx sx;
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
        times.created = static_cast<int64_t>(sx.stx_btime.tv_sec);
#endif
    return times;
}

bool ListFolder(const std::string& folder, std::vector<DirEntry>& entries) {
    if (posix::Injected(FaultKind::Folder, EACCES, "ListFolder", folder))
        return false;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    while (struct dirent* d = ::readdir(dir)) {
        std::string name = d->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat own;
        const bool isLink = ::lstat((prefix + name).c_str(), &own) == 0 && S_ISLNK(own.st_mode);
        if (auto entry = FindEntry(prefix + name)) {
            entry->isLink = isLink;
            entries.push_back(*entry);
        } else { // a dangling link or a racing delete: still listed, as Windows would
            DirEntry e;
            e.name = name;
            e.attributes = kAttrNormal;
            e.isLink = isLink;
            entries.push_back(e);
        }
    }
    ::closedir(dir);
    return true;
}

bool Exists(const std::string& path) {
    if (posix::Injected(FaultKind::Lookup, EACCES, "Exists", path))
        return false;
    struct stat st;
    return StatPath(path, st);
}

bool IsFolder(const std::string& path) {
    if (posix::Injected(FaultKind::Lookup, EACCES, "IsFolder", path))
        return false;
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& path) {
    if (posix::Injected(FaultKind::Folder, EACCES, "MakeFolder", path))
        return false;
    if (path.empty())
        return false;
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    return errno == EEXIST && IsFolder(path);
}

bool MakeFolderTree(const std::string& path) {
    if (path.empty())
        return false;
    if (IsFolder(path))
        return true;
    std::string::size_type slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        std::string parent = path.substr(0, slash);
        if (!IsFolder(parent) && !MakeFolderTree(parent))
            return false;
    }
    return MakeFolder(path);
}

bool RemoveEmptyFolder(const std::string& path) {
    if (posix::Injected(FaultKind::Folder, EACCES, "RemoveEmptyFolder", path))
        return false;
    return !path.empty() && ::rmdir(path.c_str()) == 0;
}

bool RemoveLink(const std::string& path) {
    if (posix::Injected(FaultKind::File, EACCES, "RemoveLink", path))
        return false;
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::unlink(path.c_str()) == 0;
}

bool DeleteFileAt(const std::string& path) {
    if (posix::Injected(FaultKind::File, EACCES, "DeleteFileAt", path))
        return false;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    if (!S_ISLNK(st.st_mode) && (st.st_mode & 0222) == 0) {
        errno = EACCES; // Windows refuses to delete a read-only file
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
    if (posix::Injected(FaultKind::File, EIO, "CopyFileTo", to))
        return false;
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat st;
    if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(in);
        return false;
    }
    // Write beside the target and rename, so that a failed copy never leaves half a file
    // where the target was.
    std::string temp = to + ".morvek-copy-XXXXXX";
    int out = ::mkstemp(temp.data());
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                ok = false;
                break;
            }
            done += w;
        }
        if (!ok)
            break;
    }
    ::close(in);
    // CopyFile keeps the source's time and its read-only state.
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ok = ok && ::fchmod(out, st.st_mode & 07777) == 0 && ::futimens(out, times) == 0;
    ok = ::close(out) == 0 && ok;
    if (ok) {
        if (failIfExists)
            ok = ::link(temp.c_str(), to.c_str()) == 0; // atomic "create only if absent"
        else
            ok = ::rename(temp.c_str(), to.c_str()) == 0;
    }
    ::unlink(temp.c_str());
    return ok;
}

bool MoveFileTo(const std::string& from, const std::string& to, bool replace) {
    if (posix::Injected(FaultKind::File, EACCES, "MoveFileTo", to))
        return false;
    if (!Exists(from))
        return false;
    if (!replace && Exists(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& content, size_t limit) {
    content.clear();
    if (posix::Injected(FaultKind::File, EACCES, "ReadWholeFile", path))
        return false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    const bool measured = ::fstat(fd, &st) == 0;
    if (!measured || S_ISDIR(st.st_mode)) {
        const int error = measured ? EISDIR : errno;
        ::close(fd);
        errno = error;
        return false;
    }
    // One more byte than the file is said to hold, so that a single read sees its end.
    content.resize(std::min(static_cast<size_t>(st.st_size) + 1, limit));
    size_t got = 0;
    bool ok = true;
    while (got < limit) {
        if (got == content.size()) // it grew since fstat
            content.resize(std::min(content.size() * 2 + 1, limit));
        ssize_t n = ::read(fd, &content[got], content.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    content.resize(got);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    // An injected fault fails the bytes' write, as a full disk would: the temporary file
    // exists by then and must go again.
    const bool writeFails = FaultDue(FaultKind::File, "WriteWholeFile", path);
    struct stat old;
    const bool replaces = StatPath(path, old);
    if (replaces && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (replaces && (old.st_mode & 0222) == 0) {
        errno = EACCES; // Windows refuses to replace a read-only file
        return false;
    }
    // A name of this process's own beside the target; created exclusively, so that two
    // writers never share one, and with the mode the umask gives a new file.
    static std::atomic<unsigned> serial{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = path + ".morvek-new-" + std::to_string(::getpid()) + "-" +
               std::to_string(serial.fetch_add(1));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = !replaces || ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok && writeFails) {
        errno = EIO;
        ok = false;
    }
    for (size_t done = 0; ok && done < content.size();) {
        ssize_t w = ::write(fd, content.data() + done, content.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            if (w == 0)
                errno = EIO;
            ok = false;
            break;
        }
        done += static_cast<size_t>(w);
    }
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        ::unlink(temp.c_str());
        errno = error;
    }
    return ok;
}

bool SetLastWriteTime(const std::string& path, int64_t unixSeconds, long nanoseconds) {
    if (posix::Injected(FaultKind::File, EACCES, "SetLastWriteTime", path))
        return false;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(unixSeconds);
    times[1].tv_nsec = nanoseconds;
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool SetCurrentFolder(const std::string& path) {
    if (posix::Injected(FaultKind::Folder, EACCES, "SetCurrentFolder", path))
        return false;
    return !path.empty() && ::chdir(path.c_str()) == 0;
}

std::string GetCurrentFolder() {
    if (posix::Injected(FaultKind::Folder, EACCES, "GetCurrentFolder", std::string()))
        return std::string();
    std::string buffer(4096, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

std::string GetTempFolderPath() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace platform
