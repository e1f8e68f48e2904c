// Every reading the platform's calendar record can hold, 1601-01-01 to 30827-12-31, gives the
// lists, the nearest phase and their texts: finite instants in order, no listed event before the
// reading, well-formed texts, and searches that end. Readings are spread over the whole range and
// lie dense over 1900-2100; the sanitizer build runs the same cases, so a crash, an overflow or
// undefined behaviour anywhere on these paths fails them.
//
// The next-event searches step one day at a time; each case prints (and records as a test
// property) the most steps any eclipse search of its readings needed.
#include "events/calendar.hpp"
#include "events/countdown.hpp"
#include "events/current_phase.hpp"
#include "events/event_sets.hpp"
#include "events/lists.hpp"
#include "events/number_format.hpp"
#include "events/texts.hpp"
#include "support.hpp"

#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace events {
namespace {

using testing::at;

// The longest wait for an eclipse of one kind that a reading may see, in days. The longest seen
// over these readings is 2272 days: no partial (non-central) solar eclipse between 2040 November
// and 2047 January.
constexpr double LongestEclipseWaitDays = 2600.0;

// A search steps one day per pass from a start up to 1.25 lunations before the reading, moved
// back further (by up to about 200 days near the year 30827) where the lunation estimate runs
// ahead of the calendar. More passes than the longest wait and those two allow for mean that the
// search has lost its way. The most seen is 2303.
constexpr int SearchPassLimit = 3000;

// A phase of each kind comes every 29.53 days; with the summer hour and the search margins none
// lies more than a lunation and two days ahead.
constexpr double LongestPhaseWaitDays = 31.5;

// --- Text shapes ----------------------------------------------------------------------------

bool digitsAt(std::string_view text, std::size_t pos, std::size_t count, int& value)
{
    if (pos + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// "dd.mm.yyyy" with a year of four or five digits and a real day and month; the year's width
// (4 or 5) comes back in `yearDigits`. Events seen from the last readings lie beyond 30827.
bool isDate(std::string_view text, std::size_t& yearDigits)
{
    int day = 0;
    int month = 0;
    int year = 0;
    yearDigits = text.size() > 10 && text[10] >= '0' && text[10] <= '9' ? 5 : 4;
    return digitsAt(text, 0, 2, day) && text[2] == '.' && digitsAt(text, 3, 2, month) &&
           text[5] == '.' && digitsAt(text, 6, yearDigits, year) && day >= 1 && day <= 31 &&
           month >= 1 && month <= 12 && year >= 1601 && year <= 30840;
}

// "hh:mm" or, with seconds, "hh:mm:ss" at `pos`, each field within its clock range.
bool isClock(std::string_view text, std::size_t pos, bool withSeconds)
{
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    const bool shape = digitsAt(text, pos, 2, hours) && text.size() > pos + 2 &&
                       text[pos + 2] == ':' && digitsAt(text, pos + 3, 2, minutes) && hours <= 23 &&
                       minutes <= 59;
    if (!shape || !withSeconds) {
        return shape;
    }
    return text.size() > pos + 5 && text[pos + 5] == ':' && digitsAt(text, pos + 6, 2, seconds) &&
           seconds <= 59;
}

// "dd.mm.yyyy um hh:mm Uhr".
bool isEventDate(std::string_view text)
{
    std::size_t yearDigits = 0;
    if (!isDate(text, yearDigits)) {
        return false;
    }
    const std::size_t clock = 6 + yearDigits + 4;
    return text.size() == clock + 9 && text.substr(6 + yearDigits, 4) == " um " &&
           isClock(text, clock, false) && text.substr(clock + 5) == " Uhr";
}

// What dateTimeText must give for a reading: "dd.mm.yyyy  hh:mm:ss".
std::string expectedDateTimeText(const astro::SystemTime& r)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d  %02d:%02d:%02d", r.wDay, r.wMonth,
                  r.wYear, r.wHour, r.wMinute, r.wSecond);
    return buffer;
}

std::string readingText(const astro::SystemTime& r)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", r.wYear, r.wMonth,
                  r.wDay, r.wHour, r.wMinute, r.wSecond, r.wMilliseconds);
    return buffer;
}

// --- What each case gathers -----------------------------------------------------------------

struct Extreme {
    double value = 0.0;
    std::string where;

