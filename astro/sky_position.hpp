// Where the Moon and the Sun stand in the sky of a place at an instant: the top level of the
// position series, for rising and setting, transits and eclipses.
//
// The instant is a Julian Day in Universal Time; Delta-T (astro/delta_t) turns it into the
// Terrestrial Time of the series. The Moon's position comes from Meeus's chapter 47
// (astro/moon_position), the Sun's from the truncated VSOP87 with chapter 25's corrections
// (astro/sun_position), both apparent and of date: nutation and obliquity of chapter 22, the
// Sun's aberration. Then the equatorial place (ch. 13), the hour angle from the apparent
// sidereal time (ch. 12), the topocentric place with the Earth's flattening and the height
// (ch. 40), the horizontal place (ch. 13) and the refraction (ch. 16).
#pragma once

#include "astro/coordinates.hpp"
#include "astro/earth_orientation.hpp"

namespace astro {

// Meeus, chapter 55 "Semidiameters of the Sun, Moon and Planets": the Sun's semidiameter at
// 1 au, and the Moon's as 358473400" / distance in km (k = 0.272481 Earth radii), with the
// distance from the centre of the Earth or from a place.
inline constexpr double SunSemidiameterAtOneAuArcsec = 959.63;
inline constexpr double MoonSemidiameterArcsecKm = 358473400.0;

// A body as seen from the centre of the Earth: apparent, of date.
struct GeocentricPosition {
    double longitudeDeg;       // apparent ecliptic longitude, 0..360
    double latitudeDeg;        // ecliptic latitude
    double distanceKm;         // between the centres
    double rightAscensionDeg;  // apparent, 0..360
    double declinationDeg;     // apparent
};

// The Moon and the Sun at a JDE, with the nutation and obliquity of that JDE.
GeocentricPosition moonGeocentricApparent(const EarthOrientation& orientation);
GeocentricPosition sunGeocentricApparent(const EarthOrientation& orientation);

// A body as seen from a place: topocentric, of date.
struct SkyPosition {
    double altitudeDeg;             // of the centre, refracted (as it appears)
    double trueAltitudeDeg;         // of the centre, without refraction
    double azimuthDeg;              // from the north over the east, 0..360
    double distanceKm;              // from the place
    double rightAscensionDeg;       // topocentric, 0..360
    double declinationDeg;          // topocentric
    double hourAngleDeg;            // topocentric local hour angle, -180..180, west positive
    double semidiameterDeg;         // the apparent radius of the disc from the place
    GeocentricPosition geocentric;  // the same instant from the centre of the Earth
};

// jdUt: Julian Day in Universal Time.
SkyPosition moonInSky(double jdUt, const GeoPlace& place);
SkyPosition sunInSky(double jdUt, const GeoPlace& place);

// A body at a geocentric apparent place seen from the place at jdUt: what moonInSky and
// sunInSky do after their series, for searches that take the series only now and then and
// interpolate between. The semidiameter is left 0. `orientation` is that of the instant or of
// one within half a day: nutation and obliquity move by less than 0.1" in that time (the fastest
// terms of table 22.A have periods of 13.7 and 182.6 days).
SkyPosition skyPositionOf(const GeocentricPosition& body, double jdUt,
                          const EarthOrientation& orientation, const GeoPlace& place);

// The Moon's apparent semidiameter at a distance, degrees (Meeus, ch. 55).
double moonSemidiameterDeg(double distanceKm);

}  // namespace astro
