// The orientation of the Earth at an instant: nutation, the obliquity of the ecliptic and
// sidereal time.
//
// Jean Meeus, Astronomical Algorithms, 2nd ed.:
//   chapter 22 "Nutation and the Obliquity of the Ecliptic": the nutation in longitude (delta
//     psi) and in obliquity (delta epsilon) from the 1980 IAU theory, all 63 terms of table 22.A
//     (terms below 0.0003" left out, as in the book), and the mean obliquity by the IAU
//     polynomial (eq. 22.2; 1" over 1000..3000);
//   chapter 12 "Sidereal Time at Greenwich": the mean sidereal time at any instant of Universal
//     Time (eq. 12.4) and the apparent one, which adds the nutation in right ascension
//     (delta psi cos epsilon).
//
// Time scales: nutation and obliquity take a Julian Ephemeris Day (Terrestrial Time); sidereal
// time, the Earth's rotation angle, takes the Julian Day in Universal Time.
#pragma once

namespace astro {

inline constexpr double JulianDayOfJ2000 = 2451545.0;  // 2000-01-01 12:00 TT
inline constexpr double DaysPerJulianCentury = 36525.0;

// Julian centuries of the instant from J2000.0.
constexpr double julianCenturies(double julianDay)
{
    return (julianDay - JulianDayOfJ2000) / DaysPerJulianCentury;
}

struct Nutation {
    double longitudeDeg;  // delta psi
    double obliquityDeg;  // delta epsilon
};

// The nutation at a JDE (table 22.A).
Nutation nutation(double jde);

// The mean obliquity of the ecliptic at a JDE (eq. 22.2), degrees.
double meanObliquityDeg(double jde);

// Nutation and obliquity at one JDE: what every apparent position of date needs.
struct EarthOrientation {
    double jde;
    Nutation nutation;
    double meanObliquityDeg;
    double trueObliquityDeg;  // mean obliquity + delta epsilon
};

EarthOrientation earthOrientation(double jde);

// Mean sidereal time at Greenwich for a Julian Day in Universal Time (eq. 12.4), 0..360 degrees.
double meanSiderealTimeDeg(double jdUt);

// Apparent sidereal time at Greenwich: the mean one plus delta psi cos epsilon, 0..360 degrees.
// `orientation` is that of the same instant (its JDE is the Julian Day plus Delta-T).
double apparentSiderealTimeDeg(double jdUt, const EarthOrientation& orientation);

}  // namespace astro
