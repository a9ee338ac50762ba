// platform/win32/Clock.cpp - the system's local time.
#include "platform/common/SystemClock.h"
#include "platform/win32/Win32.h"

namespace platform::detail {
namespace {
LocalTime FromSystemTime(const SYSTEMTIME& st) {
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    return t;
}
} // namespace

LocalTime SystemLocalTime() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return FromSystemTime(st);
}

} // namespace platform::detail

namespace platform {

LocalTime ToLocalTime(int64_t unixSeconds) {
    // 100-ns ticks since 1601, then the zone's rules for that date (daylight saving as it
    // was then, not as it is now).
    const unsigned long long ticks =
        static_cast<unsigned long long>(unixSeconds + 11644473600LL) * 10000000ULL;
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(ticks);
    utc.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME universal, local;
    if (!::FileTimeToSystemTime(&utc, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return LocalTime();
    return detail::FromSystemTime(local);
}

} // namespace platform
