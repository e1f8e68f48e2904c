// The Sun's geocentric position, from the Earth's heliocentric one.
//
// Jean Meeus, Astronomical Algorithms, 2nd ed.:
//   Appendix III: the Earth's heliocentric longitude L, latitude B (radians) and radius vector R
//     (au), referred to the mean dynamical ecliptic and equinox of date, from the truncated
//     VSOP87 series the book prints (L0..L5, B0..B1, R0..R4, each term A cos(B + C tau), tau in
//     Julian millennia from J2000.0);
//   chapter 25 "Solar Coordinates", higher accuracy: the Sun's geometric longitude L + 180 deg
//     and latitude -B, their conversion to the FK5 system (eq. 25.9), then the apparent
//     longitude with the nutation in longitude and the aberration -20.4898" / R.
// The apparent longitude agrees with astronomy-engine's to 1.9" over 1900-2100 (RMS 0.6"; the
// accuracy test in tests/astro measures it).
#pragma once

#include "astro/earth_orientation.hpp"

namespace astro {

inline constexpr double AstronomicalUnitKm = 149597870.7;

struct HeliocentricPosition {
    double longitudeDeg;  // 0..360
    double latitudeDeg;
    double radiusAu;
};

// The Earth's heliocentric position at a JDE (VSOP87, truncated as in Appendix III).
HeliocentricPosition earthHeliocentric(double jde);

struct SunEcliptic {
    double longitudeDeg;  // 0..360
    double latitudeDeg;
    double distanceAu;  // from the centre of the Earth
};

// The Sun's geometric position in the FK5 system at a JDE.
SunEcliptic sunGeometric(double jde);

// The Sun's apparent position: the geometric one with the nutation in longitude of
// `orientation` (of the same JDE) and the aberration.
SunEcliptic sunApparentEcliptic(const EarthOrientation& orientation);

}  // namespace astro
