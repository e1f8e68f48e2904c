// Calendar arithmetic on day numbers and the European summer-time rule.
//
// A day number counts days such that 1970-01-01 00:00 of the local clock is 2440587.0 (the local
// Julian Day minus 0.5): its integer part changes at local midnight.
#pragma once

#include <cstdint>

namespace events {

// 1 January of the year 1, 00:00: the first day number with a date text.
inline constexpr double FirstDayNumberOfYearOne = 1721423.0;

// Day numbers beyond +-1e11 (years beyond about +-270 million) have no calendar date here: the
// year would not stay a 32-bit integer for much longer, and no event of this program lies there.
inline constexpr double CalendarDayNumberLimit = 1.0e11;

struct CalendarDate {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1..12; 0 when the day number has no date
    std::int32_t day = 0;    // 1..31
};

// Jean Meeus, Astronomical Algorithms, 2nd ed., chapter 7, applied to the day number plus 1 (the
// Julian Day plus 0.5). Dates before 15 October 1582 come out in the Julian calendar. Day numbers
// that are not finite or lie beyond CalendarDayNumberLimit give {0, 0, 0}.
CalendarDate calendarDate(double dayNumber);

// 1 when the year has a 29 February in the Gregorian calendar, else 0 (the year 0 is one).
std::int32_t leapFlag(std::int32_t year);

// Weekday of a proleptic Gregorian date, 0 = Sunday .. 6 = Saturday, for any 32-bit year.
std::int32_t weekdayOf(std::int32_t year, std::int32_t month, std::int32_t day);

// Which switch day summerTimeSwitchDay gives.
enum class SummerTimeSwitch : std::int32_t {
    Start = 0,        // last Sunday of March
    EndFrom1996 = 1,  // last Sunday of October
    EndUpTo1995 = 2,  // September up to 1995, then October
};

struct SwitchDay {
    std::int32_t day = 0;
    std::int32_t month = 0;
};

// The last Sunday of March (Start, or any value other than the two ends), of October
// (EndFrom1996), or of September up to 1995 and October from 1996 (EndUpTo1995), for any year.
SwitchDay summerTimeSwitchDay(std::int32_t year, SummerTimeSwitch which);

// 1 when the calendar day of the day number lies in the European summer-time period: from the
// last Sunday of March to the last Sunday of September (up to 1995) or October (from 1996), both
// switch days counted in full; none before 1980. Else 0.
std::int32_t isSummerTime(double dayNumber);

}  // namespace events