    void offer(double candidate, const std::string& what, const astro::SystemTime& reading)
    {
        if (candidate > value) {
            value = candidate;
            where = what + " from " + readingText(reading);
        }
    }
};

struct Findings {
    int readings = 0;
    Extreme eclipsePasses;
    Extreme phasePasses;
    Extreme eclipseWaitDays;
    Extreme nearestPhaseDays;
};

struct EclipseSearch {
    const char* name;
    bool lunar;
    astro::EclipseKind kind;
};

constexpr EclipseSearch EclipseSearches[] = {
    {"partial lunar eclipse", true, astro::EclipseKind::Partial},
    {"total lunar eclipse", true, astro::EclipseKind::Total},
    {"partial solar eclipse", false, astro::EclipseKind::Partial},
    {"total solar eclipse", false, astro::EclipseKind::Total},
    {"annular solar eclipse", false, astro::EclipseKind::Annular},
};

// The searches the lists run (from the reading's day and from the next day), with their passes.
void checkSearches(const astro::SystemTime& r, Findings& findings)
{
    const std::int32_t year = r.wYear;
    const double now = astro::dayNumberOf(r);
    for (const double daysLater : {0.0, 1.0}) {
        for (const EclipseSearch& search : EclipseSearches) {
            int passes = 0;
            const double instant =
                search.lunar
                    ? astro::nextLunarEclipse(year, r, now + daysLater, search.kind, &passes)
                    : astro::nextSolarEclipse(year, r, now + daysLater, search.kind, &passes);
            ASSERT_TRUE(std::isfinite(instant)) << search.name << " from " << readingText(r);
            ASSERT_LT(passes, SearchPassLimit) << search.name << " from " << readingText(r);
            findings.eclipsePasses.offer(passes, search.name, r);
        }
        using PhaseSearch = double (*)(std::int32_t, const astro::SystemTime&, double, int*);
        for (const PhaseSearch search :
             {PhaseSearch{astro::nextNewMoon}, PhaseSearch{astro::nextFirstQuarter},
              PhaseSearch{astro::nextFullMoon}, PhaseSearch{astro::nextLastQuarter}}) {
            int passes = 0;
            ASSERT_TRUE(std::isfinite(search(year, r, now + daysLater, &passes)));
            ASSERT_LT(passes, SearchPassLimit) << "phase from " << readingText(r);
            findings.phasePasses.offer(passes, "phase", r);
        }
    }
}

template <std::size_t N>
void checkList(const EventList<N>& list, const std::array<std::string_view, N>& headings,
               const astro::SystemTime& r, double longestWaitDays, Extreme* wait)
{
    const double nowDay = astro::dayNumberOf(r);
    const double nowJulianDay = astro::julianDayOf(r);
    for (std::size_t i = 0; i < N; ++i) {
        const ListEntry& entry = list.entries[i];
        SCOPED_TRACE(entry.heading + " from " + readingText(r));
        ASSERT_TRUE(std::isfinite(entry.instant));
        if (i > 0) {
            ASSERT_LE(list.entries[i - 1].instant, entry.instant);
        }
        ASSERT_FALSE(isBeforeNow(entry.instant, nowJulianDay));
        ASSERT_LT(entry.instant - nowDay, longestWaitDays);
        ASSERT_EQ(std::count(headings.begin(), headings.end(), entry.heading), 1);
        ASSERT_EQ(entry.headingText, entry.heading + " ist in");
        ASSERT_TRUE(isEventDate(entry.dateText)) << entry.dateText;
        const std::string& count = entry.dayCountText;
        ASSERT_TRUE(count.size() >= 11 &&
                    (count.ends_with(" Tagen am") || count.ends_with(" Tag   am")))
            << '"' << count << '"';
        if (wait != nullptr) {
            wait->offer(entry.instant - nowDay, entry.heading, r);
        }
    }
}

