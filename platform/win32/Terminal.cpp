// platform/win32/Terminal.cpp - the console: its input mode for typing without echo, its
// screen buffer for the width, its control handler for Ctrl-C.
#include "platform/Terminal.h"
#include "platform/win32/Win32.h"

#include <cstdio>
#include <mutex>

namespace platform {
namespace {

DWORD HandleId(StandardStream stream) {
    switch (stream) {
    case StandardStream::Input:
        return STD_INPUT_HANDLE;
    case StandardStream::Output:
        return STD_OUTPUT_HANDLE;
    case StandardStream::Error:
        break;
    }
    return STD_ERROR_HANDLE;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle && ::GetConsoleMode(handle, &mode);
}

} // namespace

bool IsConsoleProgram() {
    const auto* base = reinterpret_cast<const unsigned char*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI;
}

bool IsTerminal(StandardStream stream) {
    return IsConsole(::GetStdHandle(HandleId(stream)));
}

bool ReadTerminalLine(const std::string& prompt, std::string& line, bool echo) {
    std::fflush(stdout);
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    line.clear();
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (!IsConsole(input)) {
        for (;;) {
            char c;
            DWORD n = 0;
            if (!::ReadFile(input, &c, 1, &n, nullptr) || n == 0)
                return !line.empty();
            if (c == '\n')
                break;
            line.push_back(c);
        }
    } else {
        DWORD mode = 0;
        ::GetConsoleMode(input, &mode);
        if (!echo)
            ::SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
        bool ended = false;
        for (;;) {
            char buffer[256];
            DWORD n = 0;
            if (!::ReadConsoleA(input, buffer, sizeof buffer, &n, nullptr) || n == 0) {
                ended = line.empty();
                break;
            }
            line.append(buffer, n);
            if (!line.empty() && line.back() == '\n')
                break;
        }
        if (!echo) {
            ::SetConsoleMode(input, mode);
            std::fputs("\n", stderr);
            std::fflush(stderr);
        }
        // Ctrl-Z at the start of a line is the console's end of input.
        if (ended || (!line.empty() && line[0] == '\x1a'))
            return false;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

int TerminalColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info))
        return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

// The console runs its control handler on a thread of its own, so the function is called
// from there directly.
struct InterruptWatch::State {
    std::function<void()> onInterrupt;
};

namespace {
std::mutex g_watchLock;
InterruptWatch::State* g_watch = nullptr;
int g_interrupts = 0;

BOOL WINAPI OnControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    std::lock_guard<std::mutex> guard(g_watchLock);
    if (!g_watch || ++g_interrupts >= 2)
        return FALSE;
    if (g_watch->onInterrupt)
        g_watch->onInterrupt();
    return TRUE;
}
} // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt) {
    std::lock_guard<std::mutex> guard(g_watchLock);
    if (g_watch)
        return;
    state_ = std::make_unique<State>();
    state_->onInterrupt = std::move(onInterrupt);
    g_watch = state_.get();
    g_interrupts = 0;
    ::SetConsoleCtrlHandler(OnControl, TRUE);
}

InterruptWatch::~InterruptWatch() {
    if (!state_)
        return;
    ::SetConsoleCtrlHandler(OnControl, FALSE);
    std::lock_guard<std::mutex> guard(g_watchLock);
    g_watch = nullptr;
}

} // namespace platform
