#include "events/calendar.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>

namespace events {
namespace {

namespace chr = std::chrono;

constexpr double DayNumberOf1970 = 2440587.0;

// The proleptic Gregorian date of a day number by the standard library's calendar, an
// independent route to the same answer.
chr::year_month_day gregorianDateOf(double dayNumber)
{
    const auto days = static_cast<std::int64_t>(std::floor(dayNumber) - DayNumberOf1970);
    return chr::year_month_day{chr::sys_days{chr::days{days}}};
}

double dayNumberOf(int year, unsigned month, unsigned day)
{
    const chr::sys_days d{chr::year{year} / chr::month{month} / chr::day{day}};
    return DayNumberOf1970 + static_cast<double>(d.time_since_epoch().count());
}

void expectDate(const CalendarDate& got, int year, int month, int day, const char* what)
{
    EXPECT_EQ(got.year, year) << what;
    EXPECT_EQ(got.month, month) << what;
    EXPECT_EQ(got.day, day) << what;
}

// The last Sunday of a month by the standard library's calendar.
unsigned lastSunday(int year, chr::month month)
{
    const chr::year_month_day d{chr::sys_days{chr::year{year} / month / chr::Sunday[chr::last]}};
    return static_cast<unsigned>(d.day());
}

TEST(CalendarDate, AgreesWithTheGregorianCalendarFrom1582To30827)
{
    // Every 13th day (all weekdays, month lengths and leap days come round), at midnight and
    // just before the next one.
    int checked = 0;
    for (double x = 2299160.0; x < dayNumberOf(30828, 1, 1); x += 13) {
        for (const double timeOfDay : {0.0, 0.9999}) {
            const chr::year_month_day want = gregorianDateOf(x);
            const CalendarDate got = calendarDate(x + timeOfDay);
            ASSERT_EQ(got.year, static_cast<int>(want.year())) << std::fixed << x;
            ASSERT_EQ(got.month, static_cast<int>(static_cast<unsigned>(want.month()))) << x;
            ASSERT_EQ(got.day, static_cast<int>(static_cast<unsigned>(want.day()))) << x;
            ++checked;
        }
    }
    EXPECT_GT(checked, 1500000);
}

TEST(CalendarDate, SwitchesToTheJulianCalendarBefore15October1582)
{
    expectDate(calendarDate(2299160.0), 1582, 10, 15, "first Gregorian day");
    expectDate(calendarDate(2299159.0), 1582, 10, 4, "last Julian day");
    expectDate(calendarDate(2299159.999), 1582, 10, 4, "its last moment");
    // Meeus, example 7.c: JD 2436116.31 is 1957 October 4.81; JD 1842713.0 is 333 January 27.5.
    expectDate(calendarDate(2436116.31 - 0.5), 1957, 10, 4, "Sputnik 1");
    expectDate(calendarDate(1842713.0 - 0.5), 333, 1, 27, "333 January 27");
    expectDate(calendarDate(1721423.0), 1, 1, 1, "1 January of the year 1");
}

// The last representable moment before a midnight belongs to the day that midnight ends. Just
// below a power of two, day number + 0.5 + 0.5 rounds up to the next whole number, so those
// moments once got the next day's date (a whole day off, with the clock at 23:59:59).
TEST(CalendarDate, TheLastMomentBeforeMidnightKeepsItsDay)
{
    for (const double midnight : {2097152.0, 4194304.0, 8388608.0, 2460401.0, 0.0}) {
        const double lastMoment = std::nextafter(midnight, -HUGE_VAL);
        const CalendarDate want = calendarDate(midnight - 0.5);
        const CalendarDate got = calendarDate(lastMoment);
        EXPECT_EQ(got.year, want.year) << std::fixed << midnight;
        EXPECT_EQ(got.month, want.month) << std::fixed << midnight;
        EXPECT_EQ(got.day, want.day) << std::fixed << midnight;
    }
}

TEST(CalendarDate, HasNoDateForNonFiniteOrFarDayNumbers)
{
    for (const double x :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1.1e11}) {
        const CalendarDate date = calendarDate(x);
        EXPECT_EQ(date.month, 0) << x;
        EXPECT_EQ(date.year, 0) << x;
    }
    // The last day number with a date still gives a sensible one.
    const CalendarDate far = calendarDate(CalendarDayNumberLimit);
    EXPECT_GT(far.year, 270000000);
    EXPECT_GE(far.month, 1);
    EXPECT_LE(far.month, 12);
}

TEST(LeapFlag, CenturiesAndTheYearZero)
{
    struct Case {
        std::int32_t year;
        std::int32_t flag;
    };
    const Case cases[] = {
        {1900, 0},
        {2000, 1},
        {2100, 0},
        {2400, 1},
        {2024, 1},
        {2025, 0},
        {1996, 1},
        // The year 0 (and negative years) divide without trouble.
        {0, 1},
        {-4, 1},
        {-100, 0},
        {-400, 1},
        {-1, 0},
        {std::numeric_limits<std::int32_t>::min(), 1},
        {std::numeric_limits<std::int32_t>::max(), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(leapFlag(c.year), c.flag) << c.year;
    }
}

TEST(Weekday, MatchesKnownDays)
{
    EXPECT_EQ(weekdayOf(1970, 1, 1), 4);   // Thursday
    EXPECT_EQ(weekdayOf(2024, 3, 31), 0);  // Sunday
    EXPECT_EQ(weekdayOf(1601, 1, 1), 1);   // Monday, the platform's tick epoch
    EXPECT_EQ(weekdayOf(2000, 2, 29), 2);  // Tuesday
    const chr::weekday yearZero{chr::sys_days{chr::year{0} / 1 / 1}};
    EXPECT_EQ(weekdayOf(0, 1, 1), static_cast<int>(yearZero.c_encoding()));
    EXPECT_GE(weekdayOf(std::numeric_limits<std::int32_t>::min(), 1, 1), 0);
    EXPECT_LE(weekdayOf(std::numeric_limits<std::int32_t>::max(), 12, 31), 6);
}

TEST(SummerTimeSwitchDay, IsTheLastSundayOfTheMonthFrom1980To2100)
{
    for (int year = 1980; year <= 2100; ++year) {
        const SwitchDay start = summerTimeSwitchDay(year, SummerTimeSwitch::Start);
        EXPECT_EQ(start.month, 3) << year;
        EXPECT_EQ(start.day, static_cast<int>(lastSunday(year, chr::March))) << year;

        const SwitchDay october = summerTimeSwitchDay(year, SummerTimeSwitch::EndFrom1996);
        EXPECT_EQ(october.month, 10) << year;
        EXPECT_EQ(october.day, static_cast<int>(lastSunday(year, chr::October))) << year;

        const SwitchDay end = summerTimeSwitchDay(year, SummerTimeSwitch::EndUpTo1995);
        const chr::month endMonth = year <= 1995 ? chr::September : chr::October;
        EXPECT_EQ(end.month, static_cast<int>(static_cast<unsigned>(endMonth))) << year;
        EXPECT_EQ(end.day, static_cast<int>(lastSunday(year, endMonth))) << year;
    }
    // Any other selector means March.
    EXPECT_EQ(summerTimeSwitchDay(2024, static_cast<SummerTimeSwitch>(7)).month, 3);
    EXPECT_EQ(summerTimeSwitchDay(2024, static_cast<SummerTimeSwitch>(-1)).day, 31);
}

TEST(SummerTimeSwitchDay, SundayCandidateMovesAWeekOn)
{
    // 24 March 2024 is a Sunday (31 - 7): the last Sunday is the 31st.
    EXPECT_EQ(summerTimeSwitchDay(2024, SummerTimeSwitch::Start).day, 31);
    // February plays no part, but the leap flag must not fail for the year 0.
    EXPECT_EQ(summerTimeSwitchDay(0, SummerTimeSwitch::Start).day,
              static_cast<int>(lastSunday(0, chr::March)));
}

TEST(IsSummerTime, SwitchDaysCountInFull)
{
    struct Case {
        int year;
        unsigned month;
        unsigned day;
        double timeOfDay;
        std::int32_t summer;
    };
    const Case cases[] = {
        {2024, 3, 31, 0.0, 1},                              // last Sunday of March
        {2024, 3, 30, 0.999, 0}, {2024, 10, 27, 0.999, 1},  // last Sunday of October
        {2024, 10, 28, 0.0, 0},  {1995, 9, 24, 0.5, 1},     // up to 1995: last Sunday of September
        {1995, 9, 25, 0.5, 0},   {1995, 10, 1, 0.5, 0},
        {1996, 10, 27, 0.5, 1},                         // from 1996: last Sunday of October
        {1996, 10, 28, 0.5, 0},  {1979, 7, 1, 0.5, 0},  // none before 1980
        {1980, 7, 1, 0.5, 1},    {2100, 6, 30, 0.5, 1},
        {2100, 12, 24, 0.5, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isSummerTime(dayNumberOf(c.year, c.month, c.day) + c.timeOfDay), c.summer)
            << c.year << "-" << c.month << "-" << c.day;
    }
    EXPECT_EQ(isSummerTime(1721422.5), 0);
    EXPECT_EQ(isSummerTime(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(isSummerTime(std::numeric_limits<double>::infinity()), 0);
}

TEST(IsSummerTime, EveryDayFrom1979To2101AgreesWithTheEuropeanRule)
{
    for (double x = dayNumberOf(1979, 1, 1); x < dayNumberOf(2102, 1, 1); x += 1) {
        const chr::year_month_day date = gregorianDateOf(x);
        const int year = static_cast<int>(date.year());
        const chr::sys_days start{chr::year{year} / chr::March / chr::Sunday[chr::last]};
        const chr::sys_days end{chr::year{year} / (year <= 1995 ? chr::September : chr::October) /
                                chr::Sunday[chr::last]};
        const chr::sys_days day{date};
        const bool want = year >= 1980 && start <= day && day <= end;
        ASSERT_EQ(isSummerTime(x + 0.5), want ? 1 : 0) << year << " day " << std::fixed << x;
    }
}

}  // namespace
}  // namespace events
