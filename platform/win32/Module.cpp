// platform/win32/Module.cpp - the module and program this code runs in.
#include "platform/Module.h"
#include "platform/win32/Win32.h"

namespace platform {
namespace {
void AddressInThisModule() {}

std::string FileNameOf(HMODULE module) {
    char buffer[MAX_PATH + 1];
    DWORD n = ::GetModuleFileNameA(module, buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}
} // namespace

std::string ThisModulePath() {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&AddressInThisModule), &module))
        return std::string();
    return FileNameOf(module);
}

std::string ExecutablePath() {
    return FileNameOf(nullptr);
}

} // namespace platform
