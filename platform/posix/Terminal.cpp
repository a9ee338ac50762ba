// platform/posix/Terminal.cpp - the terminal through termios; Ctrl-C through SIGINT.
#include "platform/Terminal.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

int Descriptor(StandardStream stream) {
    switch (stream) {
    case StandardStream::Input:
        return STDIN_FILENO;
    case StandardStream::Output:
        return STDOUT_FILENO;
    case StandardStream::Error:
        break;
    }
    return STDERR_FILENO;
}

void WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<size_t>(n);
    }
}

// The terminal settings to put back when a signal ends the program while echo is off.
struct termios g_savedTermios;
volatile sig_atomic_t g_echoOff = 0;
const int kRestoreSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction g_previous[sizeof kRestoreSignals / sizeof kRestoreSignals[0]];

void RestoreAndReraise(int sig) {
    if (g_echoOff)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTermios);
    g_echoOff = 0;
    for (size_t i = 0; i < sizeof kRestoreSignals / sizeof kRestoreSignals[0]; ++i)
        if (kRestoreSignals[i] == sig)
            ::sigaction(sig, &g_previous[i], nullptr);
    ::raise(sig);
}

class EchoOff {
public:
    EchoOff() {
        if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &g_savedTermios) != 0)
            return;
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = RestoreAndReraise;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < sizeof kRestoreSignals / sizeof kRestoreSignals[0]; ++i)
            ::sigaction(kRestoreSignals[i], &action, &g_previous[i]);
        struct termios quiet = g_savedTermios;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK);
        quiet.c_lflag |= ECHONL;
        // Flushing drops what was typed ahead, which the terminal has already shown.
        g_echoOff = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        active_ = true;
    }
    ~EchoOff() {
        if (!active_)
            return;
        if (g_echoOff)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTermios);
        g_echoOff = 0;
        for (size_t i = 0; i < sizeof kRestoreSignals / sizeof kRestoreSignals[0]; ++i)
            ::sigaction(kRestoreSignals[i], &g_previous[i], nullptr);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool active_ = false;
};

} // namespace

bool IsConsoleProgram() {
    return true;
}

bool IsTerminal(StandardStream stream) {
    return ::isatty(Descriptor(stream)) == 1;
}

bool ReadTerminalLine(const std::string& prompt, std::string& line, bool echo) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::unique_ptr<EchoOff> quiet;
    if (!echo)
        quiet = std::make_unique<EchoOff>();
    WriteAll(STDERR_FILENO, prompt.data(), prompt.size());
    line.clear();
    // One byte at a time: nothing beyond the line end is taken from standard input.
    for (;;) {
        char c;
        ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return !line.empty();
        if (c == '\n')
            break;
        line.push_back(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

int TerminalColumns() {
    struct winsize size;
    if (!::isatty(STDERR_FILENO) || ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}

// The signal handler only writes a byte into a pipe; the watch's thread reads it and calls
// the function, outside the handler.
struct InterruptWatch::State {
    int pipe[2] = {-1, -1};
    std::thread thread;
    std::function<void()> onInterrupt;
    struct sigaction previous;
};

namespace {
std::atomic<int> g_interruptPipe{-1};
volatile sig_atomic_t g_interrupts = 0;
struct sigaction g_beforeWatch;

void OnSigint(int) {
    const int saved = errno;
    if (++g_interrupts >= 2) {
        ::sigaction(SIGINT, &g_beforeWatch, nullptr);
        ::raise(SIGINT);
    } else {
        const int fd = g_interruptPipe.load();
        if (fd >= 0) {
            const char byte = 'i';
            (void)!::write(fd, &byte, 1);
        }
    }
    errno = saved;
}
} // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt) {
    if (g_interruptPipe.load() >= 0)
        return;
    auto state = std::make_unique<State>();
    if (::pipe2(state->pipe, O_CLOEXEC) != 0)
        return;
    state->onInterrupt = std::move(onInterrupt);
    State* raw = state.get();
    state->thread = std::thread([raw] {
        for (;;) {
            char byte = 0;
            ssize_t n = ::read(raw->pipe[0], &byte, 1);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0 || byte != 'i')
                return;
            if (raw->onInterrupt)
                raw->onInterrupt();
        }
    });
    g_interrupts = 0;
    g_interruptPipe.store(state->pipe[1]);
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnSigint;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &g_beforeWatch);
    state_ = std::move(state);
}

InterruptWatch::~InterruptWatch() {
    if (!state_)
        return;
    ::sigaction(SIGINT, &g_beforeWatch, nullptr);
    g_interruptPipe.store(-1);
    const char stop = 'q';
    WriteAll(state_->pipe[1], &stop, 1);
    state_->thread.join();
    ::close(state_->pipe[0]);
    ::close(state_->pipe[1]);
}

} // namespace platform
