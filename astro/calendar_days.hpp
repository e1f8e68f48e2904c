// Days of the proleptic Gregorian calendar: the one home of the day counts of civil dates, for the
// time scales (astro/time_scale.cpp) and the calendar rules of the event logic
// (events/calendar.cpp). Weekdays, month ends and leap days come from <chrono>; years beyond its
// range (-32767..32767) reach it through the 400-year cycle.
#pragma once

#include <chrono>
#include <cstdint>
#include <limits>

namespace astro {

// The Gregorian calendar repeats every 400 years: 146097 days, a whole number of weeks.
inline constexpr std::int64_t YearsPerGregorianCycle = 400;
inline constexpr std::int64_t DaysPerGregorianCycle = 146097;
static_assert(DaysPerGregorianCycle % 7 == 0);
// Day counts of far years and far field values (some 1e12 days) go into std::chrono::days.
static_assert(std::numeric_limits<std::chrono::days::rep>::digits >= 63);

// The year of 2000..2399 whose calendar (leap day, weekdays, month lengths) is that of `year`,
// for any year.
constexpr std::chrono::year sameCalendarYear(std::int64_t year)
{
    const std::int64_t inCycle =
        (year % YearsPerGregorianCycle + YearsPerGregorianCycle) % YearsPerGregorianCycle;
    return std::chrono::year{static_cast<int>(2000 + inCycle)};
}

// Days from 1970-01-01 to year-month-day for any field values, as the calendar record's 16-bit
// fields and weekdayOf's 32-bit ones may hold them (Howard Hinnant's days_from_civil). A day
// beyond its month carries over, and so do the months 0, 13 and 14; months further out keep to
// the formula's (153 * month + 2) / 5 days from the March that begins the year, about 30.6 days a
// month, which is no calendar date. std::chrono has dates with months 1..12 only, so the formula
// stays written out, here alone.
constexpr std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * DaysPerGregorianCycle + dayOfEra - 719468;
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(daysFromCivil(2024, 3, 31) ==
              std::chrono::sys_days{std::chrono::year{2024} / 3 / 31}.time_since_epoch().count());

}  // namespace astro
