#include "events/event_sets.hpp"

#include "events/texts.hpp"
#include "support.hpp"

#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace events {
namespace {

using testing::at;
using testing::displayedReference;
using testing::later;
using testing::readingOf;
using testing::referenceEclipses;
using testing::referencePhases;
using testing::SecondsPerDay;

// Meeus's instants against the reference: within 150 s over 1900-2100.
constexpr double ToleranceDays = 180 / SecondsPerDay;

double timeOfDay(double dayNumber)
{
    return dayNumber - std::floor(dayNumber);
}

TEST(DisplayedInstant, OneHourMoreOnSummerTimeDays)
{
    const double summerEvening = astro::dayNumberOf(at(2024, 7, 1, 21, 30)) + 1e-7;
    const double winterEvening = astro::dayNumberOf(at(2024, 12, 1, 21, 30)) + 1e-7;
    EXPECT_EQ(eventDateText(displayedInstant(summerEvening)), "01.07.2024 um 22:30 Uhr");
    EXPECT_EQ(eventDateText(displayedInstant(winterEvening)), "01.12.2024 um 21:30 Uhr");
    // The hour follows the event's own day, not the reading's.
    const double lastSummerSunday = astro::dayNumberOf(at(2024, 10, 27, 23, 30)) + 1e-7;
    EXPECT_EQ(eventDateText(displayedInstant(lastSummerSunday)), "28.10.2024 um 00:30 Uhr");
}

TEST(EventSets, FullMoonEarlierTodayAndTheListsChoice)
{
    // Full Moon 2025 March 14, 06:55 UT (the reference table has it too); JDE is about a
    // minute later. At noon that day it has passed.
    const astro::SystemTime noon = at(2025, 3, 14, 12, 0);
    const PhaseSet today = nextPhasesFromToday(noon);
    const PhaseSet tomorrow = nextPhasesFromTomorrow(noon);
    EXPECT_EQ(eventDateText(today[Phase::FullMoon]).substr(0, 16), "14.03.2025 um 06");
    EXPECT_EQ(eventDateText(tomorrow[Phase::FullMoon]).substr(0, 10), "13.04.2025");
    for (const Phase other : {Phase::NewMoon, Phase::FirstQuarter, Phase::LastQuarter}) {
        EXPECT_EQ(today[other], tomorrow[other]);
    }

    const PhaseSet listed = phasesForList(noon);
    EXPECT_EQ(listed.instants, tomorrow.instants);
    // Before the Full Moon, the from-today set is listed.
    EXPECT_EQ(phasesForList(at(2025, 3, 14, 6, 0)).instants,
              nextPhasesFromToday(at(2025, 3, 14, 6, 0)).instants);
    EXPECT_EQ(eventDateText(phasesForList(at(2025, 3, 14, 6, 0))[Phase::FullMoon]).substr(0, 10),
              "14.03.2025");
}

// The searches accept an event from 1 h 30 min (New and Full Moon) or 58 min 30 s (quarters)
// before the midnight that begins the reading's day, whatever its time of day, and no earlier.
// Checked against every reference phase of 1950-2050 near those limits, on winter days (no
// summer hour), with readings at noon of the day after the event's evening.
TEST(EventSets, SearchesReachBackToTheEveningBefore)
{
    int checked = 0;
    for (const auto& phase : referencePhases()) {
        const double dayNumber = phase.jdTT - 0.5;
        if (dayNumber < 2433282.0 || dayNumber > 2469807.0 ||
            testing::europeanSummerDay(dayNumber)) {
            continue;
        }
        const double margin = phase.kind % 2 == 0 ? 0.0625 : 0.040625;
        const double fromMidnight = 1.0 - timeOfDay(dayNumber);  // before the next midnight
        if (std::fabs(fromMidnight - margin) < ToleranceDays) {
            continue;  // too close to the limit to tell with the reference's precision
        }
        if (fromMidnight > margin + 0.1 && timeOfDay(dayNumber) > 0.05) {
            continue;  // nowhere near either limit
        }
        const astro::SystemTime nextNoon = readingOf(std::floor(dayNumber) + 1.5);
        const double found = nextPhasesFromToday(nextNoon).instants[phase.kind];
        if (fromMidnight < margin) {
            EXPECT_NEAR(found, dayNumber, ToleranceDays) << "accepted late event " << dayNumber;
        } else {
            EXPECT_GT(found, dayNumber + 20) << "rejected evening event " << dayNumber;
        }
        // An event early on the reading's own day is found from noon, though it has passed.
        if (timeOfDay(dayNumber) < 0.05) {
            const astro::SystemTime sameNoon = readingOf(std::floor(dayNumber) + 0.5);
            EXPECT_NEAR(nextPhasesFromToday(sameNoon).instants[phase.kind], dayNumber,
                        ToleranceDays);
        }
        ++checked;
    }
    EXPECT_GT(checked, 400);
}

// The from-tomorrow search still accepts an event of the late evening of today; once it has
// passed, the lists must take the next event of its kind instead of showing it with -1 days.
TEST(ListedSets, NeverHoldAnEventOfTheLateEveningThatHasPassed)
{
    // New Moon 2000 November 25, 23:11 UT (reference table), 23:12 as this program shows it.
    const astro::SystemTime lateEvening = at(2000, 11, 25, 23, 59);
    const double now = astro::julianDayOf(lateEvening);
    const PhaseSet fromTomorrow = nextPhasesFromTomorrow(lateEvening);
    ASSERT_EQ(eventDateText(fromTomorrow[Phase::NewMoon]), "25.11.2000 um 23:12 Uhr");
    ASSERT_TRUE(isBeforeNow(fromTomorrow[Phase::NewMoon], now));

    const PhaseSet listed = phasesForList(lateEvening);
    EXPECT_EQ(eventDateText(listed[Phase::NewMoon]).substr(0, 10), "25.12.2000");
    for (const Phase other : {Phase::FirstQuarter, Phase::FullMoon, Phase::LastQuarter}) {
        EXPECT_EQ(listed[other], fromTomorrow[other]);
    }
    for (const double instant : listed.instants) {
        EXPECT_FALSE(isBeforeNow(instant, now));
    }
    // Earlier that evening the New Moon is still to come and is listed as due today.
    const PhaseSet before = phasesForList(at(2000, 11, 25, 23, 0));
    EXPECT_EQ(eventDateText(before[Phase::NewMoon]), "25.11.2000 um 23:12 Uhr");
}

// Every reference phase and eclipse of the late evening (22:35 - 23:55 as displayed), read four
// minutes after it: no listed instant may lie before the reading.
TEST(ListedSets, LateEveningEventsOfTheReferenceTables)
{
    const auto lateEvening = [](double displayed) {
        const double t = timeOfDay(displayed) * 24 * 60;  // minutes
        return t > 22 * 60 + 35 && t < 23 * 60 + 55;
    };
    int phases = 0;
    for (const auto& phase : referencePhases()) {
        const double displayed = displayedReference(phase.jdTT);
        if (!lateEvening(displayed) || displayed < 2415385.0 || displayed > 2488070.0) {
            continue;
        }
        const astro::SystemTime reading = readingOf(displayed + 4 / 1440.0);
        const double now = astro::julianDayOf(reading);
        const PhaseSet listed = phasesForList(reading);
        for (const double instant : listed.instants) {
            ASSERT_FALSE(isBeforeNow(instant, now)) << "after the phase at " << displayed;
        }
        EXPECT_GT(listed.instants[phase.kind], displayed + 25) << displayed;
        ++phases;
    }
    EXPECT_GT(phases, 300);

    int eclipses = 0;
    for (const auto& eclipse : referenceEclipses()) {
        const double displayed = displayedReference(eclipse.jdTT);
        if (!lateEvening(displayed) || displayed < 2433282.0 || displayed > 2469807.0) {
            continue;
        }
        const astro::SystemTime reading = readingOf(displayed + 4 / 1440.0);
        const double now = astro::julianDayOf(reading);
        for (const double instant : eclipsesForList(reading).instants) {
            ASSERT_FALSE(isBeforeNow(instant, now)) << "after the eclipse at " << displayed;
        }
        ++eclipses;
    }
    EXPECT_GT(eclipses, 5);
}

}  // namespace
}  // namespace events
