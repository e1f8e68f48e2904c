// True local time: the wall clock of a time zone (the computer's, or UTC), for everything that
// speaks of a place. The zone is known only by its offset from UTC at each instant; the rest, the
// wall-clock readings that do not exist or exist twice, local days of 23 or 25 hours, is worked
// out here from that.
//
// Instants are std::chrono::sys_seconds (UTC; leap seconds are not counted, as everywhere in
// civil time keeping); wall-clock readings are std::chrono::local_seconds of the zone.
#pragma once

#include "astro/system_time.hpp"

#include <chrono>
#include <cstdint>
#include <string>

namespace events {

class TimeZone {
public:
    // Local minus UTC in seconds at a UTC instant in seconds since 1970-01-01 00:00.
    using OffsetSource = std::int32_t (*)(std::int64_t utcSeconds);

    constexpr explicit TimeZone(OffsetSource source) : source_(source) {}

    // The computer's zone (astro::localUtcOffsetSeconds), and UTC itself (--utc).
    static TimeZone computer();
    static TimeZone utc();

    std::chrono::seconds offsetAt(std::chrono::sys_seconds instant) const;

private:
    OffsetSource source_;
};

// An instant and the Julian Day in Universal Time of it; the instant to the nearest second
// (halves to even).
double julianDayOf(std::chrono::sys_seconds instant);
std::chrono::sys_seconds instantOfJulianDay(double jdUt);

// The instant a wall-clock reading of a zone stands for.
struct WallClockInstant {
    // False for a reading the clocks skip (the spring's gap); then the fields below say how.
    bool exists = false;
    // The instant; in the autumn's repeated hour the first of the two. Where the reading does
    // not exist: the instant the clocks jumped.
    std::chrono::sys_seconds instant{};
    // Where the reading does not exist: the readings skipped, [gapFrom, gapTo), and the
    // offsets before and after the jump.
    std::chrono::local_seconds gapFrom{};
    std::chrono::local_seconds gapTo{};
    std::chrono::seconds offsetBefore{};
    std::chrono::seconds offsetAfter{};
};
WallClockInstant instantOf(const TimeZone& zone, std::chrono::local_seconds reading);

// Why a reading does not exist, in one line of printable ASCII: "the clocks of this time zone
// jump from 02:00 to 03:00 on 2026-03-29 (UTC+01:00 to UTC+02:00)".
std::string gapReason(const WallClockInstant& skipped);

// The wall-clock reading of an instant, and its calendar day.
std::chrono::local_seconds wallClockOf(const TimeZone& zone, std::chrono::sys_seconds instant);
std::chrono::year_month_day localDayOf(const TimeZone& zone, std::chrono::sys_seconds instant);

// The instants a local calendar day begins and ends, [start, end): 24 hours long, or 23 and 25
// on the days the offset changes. A day whose midnight is skipped begins when the clocks jump.
struct LocalDay {
    std::chrono::sys_seconds start;
    std::chrono::sys_seconds end;
};
LocalDay localDay(const TimeZone& zone, std::chrono::year_month_day day);

// ISO 8601 with the zone's offset at the instant, to the second: "2026-12-20T21:15:00+01:00",
// "+00:00" for UTC, an offset with seconds where it has them (local mean time, "+00:53:28").
// Years beyond 9999 with a sign ("+10000-01-01T00:00:00+01:00").
std::string isoLocalText(const TimeZone& zone, std::chrono::sys_seconds instant);

// The offset as ISO 8601 writes it: "+01:00", "-03:30", "+00:53:28".
std::string offsetText(std::chrono::seconds offset);

// A calendar record's reading (its milliseconds dropped) as a wall-clock reading.
std::chrono::local_seconds wallClockOf(const astro::SystemTime& reading);

}  // namespace events
