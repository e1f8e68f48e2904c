#include "events/current_phase.hpp"

#include "events/countdown.hpp"
#include "events/number_format.hpp"
#include "events/page_texts.hpp"
#include "support.hpp"

#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace events {
namespace {

using events::testing::referencePhases;

using events::testing::at;
using events::testing::later;
using events::testing::readingOf;
using events::testing::SecondsPerDay;

TEST(IlluminatedFraction, FromThePhaseAngle)
{
    EXPECT_EQ(fractionFromPhaseAngle(180), 0.0);
    EXPECT_EQ(fractionFromPhaseAngle(0), 100.0);
    EXPECT_NEAR(fractionFromPhaseAngle(90), 50.0, 1e-12);
    EXPECT_NEAR(fractionFromPhaseAngle(-540), 0.0, 1e-12);  // not reduced to 0..360 first
}

// At the instants of the reference phases the Moon is dark, half lit or full. Meeus's low-
// accuracy phase angle is good to about a degree, which is 0.9 % of the disc at the quarters
// and next to nothing at New and Full Moon. A wrong digit in a rate of D, M or M' moves the
// phase angle by far more over two centuries.
TEST(IlluminatedFraction, MatchesThePhasesOfTheReferenceTable)
{
    double worstQuarter = 0.0;
    double worstSyzygy = 0.0;
    for (const auto& phase : referencePhases()) {
        const double fraction = illuminatedFraction(phase.jdTT);
        ASSERT_GE(fraction, 0.0);
        ASSERT_LE(fraction, 100.0);
        switch (phase.kind) {
        case 0:
            worstSyzygy = std::max(worstSyzygy, fraction);
            break;
        case 2:
            worstSyzygy = std::max(worstSyzygy, 100.0 - fraction);
            break;
        default:
            worstQuarter = std::max(worstQuarter, std::fabs(fraction - 50.0));
            break;
        }
    }
    std::cout << "largest departure: New/Full Moon " << worstSyzygy << " %, quarters "
              << worstQuarter << " %\n";
    EXPECT_LT(worstSyzygy, 0.003);  // measured 0.0011
    EXPECT_LT(worstQuarter, 0.5);   // measured 0.38
    EXPECT_GT(referencePhases().size(), 9900u);
}

TEST(IlluminatedFraction, MeeusExample48a)
{
    // Astronomical Algorithms, example 48.a: 1992 April 12, 0h TD, k = 0.6786 (the accurate
    // method; the low-accuracy phase angle differs by a fraction of a degree).
    EXPECT_NEAR(illuminatedFraction(2448724.5), 67.86, 0.5);
}

// The gauge's text for readings over 1601-30827, computed independently of this code by
// tools/refdata/lit_fraction.py. A slip in any coefficient of the phase angle (6.289 typed as
// 6.389 moves the gauge by up to 0.09), the hour, the rounding or the mask changes some text.
TEST(IlluminatedFraction, GaugeTextsOfAnIndependentComputation)
{
    const auto rows = testing::dataRows("lit_fraction.csv");
    EXPECT_GE(rows.size(), 40u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 7u);
        const astro::SystemTime reading =
            at(std::stoi(row[0]), std::stoi(row[1]), std::stoi(row[2]), std::stoi(row[3]),
               std::stoi(row[4]), std::stoi(row[5]));
        EXPECT_EQ(fractionText(gaugeValue(astro::julianDayOf(reading))), row[6])
            << row[0] << "-" << row[1] << "-" << row[2] << " " << row[3] << ":" << row[4] << ":"
            << row[5];
    }
}

TEST(IlluminatedFraction, TheWindowUsesTheLocalClockOneHourEarlier)
{
    const double jd = 2460740.25;
    EXPECT_EQ(illuminatedFractionOfLocalClock(jd), illuminatedFraction(jd - 1.0 / 24));
    EXPECT_EQ(gaugeValue(jd), roundToFiveDecimals(illuminatedFraction(jd - 1.0 / 24)));
    EXPECT_TRUE(std::isfinite(illuminatedFraction(1e9)));
}

TEST(NearestPhase, StrictlyNearestOnlyAndZeroCountsAsPast)
{
    struct Case {
        std::array<double, 4> distances;
        bool found;
        Phase phase;
    };
    const Case cases[] = {
        {{-3.0, 4.5, 12.0, 19.0}, true, Phase::NewMoon},
        {{-10.0, -2.5, 4.0, 11.0}, true, Phase::FirstQuarter},
        {{-17.0, -9.5, 0.25, 7.0}, true, Phase::FullMoon},
        {{-25.0, -17.5, -10.0, -2.0}, true, Phase::LastQuarter},
        {{-3.0, 3.0, 10.0, 17.0}, false, Phase::NewMoon},  // equally near: none
        {{-8.0, -1.0, 1.0, 8.0}, false, Phase::NewMoon},
        {{0.0, 7.0, 14.0, -7.0}, true, Phase::NewMoon},
    };
    for (const Case& c : cases) {
        const NearestPhase nearest = nearestOf(c.distances);
        EXPECT_EQ(nearest.found, c.found) << c.distances[0] << " " << c.distances[1];
        if (c.found) {
            EXPECT_EQ(nearest.phase, c.phase);
        }
    }
    const NearestPhase zero = nearestOf({0.0, 7.0, 14.0, -7.0});
    EXPECT_EQ(eventLineText(zero.phase, zero.distanceDays), " Letzter Neumond war vor: ");
    EXPECT_EQ(countdownParts(std::fabs(zero.distanceDays)).dialText, "00:00:00");
}

