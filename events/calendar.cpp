#include "events/calendar.hpp"

#include <cmath>
#include <cstdint>

namespace events {
namespace {

// Single-precision constants of the date conversion, widened where used.
constexpr double widen(float value)
{
    return static_cast<double>(value);
}

// First Julian Day number (at noon) of the Gregorian calendar, 1582 October 15.
constexpr double FirstGregorianDay = 2299161.0;

// Days from 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil), in 64
// bits so that every 32-bit year works.
constexpr std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

static_assert(daysFromCivil(1970, 1, 1) == 0);

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
    // Remainders rather than "(year div n) * n div year", which divides by zero for the year 0.
    const auto divisible = [year](std::int32_t n) { return year % n == 0 ? 1 : 0; };
    return divisible(4) - divisible(100) + divisible(400);
}

std::int32_t weekdayOf(std::int32_t year, std::int32_t month, std::int32_t day)
{
    const std::int64_t days = daysFromCivil(year, month, day);
    // 1970-01-01 was a Thursday (4).
    const std::int64_t weekday = (days % 7 + 7 + 4) % 7;
    return static_cast<std::int32_t>(weekday);
}

SwitchDay summerTimeSwitchDay(std::int32_t year, std::int32_t which)
{
    std::int32_t month = 3;
    if (which == SummerTimeEndFrom1996) {
        month = 10;
    } else if (which == SummerTimeEndUpTo1995) {
        month = year <= 1995 ? 9 : 10;
    }
    const std::int32_t monthLength[12] = {
        31, 28 + leapFlag(year), 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const std::int32_t candidate = monthLength[month - 1] - 7;
    // A Sunday candidate moves a whole week on: the result is always among the last seven days.
    return {candidate + 7 - weekdayOf(year, month, candidate), month};
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
    const SwitchDay start = summerTimeSwitchDay(date.year, SummerTimeStart);
    const SwitchDay end = summerTimeSwitchDay(
        date.year, date.year >= 1996 ? SummerTimeEndFrom1996 : SummerTimeEndUpTo1995);
    const std::int32_t v = 100 * date.month + date.day;
    return 100 * start.month + start.day <= v && v <= 100 * end.month + end.day ? 1 : 0;
}

}  // namespace events
