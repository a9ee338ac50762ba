// platform/posix/Process.cpp - child processes with posix_spawn, poll and process groups.
//
// The child leads a new session, so its process group holds everything it starts unless a
// descendant makes a group or a session of its own. Ending the child therefore signals its
// group and, where /proc tells, every process of its session and every descendant found
// while it is being ended: a descendant that made its own session is found through its
// parent, and remembered (with its start time, so that a reused id is never signalled) in
// case that parent dies first. The child's signal dispositions are reset: a host that
// ignores SIGCHLD or SIGPIPE must not pass that on (cvs misbehaves with an ignored SIGCHLD).
#include "platform/Process.h"
#include "platform/posix/Posix.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

extern char** environ;

namespace platform {

using Clock = std::chrono::steady_clock;

namespace {

// How long a terminated group gets to stop on SIGTERM before SIGKILL, and how long the
// reader keeps draining after the child is gone while a stray process holds a pipe.
constexpr auto kGraceBeforeKill = std::chrono::milliseconds(300);
constexpr auto kDrainAfterKill = std::chrono::milliseconds(300);
constexpr auto kDrainAfterExit = std::chrono::milliseconds(1000);
// How often a terminated tree is looked for new members during its grace.
constexpr auto kTrackEvery = std::chrono::milliseconds(10);

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

std::string ErrnoText(int code) {
    return std::strerror(code);
}

// What /proc/PID/stat says of a process.
struct ProcStat {
    pid_t pid = 0, parent = 0, group = 0, session = 0;
    unsigned long long start = 0; // clock ticks after boot: tells a reused id apart
    bool zombie = false;
};

bool ReadStat(pid_t pid, ProcStat& st) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/stat", static_cast<long>(pid));
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char text[1024];
    ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got <= 0)
        return false;
    text[got] = '\0';
    // "PID (NAME) STATE PPID PGRP SESSION ..." where NAME may hold anything, ")" too.
    const char* p = std::strrchr(text, ')');
    if (!p || p[1] != ' ')
        return false;
    st.pid = pid;
    st.zombie = p[2] == 'Z' || p[2] == 'X';
    long parent = 0, group = 0, session = 0;
    unsigned long long start = 0;
    if (std::sscanf(p + 4,
                    "%ld %ld %ld %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %llu",
                    &parent, &group, &session, &start) != 4)
        return false;
    st.parent = static_cast<pid_t>(parent);
    st.group = static_cast<pid_t>(group);
    st.session = static_cast<pid_t>(session);
    st.start = start;
    return true;
}

// Every process /proc shows; false when there is no /proc.
bool ListStats(std::vector<ProcStat>& all) {
    all.clear();
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return false;
    while (const struct dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        long id = std::strtol(entry->d_name, &end, 10);
        ProcStat st;
        if (id > 0 && end && *end == '\0' && ReadStat(static_cast<pid_t>(id), st))
            all.push_back(st);
    }
    ::closedir(proc);
    return true;
}

} // namespace

struct ChildProcess::State {
    pid_t pid = 0;
    int input = -1, output = -1, error = -1;
    int wakeRead = -1, wakeWrite = -1;
    std::mutex mutex; // guards the signalling of the tree, its members and the reaped flag
    bool reaped = false;
    int status = -1;
    int endSignal = 0; // the signal that ended the child, when one did
    std::atomic<bool> terminated{false};
    std::atomic<bool> killed{false};
    Clock::time_point terminatedAt;
    // The processes of the child's tree found since Terminate, besides the child itself.
    struct Member {
        pid_t pid;
        unsigned long long start;
    };
    std::vector<Member> members;
    Clock::time_point trackedAt;

    ~State() {
        CloseFd(input);
        CloseFd(output);
        CloseFd(error);
        CloseFd(wakeRead);
        CloseFd(wakeWrite);
    }

    // Adds every process of the child's session or group and every descendant of the child
    // or of a member. The session and group are asked for only while the child is not yet
    // reaped: until then its id cannot name another session or group. Mutex held.
    void TrackLocked() {
        trackedAt = Clock::now();
        std::vector<ProcStat> all;
        if (!ListStats(all))
            return;
        std::unordered_map<pid_t, unsigned long long> startOf;
        for (const ProcStat& st : all)
            startOf[st.pid] = st.start;
        std::unordered_set<pid_t> tree; // the members that are still the processes they were
        for (const Member& m : members) {
            auto it = startOf.find(m.pid);
            if (it != startOf.end() && it->second == m.start)
                tree.insert(m.pid);
        }
        if (!reaped)
            tree.insert(pid);
        for (bool grew = true; grew;) {
            grew = false;
            for (const ProcStat& st : all) {
                if (tree.count(st.pid))
                    continue;
                if ((!reaped && (st.session == pid || st.group == pid)) || tree.count(st.parent)) {
                    members.push_back({st.pid, st.start});
                    tree.insert(st.pid);
                    grew = true;
                }
            }
        }
    }

