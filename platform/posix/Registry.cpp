// platform/posix/Registry.cpp - the registry kept in REGEDIT4 files (see platform/Registry.h).
//
// Each hive has one session per process: it begins when the first key of the hive is
// opened (the file is read then) and ends when the last one is closed (pending changes are
// written then). Writing takes an exclusive flock on "<file>.lock", reads the file again,
// replays the changes on it, writes "<file>.tmp", flushes it to disk and renames it over the
// file. The temporary name is fixed: only the holder of the lock writes it, and one left by
// a process killed while writing is simply overwritten by the next writer.
#include "platform/Registry.h"
#include "platform/posix/Posix.h"

#include "platform/common/RegistryPath.h"
#include "platform/posix/RegFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

struct platform::RegKeyObject {
    platform::RegHive hive;
    std::vector<std::string> path;
    bool writable;
};

namespace platform {
namespace {

using regfile::Document;
using regfile::Op;
using regfile::OpKind;

const char* RootName(RegHive hive) {
    return hive == RegHive::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string HiveFile(RegHive hive) {
    if (hive == RegHive::LocalMachine) {
        const char* file = std::getenv("MORVEK_MACHINE_REGISTRY");
        return file && *file ? file : "/etc/Morvek/machine.reg";
    }
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/Morvek/user.reg";
    const std::string home = posix::HomeFolder();
    return home.empty() ? std::string() : home + "/.config/Morvek/user.reg";
}

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write replaces: the target of a symbolic link, so that a linked hive file
// stays linked.
std::string WriteTarget(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

// Whether the file could be written: its folder exists and may be written, or the nearest
// folder that does exist may be, so that the missing ones can be made.
bool CanWrite(const std::string& path) {
    if (path.empty())
        return false;
    std::string folder = FolderOf(WriteTarget(path));
    for (;;) {
        struct stat st;
        if (::stat(folder.c_str(), &st) == 0)
            return S_ISDIR(st.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0;
        if (errno != ENOENT || folder == "/" || folder == ".")
            return false;
        folder = FolderOf(folder);
    }
}

bool MakeFolders(const std::string& folder, mode_t mode) {
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (folder != "/" && folder != "." && !MakeFolders(FolderOf(folder), mode))
        return false;
    return ::mkdir(folder.c_str(), mode) == 0 || errno == EEXIST;
}

// Reads the whole file. A missing file reads as empty; other failures give false.
bool ReadWhole(const std::string& path, std::string& text, int& error) {
    text.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return errno == ENOENT;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A damaged file is reported once per process and file.
void ReportDamage(std::set<std::string>& reported, const std::string& path, const Document& doc) {
    if (doc.DamagedLines() == 0 || !reported.insert(path).second)
        return;
    std::fprintf(stderr,
                 "Morvek: the registry file %s has %d line(s) that are not REGEDIT4 (the first "
                 "is line %d). They are kept as they are and not read; correct or remove them "
                 "by hand.\n",
                 path.c_str(), doc.DamagedLines(), doc.FirstDamagedLine());
    std::fflush(stderr);
}

long ErrnoToResult(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return kRegAccessDenied;
    default:
        return kRegWriteFault;
    }
}

struct Hive {
    std::string file;              // chosen when the session began
    int openKeys = 0;              // the session lasts while this is above zero
    std::unique_ptr<Document> doc; // the file as read, with the pending changes applied
    std::vector<Op> pending;       // changes not yet written
    int writable = -1;             // unknown until the first change is asked for
    std::string error;             // why the last write failed
};

struct Store {
    std::mutex lock;
    Hive hives[2];
    std::set<std::string> reported; // damaged files already reported
    Hive& Of(RegHive hive) { return hives[hive == RegHive::CurrentUser ? 0 : 1]; }
};

// Made by the first key opened, which in the provider is the settings' load at start-up, so
// it outlives the settings' save at unload. Not a leaked pointer: a module that is unloaded
// must give its memory back.
Store& TheStore() {
    static Store store;
    return store;
}

void BeginSession(RegHive hive, Hive& h) {
    if (h.openKeys++ > 0)
        return;
    h.file = HiveFile(hive);
    h.doc = std::make_unique<Document>(RootName(hive));
    h.pending.clear();
    h.writable = -1;
    std::string text;
    int error = 0;
    if (!h.file.empty() && ReadWhole(h.file, text, error)) {
        h.doc->Parse(text);
        ReportDamage(TheStore().reported, h.file, *h.doc);
    }
}

bool Writable(Hive& h) {
    if (h.writable < 0)
        h.writable = CanWrite(h.file) ? 1 : 0;
    return h.writable == 1;
}

long Commit(RegHive hive, Hive& h) {
    if (h.pending.empty())
        return kRegOk;
    const bool user = hive == RegHive::CurrentUser;
    const std::string target = WriteTarget(h.file);
    if (posix::Injected(FaultKind::Registry, EIO, "write", target)) {
        h.error = std::strerror(EIO);
        return kRegWriteFault;
    }
    if (!MakeFolders(FolderOf(target), user ? 0700 : 0755)) {
        h.error = std::strerror(errno);
        return ErrnoToResult(errno);
    }

    const std::string lockPath = target + ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, user ? 0600 : 0644);
    if (lockFd < 0) {
        h.error = std::strerror(errno);
        return ErrnoToResult(errno);
    }
    while (::flock(lockFd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            int error = errno;
            ::close(lockFd);
            h.error = std::strerror(error);
            return ErrnoToResult(error);
        }
    }
    long result = kRegOk;
    std::string text;
    int error = 0;
    auto fresh = std::make_unique<Document>(RootName(hive));
    // A file that is there but cannot be read is never replaced.
    if (!ReadWhole(target, text, error)) {
        result = ErrnoToResult(error);
        h.error = std::string("it cannot be read: ") + std::strerror(error);
    } else {
        fresh->Parse(text);
        ReportDamage(TheStore().reported, h.file, *fresh);
        for (const Op& op : h.pending)
            fresh->Apply(op);
        struct stat st;
        const mode_t mode =
            ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (user ? 0600 : 0644);
        const std::string temp = target + ".tmp";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
        if (fd < 0) {
            error = errno;
            result = ErrnoToResult(error);
            h.error = std::strerror(error);
        } else {
            bool ok =
                WriteAll(fd, fresh->Serialize()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
            error = errno;
            ok = ::close(fd) == 0 && ok;
            if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
                ok = false;
                error = errno;
            }
            if (!ok) {
                ::unlink(temp.c_str());
                result = ErrnoToResult(error);
                h.error = std::strerror(error);
            } else {
                int dirFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (dirFd >= 0) {
                    ::fsync(dirFd);
                    ::close(dirFd);
                }
            }
        }
    }
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    if (result == kRegOk) {
        h.doc = std::move(fresh);
        h.pending.clear();
    }
    return result;
}

void EndSession(RegHive hive, Hive& h) {
    if (--h.openKeys > 0)
        return;
    if (Commit(hive, h) != kRegOk) {
        std::fprintf(
            stderr, "Morvek: cannot save the registry file %s (%s); its latest changes are lost.\n",
            h.file.c_str(), h.error.c_str());
        std::fflush(stderr);
    }
    h.doc.reset();
    h.pending.clear();
}

// A name stands on one line of the file, and the format has no escape for a line feed:
// such a name is refused rather than written as lines that would no longer read as it.
bool FitsOnALine(const std::string& name) {
    return name.find('\n') == std::string::npos;
}

long Record(Hive& h, Op op) {
    if (!Writable(h))
        return kRegAccessDenied;
    h.doc->Apply(op);
    h.pending.push_back(std::move(op));
    return kRegOk;
}

long Open(RegHive hive, const std::vector<std::string>& base, const std::string& path, bool create,
          bool writable, RegKey* key) {
    if (!key)
        return kRegInvalidParameter;
    std::vector<std::string> components;
    long result = registry::SplitKeyPath(path, components);
    if (result != kRegOk)
        return result;
    std::vector<std::string> full = base;
    full.insert(full.end(), components.begin(), components.end());

    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    Hive& h = store.Of(hive);
    BeginSession(hive, h);
    if (!h.doc->KeyExists(full)) {
        result = kRegFileNotFound;
        if (create)
            result = std::all_of(components.begin(), components.end(), FitsOnALine)
                         ? Record(h, Op{OpKind::CreateKey, full, {}})
                         : kRegInvalidParameter;
        if (result != kRegOk) {
            EndSession(hive, h);
            return result;
        }
    }
    *key = new RegKeyObject{hive, full, writable};
    return kRegOk;
}

} // namespace

long OpenRegKey(RegHive hive, const std::string& path, RegAccess access, RegKey* key) {
    if (posix::Injected(FaultKind::Registry, EACCES, "OpenRegKey", path))
        return kRegAccessDenied;
    return Open(hive, {}, path, false, access == RegAccess::ReadWrite, key);
}

long OpenRegKey(RegKey parent, const std::string& path, RegAccess access, RegKey* key) {
    if (posix::Injected(FaultKind::Registry, EACCES, "OpenRegKey", path))
        return kRegAccessDenied;
    if (!parent)
        return kRegInvalidHandle;
    return Open(parent->hive, parent->path, path, false, access == RegAccess::ReadWrite, key);
}

long CreateRegKey(RegHive hive, const std::string& path, RegKey* key) {
    if (posix::Injected(FaultKind::Registry, EACCES, "CreateRegKey", path))
        return kRegAccessDenied;
    return Open(hive, {}, path, true, true, key);
}

long CreateRegKey(RegKey parent, const std::string& path, RegKey* key) {
    if (posix::Injected(FaultKind::Registry, EACCES, "CreateRegKey", path))
        return kRegAccessDenied;
    if (!parent)
        return kRegInvalidHandle;
    if (!parent->writable)
        return kRegAccessDenied;
    return Open(parent->hive, parent->path, path, true, true, key);
}

void CloseRegKey(RegKey key) {
    if (!key)
        return;
    Store& store = TheStore();
    {
        std::lock_guard<std::mutex> guard(store.lock);
        EndSession(key->hive, store.Of(key->hive));
    }
    delete key;
}

long QueryRegValue(RegKey key, const std::string& name, uint32_t* type, std::string* data) {
    if (posix::Injected(FaultKind::Registry, EACCES, "QueryRegValue", name))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    const regfile::Value* value = store.Of(key->hive).doc->FindValue(key->path, name);
    if (!value)
        return kRegFileNotFound;
    if (type)
        *type = value->type;
    if (data)
        *data = value->data;
    return kRegOk;
}

long SetRegValue(RegKey key, const std::string& name, uint32_t type, const std::string& data) {
    if (posix::Injected(FaultKind::Registry, EACCES, "SetRegValue", name))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    if (!key->writable)
        return kRegAccessDenied;
    if (name.size() > registry::kMaxValueNameLength || !FitsOnALine(name))
        return kRegInvalidParameter;
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    return Record(store.Of(key->hive),
                  Op{OpKind::SetValue, key->path, regfile::Value{name, type, data}});
}

long EnumRegValueName(RegKey key, uint32_t index, std::string* name) {
    if (posix::Injected(FaultKind::Registry, EACCES, "EnumRegValueName", std::to_string(index)))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    const std::vector<regfile::Item>* items = store.Of(key->hive).doc->ItemsOf(key->path);
    if (items) {
        uint32_t k = 0;
        for (const regfile::Item& item : *items) {
            if (!item.readable)
                continue;
            if (k++ == index) {
                if (name)
                    *name = item.value.name;
                return kRegOk;
            }
        }
    }
    return kRegNoMoreItems;
}

long DeleteRegValue(RegKey key, const std::string& name) {
    if (posix::Injected(FaultKind::Registry, EACCES, "DeleteRegValue", name))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    if (!key->writable)
        return kRegAccessDenied;
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    Hive& h = store.Of(key->hive);
    if (!h.doc->FindValue(key->path, name))
        return kRegFileNotFound;
    return Record(h, Op{OpKind::DeleteValue, key->path, regfile::Value{name, 0, {}}});
}

long DeleteAllRegValues(RegKey key) {
    if (posix::Injected(FaultKind::Registry, EACCES, "DeleteAllRegValues", std::string()))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    if (!key->writable)
        return kRegAccessDenied;
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    return Record(store.Of(key->hive), Op{OpKind::ClearValues, key->path, {}});
}

long FlushRegKey(RegKey key) {
    if (posix::Injected(FaultKind::Registry, EIO, "FlushRegKey", std::string()))
        return kRegWriteFault;
    if (!key)
        return kRegInvalidHandle;
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    return Commit(key->hive, store.Of(key->hive));
}

long DeleteRegTree(RegHive hive, const std::string& path) {
    std::vector<std::string> components;
    long result = registry::SplitKeyPath(path, components);
    if (result != kRegOk)
        return result;
    if (components.empty())
        return kRegInvalidParameter; // never the whole hive
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    Hive& h = store.Of(hive);
    BeginSession(hive, h);
    if (!h.doc->KeyExists(components))
        result = kRegFileNotFound;
    else
        result = Record(h, Op{OpKind::DeleteTree, components, {}});
    if (result == kRegOk)
        result = Commit(hive, h);
    EndSession(hive, h);
    return result;
}

std::string RegHiveFilePath(RegHive hive) {
    return HiveFile(hive);
}

} // namespace platform
