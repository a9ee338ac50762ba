// platform/posix/Clock.cpp - the system's local time.
#include "platform/common/SystemClock.h"

#include <ctime>

namespace platform::detail {

LocalTime SystemLocalTime() {
    std::time_t now = std::time(nullptr);
    struct tm parts {};
    ::localtime_r(&now, &parts);
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    return t;
}

} // namespace platform::detail
