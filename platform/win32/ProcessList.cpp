// platform/win32/ProcessList.cpp - processes through PSAPI, loaded at run time; ShellExecuteA.
#include "platform/ProcessList.h"
#include "platform/win32/Win32.h"

#include <shellapi.h>

namespace platform {
namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

constexpr DWORD kRights = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE;

} // namespace

bool ListProcesses(std::vector<ProcessEntry>& processes) {
    processes.clear();
    if (win32::Injected(FaultKind::Process, ERROR_ACCESS_DENIED, "ListProcesses", std::string()))
        return false;
    // PSAPI stays loaded for the rest of the process.
    HMODULE psapi = ::LoadLibraryA("PSAPI.DLL");
    if (!psapi)
        return false;
    auto enumModules = reinterpret_cast<EnumProcessModulesFn>(
        reinterpret_cast<void*>(::GetProcAddress(psapi, "EnumProcessModules")));
    auto baseName = reinterpret_cast<GetModuleBaseNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(psapi, "GetModuleBaseNameA")));
    auto enumProcesses = reinterpret_cast<EnumProcessesFn>(
        reinterpret_cast<void*>(::GetProcAddress(psapi, "EnumProcesses")));
    if (!enumModules || !baseName || !enumProcesses)
        return false;
    DWORD ids[1024];
    DWORD bytes = 0;
    if (!enumProcesses(ids, sizeof ids, &bytes))
        return false;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        HANDLE process = ::OpenProcess(kRights, FALSE, ids[i]);
        if (!process)
            continue;
        HMODULE first = nullptr;
        DWORD needed = 0;
        char name[MAX_PATH] = {};
        if (enumModules(process, &first, sizeof first, &needed) &&
            baseName(process, first, name, MAX_PATH) > 0) {
            ProcessEntry entry;
            entry.id = ids[i];
            entry.baseName = name;
            processes.push_back(entry);
        }
        ::CloseHandle(process);
    }
    return true;
}

bool TerminateProcessById(uint32_t id) {
    if (win32::Injected(FaultKind::Process, ERROR_ACCESS_DENIED, "TerminateProcessById",
                        std::to_string(id)))
        return false;
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, id);
    if (!process)
        return false;
    BOOL ok = ::TerminateProcess(process, 0);
    ::CloseHandle(process);
    return ok != FALSE;
}

uint32_t CurrentProcessId() {
    return ::GetCurrentProcessId();
}

void ShellOpen(const std::string& path) {
    ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace platform