TEST(NearestPhase, EventLineTexts)
{
    struct Case {
        Phase phase;
        const char* future;
        const char* past;
    };
    const Case cases[] = {
        {Phase::NewMoon,
         " N\xE4"
         "chster Neumond ist in: ",
         " Letzter Neumond war vor: "},
        {Phase::FirstQuarter,
         " Das n\xE4"
         "chste Erste Viertel ist in: ",
         " Das letzte Erste Viertel war vor: "},
        {Phase::FullMoon,
         " N\xE4"
         "chster Vollmond ist in: ",
         " Letzter Vollmond war vor: "},
        {Phase::LastQuarter,
         " Das n\xE4"
         "chste Letzte Viertel ist in: ",
         " Das letzte Letzte Viertel war vor: "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(eventLineText(c.phase, 0.5), c.future);
        EXPECT_EQ(eventLineText(c.phase, 1e-9), c.future);
        EXPECT_EQ(eventLineText(c.phase, 0.0), c.past);
        EXPECT_EQ(eventLineText(c.phase, -3.0), c.past);
    }
}

TEST(NearestPhase, OneHourIsAddedToTheEvent)
{
    // 2000 January 6: k = 12.3685 * 6 / 365 = 0.2, lunation 0, New Moon at JDE 2451550.26025.
    double k = 0.0;
    const double newMoon = astro::newMoonInstant(k) - 0.5;  // day number, about 18:14:46
    const astro::SystemTime atTheInstant = readingOf(newMoon);
    ASSERT_EQ(atTheInstant.wDay, 6);
    ASSERT_EQ(atTheInstant.wHour, 18);

    const NearestPhase before = nearestPhase(atTheInstant);
    ASSERT_TRUE(before.found);
    EXPECT_EQ(before.phase, Phase::NewMoon);
    EXPECT_NEAR(before.distanceDays, 1.0 / 24, 1e-8);
    EXPECT_EQ(eventLineText(before.phase, before.distanceDays),
              " N\xE4"
              "chster Neumond ist in: ");

    const NearestPhase after = nearestPhase(later(atTheInstant, 2 * 3600.0));
    ASSERT_TRUE(after.found);
    EXPECT_EQ(after.phase, Phase::NewMoon);
    EXPECT_NEAR(after.distanceDays, -1.0 / 24, 1e-8);
    EXPECT_EQ(eventLineText(after.phase, after.distanceDays), " Letzter Neumond war vor: ");
}

// For readings spread over 1950-2050, the four distances agree with the reference instants of
// the same lunation, and the phase shown is the reference's nearest one.
TEST(NearestPhase, AgreesWithTheReferenceTable)
{
    // The phase series against the ephemeris, 1950-2050: measured at most 65 s.
    constexpr double ToleranceSeconds = 90;
    // Each reference phase under its lunation number: phases stay within about 0.7 day of the
    // mean phase 2451550.09765 + 29.530588853 (k + kind / 4) (Meeus, eq. 49.1).
    std::map<std::pair<int, long>, double> byLunation;
    for (const auto& phase : referencePhases()) {
        const double k = (phase.jdTT - 2451550.09765) / 29.530588853 - phase.kind * 0.25;
        byLunation[{phase.kind, std::lround(k)}] = phase.jdTT;
    }
    double worst = 0.0;
    int compared = 0;
    for (double x = 2433282.0 + 0.123; x < 2469807.0; x += 1.37) {  // 1950 .. 2050
        const astro::SystemTime reading = readingOf(x);
        const double now = astro::dayNumberOf(reading);
        const double lunation = std::floor(astro::approximateLunation(reading.wYear, reading, 0));
        const std::array<double, 4> distances = phaseDistances(reading);

        std::array<double, 4> expected{};
        for (int kind = 0; kind < 4; ++kind) {
            const auto row = byLunation.find({kind, static_cast<long>(lunation)});
            ASSERT_NE(row, byLunation.end()) << "kind " << kind << " at " << x;
            expected[kind] = row->second - 0.5 - now + 1.0 / 24;
            const double error = (distances[kind] - expected[kind]) * SecondsPerDay;
            worst = std::max(worst, std::fabs(error));
            ASSERT_LT(std::fabs(error), ToleranceSeconds) << "kind " << kind << " at " << x;
        }
        std::array<double, 4> sorted = expected;
        for (double& d : sorted) {
            d = std::fabs(d);
        }
        std::sort(sorted.begin(), sorted.end());
        if ((sorted[1] - sorted[0]) * SecondsPerDay > 2 * ToleranceSeconds) {
            const NearestPhase nearest = nearestPhase(reading);
            ASSERT_TRUE(nearest.found);
            const auto index = static_cast<std::size_t>(nearest.phase);
            EXPECT_EQ(std::fabs(expected[index]), sorted[0]) << "at " << x;
            ++compared;
        }
    }
    std::cout << "largest difference from the reference: " << worst << " s over " << compared
              << " readings\n";
    EXPECT_GT(compared, 26000);
}

TEST(PointerPosition, FromFractionAndWaxingOrWaning)
{
    const double soonerNewMoon = 10.0;
    const double laterNewMoon = 30.0;
    const double fullMoon = 20.0;
    struct Case {
        double percent;
        bool waning;
        int position;
    };
    const Case cases[] = {
        {100, false, 32},     {100, true, 32},  // right, towards Full Moon
        {0, false, 96},       {0, true, 96},    // left, towards New Moon
        {50, false, 64},                        // down, First Quarter
        {50, true, 128},                        // up, Last Quarter (the drawing makes it 0)
        {25, false, 80},      {75, false, 48},      {75, true, 16},
        {25, true, 112},      {0.78125, false, 96},  // 95.5: ties to even
        {2.34375, false, 94},                        // 94.5
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pointerPositionFromFraction(c.percent, c.waning ? soonerNewMoon : laterNewMoon,
                                              fullMoon, PointerDivisions),
                  c.position)
            << c.percent << (c.waning ? " waning" : " waxing");
    }
    // Equal instants count as waxing.
    EXPECT_EQ(pointerPositionFromFraction(50, 20.0, 20.0, PointerDivisions), 64);
}

