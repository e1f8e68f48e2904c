// Instants of the principal phases of the Moon.
//
// Jean Meeus, Astronomical Algorithms, 2nd ed., chapter 49 "Phases of the Moon": the mean phase
// from the lunation number k (eq. 49.1), the fundamental arguments (49.4 - 49.7), 25 periodic
// terms per phase group, the quarter correction W and 14 additional planetary arguments.
//
// The instants come out as Julian Ephemeris Days and are used as Julian Days of the local clock;
// the searches return day numbers (JDE - 0.5). Angles are in degrees and are never reduced to
// 0..360 before a sine or cosine.
#pragma once

#include "astro/system_time.hpp"

#include <cstdint>

namespace astro {

inline constexpr double DegreesToRadians = 0.0174532925199433;

// Lunation number of each phase within its lunation.
inline constexpr double NewMoonFraction = 0.0;
inline constexpr double FirstQuarterFraction = 0.25;
inline constexpr double FullMoonFraction = 0.5;
inline constexpr double LastQuarterFraction = 0.75;

// Sine and cosine of an angle in degrees of any size.
double sinDeg(double angleDeg);
double cosDeg(double angleDeg);

// Both at once, bit for bit what sinDeg and cosDeg give (one argument reduction for the two).
struct SineCosine {
    double sine;
    double cosine;
};
SineCosine sinCosDeg(double angleDeg);

// Fundamental arguments for lunation k and T = k / 1236.85 Julian centuries from 2000.0.
double eccentricityFactor(double T);                // E
double sunMeanAnomaly(double k, double T);          // M, degrees
double moonMeanAnomaly(double k, double T);         // M', degrees
double moonArgumentOfLatitude(double k, double T);  // F, degrees
double moonNodeLongitude(double k, double T);       // Omega, degrees
double meanPhaseJde(double k, double T);            // JDE of the mean phase

// Estimate of k for a date: months count 30.4 days, years 365 days; dayOffset adds whole days.
double approximateLunation(std::int32_t year, const SystemTime& date, std::int32_t dayOffset);

// Phase instants (JDE). Each replaces k by the lunation value it used: floor(k) + fraction.
double newMoonInstant(double& k);
double quarterInstant(double& k, double phaseFraction);  // 0.25 or 0.75
double fullMoonInstant(double& k);

// The Full Moon (fullMoonInstant, JDE) nearest to the instant `jde`.
double nearestFullMoon(double jde);

// A lunation whose New and Full Moon both come before the instant `jde`: the one before that of
// the last mean New Moon (eq. 49.1) before it. Counting up from it meets every later New and
// Full Moon.
double lunationBefore(double jde);

// Adds the 14 planetary terms to jde, stores the sum back and returns it.
double additionalCorrections(double& jde, double T, double k);

// Bounds of an instant (JDE).
struct InstantRange {
    double earliest;
    double latest;
};

// The bounds within which newMoonInstant, quarterInstant or fullMoonInstant computes the phase of
// lunation floor(k) + phaseFraction: its mean phase, widened by the most that the periodic terms,
// the quarter correction W and the planetary terms can add or take away (each sine taken as 1),
// and by far more than the rounding of the sums. Takes no sine.
InstantRange phaseInstantRange(double k, double phaseFraction);

// The next phase of a kind, as a day number, for the local reading `date` (its year passed
// separately as a signed year) and the day number `now`. An event earlier on the day of `now` is
// still found. `passes`, when given, receives the number of lunation estimates tried.
double nextNewMoon(std::int32_t year, const SystemTime& date, double now, int* passes = nullptr);
double nextFirstQuarter(std::int32_t year, const SystemTime& date, double now,
                        int* passes = nullptr);
double nextFullMoon(std::int32_t year, const SystemTime& date, double now, int* passes = nullptr);
double nextLastQuarter(std::int32_t year, const SystemTime& date, double now,
                       int* passes = nullptr);

}  // namespace astro
