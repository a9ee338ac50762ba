// platform/Clock.h - the local time of day.
//
// Tests fix the clock, in two ways:
//  - the environment variable MORVEK_TEST_CLOCK, "YYYY-MM-DDTHH:MM:SS" in local time, makes
//    every reading in the process give that time (it reaches a module loaded by path, and a
//    program started by a test); a value that does not parse is ignored;
//  - SetTestClock does the same inside one process and wins over the variable.
#pragma once

#include <cstdint>

namespace platform {

struct LocalTime {
    int year = 1970; // four digits
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

LocalTime LocalNow();
// An instant (seconds since 1970-01-01 00:00:00 UTC) in the local time of the machine.
LocalTime ToLocalTime(int64_t unixSeconds);
// A fixed time for every later LocalNow, or null for the real clock again.
void SetTestClock(const LocalTime* fixed);
// Parses "YYYY-MM-DDTHH:MM:SS"; false when the text is not of that form.
bool ParseLocalTime(const char* text, LocalTime& time);

} // namespace platform