TEST(PointerPosition, AbsurdInputGivesZeroInsteadOfOverflowing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(pointerPositionFromFraction(nan, 1, 2, PointerDivisions), 0);
    EXPECT_EQ(pointerPositionFromFraction(1e300, 1, 2, PointerDivisions), 0);
    EXPECT_EQ(pointerPositionFromFraction(-1e300, 2, 1, PointerDivisions), 0);
    EXPECT_EQ(pointerPositionFromFraction(50, nan, 2, PointerDivisions), 64);  // waxing
    EXPECT_EQ(pointerPositionFromFraction(50, 1, 2, 0), 0);
}

// Page 1 as text: waxing from New Moon to Full Moon, and the event line's phrase with the
// distance in whole days and hours, in the dative after "in" and "vor".
TEST(MoonState, WaxingOrWaningAndTheNearestPhaseInDaysAndHours)
{
    struct Case {
        Phase phase;
        double distanceDays;
        const char* state;
        const char* nearest;
    };
    const Case cases[] = {
        {Phase::NewMoon, 2.5, "Abnehmender Mond",
         "N\xE4"
         "chster Neumond ist in 2 Tagen und 12 Stunden"},
        {Phase::NewMoon, -1.05, "Zunehmender Mond", "Letzter Neumond war vor 1 Tag und 1 Stunde"},
        {Phase::FirstQuarter, 0.3, "Zunehmender Mond",
         "Das n\xE4"
         "chste Erste Viertel ist in 7 Stunden"},
        {Phase::FirstQuarter, -3.01, "Zunehmender Mond",
         "Das letzte Erste Viertel war vor 3 Tagen"},
        {Phase::FullMoon, 0.02, "Zunehmender Mond",
         "N\xE4"
         "chster Vollmond ist in weniger als einer Stunde"},
        {Phase::FullMoon, 0.0, "Abnehmender Mond",
         "Letzter Vollmond war vor weniger als einer Stunde"},
        {Phase::LastQuarter, 1.5, "Abnehmender Mond",
         "Das n\xE4"
         "chste Letzte Viertel ist in 1 Tag und 12 Stunden"},
        {Phase::LastQuarter, -0.5, "Abnehmender Mond",
         "Das letzte Letzte Viertel war vor 12 Stunden"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> expected = {c.state, c.nearest};
        EXPECT_EQ(moonStateLines({true, c.phase, c.distanceDays}), expected)
            << static_cast<int>(c.phase) << " at " << c.distanceDays;
    }
    // Two phases equally near: nothing to say.
    EXPECT_TRUE(moonStateLines({false, Phase::FullMoon, 3.0}).empty());
}

// The count-down shows 3 d 5 h 14 min 18 s here; the lines join as a multi-line window text.
TEST(MoonState, AtAReadingAsTheLinesOfAWindowText)
{
    EXPECT_EQ(joinedLines(moonStateLinesAt(at(2026, 12, 20, 21, 15))),
              "Zunehmender Mond\r\nN\xE4"
              "chster Vollmond ist in 3 Tagen und 5 Stunden");
    EXPECT_EQ(joinedLines(std::vector<std::string>{"a", "", "b"}), "a\r\n\r\nb");
    EXPECT_EQ(joinedLines(std::vector<std::string>{}), "");
}

}  // namespace
}  // namespace events
