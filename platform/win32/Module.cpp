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

#include <vector>

namespace platform {

std::string ThisModuleVersionText() {
    const std::string path = ThisModulePath();
    DWORD handle = 0;
    DWORD size = path.empty() ? 0 : ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size > 0) {
        std::vector<char> data(size);
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        if (::GetFileVersionInfoA(path.c_str(), 0, size, data.data()) &&
            ::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) && info &&
            length >= sizeof(VS_FIXEDFILEINFO)) {
            char text[64];
            wsprintfA(text, "%d.%d.%d.%d", HIWORD(info->dwProductVersionMS),
                      LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS),
                      LOWORD(info->dwProductVersionLS));
            return text;
        }
    }
    return MORVEK_VERSION_TEXT;
}

} // namespace platform
