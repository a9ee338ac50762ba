// platform/posix/ProcessList.cpp - processes from /proc; starting a program detached.
#include "platform/ProcessList.h"
#include "platform/posix/Posix.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

// The real user id in /proc/PID/status ("Uid:  real effective saved fs").
bool RealUserOf(const std::string& pid, uid_t& uid) {
    std::FILE* file = std::fopen(("/proc/" + pid + "/status").c_str(), "re");
    if (!file)
        return false;
    char line[256];
    bool found = false;
    while (std::fgets(line, sizeof line, file)) {
        unsigned long value = 0;
        if (std::sscanf(line, "Uid: %lu", &value) == 1) {
            uid = static_cast<uid_t>(value);
            found = true;
            break;
        }
    }
    std::fclose(file);
    return found;
}

} // namespace

bool ListProcesses(std::vector<ProcessEntry>& processes) {
    processes.clear();
    if (posix::Injected(FaultKind::Process, EACCES, "ListProcesses", std::string()))
        return false;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return false;
    const uid_t me = ::getuid();
    while (const struct dirent* entry = ::readdir(proc)) {
        const std::string name = entry->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        uid_t owner = 0;
        if (!RealUserOf(name, owner) || owner != me)
            continue;
        char target[4096];
        ssize_t n = ::readlink(("/proc/" + name + "/exe").c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        std::string exe(target, static_cast<size_t>(n));
        const std::string deleted = " (deleted)";
        if (exe.size() > deleted.size() &&
            exe.compare(exe.size() - deleted.size(), deleted.size(), deleted) == 0)
            exe.erase(exe.size() - deleted.size());
        ProcessEntry process;
        process.id = static_cast<uint32_t>(std::stoul(name));
        process.baseName = exe.substr(exe.find_last_of('/') + 1);
        processes.push_back(std::move(process));
    }
    ::closedir(proc);
    return true;
}

bool TerminateProcessById(uint32_t id) {
    if (posix::Injected(FaultKind::Process, EACCES, "TerminateProcessById", std::to_string(id)))
        return false;
    return id != 0 && ::kill(static_cast<pid_t>(id), SIGKILL) == 0;
}

uint32_t CurrentProcessId() {
    return static_cast<uint32_t>(::getpid());
}

void ShellOpen(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        ::access(path.c_str(), X_OK) != 0)
        return;
    // Two forks: the program runs in a session of its own, and the child that started it
    // is reaped here at once, so the caller keeps no zombie. Only async-signal-safe calls
    // between fork and exec.
    pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 1 : 0);
        int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        // Nothing of the caller's stays open in the program (a pipe held open would keep
        // whoever reads the caller's output waiting).
        ::close_range(3, ~0U, 0);
        ::execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace platform
