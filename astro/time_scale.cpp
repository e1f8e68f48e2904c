#include "astro/time_scale.hpp"

#include <limits>

namespace astro {
namespace {

// Days from 1601-01-01 to the given proleptic Gregorian date (Howard Hinnant's days_from_civil,
// shifted to the FILETIME epoch). Works in 64 bits for any 16-bit field values.
constexpr std::int64_t daysSince1601(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t daysSince1970 = era * 146097 + dayOfEra - 719468;
    return daysSince1970 + DaysFrom1601To1970;
}

// The record's year stays within 1601..30827, the range the platform's calendar record allows.
constexpr std::int64_t LastTickOf30827 = daysSince1601(30828, 1, 1) * TicksPerDay - 1;

// Milliseconds since 1601-01-01 00:00. Any 16-bit field values stay far inside 64 bits here
// (65535 years are about 2e15 ms), unlike ticks, which overflow after 30828.
std::int64_t millisecondsSince1601(const SystemTime& reading)
{
    const std::int64_t days = daysSince1601(reading.wYear, reading.wMonth, reading.wDay);
    const std::int64_t msOfDay =
        ((static_cast<std::int64_t>(reading.wHour) * 60 + reading.wMinute) * 60 + reading.wSecond) *
            1000 +
        reading.wMilliseconds;
    return days * MillisecondsPerDay + msOfDay;
}

}  // namespace

std::int64_t systemTimeToTicks(const SystemTime& reading)
{
    const std::int64_t ms = millisecondsSince1601(reading);
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / TicksPerMillisecond;
    if (ms > limit) {
        return std::numeric_limits<std::int64_t>::max();  // beyond what a tick count can hold
    }
    if (ms < -limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return ms * TicksPerMillisecond;
}

bool ticksToSystemTime(std::int64_t ticks, SystemTime& reading)
{
    if (ticks < 0 || ticks > LastTickOf30827) {
        return false;
    }
    const std::int64_t days = ticks / TicksPerDay;
    const std::int64_t msOfDay = (ticks % TicksPerDay) / TicksPerMillisecond;

    // civil_from_days, from the 1970 epoch.
    const std::int64_t z = days - DaysFrom1601To1970 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    reading.wYear = static_cast<std::uint16_t>(year);
    reading.wMonth = static_cast<std::uint16_t>(month);
    reading.wDay = static_cast<std::uint16_t>(day);
    reading.wDayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
    reading.wHour = static_cast<std::uint16_t>(msOfDay / 3600000);
    reading.wMinute = static_cast<std::uint16_t>(msOfDay / 60000 % 60);
    reading.wSecond = static_cast<std::uint16_t>(msOfDay / 1000 % 60);
    reading.wMilliseconds = static_cast<std::uint16_t>(msOfDay % 1000);
    return true;
}

std::int64_t systemTimeToMilliseconds(const SystemTime& reading)
{
    // What SystemTimeToFileTime and a division by 10000 give, computed in milliseconds so that
    // no field value can overflow.
    return millisecondsSince1601(reading) - DaysFrom1601To1970 * MillisecondsPerDay;
}

double millisecondsToDayNumber(std::int64_t milliseconds)
{
    return static_cast<double>(milliseconds) / static_cast<double>(MillisecondsPerDay) +
           DayNumberOf1970;
}

double addTimeOfDay(double dayNumber, std::int32_t hours, std::int32_t minutes,
                    std::int32_t seconds)
{
    return dayNumber + (hours + minutes / 60.0 + seconds / 3600.0) / 24.0;
}

double dayNumberOf(const SystemTime& reading)
{
    return millisecondsToDayNumber(systemTimeToMilliseconds(reading));
}

double julianDayOf(const SystemTime& reading)
{
    // Ticks since 1970 as a real number, divided by 10000 and then by 86400000, keeping the
    // fraction of a millisecond.
    const auto ticks = static_cast<double>(systemTimeToMilliseconds(reading)) *
                       static_cast<double>(TicksPerMillisecond);
    return ticks / static_cast<double>(TicksPerMillisecond) /
               static_cast<double>(MillisecondsPerDay) +
           JulianDayOf1970;
}

double currentJulianDay()
{
    return julianDayOf(readLocalClock());
}

}  // namespace astro
