// tests/support/TestSupport.cpp - test helpers; the only test code that knows the platform.
#include "tests/support/TestSupport.h"

#include "platform/Module.h"
#include "platform/PathStyle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace testing_support {

char Sep() {
    return platform::kPathSeparator;
}

TempDir::TempDir(const std::string& tag) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
#ifdef _WIN32
    const unsigned long pid = GetCurrentProcessId();
#else
    const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
    fs::path base = fs::temp_directory_path();
    for (;;) {
        fs::path candidate =
            base / ("morvek-" + tag + "-" + std::to_string(pid) + "-" +
                    std::to_string(now % 1000000) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            break;
        }
        if (ec && ec != std::errc::file_exists)
            throw std::runtime_error("cannot create a temporary folder: " + ec.message());
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

std::string TempDir::operator/(const std::string& name) const {
    return path_ + Sep() + name;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void RemoveTree(const std::string& path) {
    if (path.empty())
        return;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

void SetEnv(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
    SetEnvironmentVariableA(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

void UnsetEnv(const std::string& name) {
#ifdef _WIN32
    _putenv_s(name.c_str(), "");
    SetEnvironmentVariableA(name.c_str(), nullptr);
#else
    unsetenv(name.c_str());
#endif
}

std::string GetEnv(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
    const char* old = std::getenv(name_.c_str());
    hadOld_ = old != nullptr;
    old_ = old ? old : "";
    SetEnv(name_, value);
}

ScopedEnv::ScopedEnv(std::string name, std::nullptr_t) : name_(std::move(name)) {
    const char* old = std::getenv(name_.c_str());
    hadOld_ = old != nullptr;
    old_ = old ? old : "";
    UnsetEnv(name_);
}

ScopedEnv::~ScopedEnv() {
    if (hadOld_)
        SetEnv(name_, old_);
    else
        UnsetEnv(name_);
}

void FailTest(const std::string& message) {
    ADD_FAILURE() << message;
}

#ifdef _WIN32
TerminalRunResult RunOnTerminal(const std::vector<std::string>&, const std::vector<TerminalStep>&) {
    return TerminalRunResult{};
}
RunResult Run(const std::vector<std::string>&, const std::string&) {
    return RunResult{};
}
RunResult Shell(const std::string&, const std::string&) {
    return RunResult{};
}
bool HaveProgram(const std::string&) {
    return false;
}
bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
bool RunningAsRoot() {
    return false;
}
#else
RunResult Run(const std::vector<std::string>& argv, const std::string& folder) {
    RunResult result;
    int outPipe[2], errPipe[2];
    if (argv.empty() || pipe2(outPipe, O_CLOEXEC) != 0)
        return result;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    pid_t pid = fork();
    if (pid == 0) {
        int devnull = open("/dev/null", O_RDONLY);
        dup2(devnull, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        if (!folder.empty() && chdir(folder.c_str()) != 0)
            _exit(126);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    struct pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0)
            break;
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[8192];
            ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[k]->append(buffer, static_cast<size_t>(n));
            } else {
                close(fds[k].fd);
                fds[k].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

RunResult Shell(const std::string& script, const std::string& folder) {
    return Run({"/bin/sh", "-c", script}, folder);
}

TerminalRunResult RunOnTerminal(const std::vector<std::string>& argv,
                                const std::vector<TerminalStep>& steps) {
    TerminalRunResult result;
    if (argv.empty())
        return result;
    int master = -1;
    pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid < 0)
        return result;
    if (pid == 0) {
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    using Clock = std::chrono::steady_clock;
    // Reads what the terminal shows until the predicate holds or the time is up.
    auto readUntil = [&](const std::function<bool()>& done, std::chrono::seconds limit) {
        const auto deadline = Clock::now() + limit;
        while (!done()) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            if (left <= 0)
                return false;
            struct pollfd fd = {master, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left)) <= 0)
                continue;
            char buffer[4096];
            ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                return done();
            result.transcript.append(buffer, static_cast<size_t>(n));
        }
        return true;
    };
    size_t seen = 0;
    for (const TerminalStep& step : steps) {
        const bool found = readUntil(
            [&] { return result.transcript.find(step.waitFor, seen) != std::string::npos; },
            std::chrono::seconds(10));
        result.found.push_back(found);
        struct termios mode {};
        result.echo.push_back(tcgetattr(master, &mode) == 0 && (mode.c_lflag & ECHO));
        if (!found)
            break;
        seen = result.transcript.find(step.waitFor, seen) + step.waitFor.size();
        const std::string& text = step.type;
        if (!text.empty() && write(master, text.data(), text.size()) < 0)
            break;
    }
    int status = 0;
    bool exited = false;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!exited && Clock::now() < deadline) {
        struct pollfd fd = {master, POLLIN, 0};
        if (poll(&fd, 1, 100) > 0) {
            char buffer[4096];
            ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0)
                result.transcript.append(buffer, static_cast<size_t>(n));
            else
                usleep(10000); // the other side is closed: the program is ending
        }
        exited = waitpid(pid, &status, WNOHANG) == pid;
    }
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        close(master);
        return result;
    }
    // What the program wrote last.
    for (;;) {
        struct pollfd fd = {master, POLLIN, 0};
        char buffer[4096];
        ssize_t n = poll(&fd, 1, 0) > 0 ? read(master, buffer, sizeof buffer) : 0;
        if (n <= 0)
            break;
        result.transcript.append(buffer, static_cast<size_t>(n));
    }
    close(master);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

bool HaveProgram(const std::string& name) {
    return Shell("command -v '" + name + "' >/dev/null 2>&1").status == 0;
}

bool RunningUnderWine() {
    return false;
}
bool RunningAsRoot() {
    return geteuid() == 0;
}
#endif

std::string BinDir() {
    std::string self = platform::ExecutablePath();
    std::string::size_type sep = self.find_last_of("\\/");
    return sep == std::string::npos ? std::string(".") : self.substr(0, sep);
}

std::string SourceDir() {
    return MORVEK_SOURCE_DIR;
}

} // namespace testing_support
