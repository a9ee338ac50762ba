// platform/win32/Clock.cpp - the system's local time.
#include "platform/common/SystemClock.h"
#include "platform/win32/Win32.h"

namespace platform::detail {

LocalTime SystemLocalTime() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    return t;
}

} // namespace platform::detail
