#include "events/local_time.hpp"

#include "events/number_format.hpp"

#include "astro/time_scale.hpp"

#include <cstdio>

namespace events {
namespace {

namespace chr = std::chrono;

std::int32_t noOffset(std::int64_t /*utcSeconds*/)
{
    return 0;
}

// No zone has changed its offset twice within two days, nor by more than a day: the offsets a
// reading may have are those a day before and a day after it (taken as UTC; offsets lie within
// -12 and +14 hours) and at it.
constexpr chr::seconds Reach = chr::days{1};

// "02:00", or "02:00:30" where the seconds are not 0.
std::string clockText(chr::local_seconds reading)
{
    const chr::hh_mm_ss<chr::seconds> time{reading - chr::floor<chr::days>(reading)};
    char buffer[32];
    if (time.seconds().count() == 0) {
        std::snprintf(buffer, sizeof buffer, "%02d:%02d", static_cast<int>(time.hours().count()),
                      static_cast<int>(time.minutes().count()));
    } else {
        std::snprintf(
            buffer, sizeof buffer, "%02d:%02d:%02d", static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
    }
    return buffer;
}

// "2026-03-29", years beyond 9999 with a sign.
std::string dateText(chr::year_month_day day)
{
    const int year = static_cast<int>(day.year());
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, year > 9999 ? "+%d-%02u-%02u" : "%04d-%02u-%02u", year,
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return buffer;
}

constexpr double SecondsPerDay = 86400.0;

}  // namespace

double julianDayOf(chr::sys_seconds instant)
{
    return astro::JulianDayOf1970 +
           static_cast<double>(instant.time_since_epoch().count()) / SecondsPerDay;
}

chr::sys_seconds instantOfJulianDay(double jdUt)
{
    return chr::sys_seconds{chr::seconds{static_cast<chr::seconds::rep>(
        roundHalfEven((jdUt - astro::JulianDayOf1970) * SecondsPerDay))}};
}

TimeZone TimeZone::computer()
{
    return TimeZone(astro::localUtcOffsetSeconds);
}

TimeZone TimeZone::utc()
{
    return TimeZone(noOffset);
}

chr::seconds TimeZone::offsetAt(chr::sys_seconds instant) const
{
    return chr::seconds{source_(instant.time_since_epoch().count())};
}

WallClockInstant instantOf(const TimeZone& zone, chr::local_seconds reading)
{
    const chr::sys_seconds asUtc{reading.time_since_epoch()};
    const chr::seconds before = zone.offsetAt(asUtc - Reach);
    const chr::seconds after = zone.offsetAt(asUtc + Reach);
    WallClockInstant result;
    for (const chr::seconds offset : {before, zone.offsetAt(asUtc), after}) {
        const chr::sys_seconds candidate = asUtc - offset;
        if (zone.offsetAt(candidate) == offset && (!result.exists || candidate < result.instant)) {
            result.exists = true;
            result.instant = candidate;
        }
    }
    if (result.exists) {
        return result;
    }
    // Skipped: find the jump, the first instant with the later offset, by halving.
    chr::sys_seconds low = asUtc - Reach;  // offset `before`
    chr::sys_seconds high = asUtc + Reach;
    while (high - low > chr::seconds{1}) {
        const chr::sys_seconds middle = low + (high - low) / 2;
        (zone.offsetAt(middle) == before ? low : high) = middle;
    }
    result.instant = high;
    result.offsetBefore = zone.offsetAt(low);
    result.offsetAfter = zone.offsetAt(high);
    result.gapFrom = chr::local_seconds{(high + result.offsetBefore).time_since_epoch()};
    result.gapTo = chr::local_seconds{(high + result.offsetAfter).time_since_epoch()};
    return result;
}

std::string gapReason(const WallClockInstant& skipped)
{
    return "the clocks of this time zone jump from " + clockText(skipped.gapFrom) + " to " +
           clockText(skipped.gapTo) + " on " +
           dateText(chr::year_month_day{chr::floor<chr::days>(skipped.gapFrom)}) + " (UTC" +
           offsetText(skipped.offsetBefore) + " to UTC" + offsetText(skipped.offsetAfter) + ")";
}

chr::local_seconds wallClockOf(const TimeZone& zone, chr::sys_seconds instant)
{
    return chr::local_seconds{(instant + zone.offsetAt(instant)).time_since_epoch()};
}

chr::year_month_day localDayOf(const TimeZone& zone, chr::sys_seconds instant)
{
    return chr::year_month_day{chr::floor<chr::days>(wallClockOf(zone, instant))};
}

LocalDay localDay(const TimeZone& zone, chr::year_month_day day)
{
    const chr::local_days midnight{day};
    // A skipped midnight's instant is that of the jump, the day's first reading.
    return {instantOf(zone, midnight).instant, instantOf(zone, midnight + chr::days{1}).instant};
}

std::string offsetText(chr::seconds offset)
{
    const chr::hh_mm_ss<chr::seconds> size{offset < chr::seconds{0} ? -offset : offset};
    char buffer[32];
    const char sign = offset < chr::seconds{0} ? '-' : '+';
    const int hours = static_cast<int>(size.hours().count());
    const int minutes = static_cast<int>(size.minutes().count());
    const int seconds = static_cast<int>(size.seconds().count());
    if (seconds == 0) {
        std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", sign, hours, minutes);
    } else {
        std::snprintf(buffer, sizeof buffer, "%c%02d:%02d:%02d", sign, hours, minutes, seconds);
    }
    return buffer;
}

std::string isoLocalText(const TimeZone& zone, chr::sys_seconds instant)
{
    const chr::seconds offset = zone.offsetAt(instant);
    const chr::local_seconds reading{(instant + offset).time_since_epoch()};
    const chr::local_days day = chr::floor<chr::days>(reading);
    const chr::hh_mm_ss<chr::seconds> time{reading - day};
    char clock[32];
    std::snprintf(clock, sizeof clock, "T%02d:%02d:%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return dateText(chr::year_month_day{day}) + clock + offsetText(offset);
}

chr::local_seconds wallClockOf(const astro::SystemTime& reading)
{
    const std::int64_t milliseconds = astro::systemTimeToMilliseconds(reading);
    // Whole seconds, downwards also before 1970.
    const std::int64_t seconds =
        milliseconds / 1000 - (milliseconds % 1000 < 0 ? std::int64_t{1} : std::int64_t{0});
    return chr::local_seconds{chr::seconds{seconds}};
}

}  // namespace events
