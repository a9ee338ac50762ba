// platform/posix/Launch.cpp - a configured program started on its own: fork twice, so the
// program is adopted by init and never waits to be reaped by the provider's host.
#include "platform/Launch.h"
#include "platform/Process.h"
#include "platform/posix/Posix.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

bool IsRunnableFile(const std::string& path, int& code) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        code = errno;
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        code = EISDIR;
        return false;
    }
    if (::access(path.c_str(), X_OK) != 0) {
        code = errno;
        return false;
    }
    return true;
}

// Where the program named by the command line's first word is, or empty with the cause.
std::string Locate(const std::string& program, const std::string& programFolder, int& code) {
    code = ENOENT;
    if (program.empty())
        return std::string();
    if (program.find('/') != std::string::npos)
        return IsRunnableFile(program, code) ? program : std::string();
    if (!programFolder.empty()) {
        const std::string beside = programFolder + "/" + program;
        int besideCode = 0;
        if (IsRunnableFile(beside, besideCode))
            return beside;
    }
    return FindProgramOnPath(program);
}

// Between fork and exec only async-signal-safe calls: everything is prepared before.
[[noreturn]] void RunGrandchild(const char* program, char* const* argv, int report) {
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction dfl;
    std::memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    for (int s = 1; s < NSIG; ++s)
        if (s != SIGKILL && s != SIGSTOP)
            ::sigaction(s, &dfl, nullptr);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (null > 2)
            ::close(null);
    }
    ::execve(program, argv, environ);
    const int code = errno;
    ssize_t ignored = ::write(report, &code, sizeof code);
    (void)ignored;
    ::_exit(127);
}

} // namespace

bool StartProgram(const std::string& commandLine, const std::string& programFolder,
                  std::string& error) {
    if (posix::Injected(FaultKind::Process, EAGAIN, "StartProgram", commandLine)) {
        error = std::strerror(EAGAIN);
        return false;
    }
    std::vector<std::string> words = SplitWindowsCommandLine(commandLine);
    int code = 0;
    const std::string program = Locate(words[0], programFolder, code);
    if (program.empty()) {
        error = std::strerror(code);
        return false;
    }
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    const pid_t middle = ::fork();
    if (middle < 0) {
        error = std::strerror(errno);
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (middle == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            RunGrandchild(program.c_str(), argv.data(), report[1]);
        if (grandchild < 0) {
            const int failed = errno;
            ssize_t ignored = ::write(report[1], &failed, sizeof failed);
            (void)ignored;
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // The write end closes at the program's exec (or its failure): nothing read is success.
    int failed = 0;
    ssize_t got;
    do
        got = ::read(report[0], &failed, sizeof failed);
    while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof failed)) {
        error = std::strerror(failed);
        return false;
    }
    return true;
}

} // namespace platform
