#include "events/texts.hpp"

#include "events/encoding.hpp"

#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace events {
namespace {

astro::SystemTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return astro::wallClockReading(year, month, day, hour, minute, second);
}

// The same code page table gives the command line's UTF-8 and the window's UTF-16.
TEST(Windows1252, TheProgramsCharactersAndTheHighControlsInUtf8AndUtf16)
{
    struct Case {
        const char* in;
        const char* utf8;
        std::u16string_view utf16;
    };
    const Case cases[] = {
        {"N\xE4"
         "chster",
         "N\xC3\xA4"
         "chster",
         u"N\u00E4chster"},
        {"ringf\xF6rmige", "ringf\xC3\xB6rmige", u"ringf\u00F6rmige"},
        {"\xFC\xDF\xB0", "\xC3\xBC\xC3\x9F\xC2\xB0", u"\u00FC\u00DF\u00B0"},
        {"\x80", "\xE2\x82\xAC", u"\u20AC"},  // euro sign
        {"\x81", "\xC2\x81", u"\u0081"},      // undefined: the C1 control of the same number
        {"\x9F", "\xC5\xB8", u"\u0178"},      // Y with diaeresis
        {"\xFF", "\xC3\xBF", u"\u00FF"},
        {"plain ASCII\t\n", "plain ASCII\t\n", u"plain ASCII\t\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8FromWindows1252(c.in), c.utf8) << c.in;
        EXPECT_EQ(utf16FromWindows1252(c.in), c.utf16) << c.in;
    }
    EXPECT_EQ(utf8FromWindows1252(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(utf16FromWindows1252(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(DurationParts, HoursMinutesSecondsOfTheDayFraction)
{
    struct Case {
        double days;
        double hours;
        double minutes;
        double seconds;
    };
    const Case cases[] = {
        {2.75, 18, 0, 0},
        {0.999999, 23, 59, 59},  // 86399.91 s: the fraction of a second is dropped
        {0.5, 12, 0, 0},
        {0.0, 0, 0, 0},
        {2 + (7 * 3600 + 5 * 60 + 9.5) / 86400.0, 7, 5, 9},
        {1.0 / 24 + 1e-9, 1, 0, 0},
        {1.0 / 24 - 1e-9, 0, 59, 59},
        {123456.25, 6, 0, 0},  // whole days never reach the clock parts
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hoursPart(c.days), c.hours) << c.days;
        EXPECT_EQ(minutesPart(c.days), c.minutes) << c.days;
        EXPECT_EQ(secondsPart(c.days), c.seconds) << c.days;
    }
}

// The clock fields are cut from a binary fraction of the day, so the day number of a whole
// second can show the second before; the cases below sit a few milliseconds after the second
// unless the exact value is known to come out whole.
TEST(DateTimeText, DayMonthYearTwoSpacesAndClock)
{
    EXPECT_EQ(dateTimeText(astro::dayNumberOf(at(2025, 3, 5, 14, 7, 9))), "05.03.2025  14:07:09");
    EXPECT_EQ(dateTimeText(astro::dayNumberOf(at(2000, 1, 1))), "01.01.2000  00:00:00");
    EXPECT_EQ(dateTimeText(astro::dayNumberOf(at(1999, 12, 31, 23, 59, 59)) + 1e-7),
              "31.12.1999  23:59:59");
    // Julian calendar before 15 October 1582; four digits for the year 800 (1 January 800
    // Julian is 799 * 365 + 199 leap days after 1 January 1).
    EXPECT_EQ(dateTimeText(1721423.0 + 799 * 365 + 199), "01.01.0800  00:00:00");
    EXPECT_EQ(dateTimeText(1721423.0), "01.01.0001  00:00:00");
}

TEST(DateTimeText, EmptyBeforeTheYearOneAndForNonsense)
{
    EXPECT_EQ(dateTimeText(1721422.999), "");
    EXPECT_EQ(dateTimeText(0), "");
    EXPECT_EQ(dateTimeText(-1e300), "");
    EXPECT_EQ(dateTimeText(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(dateTimeText(std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(eventDateText(1721422.0), "");
    EXPECT_EQ(eventDateText(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(EventDateText, CutsTheSecondsAndAddsUhr)
{
    const double x = astro::dayNumberOf(at(2025, 3, 5, 14, 7, 9)) + 1e-7;
    EXPECT_EQ(eventDateText(x), "05.03.2025 um 14:07 Uhr");
    // Cut, not rounded.
    EXPECT_EQ(eventDateText(astro::dayNumberOf(at(2025, 3, 5, 14, 7, 59)) + 1e-7),
              "05.03.2025 um 14:07 Uhr");
    EXPECT_EQ(eventDateText(astro::dayNumberOf(at(2024, 12, 31, 23, 59, 59)) + 1e-7),
              "31.12.2024 um 23:59 Uhr");
}

// Cutting the text at fixed character positions (delete 3 at 20, insert " Uhr" at 20) only
// works for four-digit years; the text is built from its parts instead.
TEST(EventDateText, IsWellFormedForFiveDigitYears)
{
    EXPECT_EQ(eventDateText(astro::dayNumberOf(at(12025, 3, 5, 14, 7, 9)) + 1e-7),
              "05.03.12025 um 14:07 Uhr");
    EXPECT_EQ(eventDateText(astro::dayNumberOf(at(30827, 12, 31, 23, 59, 0)) + 1e-7),
              "31.12.30827 um 23:59 Uhr");
    EXPECT_EQ(dateTimeText(astro::dayNumberOf(at(10000, 1, 1, 0, 0, 0))), "01.01.10000  00:00:00");
}

// Just below 2^22 (a midnight of the year 6771) the date was once taken from the next day while
// the clock showed the last second of this one.
TEST(DateTimeText, DateAndClockOfTheLastMomentBeforeMidnightAgree)
{
    const double midnight = 4194304.0;
    const std::string day = dateTimeText(midnight - 0.5).substr(0, 10);
    EXPECT_EQ(dateTimeText(std::nextafter(midnight, 0.0)), day + "  23:59:59");
    EXPECT_EQ(eventDateText(std::nextafter(midnight, 0.0)), day + " um 23:59 Uhr");
    EXPECT_NE(dateTimeText(midnight).substr(0, 10), day);
}

TEST(DayCountText, WordsAndFieldsOfBothLists)
{
    const double now = 2460740.0;  // a Julian Day of the local clock
    struct Case {
        double days;  // whole days from now to the event
        const char* phaseText;
        const char* eclipseText;
    };
    const Case cases[] = {
        {0, "   Tagen am", "    Tagen am"},    {1, " 1 Tag   am", "  1 Tag   am"},
        {2, " 2 Tagen am", "  2 Tagen am"},    {12, "12 Tagen am", " 12 Tagen am"},
        {999, "999 Tagen am", "999 Tagen am"}, {1000, "1000 Tagen am", "1000 Tagen am"},
    };
    for (const Case& c : cases) {
        // Anywhere within the day: a quarter and 99 % of a day on.
        for (const double part : {0.25, 0.99}) {
            const double instant = now - 0.5 + c.days + part;
            EXPECT_EQ(dayCountText(instant, now, PhaseDayCountMask), c.phaseText) << c.days;
            EXPECT_EQ(dayCountText(instant, now, EclipseDayCountMask), c.eclipseText) << c.days;
        }
    }
    // An event at exactly the present moment is due in 0 days; a moment earlier it is past.
    EXPECT_EQ(dayCountText(now - 0.5, now, PhaseDayCountMask), "   Tagen am");
    EXPECT_EQ(dayCountText(now - 0.5 - 1e-6, now, PhaseDayCountMask), "-1 Tagen am");
}

}  // namespace
}  // namespace events
