// platform/ProcessList.h - other running processes: listing, stopping, starting by the shell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ProcessEntry {
    uint32_t id = 0;
    std::string baseName; // the file name of the process's executable, e.g. "Belmora.exe"
};

// The running processes this process could stop, with the base name of their executable.
//  - Windows: every process that opens with the rights to query it, read its memory and
//    terminate it; the base name is that of its first module (PSAPI, loaded at run time:
//    false when PSAPI.DLL or one of its functions is missing, or enumeration fails).
//  - POSIX: the processes of the same real user, from /proc; the base name is the last
//    component of the file /proc/PID/exe points to (" (deleted)" dropped, so a program
//    replaced on disk while it runs still shows its name). Processes whose executable
//    cannot be read (zombies, kernel threads) are left out.
bool ListProcesses(std::vector<ProcessEntry>& processes);
// Stops a process at once (Windows: TerminateProcess with exit code 0; POSIX: SIGKILL).
bool TerminateProcessById(uint32_t id);
uint32_t CurrentProcessId();

// Opens a file as the desktop would with the verb "open", with no owner window, shown
// normally; what happens then is not reported. Windows: ShellExecuteA. POSIX: an executable
// file is started in a session of its own, with no arguments, standard streams on
// /dev/null and nobody waiting for it; anything else is left alone.
void ShellOpen(const std::string& path);

} // namespace platform
