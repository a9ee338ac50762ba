// platform/win32/Launch.cpp - a configured program started from its command line.
#include "platform/Launch.h"
#include "platform/win32/Win32.h"

#include <vector>

namespace platform {

bool StartProgram(const std::string& commandLine, const std::string&, std::string& error) {
    if (win32::Injected(FaultKind::Process, ERROR_NOT_ENOUGH_MEMORY, "StartProgram", commandLine)) {
        error = win32::ErrorText(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_SHOWNORMAL;
    startup.dwX = 10;
    startup.dwY = 10;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    // The tool is the user's from now on: it leaves the job of whoever started us, so that
    // it stays open when that job ends (a host run from a script, say). A job that allows no
    // leaving refuses with "access denied"; the tool then starts inside it.
    BOOL started =
        ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_BREAKAWAY_FROM_JOB,
                         nullptr, nullptr, &startup, &process);
    if (!started && ::GetLastError() == ERROR_ACCESS_DENIED)
        started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process);
    if (!started) {
        error = win32::ErrorText(::GetLastError());
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

} // namespace platform
