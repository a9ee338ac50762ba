// ui/framework/DateValue.cpp - date values and their formatting.
#include "ui/framework/DateValue.h"

#include "platform/Clock.h"

#include <cstdio>
#include <ctime>

namespace uifw {
namespace {

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

// 0 for Sunday (the Gregorian calendar, Sakamoto's method).
int Weekday(int year, int month, int day) {
    static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        --year;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

std::string Number(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

} // namespace

DateValue DateValue::Make(int year, int month, int day, int hour, int minute, int second) {
    DateValue value;
    value.year = year;
    value.month = month;
    value.day = day;
    value.hour = hour;
    value.minute = minute;
    value.second = second;
    const bool ok = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                    day <= DaysInMonth(year, month) && hour >= 0 && hour < 24 && minute >= 0 &&
                    minute < 60 && second >= 0 && second < 60;
    value.state = ok ? State::Valid : State::Invalid;
    return value;
}

DateValue DateValue::Invalid() {
    DateValue value;
    value.state = State::Invalid;
    return value;
}

DateValue DateValue::Now() {
    const platform::LocalTime now = platform::LocalNow();
    return Make(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

bool DateValue::operator==(const DateValue& other) const {
    if (state != other.state)
        return false;
    if (state != State::Valid)
        return true;
    return year == other.year && month == other.month && day == other.day && hour == other.hour &&
           minute == other.minute && second == other.second;
}

std::string DateValue::Format(const std::string& format) const {
    if (!IsValid())
        return std::string();
    std::string out;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '\'') {
            size_t end = format.find('\'', i + 1);
            if (end == std::string::npos)
                end = format.size();
            out.append(format, i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
        switch (c) {
        case 'y':
            out += run >= 4 ? Number(year, 4) : Number(year % 100, 2);
            break;
        case 'M':
            out += run >= 4   ? std::string(kMonthNames[month - 1])
                   : run == 3 ? std::string(kMonthNames[month - 1], 3)
                              : Number(month, static_cast<int>(run));
            break;
        case 'd':
            out += run >= 4   ? std::string(kDayNames[Weekday(year, month, day)])
                   : run == 3 ? std::string(kDayNames[Weekday(year, month, day)], 3)
                              : Number(day, static_cast<int>(run));
            break;
        case 'H':
            out += Number(hour, static_cast<int>(run > 2 ? 2 : run));
            break;
        case 'h':
            out += Number(hour12, static_cast<int>(run > 2 ? 2 : run));
            break;
        case 'm':
            out += Number(minute, static_cast<int>(run > 2 ? 2 : run));
            break;
        case 's':
            out += Number(second, static_cast<int>(run > 2 ? 2 : run));
            break;
        case 't':
            out += run >= 2 ? (hour < 12 ? "AM" : "PM") : (hour < 12 ? "A" : "P");
            break;
        default:
            out.append(run, c);
        }
        i += run;
    }
    return out;
}

DateValue ParseYearMonthDay(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return DateValue::Invalid();
    int parts[3] = {0, 0, 0};
    int part = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        if (text[i] < '0' || text[i] > '9')
            return DateValue::Invalid();
        parts[part] = parts[part] * 10 + (text[i] - '0');
    }
    return DateValue::Make(parts[0], parts[1], parts[2]);
}

DateValue ParseMonthDayYear(const std::string& text) {
    int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    int used = -1;
    const char* s = text.c_str();
    if (std::sscanf(s, "%d/%d/%d%n", &month, &day, &year, &used) != 3 || used < 0)
        return DateValue::Invalid();
    s += used;
    if (*s == ' ') {
        used = -1;
        if (std::sscanf(s, " %d:%d%n", &hour, &minute, &used) != 2 || used < 0)
            return DateValue::Invalid();
        s += used;
        if (*s == ':') {
            used = -1;
            if (std::sscanf(s, ":%d%n", &second, &used) != 1 || used < 0)
                return DateValue::Invalid();
            s += used;
        }
    }
    if (*s != '\0' || year < 1000)
        return DateValue::Invalid();
    return DateValue::Make(year, month, day, hour, minute, second);
}

} // namespace uifw
