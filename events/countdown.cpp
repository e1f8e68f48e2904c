#include "events/countdown.hpp"

#include "events/number_format.hpp"
#include "events/texts.hpp"

#include <cmath>

namespace events {

CountdownParts countdownParts(double durationDays)
{
    CountdownParts parts;
    parts.days = std::floor(durationDays);
    parts.hours = hoursPart(durationDays);
    parts.minutes = minutesPart(durationDays);
    parts.seconds = secondsPart(durationDays);
    parts.daysText = plainIntegerText(parts.days);
    parts.hoursText = plainIntegerText(parts.hours);
    parts.minutesText = plainIntegerText(parts.minutes);
    parts.secondsText = plainIntegerText(parts.seconds);
    parts.dialText = dialText(durationDays);
    return parts;
}

std::string dialText(double durationDays)
{
    return formatWithMask(hoursPart(durationDays), MaskTwoDigits) + ":" +
           formatWithMask(minutesPart(durationDays), MaskTwoDigits) + ":" +
           formatWithMask(secondsPart(durationDays), MaskTwoDigits);
}

}  // namespace events
