#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace astro {
namespace {

SystemTime reading(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                   int ms = 0)
{
    return astro::wallClockReading(year, month, day, hour, minute, second, ms);
}

TEST(TimeScale, WorkedValueOfTheNewMoonOfJanuary2000)
{
    const SystemTime t = reading(2000, 1, 6, 18, 14);
    EXPECT_EQ(systemTimeToMilliseconds(t), 947182440000);
    EXPECT_NEAR(dayNumberOf(t), 2451549.759722222, 1e-9);
    EXPECT_NEAR(julianDayOf(t), 2451550.259722222, 1e-9);
}

// Tick counts as the platform's FILETIME has them (100 ns since 1601-01-01 00:00).
TEST(TimeScale, TicksMatchTheFileTimeEpochs)
{
    struct Case {
        SystemTime t;
        std::int64_t ticks;
    };
    const Case cases[] = {
        {reading(1601, 1, 1), 0},
        {reading(1601, 1, 2), TicksPerDay},
        {reading(1970, 1, 1), 116444736000000000},
        {reading(1970, 1, 1, 0, 0, 0, 1), 116444736000010000},
        {reading(2000, 3, 1), (DaysFrom1601To1970 + 11017) * TicksPerDay},  // after 29 Feb 2000
        {reading(1900, 3, 1), (DaysFrom1601To1970 - 25508) * TicksPerDay},  // no 29 Feb 1900
    };
    for (const Case& c : cases) {
        EXPECT_EQ(systemTimeToTicks(c.t), c.ticks) << c.t.wYear << "-" << c.t.wMonth;
    }
}

TEST(TimeScale, TicksRoundTripThroughTheCalendarRecordWithWeekdays)
{
    struct Case {
        SystemTime t;
        int weekday;  // 0 = Sunday
    };
    const Case cases[] = {
        {reading(1601, 1, 1), 1},                    // a Monday
        {reading(1970, 1, 1, 12, 30, 15, 250), 4},   // a Thursday
        {reading(1582 + 400, 10, 15), 5},            // 1982-10-15, a Friday
        {reading(2000, 2, 29, 23, 59, 59, 999), 2},  // a Tuesday
        {reading(2024, 3, 31), 0},                   // last Sunday of March 2024
        {reading(2024, 10, 27, 3), 0},               // last Sunday of October 2024
        {reading(2100, 2, 28), 0},
        {reading(2100, 3, 1), 1},
        {reading(30827, 12, 31, 23, 59, 59, 999), 5},
    };
    for (const Case& c : cases) {
        SystemTime back;
        ASSERT_TRUE(ticksToSystemTime(systemTimeToTicks(c.t), back)) << c.t.wYear;
        EXPECT_EQ(back.wYear, c.t.wYear);
        EXPECT_EQ(back.wMonth, c.t.wMonth);
        EXPECT_EQ(back.wDay, c.t.wDay);
        EXPECT_EQ(back.wHour, c.t.wHour);
        EXPECT_EQ(back.wMinute, c.t.wMinute);
        EXPECT_EQ(back.wSecond, c.t.wSecond);
        EXPECT_EQ(back.wMilliseconds, c.t.wMilliseconds);
        EXPECT_EQ(back.wDayOfWeek, c.weekday) << c.t.wYear << "-" << c.t.wMonth << "-" << c.t.wDay;
    }
}

TEST(TimeScale, TickCountsOutsideTheRecordRangeAreRejected)
{
    SystemTime untouched = reading(2001, 2, 3);
    EXPECT_FALSE(ticksToSystemTime(-1, untouched));
    EXPECT_FALSE(ticksToSystemTime(systemTimeToTicks(reading(30828, 1, 1)), untouched));
    EXPECT_EQ(untouched.wYear, 2001);
    EXPECT_EQ(untouched.wDay, 3);
}

// The record's fields are 16 bits wide: every value, however absurd, converts without
// overflowing, and the day number keeps growing with the year.
TEST(TimeScale, EverySixteenBitYearConvertsWithoutOverflow)
{
    double previous = dayNumberOf(reading(1, 1, 1));
    for (int year = 2; year <= 65535; year += 997) {
        const double day = dayNumberOf(reading(year, 12, 31, 23, 59, 59, 999));
        EXPECT_GT(day, previous) << year;
        previous = day;
    }
    const SystemTime absurd = reading(65535, 65535, 65535, 65535, 65535, 65535, 65535);
    EXPECT_GT(systemTimeToMilliseconds(absurd), systemTimeToMilliseconds(reading(65535, 1, 1)));
    EXPECT_EQ(systemTimeToTicks(absurd), INT64_MAX);
    EXPECT_LT(systemTimeToTicks(reading(30827, 12, 31, 23, 59, 59, 999)), INT64_MAX);
}

TEST(TimeScale, ReadingsBefore1970GiveNegativeMilliseconds)
{
    const SystemTime t = reading(1969, 12, 31, 18);
    EXPECT_EQ(systemTimeToMilliseconds(t), -6 * 3600 * 1000);
    EXPECT_DOUBLE_EQ(dayNumberOf(t), 2440587.0 - 0.25);
    EXPECT_LT(dayNumberOf(reading(1601, 1, 1)), DayNumberOf1970);
}

TEST(TimeScale, MidnightHasNoFractionAndStartsItsDay)
{
    for (int year : {1601, 1969, 1970, 2000, 2024, 9999, 30827}) {
        const double day = dayNumberOf(reading(year, 7, 1));
        EXPECT_EQ(day, std::trunc(day)) << year;
        EXPECT_EQ(std::trunc(dayNumberOf(reading(year, 7, 1, 23, 59, 59, 999))), day) << year;
    }
}

TEST(TimeScale, JulianDayIsHalfADayAheadOfTheDayNumber)
{
    for (const SystemTime& t : {reading(1601, 1, 1), reading(1999, 12, 31, 23, 59, 59, 999),
                                reading(2025, 3, 5, 14, 7, 9, 500)}) {
        EXPECT_NEAR(julianDayOf(t) - dayNumberOf(t), 0.5, 1e-9);
    }
}

TEST(TimeScale, AddTimeOfDayMovesByWholeAndPartHours)
{
    const double day = 2451549.759722222;
    EXPECT_EQ(addTimeOfDay(day, 0, 0, 0), day);
    EXPECT_DOUBLE_EQ(addTimeOfDay(day, 1, 0, 0), day + 1.0 / 24.0);
    EXPECT_DOUBLE_EQ(addTimeOfDay(day, -1, 0, 0), day - 1.0 / 24.0);
    EXPECT_DOUBLE_EQ(addTimeOfDay(day, 0, 30, 0), day + 0.5 / 24.0);  // not truncated to 0
    EXPECT_DOUBLE_EQ(addTimeOfDay(day, 0, 0, 90), day + 0.025 / 24.0);
}

TEST(TimeScale, ClockSourceCanBeReplacedAndRestored)
{
    static const SystemTime fixed = reading(2025, 3, 5, 14, 7, 9);
    const LocalClockSource previous = setLocalClockSource([] { return fixed; });
    EXPECT_EQ(readLocalClock().wYear, 2025);
    EXPECT_NEAR(currentJulianDay(), julianDayOf(fixed), 1e-9);
    setLocalClockSource(previous);
    const SystemTime now = readLocalClock();
    EXPECT_GE(now.wYear, 2020);
    EXPECT_GE(now.wMonth, 1);
    EXPECT_LE(now.wMonth, 12);
}

}  // namespace
}  // namespace astro
