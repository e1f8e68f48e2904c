// German texts of durations, dates and times (Windows-1252 byte strings).
#pragma once

#include "events/number_format.hpp"

#include <string>
#include <string_view>

namespace events {

// Clock parts of a duration in days, from its fraction f = d - floor(d), each computed afresh in
// extended precision and cut to whole units: hours = floor(24 f), minutes = floor(1440 f - 60 h),
// seconds = floor(86400 f - 3600 h - 60 min). Fractions of a second are dropped.
double hoursPart(double days);
double minutesPart(double days);
double secondsPart(double days);

// "dd.mm.yyyy  hh:mm:ss" (two spaces) of a day number; the year takes as many digits as it has
// (at least four). Empty before 1 January of the year 1 and for day numbers without a date.
std::string dateTimeText(double dayNumber);

// The date of an event in the lists: "dd.mm.yyyy um hh:mm Uhr", seconds cut, not rounded
// (14:07:59 is shown as 14:07). Years of five or more digits give "dd.mm.yyyyy um hh:mm Uhr".
// Empty where dateTimeText is.
std::string eventDateText(double dayNumber);

// The day-count field masks of the two lists.
inline constexpr std::string_view PhaseDayCountMask = MaskBlankTwo;
inline constexpr std::string_view EclipseDayCountMask = MaskBlankThree;

// Whole days from now to the event, n = floor(instant - (nowJulianDay - 0.5)).
double dayCount(double instant, double nowJulianDay);

// The day count through the list's mask, then " Tag   am" for exactly one day and " Tagen am"
// otherwise. A day count of 0 leaves the number field blank.
std::string dayCountText(double instant, double nowJulianDay, std::string_view mask);

}  // namespace events
