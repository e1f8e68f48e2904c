// The calendar record through which the local wall clock reaches the computation, and the
// computer's time zone.
#pragma once

#include <cstdint>

namespace astro {

// A local wall-clock reading with millisecond resolution. The fields and their order are those
// of the Win32 SYSTEMTIME record, so the Windows seam can copy GetLocalTime's result as it is.
// The year is 1601..30827 for readings the platform can produce.
struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;      // 1..12
    std::uint16_t wDayOfWeek = 0;  // 0 = Sunday
    std::uint16_t wDay = 0;        // 1..31
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
};

static_assert(sizeof(SystemTime) == 16, "SystemTime must match the SYSTEMTIME layout");

// A reading from its calendar fields as given (no check, no day of the week: nothing computed
// from a reading looks at wDayOfWeek).
constexpr SystemTime wallClockReading(int year, int month, int day, int hour = 0, int minute = 0,
                                      int second = 0, int milliseconds = 0)
{
    SystemTime t;
    t.wYear = static_cast<std::uint16_t>(year);
    t.wMonth = static_cast<std::uint16_t>(month);
    t.wDay = static_cast<std::uint16_t>(day);
    t.wHour = static_cast<std::uint16_t>(hour);
    t.wMinute = static_cast<std::uint16_t>(minute);
    t.wSecond = static_cast<std::uint16_t>(second);
    t.wMilliseconds = static_cast<std::uint16_t>(milliseconds);
    return t;
}

// The one place where the local clock is read: GetLocalTime on Windows, the C library's local
// time elsewhere. No time-zone conversion happens after this point.
SystemTime readLocalClock();

// The computer's time zone: its offset from UTC (local minus UTC, in seconds) at an instant given
// in seconds since 1970-01-01 00:00 UTC. POSIX: TZ and the tz database through the C library,
// with the zone's history (local mean time before standard time, the summer times of the past).
// Windows: the system's zone with its dynamic summer-time rules per year, as Windows knows them
// (years before the zone's first rule of its own follow that rule). An instant outside the
// platform's calendar gets the zone's standard offset on Windows and 0 elsewhere.
std::int32_t localUtcOffsetSeconds(std::int64_t utcSeconds);

// Replaces the clock for the whole process (tests drive the program through a simulated clock);
// nullptr restores the real clock. Returns the source that was in place.
using LocalClockSource = SystemTime (*)();
LocalClockSource setLocalClockSource(LocalClockSource source);

}  // namespace astro
