#include "events/texts.hpp"

#include "events/calendar.hpp"

#include <algorithm>
#include <cmath>

namespace events {
namespace {

long double dayFraction(double days)
{
    const long double d = static_cast<long double>(days);
    return d - std::floor(d);
}

// The clock fields of a day number's time of day, as dateTimeText cuts them.
struct ClockFields {
    double hours;
    double minutes;
    double seconds;
};

ClockFields clockFields(double dayNumber)
{
    double t = (dayNumber - std::trunc(dayNumber)) * 24;
    const double hours = std::floor(t);
    t = (t - std::trunc(t)) * 60;
    const double minutes = std::floor(t);
    t = (t - std::trunc(t)) * 60;
    const double seconds = std::floor(t);
    // A fraction just below 1 times 60 could round up to 60 in double arithmetic; keep each
    // field a clock field.
    return {std::min(hours, 23.0), std::min(minutes, 59.0), std::min(seconds, 59.0)};
}

bool hasDateText(double dayNumber)
{
    return dayNumber >= FirstDayNumberOfYearOne && dayNumber <= CalendarDayNumberLimit;
}

std::string dateText(const CalendarDate& date)
{
    return formatWithMask(date.day, MaskTwoDigitsPoint) +
           formatWithMask(date.month, MaskTwoDigitsPoint) + formatWithMask(date.year, MaskYear);
}

std::string hoursAndMinutesText(const ClockFields& clock)
{
    return formatWithMask(clock.hours, MaskTwoDigits) + ":" +
           formatWithMask(clock.minutes, MaskTwoDigits);
}

}  // namespace

double hoursPart(double days)
{
    const long double f = dayFraction(days);
    return static_cast<double>(std::floor(f * 24));
}

double minutesPart(double days)
{
    const long double f = dayFraction(days);
    return static_cast<double>(
        std::floor(f * 1440 - static_cast<long double>(hoursPart(days)) * 60));
}

double secondsPart(double days)
{
    const long double f = dayFraction(days);
    return static_cast<double>(std::floor(f * 86400 -
                                          static_cast<long double>(hoursPart(days)) * 3600 -
                                          static_cast<long double>(minutesPart(days)) * 60));
}

std::string dateTimeText(double dayNumber)
{
    if (!hasDateText(dayNumber)) {
        return {};
    }
    const ClockFields clock = clockFields(dayNumber);
    return dateText(calendarDate(dayNumber)) + "  " + hoursAndMinutesText(clock) + ":" +
           formatWithMask(clock.seconds, MaskTwoDigits);
}

std::string eventDateText(double dayNumber)
{
    // Built from its parts rather than by cutting dateTimeText at fixed character positions,
    // which would cut the wrong characters once the year has five digits.
    if (!hasDateText(dayNumber)) {
        return {};
    }
    return dateText(calendarDate(dayNumber)) + " um " +
           hoursAndMinutesText(clockFields(dayNumber)) + " Uhr";
}

double dayCount(double instant, double nowJulianDay)
{
    return std::floor(instant - (nowJulianDay - 0.5));
}

std::string dayCountText(double instant, double nowJulianDay, std::string_view mask)
{
    const double days = dayCount(instant, nowJulianDay);
    return formatWithMask(days, mask) + (days == 1 ? " Tag   am" : " Tagen am");
}

}  // namespace events
