// platform/posix/Clock.cpp - the system's local time.
#include "platform/common/SystemClock.h"

#include <ctime>

namespace platform {
namespace {
LocalTime Local(std::time_t when) {
    struct tm parts {};
    ::localtime_r(&when, &parts);
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    return t;
}
} // namespace

LocalTime ToLocalTime(int64_t unixSeconds) {
    ::tzset(); // the zone as the environment says it now
    return Local(static_cast<std::time_t>(unixSeconds));
}

namespace detail {
LocalTime SystemLocalTime() {
    return Local(std::time(nullptr));
}
} // namespace detail

} // namespace platform
