#include "events/calendar.hpp"

#include "astro/calendar_days.hpp"

#include <chrono>
#include <cmath>
#include <cstdint>

namespace events {
namespace {

namespace chr = std::chrono;

// Single-precision constants of the date conversion, widened where used.
constexpr double widen(float value)
{
    return static_cast<double>(value);
}

// First Julian Day number (at noon) of the Gregorian calendar, 1582 October 15.
constexpr double FirstGregorianDay = 2299161.0;

}  // namespace

CalendarDate calendarDate(double dayNumber)
{
    if (!(std::fabs(dayNumber) <= CalendarDayNumberLimit)) {
        return {};  // also NaN and the infinities
    }
    // Z = floor(day number + 0.5 + 0.5), taken as floor(day number) + 1: the same number, but the
    // two additions could round a day number a hair before midnight up to the next day (just
    // below 2^21, 2^22 or 2^23, or just below 0), which then got the next day's date.
    const double Z = std::floor(dayNumber) + 1;
    double A = Z;
    if (Z >= FirstGregorianDay) {
        const double alpha = std::floor((Z - 1867216.25) / 36524.25);
        A = Z + 1 + alpha - std::floor(alpha / 4);
    }
    const double B = A + 1524;
    const double C = std::floor((B - widen(122.1f)) / widen(365.25f));
    const double D = std::floor(widen(365.25f) * C);
    const double E = std::floor((B - D) / widen(30.6001f));

    CalendarDate date;
    date.day = static_cast<std::int32_t>(B - D - std::floor(widen(30.6001f) * E));
    date.month = static_cast<std::int32_t>(E < 14 ? E - 1 : E - 13);
    date.year = static_cast<std::int32_t>(date.month > 2 ? C - 4716 : C - 4715);
    return date;
}

std::int32_t leapFlag(std::int32_t year)
{
    return astro::sameCalendarYear(year).is_leap() ? 1 : 0;
}

std::int32_t weekdayOf(std::int32_t year, std::int32_t month, std::int32_t day)
{
    const chr::sys_days date{chr::days{astro::daysFromCivil(year, month, day)}};
    return static_cast<std::int32_t>(chr::weekday{date}.c_encoding());
}

SwitchDay summerTimeSwitchDay(std::int32_t year, SummerTimeSwitch which)
{
    std::int32_t month = 3;
    if (which == SummerTimeSwitch::EndFrom1996) {
        month = 10;
    } else if (which == SummerTimeSwitch::EndUpTo1995) {
        month = year <= 1995 ? 9 : 10;
    }
    const chr::year_month_weekday_last lastSunday{astro::sameCalendarYear(year) /
                                                  chr::month{static_cast<unsigned>(month)} /
                                                  chr::Sunday[chr::last]};
    const chr::year_month_day date{chr::sys_days{lastSunday}};
    return {static_cast<std::int32_t>(static_cast<unsigned>(date.day())), month};
}

std::int32_t isSummerTime(double dayNumber)
{
    if (!(dayNumber >= FirstDayNumberOfYearOne)) {
        return 0;
    }
    const CalendarDate date = calendarDate(dayNumber);
    if (date.year < 1980) {
        return 0;  // also for a day number without a date (year 0)
    }
    const SwitchDay start = summerTimeSwitchDay(date.year, SummerTimeSwitch::Start);
    const SwitchDay end =
        summerTimeSwitchDay(date.year, date.year >= 1996 ? SummerTimeSwitch::EndFrom1996
                                                         : SummerTimeSwitch::EndUpTo1995);
    const std::int32_t v = 100 * date.month + date.day;
    return 100 * start.month + start.day <= v && v <= 100 * end.month + end.day ? 1 : 0;
}

}  // namespace events
