// Where the Moon stands now: the illuminated fraction of its disc, the principal phase of the
// current lunation nearest to now, and the pointer position on the phase diagram.
#pragma once

#include "events/event_sets.hpp"

#include "astro/system_time.hpp"

#include <array>
#include <string>

namespace events {

// Percent of the lunar disc illuminated at a Julian Day used directly as a JDE (no Delta-T, no
// time zone). Meeus, Astronomical Algorithms, 2nd ed., chapter 48, the low-accuracy phase angle
// from the mean elongation D and the mean anomalies M and M' (eq. 48.4 with 47.2 - 47.4).
double illuminatedFraction(double julianDay);

// 100 (1 + cos i) / 2 for the phase angle i in degrees: 0 at i = 180, 100 at i = 0.
double fractionFromPhaseAngle(double phaseAngleDeg);

// The lit fraction and the pointer take the local clock as this many hours ahead of Universal
// Time, in every season and every time zone.
inline constexpr int LocalClockAheadOfUniversalTimeHours = 1;

// The count-down to the nearest phase adds this many hours to the phase's instant.
inline constexpr int CountdownEventOffsetHours = 1;

// The fraction the window shows for a Julian Day of the local clock: taken
// LocalClockAheadOfUniversalTimeHours earlier, and for the gauge rounded to five decimals,
// halves to even.
double illuminatedFractionOfLocalClock(double localJulianDay);
double gaugeValue(double localJulianDay);

// The series' instants (JDE) of the four principal phases of the reading's lunation floor(k)
// (k estimated for the reading's date), in Phase order.
std::array<double, 4> phaseInstants(const astro::SystemTime& reading);

// Signed distances in days from the reading to the four principal phases of its lunation
// floor(k) (k estimated for the reading's date), in Phase order: instant - 0.5 - now plus
// CountdownEventOffsetHours. Positive distances lie in the future.
std::array<double, 4> phaseDistances(const astro::SystemTime& reading);

struct NearestPhase {
    bool found = false;  // one phase strictly nearer than each of the other three
    Phase phase = Phase::NewMoon;
    double distanceDays = 0.0;  // signed, as phaseDistances gives it
};

// The phase whose |distance| is strictly smaller than that of each other phase; when the two
// smallest are equally near, none (found is false and the display keeps what it showed).
NearestPhase nearestOf(const std::array<double, 4>& distances);
NearestPhase nearestPhase(const astro::SystemTime& reading);

// The event line: the phase's future text for a distance above 0, else its past text, e.g.
// " Nächster Neumond ist in: " or " Letzter Neumond war vor: " (one space at either end).
std::string eventLineText(Phase phase, double distanceDays);

// Divisions of a full turn for the Moon pointer on the phase diagram.
inline constexpr int PointerDivisions = 128;

// Pointer direction in divisions, 0 up and growing clockwise: v = percent * divisions / 2 / 100;
// waning (next New Moon before next Full Moon): v - divisions/4 when v > divisions/4, else
// v + 3 divisions/4; waxing: 3 divisions/4 - v; then the nearest integer, ties to even. So
// 100 % gives 32, 0 % gives 96, 50 % waxing 64 and waning 128 (the drawing turns it into 0).
// A result that is not a finite number within the int range (only for absurd input) gives 0.
int pointerPositionFromFraction(double percent, double nextNewMoon, double nextFullMoon,
                                int divisions);

}  // namespace events
