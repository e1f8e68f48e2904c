// Instants and distances of the Moon's perigees and apogees.
//
// Jean Meeus, Astronomical Algorithms, 2nd ed., chapter 50 "Perigee and apogee of the Moon": k
// counts anomalistic months from the perigee of 1999 December 22, a whole k being a perigee and
// k + 0.5 an apogee; the mean instant (eq. 50.1) with T = k / 1325.55 (eq. 50.3); the arguments
// D, M and F; the periodic terms of the instant (table 50.A: 60 for perigee, 32 for apogee, in
// days) and of the Moon's equatorial horizontal parallax (table 50.B: 46 and 17, in arcseconds).
// The distance between the centres of the Earth and the Moon follows from the parallax as
// 6378.14 km / sin(parallax), the Earth's equatorial radius of the book.
//
// The instants come out as Julian Ephemeris Days and are used as Julian Days of the local clock,
// as the phases are; the search gives them with their day numbers (JDE - 0.5). Angles are in
// degrees and are never reduced to 0..360 before a sine or cosine.
#pragma once

#include "astro/lunar_phases.hpp"

#include <cstdint>

namespace astro {

enum class ApsisKind : std::int32_t {
    Perigee = 0,
    Apogee = 1,
};

// The mean anomalistic month of eq. 50.1, days, and the epoch of k = 0, the mean perigee of
// 1999 December 22 (JDE).
inline constexpr double AnomalisticMonthDays = 27.55454989;
inline constexpr double MeanPerigeeOfApsisZero = 2451534.6698;

// The Earth's equatorial radius that turns the parallax into a distance, km.
inline constexpr double EarthEquatorialRadiusKm = 6378.14;

struct Apsis {
    double k = 0.0;  // floor(2 k) / 2 of the k asked for
    ApsisKind kind = ApsisKind::Perigee;
    double jde = 0.0;             // the instant
    double dayNumber = 0.0;       // jde - 0.5
    double parallaxArcsec = 0.0;  // the Moon's equatorial horizontal parallax then
    double distanceKm = 0.0;      // between the centres of the Earth and the Moon
};

// The mean apsis of k (eq. 50.1), JDE.
double meanApsisJde(double k);

// The perigee (k whole) or apogee (k + 0.5) of floor(2 k) / 2: instant, parallax and distance.
Apsis apsisAt(double k);

// The bounds within which apsisAt computes the instant of floor(2 k) / 2: its mean instant,
// widened by the most its periodic terms can add or take away (each sine taken as 1) and by far
// more than the rounding of the sums. Takes no sine.
InstantRange apsisInstantRange(double k);

// The k (a multiple of 0.5) of the last mean apsis at or before the day number, to within
// minutes: eq. 50.1 solved for k. It stands in for Meeus's estimate from the decimal year
// (eq. 50.2), which only gives the apsis nearest a date, and it follows the mean instant's T^2..T^4
// terms, which far from 2000 move the apsides by weeks against the plain count of months.
double apsisEstimate(double dayNumber);

// The first apsis whose day number is not before `from` (a day number). Perigees and apogees
// alternate, each some 14 days after the other, so that is the next one of either kind; the
// ones after it are apsisAt(k + 0.5), apsisAt(k + 1), ... `evaluations`, when given, receives
// the number of apsides whose series the search evaluated (one or two). For a day number that
// is not finite or lies more than 100,000 years from 2000 the answer is all NaN (no evaluation).
Apsis nextApsis(double from, int* evaluations = nullptr);

}  // namespace astro