    // Signals the child's group and every member that is still the process it was. Mutex held.
    void SignalLocked(int signal) {
        if (pid > 0 && !reaped)
            ::kill(-pid, signal);
        for (const Member& m : members) {
            ProcStat st;
            if (ReadStat(m.pid, st) && st.start == m.start && !st.zombie)
                ::kill(m.pid, signal);
        }
    }

    bool AnyMemberAliveLocked() {
        for (const Member& m : members) {
            ProcStat st;
            if (ReadStat(m.pid, st) && st.start == m.start && !st.zombie)
                return true;
        }
        return false;
    }

    // While a terminated tree has its grace: finds what it starts meanwhile, so that a process
    // whose parent dies on SIGTERM is still known; once the grace is over, kills the tree.
    void Tend() {
        std::lock_guard<std::mutex> lock(mutex);
        if (!terminated || killed || reaped)
            return;
        if (Clock::now() - trackedAt >= kTrackEvery)
            TrackLocked();
        if (Clock::now() - terminatedAt >= kGraceBeforeKill) {
            killed = true;
            SignalLocked(SIGKILL);
        }
    }

    // Kills what is left of a terminated tree (the child has ended but is not yet reaped) and
    // makes sure nothing of it runs on: it may still be starting processes while it goes.
    void KillTree() {
        for (int round = 0; round < 100; ++round) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                killed = true;
                TrackLocked();
                SignalLocked(SIGKILL);
                if (!AnyMemberAliveLocked())
                    return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    bool AnyMemberAlive() {
        std::lock_guard<std::mutex> lock(mutex);
        TrackLocked();
        return AnyMemberAliveLocked();
    }

    Clock::time_point TerminatedAt() {
        std::lock_guard<std::mutex> lock(mutex);
        return terminatedAt;
    }

    // Whether the child has ended, without reaping it.
    bool LeaderExited() {
        siginfo_t info;
        std::memset(&info, 0, sizeof info);
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
            return errno == ECHILD;
        return info.si_pid == pid;
    }

    void DrainWake() {
        char drain[64];
        while (::read(wakeRead, drain, sizeof drain) > 0) {
        }
    }
};

ChildProcess::ChildProcess() : state_(std::make_shared<State>()) {}

ChildProcess::~ChildProcess() {
    if (state_->pid > 0 && !state_->reaped) {
        Terminate();
        Wait();
    }
}

bool ChildProcess::Start(const ProcessSpec& spec, std::string& error) {
    if (posix::Injected(FaultKind::Process, EAGAIN, "Start", spec.program)) {
        error = "cannot run " + spec.program + ": " + ErrnoText(EAGAIN);
        return false;
    }
    State& s = *state_;
    if (s.pid > 0) {
        error = "a process was already started";
        return false;
    }
    if (!spec.folder.empty()) {
        struct stat st;
        if (::stat(spec.folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            error =
                "cannot run " + spec.program + " in " + spec.folder + ": the folder does not exist";
            return false;
        }
    }
    int in[2], out[2], err[2], wake[2];
    if (::pipe2(in, O_CLOEXEC) != 0) {
        error = "cannot create a pipe: " + ErrnoText(errno);
        return false;
    }
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]), ::close(in[1]);
        error = "cannot create a pipe: " + ErrnoText(errno);
        return false;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
        error = "cannot create a pipe: " + ErrnoText(errno);
        return false;
    }
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
        ::close(err[0]), ::close(err[1]);
        error = "cannot create a pipe: " + ErrnoText(errno);
        return false;
    }
    s.input = in[1];
    s.output = out[0];
    s.error = err[0];
    s.wakeRead = wake[0];
    s.wakeWrite = wake[1];

    // The environment: inherited, then the changes in order.
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e)
        env.emplace_back(*e);
    auto removeName = [&env](const std::string& name) {
        for (auto it = env.begin(); it != env.end();) {
            if (it->size() > name.size() && it->compare(0, name.size(), name) == 0 &&
                (*it)[name.size()] == '=')
                it = env.erase(it);
            else
                ++it;
        }
    };
    for (const auto& [name, value] : spec.set) {
        removeName(name);
        env.push_back(name + "=" + value);
    }
    for (const std::string& name : spec.unset)
        removeName(name);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    std::vector<std::string> argStore;
    argStore.push_back(spec.program);
    argStore.insert(argStore.end(), spec.args.begin(), spec.args.end());
    std::vector<char*> argv;
    for (std::string& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    if (!spec.folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, spec.folder.c_str());

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int rc = ::posix_spawn(&pid, spec.program.c_str(), &actions, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    if (rc != 0) {
        error = "cannot run " + spec.program + ": " + ErrnoText(rc);
        return false;
    }
    s.pid = pid;
    if (!spec.keepInput)
        CloseFd(s.input);
    return true;
}

void ChildProcess::Pump(const ProcessSink& sink) {
    State& s = *state_;
    if (s.pid <= 0)
        return;
    char buffer[65536];
    bool exited = false;
    Clock::time_point giveUpAt = Clock::time_point::max();
    for (;;) {
        struct pollfd fds[3] = {
            {s.output, POLLIN, 0}, {s.error, POLLIN, 0}, {s.wakeRead, POLLIN, 0}};
        if (s.output < 0 && s.error < 0)
            break;
        s.Tend();
        if (s.terminated) {
            auto limit = s.TerminatedAt() + kGraceBeforeKill + kDrainAfterKill;
            if (limit < giveUpAt)
                giveUpAt = limit;
        }
        if (Clock::now() >= giveUpAt)
            break; // a process outside the group keeps a pipe open: stop waiting for it
        int timeout = s.terminated ? 20 : 100;
        int n = ::poll(fds, 3, timeout);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (n == 0) {
            if (!exited && s.LeaderExited()) {
                exited = true;
                auto limit = Clock::now() + kDrainAfterExit;
                if (limit < giveUpAt)
                    giveUpAt = limit;
            }
            continue;
        }
        if (fds[2].revents)
            s.DrainWake();
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            ssize_t got = ::read(fds[k].fd, buffer, sizeof buffer);
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (got <= 0) {
                CloseFd(k == 0 ? s.output : s.error);
                continue;
            }
            if (sink)
                sink(k == 0 ? ProcessStream::Output : ProcessStream::Error, buffer,
                     static_cast<size_t>(got));
        }
    }
    CloseFd(s.output);
    CloseFd(s.error);
}

