// platform/win32/Win32.h - the one way Win32 implementation files reach <windows.h>.
//
// Only platform/win32 includes this. It keeps the macro noise of <windows.h> (min, max,
// the A/W name macros) away from every other floor.
#pragma once

#include "platform/FaultInjection.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace platform::win32 {

// The system's message text for an error code, without its trailing line break.
inline std::string ErrorText(DWORD code) {
    char* buffer = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : std::string();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

// FILETIME (100 ns ticks since 1601) to seconds since 1970, rounding toward the past.
inline int64_t FileTimeToUnix(const FILETIME& ft) {
    int64_t ticks =
        static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    int64_t seconds = ticks / 10000000;
    if (ticks % 10000000 < 0)
        --seconds;
    return seconds - 11644473600LL;
}

inline FILETIME UnixToFileTime(int64_t unixSeconds) {
    uint64_t ticks = static_cast<uint64_t>((unixSeconds + 11644473600LL) * 10000000LL);
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

// Whether an armed fault fails this call; the last error is then what the real failure sets.
inline bool Injected(FaultKind kind, DWORD error, const char* call, const std::string& subject) {
    if (!FaultDue(kind, call, subject))
        return false;
    ::SetLastError(error);
    return true;
}

} // namespace platform::win32
