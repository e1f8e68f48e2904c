#include "astro/coordinates.hpp"

#include "astro/angles.hpp"
#include "astro/apsides.hpp"

#include <cmath>

namespace astro {
namespace {

// The Earth's figure of chapter 11: b / a of the IAU 1976 ellipsoid.
constexpr double PolarToEquatorialRadius = 0.99664719;
constexpr double MetresPerKm = 1000.0;

// Saemundsson's formula, in arcminutes, and where its use ends.
constexpr double ArcminutesPerDegree = 60.0;
constexpr double LowestRefractedAltitudeDeg = -1.0;
constexpr double NadirDeg = -90.0;

double saemundssonDeg(double altitudeDeg)
{
    return 1.02 / std::tan((altitudeDeg + 10.3 / (altitudeDeg + 5.11)) * DegreesToRadians) /
           ArcminutesPerDegree;
}

}  // namespace

Equatorial equatorialOf(const Ecliptic& ecliptic, double obliquityDeg)
{
    const Rotation lambda = rotationDeg(ecliptic.longitudeDeg);
    const Rotation beta = rotationDeg(ecliptic.latitudeDeg);
    const Rotation epsilon = rotationDeg(obliquityDeg);
    const double tanBeta = beta.sine / beta.cosine;
    const double alpha =
        atan2Deg(lambda.sine * epsilon.cosine - tanBeta * epsilon.sine, lambda.cosine);
    const double sinDelta = beta.sine * epsilon.cosine + beta.cosine * epsilon.sine * lambda.sine;
    return {normalizedDeg(alpha), asinDeg(sinDelta)};
}

double separationDeg(double longitude1Deg, double latitude1Deg, double longitude2Deg,
                     double latitude2Deg)
{
    const double halfLatitude = std::sin(0.5 * (latitude2Deg - latitude1Deg) * DegreesToRadians);
    const double halfLongitude = std::sin(0.5 * (longitude2Deg - longitude1Deg) * DegreesToRadians);
    const double haversine = halfLatitude * halfLatitude + cosDeg(latitude1Deg) *
                                                               cosDeg(latitude2Deg) *
                                                               halfLongitude * halfLongitude;
    return 2 * asinDeg(std::sqrt(std::fmin(1.0, haversine)));
}

Horizontal horizontalOf(double hourAngleDeg, double declinationDeg, double latitudeDeg)
{
    const Rotation H = rotationDeg(hourAngleDeg);
    const Rotation delta = rotationDeg(declinationDeg);
    const Rotation phi = rotationDeg(latitudeDeg);
    const double tanDelta = delta.sine / delta.cosine;
    // eq. 13.5 gives the azimuth from the south; half a turn more counts it from the north.
    const double fromSouth = atan2Deg(H.sine, H.cosine * phi.sine - tanDelta * phi.cosine);
    const double sinAltitude = phi.sine * delta.sine + phi.cosine * delta.cosine * H.cosine;
    return {normalizedDeg(fromSouth + 180.0), asinDeg(sinAltitude)};
}

double localHourAngleDeg(double greenwichSiderealDeg, double longitudeEastDeg,
                         double rightAscensionDeg)
{
    // H = theta0 - L - alpha with Meeus's west-positive L = -longitudeEast.
    return signedDeg(greenwichSiderealDeg + longitudeEastDeg - rightAscensionDeg);
}

ObserverTerms observerTerms(double latitudeDeg, double heightM)
{
    const Rotation phi = rotationDeg(latitudeDeg);
    const double u = std::atan2(PolarToEquatorialRadius * phi.sine, phi.cosine);
    const double heightRadii = heightM / (EarthEquatorialRadiusKm * MetresPerKm);
    return {PolarToEquatorialRadius * std::sin(u) + heightRadii * phi.sine,
            std::cos(u) + heightRadii * phi.cosine};
}

TopocentricPlace topocentricOf(double hourAngleDeg, double declinationDeg,
                               double distanceEarthRadii, const ObserverTerms& observer)
{
    // The body in the frame of the observer's meridian: x towards the meridian on the equator, y
    // towards the west, z towards the north pole. The observer stands at (rho cos phi', 0,
    // rho sin phi'); eqs. 40.2 and 40.3 are the direction of the difference.
    const Rotation H = rotationDeg(hourAngleDeg);
    const Rotation delta = rotationDeg(declinationDeg);
    const double x = distanceEarthRadii * delta.cosine * H.cosine - observer.rhoCosPhi;
    const double y = distanceEarthRadii * delta.cosine * H.sine;
    const double z = distanceEarthRadii * delta.sine - observer.rhoSinPhi;
    const double distance = std::sqrt(x * x + y * y + z * z);
    return {atan2Deg(y, x), asinDeg(z / distance), distance};
}

double refractionDeg(double trueAltitudeDeg)
{
    if (!(trueAltitudeDeg >= NadirDeg)) {
        return 0.0;  // at or below the nadir, or not a number: nothing to bend
    }
    if (trueAltitudeDeg >= LowestRefractedAltitudeDeg) {
        return saemundssonDeg(std::fmin(trueAltitudeDeg, 90.0));
    }
    return saemundssonDeg(LowestRefractedAltitudeDeg) * (trueAltitudeDeg - NadirDeg) /
           (LowestRefractedAltitudeDeg - NadirDeg);
}

}  // namespace astro
