// Numeric forms of the local wall-clock time and the conversions between them.
//
// Every instant the window shows is a reading of the local clock: instants computed in Julian
// Ephemeris Days are used as Julian Days of the local clock, and whole hours are added afterwards
// by the callers. (Only the companion's true instants go through Delta-T to Universal Time,
// astro/delta_t.hpp.)
//
//   ticks        100-ns units since 1601-01-01 00:00 local (the platform's FILETIME count)
//   milliseconds signed, since 1970-01-01 00:00 local
//   day number   days; 1970-01-01 00:00 local is 2440587.0. It equals the local Julian Day
//                minus 0.5, so its integer part changes at local midnight.
//   julian day   day number + 0.5
#pragma once

#include "astro/system_time.hpp"

#include <cstdint>

namespace astro {

inline constexpr std::int64_t DaysFrom1601To1970 = 134774;
inline constexpr std::int64_t TicksPerDay = 864000000000;
inline constexpr std::int64_t TicksPerMillisecond = 10000;
inline constexpr std::int64_t MillisecondsPerDay = 86400000;
inline constexpr std::int64_t TicksFrom1601To1970 = DaysFrom1601To1970 * TicksPerDay;
inline constexpr double JulianDayOf1970 = 2440587.5;
inline constexpr double DayNumberOf1970 = 2440587.0;

static_assert(TicksFrom1601To1970 == 116444736000000000);

// The day number of a Julian Day, and back: an instant of the series (JDE), read as a Julian Day
// of the local clock, is handed out as the day number JDE - 0.5.
constexpr double dayNumberOfJulianDay(double julianDay)
{
    return julianDay - 0.5;
}

constexpr double julianDayOfDayNumber(double dayNumber)
{
    return dayNumber + 0.5;
}

static_assert(dayNumberOfJulianDay(JulianDayOf1970) == DayNumberOf1970);

// SystemTimeToFileTime without any time-zone conversion: proleptic Gregorian calendar, the record's
// fields taken as they are (fields outside their ranges carry over arithmetically). Counts beyond
// the 64-bit range (years after 30828) saturate.
std::int64_t systemTimeToTicks(const SystemTime& reading);

// FileTimeToSystemTime: the calendar record of a tick count, with its weekday.
// Returns false (and leaves the record alone) for counts the platform rejects (negative, or a
// year beyond 30827).
bool ticksToSystemTime(std::int64_t ticks, SystemTime& reading);

// Milliseconds since 1970-01-01 00:00 of the local clock.
std::int64_t systemTimeToMilliseconds(const SystemTime& reading);

// ms / 86400000 + 2440587.
double millisecondsToDayNumber(std::int64_t milliseconds);

// day + (hours + minutes / 60 + seconds / 3600) / 24.
double addTimeOfDay(double dayNumber, std::int32_t hours, std::int32_t minutes,
                    std::int32_t seconds);

// The day number of a reading (the form the event searches compare with).
double dayNumberOf(const SystemTime& reading);

// The Julian Day of a reading, keeping fractions of a millisecond.
double julianDayOf(const SystemTime& reading);

// The Julian Day of the local clock now.
double currentJulianDay();

}  // namespace astro
