// Transformations of coordinates and the observer's place on the Earth.
//
// Jean Meeus, Astronomical Algorithms, 2nd ed.:
//   chapter 11 "The Earth's Globe": rho sin phi' and rho cos phi' of a place from its geodetic
//     latitude and height, with the Earth's flattening (b/a = 0.99664719, a = 6378.14 km);
//   chapter 13 "Transformation of Coordinates": ecliptic to equatorial (eqs. 13.3, 13.4) and
//     equatorial to horizontal (eqs. 13.5, 13.6);
//   chapter 40 "Correction for Parallax": the topocentric place of a body at a finite distance
//     (the rigorous eqs. 40.2 and 40.3, here as the difference of the two vectors they come from,
//     which gives the distance from the observer as well);
//   chapter 16 "Atmospheric Refraction": Saemundsson's formula (eq. 16.4) for the refraction of
//     a body at a true (airless) altitude, for 1010 mbar and 10 deg C.
//
// Angles are degrees. Longitudes are counted EAST positive, as people write them; Meeus counts
// them west positive, and the only place that meets his formulas is localHourAngleDeg. Azimuths
// are counted from the NORTH over the east (east = 90), as people use them; Meeus counts from
// the south, and horizontalOf converts.
#pragma once

namespace astro {

// A place on the Earth: geodetic latitude (north positive), longitude (east positive), height
// above sea level.
struct GeoPlace {
    double latitudeDeg;
    double longitudeDeg;
    double heightM = 0.0;
};

struct Ecliptic {
    double longitudeDeg;
    double latitudeDeg;
};

struct Equatorial {
    double rightAscensionDeg;  // 0..360
    double declinationDeg;
};

struct Horizontal {
    double azimuthDeg;   // from the north over the east, 0..360
    double altitudeDeg;  // above the horizon
};

// eqs. 13.3, 13.4 for the obliquity of the ecliptic (the true one for apparent places).
Equatorial equatorialOf(const Ecliptic& ecliptic, double obliquityDeg);

// The angle between two directions given by a longitude and a latitude each (ecliptic or
// equatorial alike), degrees: the haversine form, exact for the small separations of eclipses.
double separationDeg(double longitude1Deg, double latitude1Deg, double longitude2Deg,
                     double latitude2Deg);

// eqs. 13.5, 13.6: the horizontal place of a body at the local hour angle (west positive) and
// declination, seen from the latitude.
Horizontal horizontalOf(double hourAngleDeg, double declinationDeg, double latitudeDeg);

// The local hour angle of a right ascension at a place, for the Greenwich sidereal time,
// -180..180 degrees (west positive).
double localHourAngleDeg(double greenwichSiderealDeg, double longitudeEastDeg,
                         double rightAscensionDeg);

// The place's geocentric position in units of the Earth's equatorial radius (ch. 11).
struct ObserverTerms {
    double rhoSinPhi;  // rho sin phi'
    double rhoCosPhi;  // rho cos phi'
};

ObserverTerms observerTerms(double latitudeDeg, double heightM);

// A body seen from the place instead of the centre of the Earth (ch. 40).
struct TopocentricPlace {
    double hourAngleDeg;    // -180..180, west positive
    double declinationDeg;  //
    double distance;        // from the observer, in the unit of the distance given
};

// The topocentric hour angle, declination and distance of a body at the geocentric hour angle
// and declination and at `distanceEarthRadii` from the centre of the Earth (1 / sin of the
// equatorial horizontal parallax). The distance comes back in equatorial radii too.
TopocentricPlace topocentricOf(double hourAngleDeg, double declinationDeg,
                               double distanceEarthRadii, const ObserverTerms& observer);

// The refraction of a body at the true altitude, degrees, to be added to it (eq. 16.4,
// Saemundsson). The formula holds from the zenith to a little below the horizon, and grows
// without bound, then changes sign, near -5.1 deg: below -1 deg the refraction of -1 deg is
// taken, fading linearly to nothing at the nadir, so that the apparent altitude stays a
// continuous, increasing function of the true one within -90..90 (what a search for rising or
// setting needs) and never leaves that range.
double refractionDeg(double trueAltitudeDeg);

}  // namespace astro
