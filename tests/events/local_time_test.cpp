#include "events/local_time.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace events {
namespace {

namespace chr = std::chrono;

chr::local_seconds reading(int year, unsigned month, unsigned day, int hour, int minute)
{
    return chr::local_days{chr::year{year} / chr::month{month} / chr::day{day}} + chr::hours{hour} +
           chr::minutes{minute};
}

// Wall-clock readings of zones that change their offset: Berlin in spring and autumn, Sydney on
// the other side of the year, Sao Paulo where summer time began at midnight, Berlin's local mean
// time before 1893 (an offset with seconds); UTC (--utc) beside them. Each reading's instant
// (its ISO text with the offset then), or why it does not exist; how often the clocks show it
// (0, 1, or 2 in the repeated hour, whose first instant is taken); and the length of its day.
// Checked against the tz database through the C library (TZ set in-process).
TEST(LocalTime, ReadingsAcrossTheChangesOfOffset)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs TZ and the tz database through the C library; the Windows zone is "
                    "checked through the built companion (CliProcess)";
#else
    struct Case {
        const char* zone;  // nullptr: TimeZone::utc()
        chr::local_seconds reading;
        const char* iso;  // or the reason the reading does not exist
        int times;
        int dayHours;
    };
    const Case cases[] = {
        {"Europe/Berlin", reading(2026, 12, 20, 21, 15), "2026-12-20T21:15:00+01:00", 1, 24},
        {"Europe/Berlin", reading(2026, 3, 29, 1, 59), "2026-03-29T01:59:00+01:00", 1, 23},
        {"Europe/Berlin", reading(2026, 3, 29, 2, 30),
         "the clocks of this time zone jump from 02:00 to 03:00 on 2026-03-29 (UTC+01:00 to "
         "UTC+02:00)",
         0, 23},
        {"Europe/Berlin", reading(2026, 3, 29, 3, 0), "2026-03-29T03:00:00+02:00", 1, 23},
        {"Europe/Berlin", reading(2026, 10, 25, 2, 30), "2026-10-25T02:30:00+02:00", 2, 25},
        {"Europe/Berlin", reading(2026, 10, 25, 3, 0), "2026-10-25T03:00:00+01:00", 1, 25},
        {"Europe/Berlin", reading(1850, 6, 1, 12, 0), "1850-06-01T12:00:00+00:53:28", 1, 24},
        {"Australia/Sydney", reading(2026, 10, 4, 2, 30),
         "the clocks of this time zone jump from 02:00 to 03:00 on 2026-10-04 (UTC+10:00 to "
         "UTC+11:00)",
         0, 23},
        {"Australia/Sydney", reading(2026, 4, 5, 2, 30), "2026-04-05T02:30:00+11:00", 2, 25},
        {"Australia/Sydney", reading(2026, 6, 21, 21, 15), "2026-06-21T21:15:00+10:00", 1, 24},
        {"America/Sao_Paulo", reading(2018, 11, 4, 0, 30),
         "the clocks of this time zone jump from 00:00 to 01:00 on 2018-11-04 (UTC-03:00 to "
         "UTC-02:00)",
         0, 23},
        {nullptr, reading(2026, 3, 29, 2, 30), "2026-03-29T02:30:00+00:00", 1, 24},
        {nullptr, reading(30827, 12, 31, 23, 59), "+30827-12-31T23:59:00+00:00", 1, 24},
    };
    for (const Case& c : cases) {
        const testing::ZoneGuard guard(c.zone != nullptr ? c.zone : "UTC");
        const TimeZone zone = c.zone != nullptr ? TimeZone::computer() : TimeZone::utc();
        const std::string label =
            std::string(c.zone != nullptr ? c.zone : "UTC") + " " +
            isoLocalText(TimeZone::utc(), chr::sys_seconds{c.reading.time_since_epoch()});
        const WallClockInstant found = instantOf(zone, c.reading);
        EXPECT_EQ(found.exists, c.times > 0) << label;
        EXPECT_EQ(found.exists ? isoLocalText(zone, found.instant) : gapReason(found), c.iso)
            << label;
        int times = 0;
        for (const chr::hours shift : {chr::hours{-1}, chr::hours{0}, chr::hours{1}}) {
            times += wallClockOf(zone, found.instant + shift) == c.reading ? 1 : 0;
        }
        EXPECT_EQ(times, c.times) << label;
        if (!found.exists) {
            EXPECT_EQ(wallClockOf(zone, found.instant), found.gapTo) << label;
            EXPECT_EQ(wallClockOf(zone, found.instant - chr::seconds{1}),
                      found.gapFrom - chr::seconds{1})
                << label;
        }
        const chr::year_month_day dayOfReading{chr::floor<chr::days>(c.reading)};
        const LocalDay day = localDay(zone, dayOfReading);
        EXPECT_EQ(day.end - day.start, chr::hours{c.dayHours}) << label;
        EXPECT_EQ(localDayOf(zone, day.start), dayOfReading) << label;
        EXPECT_EQ(localDayOf(zone, day.end - chr::seconds{1}), dayOfReading) << label;
        EXPECT_NE(localDayOf(zone, day.end), dayOfReading) << label;
    }
#endif
}

TEST(LocalTime, OffsetsAsIso8601WritesThem)
{
    EXPECT_EQ(offsetText(chr::seconds{0}), "+00:00");
    EXPECT_EQ(offsetText(chr::hours{14}), "+14:00");
    EXPECT_EQ(offsetText(-chr::hours{3} - chr::minutes{30}), "-03:30");
    EXPECT_EQ(offsetText(chr::seconds{3208}), "+00:53:28");
    EXPECT_EQ(offsetText(-chr::seconds{3208}), "-00:53:28");
    EXPECT_EQ(wallClockOf(astro::wallClockReading(1969, 12, 31, 23, 59, 59, 999)),
              reading(1969, 12, 31, 23, 59) + chr::seconds{59});
}

}  // namespace
}  // namespace events
