// The Moon's geocentric position.
//
// Jean Meeus, Astronomical Algorithms, 2nd ed., chapter 47 "Position of the Moon": the mean
// longitude L' and the arguments D, M, M', F (eqs. 47.1 - 47.5, degrees), the additional
// arguments A1, A2, A3 and the eccentricity factor E; all periodic terms of table 47.A (longitude
// and distance) and 47.B (latitude), and the additive terms of A1, A2, A3 and L'. The book gives
// the accuracy against the full ELP-2000/82 theory as some 10" in longitude and 4" in latitude.
//
// The result is geometric, referred to the mean equinox of date. The apparent longitude adds the
// nutation in longitude (chapter 22); the light-time of little more than a second is already in
// the series.
#pragma once

namespace astro {

struct MoonEcliptic {
    double longitudeDeg;  // lambda, 0..360
    double latitudeDeg;   // beta
    double distanceKm;    // between the centres of the Earth and the Moon
};

// The position at a JDE.
MoonEcliptic moonGeocentric(double jde);

// The Moon's equatorial horizontal parallax for a distance, degrees: asin(6378.14 km / distance).
double moonParallaxDeg(double distanceKm);

}  // namespace astro