bool ChildProcess::WriteInput(const std::string& data) {
    State& s = *state_;
    if (s.input < 0)
        return false;
    // A child that has closed its input must not raise SIGPIPE in the host process: block
    // it for this thread and take back a signal the write raised.
    sigset_t pipeSet, old, pending;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &old);
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    bool ok = true;
    for (size_t done = 0; done < data.size();) {
        ssize_t w = ::write(s.input, data.data() + done, data.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(w);
    }
    if (!ok && !wasPending) {
        struct timespec zero = {0, 0};
        sigtimedwait(&pipeSet, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return ok;
}

void ChildProcess::CloseInput() {
    CloseFd(state_->input);
}

int ChildProcess::Wait() {
    State& s = *state_;
    if (s.pid <= 0)
        return -1;
    if (s.reaped)
        return s.status;
    CloseFd(s.input);
    // Never block in waitpid: a Terminate that comes while the child runs on after closing
    // its output (or ignores SIGTERM) must still reach it. Terminate wakes this loop.
    for (int nap = 1; !s.LeaderExited(); nap = std::min(nap * 2, 50)) {
        s.Tend();
        struct pollfd wake = {s.wakeRead, POLLIN, 0};
        if (::poll(&wake, 1, s.terminated ? 5 : nap) > 0)
            s.DrainWake();
    }
    if (s.terminated) {
        // Descendants got SIGTERM with the child and may still be cleaning up (a cvs server
        // removing its locks): they get the rest of the grace, then whatever is left of the
        // tree is killed while the child's id still names its group and session.
        while (!s.killed && Clock::now() - s.TerminatedAt() < kGraceBeforeKill &&
               s.AnyMemberAlive())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        s.KillTree();
    }
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(s.pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    std::lock_guard<std::mutex> lock(s.mutex);
    s.reaped = true;
    if (r != s.pid)
        s.status = -1; // the host reaps children itself (SIGCHLD ignored): status unknown
    else if (WIFEXITED(status))
        s.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) {
        s.status = 128 + WTERMSIG(status);
        s.endSignal = WTERMSIG(status);
    } else
        s.status = -1;
    return s.status;
}

void ChildProcess::Terminate() {
    State& s = *state_;
    if (s.pid <= 0)
        return;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!s.terminated) {
            s.terminatedAt = Clock::now();
            s.terminated = true;
            if (!s.reaped) {
                // Find the tree before SIGTERM ends parents and orphans their children.
                s.TrackLocked();
                s.SignalLocked(SIGTERM);
            }
        }
    }
    s.Tend();
    if (s.wakeWrite >= 0) {
        char one = 1;
        [[maybe_unused]] ssize_t w = ::write(s.wakeWrite, &one, 1);
    }
}

bool ChildProcess::WasTerminated() const {
    return state_->terminated;
}

std::string ChildProcess::EndSignalText() const {
    const State& s = *state_;
    if (s.endSignal == 0 || s.terminated)
        return std::string();
    const char* name = ::strsignal(s.endSignal);
    return "signal " + std::to_string(s.endSignal) + (name ? std::string(" (") + name + ")" : "");
}

long ChildProcess::Id() const {
    return static_cast<long>(state_->pid);
}

std::string ProgramFileName(const std::string& base) {
    return base;
}

std::string FindProgramOnPath(const std::string& program) {
    if (program.empty() || program.find('/') != std::string::npos)
        return std::string();
    const char* path = std::getenv("PATH");
    for (const std::string& folder :
         ProgramSearchFolders(path ? path : "/usr/local/bin:/usr/bin:/bin", PathStyle::Posix)) {
        const std::string candidate = folder + "/" + program;
        struct stat st;
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::string();
}

} // namespace platform