void checkReading(const astro::SystemTime& r, Findings& findings)
{
    ++findings.readings;
    const double dayNumber = astro::dayNumberOf(r);

    // The calendar conversion round trip: the readings sit half a second past a whole second,
    // far from any boundary of the text's fields.
    if (r.wMilliseconds == 500) {
        ASSERT_EQ(dateTimeText(dayNumber), expectedDateTimeText(r));
    }
    ASSERT_EQ(isSummerTime(dayNumber) == 1, testing::europeanSummerDay(dayNumber))
        << readingText(r);

    checkSearches(r, findings);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }

    const PhaseList phases = upcomingPhaseList(r);
    checkList(phases, PhaseListHeadings, r, LongestPhaseWaitDays, nullptr);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    // Sorted by time, the phases follow each other in their cycle.
    const auto first =
        std::find(PhaseListHeadings.begin(), PhaseListHeadings.end(), phases.entries[0].heading);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto offset = static_cast<std::size_t>(first - PhaseListHeadings.begin());
        ASSERT_EQ(phases.entries[i].heading, PhaseListHeadings[(offset + i) % 4]) << readingText(r);
    }
    checkList(upcomingEclipseList(r), EclipseListHeadings, r, LongestEclipseWaitDays,
              &findings.eclipseWaitDays);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }

    const NearestPhase nearest = nearestPhase(r);
    if (nearest.found) {
        ASSERT_TRUE(std::isfinite(nearest.distanceDays));
        // Recorded, not bounded: the nearest phase is taken from the lunation estimated for the
        // date (365-day years), which runs a day ahead of the calendar every 150 years, so near
        // the year 30827 it lies about 200 days away.
        findings.nearestPhaseDays.offer(std::fabs(nearest.distanceDays), "nearest phase", r);
        const std::string line = eventLineText(nearest.phase, nearest.distanceDays);
        ASSERT_TRUE(line.size() > 2 && line.front() == ' ' && line.back() == ' ');
        const CountdownParts parts = countdownParts(std::fabs(nearest.distanceDays));
        ASSERT_EQ(parts.days, std::floor(std::fabs(nearest.distanceDays)));
        ASSERT_TRUE(parts.hours >= 0 && parts.hours <= 23) << parts.hours;
        ASSERT_TRUE(parts.minutes >= 0 && parts.minutes <= 59) << parts.minutes;
        ASSERT_TRUE(parts.seconds >= 0 && parts.seconds <= 59) << parts.seconds;
        ASSERT_EQ(parts.dialText.size(), 8u);
        ASSERT_TRUE(isClock(parts.dialText, 0, true)) << parts.dialText;
        ASSERT_EQ(parts.daysText, plainIntegerText(parts.days));
    }

    const double gauge = gaugeValue(astro::julianDayOf(r));
    ASSERT_TRUE(gauge >= 0 && gauge <= 100) << gauge;
    const std::string fraction = fractionText(gauge);
    ASSERT_FALSE(fraction.empty());
    ASSERT_EQ(std::strtod(fraction.c_str(), nullptr), gauge) << fraction;

    // The pointer on the phase diagram, placed as a refresh on page 1 places it.
    const PhaseSet tomorrow = nextPhasesFromTomorrow(r);
    const int pointer = pointerPositionFromFraction(gauge, tomorrow[Phase::NewMoon],
                                                    tomorrow[Phase::FullMoon], PointerDivisions);
    ASSERT_TRUE(pointer >= 0 && pointer <= PointerDivisions) << pointer;
}

void report(const Findings& findings)
{
    std::printf("%d readings\n", findings.readings);
    std::printf("most eclipse search passes: %.0f (%s)\n", findings.eclipsePasses.value,
                findings.eclipsePasses.where.c_str());
    std::printf("most phase search passes: %.0f (%s)\n", findings.phasePasses.value,
                findings.phasePasses.where.c_str());
    std::printf("longest eclipse wait: %.1f days (%s)\n", findings.eclipseWaitDays.value,
                findings.eclipseWaitDays.where.c_str());
    std::printf("farthest nearest phase: %.1f days (%s)\n", findings.nearestPhaseDays.value,
                findings.nearestPhaseDays.where.c_str());
    ::testing::Test::RecordProperty("readings", findings.readings);
    ::testing::Test::RecordProperty("max_eclipse_passes",
                                    static_cast<int>(findings.eclipsePasses.value));
    ::testing::Test::RecordProperty("max_eclipse_passes_at", findings.eclipsePasses.where);
    ::testing::Test::RecordProperty("max_phase_passes",
                                    static_cast<int>(findings.phasePasses.value));
    ::testing::Test::RecordProperty("longest_eclipse_wait_days",
                                    static_cast<int>(findings.eclipseWaitDays.value));
    ::testing::Test::RecordProperty("farthest_nearest_phase_days",
                                    static_cast<int>(findings.nearestPhaseDays.value));
}

