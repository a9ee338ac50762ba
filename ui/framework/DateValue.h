// ui/framework/DateValue.h - the value of a date picker: a calendar date and time that may
// also be invalid (a failed conversion) or empty (no date chosen).
#pragma once

#include <string>

namespace uifw {

struct DateValue {
    enum class State { Valid, Invalid, Empty };
    State state = State::Empty;
    int year = 0, month = 0, day = 0; // month 1 to 12, day 1 to 31
    int hour = 0, minute = 0, second = 0;

    static DateValue Make(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0);
    static DateValue Invalid();
    static DateValue Empty() { return DateValue(); }
    // The current local date and time.
    static DateValue Now();

    bool IsValid() const { return state == State::Valid; }
    bool operator==(const DateValue& other) const;
    bool operator!=(const DateValue& other) const { return !(*this == other); }

    // Formats with the picker's format letters: yyyy, yy, MMMM, MMM, MM, M, dddd (the day of
    // the week), ddd, dd, d, HH, H, hh, h, mm, m, ss, s, tt; text in single quotes is copied;
    // anything else is copied as it stands. Invalid and empty values give an empty text.
    std::string Format(const std::string& format) const;
};

// Parses a date in the form month/day/year (the year with four digits), optionally
// followed by a space and hours:minutes[:seconds]; "invalid" otherwise.
DateValue ParseMonthDayYear(const std::string& text);
// Parses a date in the form year-month-day (yyyy-MM-dd, the form every cvs reads); "invalid"
// otherwise.
DateValue ParseYearMonthDay(const std::string& text);

} // namespace uifw
