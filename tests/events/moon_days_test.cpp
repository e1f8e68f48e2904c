#include "events/moon_days.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace events {
namespace {

namespace chr = std::chrono;

constexpr std::int32_t Hour = 3600;

std::int64_t secondsOf(chr::sys_seconds instant)
{
    return instant.time_since_epoch().count();
}

// The zones' rules written out, so that the test runs alike on every platform: Central European
// Time with its summer time from 01:00 UTC on the last Sunday of March to 01:00 UTC on the last
// Sunday of October (Berlin, Oslo; since 1996), and Sydney's, from 02:00 standard time on the
// first Sunday of October to 03:00 summer time on the first Sunday of April (since 2008).
std::int32_t centralEurope(std::int64_t utcSeconds)
{
    const chr::sys_seconds instant{chr::seconds{utcSeconds}};
    const chr::year year = chr::year_month_day{chr::floor<chr::days>(instant)}.year();
    const auto lastSunday = [year](chr::month month) {
        return chr::sys_days{year / month / chr::Sunday[chr::last]} + chr::hours{1};
    };
    const bool summer = instant >= lastSunday(chr::March) && instant < lastSunday(chr::October);
    return summer ? 2 * Hour : Hour;
}

std::int32_t sydney(std::int64_t utcSeconds)
{
    const chr::sys_seconds instant{chr::seconds{utcSeconds}};
    const chr::year year = chr::year_month_day{chr::floor<chr::days>(instant)}.year();
    // 02:00 at +10 and 03:00 at +11 are both 16:00 UTC of the day before.
    const auto firstSunday = [year](chr::month month) {
        return chr::sys_days{year / month / chr::Sunday[1]} - chr::hours{8};
    };
    const bool summer = instant < firstSunday(chr::April) || instant >= firstSunday(chr::October);
    return summer ? 11 * Hour : 10 * Hour;
}

struct ReferenceEvent {
    astro::MoonEventKind kind;
    chr::sys_seconds instant;  // the nearest second
};

// "2026-03-27T04:15:00.123Z" to the nearest second.
chr::sys_seconds instantOfUtcText(const std::string& utc)
{
    const chr::year_month_day date{chr::year{std::stoi(utc.substr(0, 4))},
                                   chr::month{static_cast<unsigned>(std::stoi(utc.substr(5, 2)))},
                                   chr::day{static_cast<unsigned>(std::stoi(utc.substr(8, 2)))}};
    const chr::seconds time = chr::hours{std::stoi(utc.substr(11, 2))} +
                              chr::minutes{std::stoi(utc.substr(14, 2))} +
                              chr::seconds{std::lround(std::stod(utc.substr(17, 6)))};
    return chr::sys_days{date} + time;
}

astro::MoonEventKind kindOfName(const std::string& name)
{
    if (name == "rise") {
        return astro::MoonEventKind::Rise;
    }
    return name == "transit" ? astro::MoonEventKind::Transit : astro::MoonEventKind::Set;
}

// The risings, transits with the Moon up, and settings of a place in tests/data/moon_rise_set.csv
// (astronomy-engine).
std::vector<ReferenceEvent> referenceEvents(const std::string& place)
{
    std::vector<ReferenceEvent> events;
    for (const auto& row : testing::dataRows("moon_rise_set.csv")) {
        const std::string& kind = row.at(3);
        if (row.at(0) != place || kind == "lower" ||
            (kind == "transit" && !(std::stod(row.at(7)) > 0))) {
            continue;
        }
        events.push_back({kindOfName(kind), instantOfUtcText(row.at(4))});
    }
    return events;
}

// Local days of three places against the reference: every event on the local day its instant
// falls on, within 3 s, and nothing else; the days without a rising and a setting wholly above
// or below the horizon as the reference's last crossing says. The ranges cross a change of
// offset (Berlin's 23-hour day, Sydney's in October, Tromso's 25-hour day), and at Tromso the
// Moon stays up for days and then down for days (the standstill of 2006).
TEST(MoonDays, LocalDaysOfThreePlacesAgreeWithTheEphemeris)
{
    struct Case {
        const char* place;
        astro::GeoPlace here;
        TimeZone zone;
        chr::year_month_day first;
        int count;
        int hoursOfShortestDay;
        int hoursOfLongestDay;
        int daysAbove;  // wholly above the horizon
        int daysBelow;
    };
    const Case cases[] = {
        {"Berlin",
         {52.52, 13.405},
         TimeZone(centralEurope),
         chr::year{2026} / 3 / 27,
         5,
         23,
         24,
         0,
         0},
        {"Sydney",
         {-33.8688, 151.2093},
         TimeZone(sydney),
         chr::year{2026} / 10 / 2,
         5,
         23,
         24,
         0,
         0},
        {"Tromso",
         {69.6492, 18.9553},
         TimeZone(centralEurope),
         chr::year{2006} / 10 / 13,
         18,
         24,
         25,
         3,
         6},
    };
    constexpr std::int64_t ToleranceSeconds = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        const std::vector<ReferenceEvent> reference = referenceEvents(c.place);
        const std::vector<MoonDay> days = moonDays(c.zone, c.here, c.first, c.count);
        ASSERT_EQ(days.size(), static_cast<std::size_t>(c.count));
        int shortest = 99;
        int longest = 0;
        int above = 0;
        int below = 0;
        for (std::size_t i = 0; i < days.size(); ++i) {
            const MoonDay& day = days[i];
            EXPECT_EQ(chr::sys_days{day.date}, chr::sys_days{c.first} + chr::days{i});
            const LocalDay bounds = localDay(c.zone, day.date);
            const int hours =
                static_cast<int>(chr::duration_cast<chr::hours>(bounds.end - bounds.start).count());
            shortest = std::min(shortest, hours);
            longest = std::max(longest, hours);

            std::vector<ReferenceEvent> expected;
            bool upAtStart = false;
            for (const ReferenceEvent& e : reference) {
                if (e.instant < bounds.start && e.kind != astro::MoonEventKind::Transit) {
                    upAtStart = e.kind == astro::MoonEventKind::Rise;
                } else if (e.instant >= bounds.start && e.instant < bounds.end) {
                    expected.push_back(e);
                }
            }
            ASSERT_EQ(day.events.size(), expected.size()) << "day " << i;
            bool crossed = false;
            for (std::size_t k = 0; k < expected.size(); ++k) {
                EXPECT_EQ(day.events[k].kind, expected[k].kind) << "day " << i;
                EXPECT_LE(
                    std::abs(secondsOf(day.events[k].instant) - secondsOf(expected[k].instant)),
                    ToleranceSeconds)
                    << "day " << i;
                crossed = crossed || expected[k].kind != astro::MoonEventKind::Transit;
            }
            const AllDay allDay = crossed ? AllDay::No : upAtStart ? AllDay::Above : AllDay::Below;
            EXPECT_EQ(day.allDay, allDay) << "day " << i;
            above += day.allDay == AllDay::Above ? 1 : 0;
            below += day.allDay == AllDay::Below ? 1 : 0;
        }
        EXPECT_EQ(shortest, c.hoursOfShortestDay);
        EXPECT_EQ(longest, c.hoursOfLongestDay);
        EXPECT_EQ(above, c.daysAbove);
        EXPECT_EQ(below, c.daysBelow);
    }
}

}  // namespace
}  // namespace events
