// Day numbers as dates and times, the summer-time rule and the day counts, for any double and
// any 32-bit year. Checked for every input, against references of their own:
//   - calendarDate: the proleptic Gregorian date from 15 October 1582 on and the Julian one
//     before it (integer day arithmetic), and no date beyond +-1e11 or for NaN;
//   - dateTimeText: "dd.mm.yyyy  hh:mm:ss" of that date and of the time of day cut to the
//     second, empty exactly where there is no date text; eventDateText is the same text with
//     " um ", without the seconds and with " Uhr";
//   - isSummerTime: the European rule from the reference date and weekday (none before 1980);
//   - summerTimeSwitchDay: a Sunday among the last seven days of the right month, any year;
//     leapFlag and weekdayOf: as the C++ calendar has them (any year, through the 400-year
//     cycle of the Gregorian calendar);
//   - dayCountText: the whole days right-aligned in the list's field (blank for 0, none for a
//     count that is not a number) and the right word.
#include "events/calendar.hpp"
#include "events/number_format.hpp"
#include "events/texts.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

namespace chr = std::chrono;

[[noreturn]] void fail(const char* what, double value, std::string_view text = {})
{
    std::fprintf(stderr, "date texts: %s for %.17g (bits %016llx), text \"%.*s\"\n", what, value,
                 static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)),
                 static_cast<int>(text.size()), text.data());
    std::abort();
}

[[noreturn]] void failYear(const char* what, std::int64_t year, std::int64_t other)
{
    std::fprintf(stderr, "date texts: %s for the year %lld (%lld)\n", what,
                 static_cast<long long>(year), static_cast<long long>(other));
    std::abort();
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a % b < 0) != (b < 0) ? 1 : 0);
}

struct Date {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
};

// The Gregorian calendar repeats every 400 years (146097 days, a whole number of weeks), so any
// year maps onto one within the C++ calendar's range.
chr::year withinCalendar(std::int64_t year)
{
    return chr::year{static_cast<int>(2000 + (year % 400 + 400) % 400)};
}

unsigned weekday(std::int64_t year, unsigned month, unsigned day)
{
    return chr::weekday{chr::sys_days{withinCalendar(year) / chr::month{month} / chr::day{day}}}
        .c_encoding();
}

unsigned monthLength(std::int64_t year, unsigned month)
{
    return static_cast<unsigned>((withinCalendar(year) / chr::month{month} / chr::last).day());
}

// The date of the day that day number `dayNumber` lies in.
Date referenceDate(double dayNumber)
{
    const auto days = static_cast<std::int64_t>(std::floor(dayNumber));
    const std::int64_t julianDayNumber = days + 1;  // of the civil day, at noon
    if (julianDayNumber >= 2299161) {
        // Proleptic Gregorian, through the 400-year cycle.
        const std::int64_t fromEpoch = days - 2440587;
        const std::int64_t cycles = floorDiv(fromEpoch, 146097);
        const chr::year_month_day date{chr::sys_days{chr::days{fromEpoch - cycles * 146097}}};
        return {static_cast<int>(date.year()) + cycles * 400, static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day())};
    }
    // Julian calendar (E. G. Richards' algorithm with floor division).
    const std::int64_t c = julianDayNumber + 32082;
    const std::int64_t d = floorDiv(4 * c + 3, 1461);
    const std::int64_t e = c - floorDiv(1461 * d, 4);
    const std::int64_t m = floorDiv(5 * e + 2, 153);
    return {d - 4800 + floorDiv(m, 10), m + 3 - 12 * floorDiv(m, 10),
            e - floorDiv(153 * m + 2, 5) + 1};
}

bool hasDate(double dayNumber)
{
    return std::fabs(dayNumber) <= events::CalendarDayNumberLimit;
}

void checkCalendar(double x)
{
    const events::CalendarDate date = events::calendarDate(x);
    if (!hasDate(x)) {
        if (date.year != 0 || date.month != 0 || date.day != 0) {
            fail("a date beyond the limit", x);
        }
        return;
    }
    const Date expected = referenceDate(x);
    if (date.year != expected.year || date.month != expected.month || date.day != expected.day) {
        fail("calendarDate is not the calendar's date", x);
    }
}

std::string twoDigits(std::int64_t value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", static_cast<int>(value));
    return buffer;
}

void checkDateTexts(double x)
{
    const std::string text = events::dateTimeText(x);
    const std::string eventText = events::eventDateText(x);
    if (!(x >= events::FirstDayNumberOfYearOne && x <= events::CalendarDayNumberLimit)) {
        if (!text.empty() || !eventText.empty()) {
            fail("a date text where there is none", x, text);
        }
        return;
    }
    const Date date = referenceDate(x);
    char year[24];
    std::snprintf(year, sizeof year, "%04lld", static_cast<long long>(date.year));
    const std::string datePart = twoDigits(date.day) + "." + twoDigits(date.month) + "." + year;

    // The time of day, cut to the second: the text's seconds lie within the second before the
    // exact time (or a rounding step after it).
    const long double fraction = static_cast<long double>(x - std::floor(x)) * 86400;
    const std::size_t clock = datePart.size() + 2;
    const auto field = [&](std::size_t at) {
        const char tens = text[clock + at];
        const char ones = text[clock + at + 1];
        const bool digits = tens >= '0' && tens <= '9' && ones >= '0' && ones <= '9';
        return digits ? (tens - '0') * 10 + (ones - '0') : 99;
    };
    if (text.size() != clock + 8 || text.compare(0, clock, datePart + "  ") != 0 ||
        text[clock + 2] != ':' || text[clock + 5] != ':') {
        fail("dateTimeText is not \"dd.mm.yyyy  hh:mm:ss\" of the date", x, text);
    }
    const int hours = field(0);
    const int minutes = field(3);
    const int seconds = field(6);
    if (hours > 23 || minutes > 59 || seconds > 59) {
        fail("dateTimeText is not \"dd.mm.yyyy  hh:mm:ss\" of the date", x, text);
    }
    const long double written = hours * 3600 + minutes * 60 + seconds;
    if (written > fraction + 1e-6L || written <= fraction - 1 - 1e-6L) {
        fail("dateTimeText's clock is not the time of day", x, text);
    }
    const std::string expectedEvent = datePart + " um " + text.substr(clock, 5) + " Uhr";
    if (eventText != expectedEvent) {
        fail("eventDateText is not dateTimeText without the seconds", x, eventText);
    }
}

