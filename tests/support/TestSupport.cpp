// tests/support/TestSupport.cpp - test helpers; the only test code that knows the platform.
#include "tests/support/TestSupport.h"

#include "platform/Module.h"
#include "platform/PathStyle.h"
#include "platform/Process.h"

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
#include <thread>

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

std::map<std::string, std::string> ReadTree(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec))
            files[fs::relative(it->path(), folder, ec).generic_string()] =
                ReadFile(it->path().string());
    }
    return files;
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

IsolatedUser::IsolatedUser() {
    fs::create_directories(dir_ / "config");
    env_.push_back(std::make_unique<ScopedEnv>("MORVEK_APPDATA_FOLDER", AppDataFolder()));
    env_.push_back(std::make_unique<ScopedEnv>("XDG_DATA_HOME", AppDataFolder()));
#ifdef _WIN32
    static std::atomic<unsigned> counter{0};
    scratchKey_ = "Software\\MorvekTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(counter++);
    HKEY scratch = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, scratchKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &scratch, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the scratch registry key " + scratchKey_);
    const struct {
        const char* name;
        const char* software;
    } hives[] = {{"HKCU", "HKCU\\software"}, {"HKLM", "HKLM\\SOFTWARE"}};
    for (const auto& hive : hives) {
        HKEY key = nullptr, software = nullptr;
        RegCreateKeyExA(scratch, hive.name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegCreateKeyExA(scratch, hive.software, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &software,
                        nullptr);
        RegCloseKey(software);
        RegCloseKey(key);
    }
    RegCloseKey(scratch);
    // Read on every access of the store, so it reaches the programs the test starts too.
    env_.push_back(std::make_unique<ScopedEnv>("MORVEK_REGISTRY_KEY", scratchKey_));
#else
    env_.push_back(std::make_unique<ScopedEnv>("HOME", dir_.Path()));
    env_.push_back(std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", dir_ / "config"));
    env_.push_back(std::make_unique<ScopedEnv>("MORVEK_MACHINE_REGISTRY", MachineHiveFile()));
#endif
}

IsolatedUser::~IsolatedUser() {
#ifdef _WIN32
    env_.clear();
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey_.c_str());
#endif
}

std::string IsolatedUser::UserHiveFile() const {
    return dir_ / "config" + Sep() + "Morvek" + Sep() + "user.reg";
}

std::string IsolatedUser::MachineHiveFile() const {
    return dir_ / "machine.reg";
}

std::string IsolatedUser::AppDataFolder() const {
    return dir_ / "data";
}

#ifdef _WIN32
Started::Started(const std::vector<std::string>& argv) {
    std::string line;
    for (const std::string& a : argv)
        line += (line.empty() ? "" : " ") + ("\"" + a + "\"");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!argv.empty() && CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        handle_ = pi.hProcess;
        id_ = pi.dwProcessId;
    }
}

Started::~Started() {
    Kill();
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
}

bool Started::Running() {
    return handle_ && WaitForSingleObject(static_cast<HANDLE>(handle_), 0) == WAIT_TIMEOUT;
}

bool Started::WaitForEnd(int milliseconds) {
    return !handle_ || WaitForSingleObject(static_cast<HANDLE>(handle_),
                                           static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

void Started::Kill() {
    if (Running()) {
        TerminateProcess(static_cast<HANDLE>(handle_), 9);
        WaitForSingleObject(static_cast<HANDLE>(handle_), 5000);
    }
}
#else
namespace {
// The argument vector as exec takes it: pointers into argv, then a null.
std::vector<char*> ExecArguments(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    return args;
}
} // namespace

Started::Started(const std::vector<std::string>& argv) {
    if (argv.empty())
        return;
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args = ExecArguments(argv);
        execv(args[0], args.data());
        _exit(127);
    }
    if (pid > 0)
        id_ = static_cast<unsigned long>(pid);
}

Started::~Started() {
    Kill();
}

bool Started::Running() {
    if (!id_ || ended_)
        return false;
    int status = 0;
    pid_t r = waitpid(static_cast<pid_t>(id_), &status, WNOHANG);
    if (r == 0)
        return true;
    ended_ = true;
    return false;
}

bool Started::WaitForEnd(int milliseconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (Running()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void Started::Kill() {
    if (Running()) {
        kill(static_cast<pid_t>(id_), SIGKILL);
        WaitForEnd(5000);
    }
}
#endif

#ifdef _WIN32
namespace {
// Runs a Windows program, with extra variables for it, and collects both streams.
RunResult RunWindows(const std::vector<std::string>& argv, const std::string& folder,
                     const std::vector<std::pair<std::string, std::string>>& set) {
    RunResult result;
    if (argv.empty())
        return result;
    platform::ProcessSpec spec;
    spec.program = argv[0];
    spec.args.assign(argv.begin() + 1, argv.end());
    spec.folder = folder;
    spec.set = set;
    platform::ChildProcess child;
    std::string error;
    if (!child.Start(spec, error))
        return result;
    child.Pump([&](platform::ProcessStream stream, const char* data, size_t size) {
        (stream == platform::ProcessStream::Output ? result.out : result.err).append(data, size);
    });
    result.status = child.Wait();
    return result;
}
} // namespace

RunResult Run(const std::vector<std::string>& argv, const std::string& folder) {
    return RunWindows(argv, folder, {});
}
RunResult Shell(const std::string& script, const std::string& folder) {
    // Under Wine the test shim runs the Linux /bin/sh (tests/programs/cvs-shim.cpp).
    const std::string shim = BinDir() + "\\cvs-shim.exe";
    if (!RunningUnderWine() || GetFileAttributesA(shim.c_str()) == INVALID_FILE_ATTRIBUTES)
        return RunResult{};
    return RunWindows({shim, "-c", script}, folder, {{"CVS_SHIM_TARGET", "/bin/sh"}});
}
bool HaveProgram(const std::string& name) {
    return Shell("command -v '" + name + "' >/dev/null 2>&1").status == 0;
}
std::string UnixPath(const std::string& path) {
    using UnixNameFn = char*(CDECL*)(const WCHAR*);
    auto toUnix = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return path;
    std::wstring wide(path.begin(), path.end());
    char* unixPath = toUnix(wide.c_str());
    if (!unixPath)
        return path;
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}
bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
bool RunningAsRoot() {
    return false;
}
bool ProcessIsAlive(long pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                 static_cast<DWORD>(pid));
    if (!process)
        return false;
    DWORD code = 0;
    bool alive = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE &&
                 WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return alive;
}

TerminalRunResult RunOnTerminal(const std::vector<std::string>&, const std::vector<TerminalStep>&) {
    return TerminalRunResult{};
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
        std::vector<char*> args = ExecArguments(argv);
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
        std::vector<char*> args = ExecArguments(argv);
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
std::string UnixPath(const std::string& path) {
    return path;
}
bool RunningAsRoot() {
    return geteuid() == 0;
}
bool ProcessIsAlive(long pid) {
    if (pid <= 0)
        return false;
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    if (stat.empty())
        return false;
    std::string::size_type close = stat.rfind(')');
    return close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] != 'Z';
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
