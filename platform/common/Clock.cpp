// platform/common/Clock.cpp - the fixed clock of tests, above each platform's real one.
#include "platform/Clock.h"

#include "platform/common/SystemClock.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {
namespace {

std::mutex& FixedLock() {
    static std::mutex lock;
    return lock;
}
bool g_fixed = false;
LocalTime g_fixedTime;

} // namespace

bool ParseLocalTime(const char* text, LocalTime& time) {
    if (!text)
        return false;
    LocalTime t;
    char tee = 0;
    int used = 0;
    if (std::sscanf(text, "%4d-%2d-%2d%c%2d:%2d:%2d%n", &t.year, &t.month, &t.day, &tee, &t.hour,
                    &t.minute, &t.second, &used) != 7 ||
        text[used] != '\0' || (tee != 'T' && tee != ' '))
        return false;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 ||
        t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 60)
        return false;
    time = t;
    return true;
}

void SetTestClock(const LocalTime* fixed) {
    std::lock_guard<std::mutex> guard(FixedLock());
    g_fixed = fixed != nullptr;
    if (fixed)
        g_fixedTime = *fixed;
}

LocalTime LocalNow() {
    {
        std::lock_guard<std::mutex> guard(FixedLock());
        if (g_fixed)
            return g_fixedTime;
    }
    LocalTime fromEnvironment;
    if (ParseLocalTime(std::getenv("MORVEK_TEST_CLOCK"), fromEnvironment))
        return fromEnvironment;
    return detail::SystemLocalTime();
}

} // namespace platform