void checkSummerTime(double x)
{
    const std::int32_t summer = events::isSummerTime(x);
    bool expected = false;
    if (x >= events::FirstDayNumberOfYearOne && hasDate(x)) {
        const Date date = referenceDate(x);
        if (date.year >= 1980) {
            const auto lastSunday = [&](unsigned month) {
                const unsigned last = monthLength(date.year, month);
                return last - weekday(date.year, month, last);
            };
            const std::int64_t endMonth = date.year <= 1995 ? 9 : 10;
            const std::int64_t v = 100 * date.month + date.day;
            expected = 300 + lastSunday(3) <= v &&
                       v <= 100 * endMonth + lastSunday(static_cast<unsigned>(endMonth));
        }
    }
    if (summer != (expected ? 1 : 0)) {
        fail("isSummerTime disagrees with the European rule", x);
    }
}

void checkYear(std::int32_t year, std::int32_t which, std::int32_t month, std::int32_t day)
{
    const auto selector = static_cast<events::SummerTimeSwitch>(which);
    const events::SwitchDay sw = events::summerTimeSwitchDay(year, selector);
    const std::int32_t expectedMonth = selector == events::SummerTimeSwitch::EndFrom1996 ? 10
                                       : selector == events::SummerTimeSwitch::EndUpTo1995
                                           ? (year <= 1995 ? 9 : 10)
                                           : 3;
    if (sw.month != expectedMonth) {
        failYear("summerTimeSwitchDay picks the wrong month", year, which);
    }
    const unsigned last = monthLength(year, static_cast<unsigned>(sw.month));
    if (sw.day < static_cast<std::int32_t>(last) - 6 || sw.day > static_cast<std::int32_t>(last) ||
        weekday(year, static_cast<unsigned>(sw.month), static_cast<unsigned>(sw.day)) != 0) {
        failYear("summerTimeSwitchDay is not the last Sunday", year, sw.day);
    }

    if (events::leapFlag(year) != (withinCalendar(year).is_leap() ? 1 : 0)) {
        failYear("leapFlag is wrong", year, events::leapFlag(year));
    }

    const std::int32_t w = events::weekdayOf(year, month, day);
    if (w < 0 || w > 6) {
        failYear("weekdayOf is not a weekday", year, w);
    }
    if (month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
        static_cast<unsigned>(w) !=
            weekday(year, static_cast<unsigned>(month), static_cast<unsigned>(day))) {
        failYear("weekdayOf is wrong", year, w);
    }
}

void checkDayCount(double instant, double now)
{
    const double days = std::floor(instant - (now - 0.5));
    const std::string_view word = days == 1 ? " Tag   am" : " Tagen am";
    for (const std::string_view mask : {events::PhaseDayCountMask, events::EclipseDayCountMask}) {
        const std::string text = events::dayCountText(instant, now, mask);
        const std::size_t width = mask.size();
        if (!text.ends_with(word)) {
            fail("dayCountText has the wrong word", instant, text);
        }
        const std::string field = text.substr(0, text.size() - word.size());
        const std::size_t number = field.find_first_not_of(' ');
        bool wellFormed = false;
        if (!std::isfinite(days)) {
            wellFormed = field.empty();
        } else if (days == 0) {
            wellFormed = field == std::string(width, ' ');  // the number field stays blank
        } else {
            // Right-aligned in the field (or wider), all digits, reading back as the count.
            wellFormed = field.size() >= width && number != std::string::npos &&
                         field.find(' ', number) == std::string::npos &&
                         std::strtod(field.c_str() + number, nullptr) == days;
        }
        if (!wellFormed) {
            fail("dayCountText's number field is not the day count", instant, text);
        }
    }
}

// A day number from the input: any bit pattern, or a whole day within the calendar's reach plus
// a time of day in seconds (where the boundaries of days and fields lie).
double dayNumberFrom(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return std::bit_cast<double>(input.ConsumeIntegral<std::uint64_t>());
    case 1: {
        const auto day = input.ConsumeIntegralInRange<std::int64_t>(-110000000000, 110000000000);
        const auto second = input.ConsumeIntegralInRange<std::int32_t>(-1, 86400);
        return static_cast<double>(day) + second / 86400.0;
    }
    default:
        return input.ConsumeFloatingPointInRange(1700000.0, 13000000.0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const double x = dayNumberFrom(input);
    checkCalendar(x);
    checkDateTexts(x);
    checkSummerTime(x);

    const auto year = input.ConsumeIntegral<std::int32_t>();
    const auto which = input.ConsumeIntegral<std::int32_t>();
    const auto month = input.ConsumeIntegral<std::int32_t>();
    const auto day = input.ConsumeIntegral<std::int32_t>();
    checkYear(year, which, month, day);

    checkDayCount(x, dayNumberFrom(input));
    return 0;
}
