// platform/posix/Process.cpp - child processes with posix_spawn, poll and process groups.
//
// The child leads a new session, so its process group holds everything it starts unless a
// descendant makes its own session; ending the group ends the whole tree. The child's signal
// dispositions are reset: a host that ignores SIGCHLD or SIGPIPE must not pass that on (cvs
// misbehaves with an ignored SIGCHLD).
#include "platform/Process.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
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

extern char** environ;

namespace platform {

using Clock = std::chrono::steady_clock;

namespace {

// How long a terminated group gets to stop on SIGTERM before SIGKILL, and how long the
// reader keeps draining after the child is gone while a stray process holds a pipe.
constexpr auto kGraceBeforeKill = std::chrono::milliseconds(300);
constexpr auto kDrainAfterKill = std::chrono::milliseconds(300);
constexpr auto kDrainAfterExit = std::chrono::milliseconds(1000);

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

std::string ErrnoText(int code) {
    return std::strerror(code);
}

} // namespace

struct ChildProcess::State {
    pid_t pid = 0;
    int input = -1, output = -1, error = -1;
    int wakeRead = -1, wakeWrite = -1;
    std::mutex mutex; // guards the signalling of the group and the reaped flag
    bool reaped = false;
    int status = -1;
    std::atomic<bool> terminated{false};
    std::atomic<bool> killed{false};
    Clock::time_point terminatedAt;

    ~State() {
        CloseFd(input);
        CloseFd(output);
        CloseFd(error);
        CloseFd(wakeRead);
        CloseFd(wakeWrite);
    }

    // Signals the group while its leader is not yet reaped: until then its id cannot name
    // another process group.
    void SignalGroup(int signal) {
        std::lock_guard<std::mutex> lock(mutex);
        if (pid > 0 && !reaped)
            ::kill(-pid, signal);
    }

    // Sends SIGKILL once the grace time after Terminate has passed.
    void EscalateIfDue() {
        std::lock_guard<std::mutex> lock(mutex);
        if (terminated && !killed && Clock::now() - terminatedAt >= kGraceBeforeKill) {
            killed = true;
            if (pid > 0 && !reaped)
                ::kill(-pid, SIGKILL);
        }
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
};

ChildProcess::ChildProcess() : state_(std::make_shared<State>()) {}

ChildProcess::~ChildProcess() {
    if (state_->pid > 0 && !state_->reaped) {
        Terminate();
        Wait();
    }
}

bool ChildProcess::Start(const ProcessSpec& spec, std::string& error) {
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
        s.EscalateIfDue();
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
        if (fds[2].revents) {
            char drain[64];
            while (::read(s.wakeRead, drain, sizeof drain) > 0) {
            }
        }
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
    if (s.terminated) {
        // Let the group stop on SIGTERM, then make sure nothing of it is left.
        while (!s.LeaderExited()) {
            s.EscalateIfDue();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // Descendants got SIGTERM with the child and may still be cleaning up: a short
        // grace, then whatever is left of the group is killed while its id is still ours.
        if (!s.killed)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        s.killed = true;
        s.SignalGroup(SIGKILL);
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
    else if (WIFSIGNALED(status))
        s.status = 128 + WTERMSIG(status);
    else
        s.status = -1;
    return s.status;
}

void ChildProcess::Terminate() {
    State& s = *state_;
    if (s.pid <= 0)
        return;
    bool first = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!s.terminated) {
            first = true;
            s.terminatedAt = Clock::now();
            s.terminated = true;
            if (!s.reaped)
                ::kill(-s.pid, SIGTERM);
        }
    }
    if (!first)
        s.EscalateIfDue();
    if (s.wakeWrite >= 0) {
        char one = 1;
        [[maybe_unused]] ssize_t w = ::write(s.wakeWrite, &one, 1);
    }
}

bool ChildProcess::WasTerminated() const {
    return state_->terminated;
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
