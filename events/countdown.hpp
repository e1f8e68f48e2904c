// The count-down to or since the nearest principal phase: whole days, hours, minutes and seconds
// for the four labels, and the "hh:mm:ss" text of the count-down dial.
#pragma once

#include <string>

namespace events {

struct CountdownParts {
    double days = 0.0;  // floor(d)
    double hours = 0.0;
    double minutes = 0.0;
    double seconds = 0.0;
    std::string daysText;  // plain integer texts: "2", "7", "5", "9"
    std::string hoursText;
    std::string minutesText;
    std::string secondsText;
    std::string dialText;  // "07:05:09"; the whole days never reach the dial
};

// The parts of a non-negative duration in days (the magnitude of the nearest phase's distance).
CountdownParts countdownParts(double durationDays);

// Hours, minutes and seconds of the duration through the mask "00", joined by ":".
std::string dialText(double durationDays);

}  // namespace events
