#include "astro/time_scale.hpp"

#include "astro/calendar_days.hpp"

#include <chrono>
#include <limits>

namespace astro {
namespace {

namespace chr = std::chrono;

constexpr chr::sys_days FileTimeEpoch{chr::year{1601} / chr::January / 1};
static_assert(-FileTimeEpoch.time_since_epoch().count() == DaysFrom1601To1970);

// The record's year stays within 1601..30827, the range the platform's calendar record allows.
constexpr std::int64_t LastTickOf30827 =
    (chr::sys_days{chr::year{30828} / chr::January / 1} - FileTimeEpoch).count() * TicksPerDay - 1;

// Milliseconds since 1601-01-01 00:00. Any 16-bit field values stay far inside 64 bits here
// (65535 years are about 2e15 ms), unlike ticks, which overflow after 30828.
std::int64_t millisecondsSince1601(const SystemTime& reading)
{
    const std::int64_t days =
        daysFromCivil(reading.wYear, reading.wMonth, reading.wDay) + DaysFrom1601To1970;
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

    const chr::sys_days day = FileTimeEpoch + chr::days{days};
    const chr::year_month_day date{day};
    reading.wYear = static_cast<std::uint16_t>(static_cast<int>(date.year()));
    reading.wMonth = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
    reading.wDay = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
    reading.wDayOfWeek = static_cast<std::uint16_t>(chr::weekday{day}.c_encoding());
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