// --- The cases ------------------------------------------------------------------------------

// Readings from `first` to `last`, `stepSeconds` apart: a step that is not a whole number of
// days moves the time of day on from one reading to the next.
struct Span {
    const char* name;
    astro::SystemTime first;
    astro::SystemTime last;
    std::int64_t stepSeconds;
};

void PrintTo(const Span& span, std::ostream* out)
{
    *out << span.name;
}

class EveryDate : public ::testing::TestWithParam<Span> {};

TEST_P(EveryDate, ListsNearestPhaseAndTextsHoldTogether)
{
    const Span& span = GetParam();
    const std::int64_t last = astro::systemTimeToTicks(span.last);
    const std::int64_t step = span.stepSeconds * 1000 * astro::TicksPerMillisecond;
    Findings findings;
    for (std::int64_t ticks = astro::systemTimeToTicks(span.first); ticks <= last; ticks += step) {
        astro::SystemTime reading;
        ASSERT_TRUE(astro::ticksToSystemTime(ticks, reading));
        checkReading(reading, findings);
        if (HasFatalFailure()) {
            break;
        }
    }
    report(findings);
}

constexpr std::int64_t Day = 86400;

// 8 years less 13 h 21 min 7 s over the whole range (3660 readings); every 2 days 9 h 17 min 31 s
// from 1900 to 2100 (30700 readings), in four parts that run side by side.
INSTANTIATE_TEST_SUITE_P(
    Spans, EveryDate,
    ::testing::Values(Span{"WholeRange", at(1601, 1, 1, 0, 0, 0, 500),
                           at(30827, 12, 31, 23, 59, 59, 500), 2922 * Day - 48067},
                      Span{"From1900To1950", at(1900, 1, 1, 0, 0, 0, 500),
                           at(1949, 12, 31, 23, 59, 59, 500), 2 * Day + 33451},
                      Span{"From1950To2000", at(1950, 1, 1, 4, 0, 0, 500),
                           at(1999, 12, 31, 23, 59, 59, 500), 2 * Day + 33451},
                      Span{"From2000To2050", at(2000, 1, 1, 8, 0, 0, 500),
                           at(2049, 12, 31, 23, 59, 59, 500), 2 * Day + 33451},
                      Span{"From2050To2100", at(2050, 1, 1, 12, 0, 0, 500),
                           at(2100, 12, 31, 23, 59, 59, 500), 2 * Day + 33451}),
    [](const ::testing::TestParamInfo<Span>& param) { return std::string(param.param.name); });

// The ends of the range and the days where calendar or summer-time rules turn, hour by hour and
// at the last millisecond of the day.
TEST(EveryDateEdges, EndsOfTheRangeAndTurningDays)
{
    const astro::SystemTime days[] = {
        at(1601, 1, 1),  at(1700, 2, 28),  at(1700, 3, 1),   at(1899, 12, 31), at(1979, 12, 31),
        at(1980, 3, 30), at(1995, 9, 24),  at(1996, 10, 27), at(2000, 2, 29),  at(2024, 3, 31),
        at(2100, 2, 28), at(9999, 12, 31), at(10000, 1, 1),  at(30824, 2, 29), at(30827, 12, 31),
    };
    Findings findings;
    for (const astro::SystemTime& day : days) {
        for (int hour = 0; hour < 24; ++hour) {
            astro::SystemTime reading = day;
            reading.wHour = static_cast<std::uint16_t>(hour);
            reading.wMinute = static_cast<std::uint16_t>(hour == 23 ? 59 : 30);
            reading.wSecond = static_cast<std::uint16_t>(hour == 23 ? 59 : 0);
            reading.wMilliseconds = static_cast<std::uint16_t>(hour == 23 ? 999 : 500);
            reading.wDayOfWeek =
                static_cast<std::uint16_t>(weekdayOf(reading.wYear, reading.wMonth, reading.wDay));
            checkReading(reading, findings);
            ASSERT_FALSE(HasFatalFailure());
        }
    }
    report(findings);
}

}  // namespace
}  // namespace events
