#include "astro/sky_position.hpp"

#include "astro/angles.hpp"
#include "astro/apsides.hpp"
#include "astro/delta_t.hpp"
#include "astro/moon_position.hpp"
#include "astro/sun_position.hpp"

namespace astro {
namespace {

SkyPosition seenFrom(const GeocentricPosition& body, double jdUt,
                     const EarthOrientation& orientation, const GeoPlace& place)
{
    const double sidereal = apparentSiderealTimeDeg(jdUt, orientation);
    const double hourAngle =
        localHourAngleDeg(sidereal, place.longitudeDeg, body.rightAscensionDeg);
    const TopocentricPlace topocentric =
        topocentricOf(hourAngle, body.declinationDeg, body.distanceKm / EarthEquatorialRadiusKm,
                      observerTerms(place.latitudeDeg, place.heightM));
    const Horizontal horizontal =
        horizontalOf(topocentric.hourAngleDeg, topocentric.declinationDeg, place.latitudeDeg);

    SkyPosition sky{};
    sky.trueAltitudeDeg = horizontal.altitudeDeg;
    sky.altitudeDeg = horizontal.altitudeDeg + refractionDeg(horizontal.altitudeDeg);
    sky.azimuthDeg = horizontal.azimuthDeg;
    sky.distanceKm = topocentric.distance * EarthEquatorialRadiusKm;
    sky.rightAscensionDeg = normalizedDeg(sidereal + place.longitudeDeg - topocentric.hourAngleDeg);
    sky.declinationDeg = topocentric.declinationDeg;
    sky.hourAngleDeg = topocentric.hourAngleDeg;
    sky.geocentric = body;
    return sky;
}

GeocentricPosition withEquatorial(double longitudeDeg, double latitudeDeg, double distanceKm,
                                  const EarthOrientation& orientation)
{
    const Equatorial equatorial =
        equatorialOf({longitudeDeg, latitudeDeg}, orientation.trueObliquityDeg);
    return {longitudeDeg, latitudeDeg, distanceKm, equatorial.rightAscensionDeg,
            equatorial.declinationDeg};
}

}  // namespace

GeocentricPosition moonGeocentricApparent(const EarthOrientation& orientation)
{
    const MoonEcliptic moon = moonGeocentric(orientation.jde);
    return withEquatorial(normalizedDeg(moon.longitudeDeg + orientation.nutation.longitudeDeg),
                          moon.latitudeDeg, moon.distanceKm, orientation);
}

GeocentricPosition sunGeocentricApparent(const EarthOrientation& orientation)
{
    const SunEcliptic sun = sunApparentEcliptic(orientation);
    return withEquatorial(sun.longitudeDeg, sun.latitudeDeg, sun.distanceAu * AstronomicalUnitKm,
                          orientation);
}

SkyPosition moonInSky(double jdUt, const GeoPlace& place)
{
    const EarthOrientation orientation = earthOrientation(terrestrialJulianDay(jdUt));
    SkyPosition sky = seenFrom(moonGeocentricApparent(orientation), jdUt, orientation, place);
    sky.semidiameterDeg = moonSemidiameterDeg(sky.distanceKm);
    return sky;
}

SkyPosition skyPositionOf(const GeocentricPosition& body, double jdUt,
                          const EarthOrientation& orientation, const GeoPlace& place)
{
    return seenFrom(body, jdUt, orientation, place);
}

double moonSemidiameterDeg(double distanceKm)
{
    return MoonSemidiameterArcsecKm / distanceKm / ArcsecondsPerDegree;
}

SkyPosition sunInSky(double jdUt, const GeoPlace& place)
{
    const EarthOrientation orientation = earthOrientation(terrestrialJulianDay(jdUt));
    SkyPosition sky = seenFrom(sunGeocentricApparent(orientation), jdUt, orientation, place);
    sky.semidiameterDeg =
        SunSemidiameterAtOneAuArcsec * AstronomicalUnitKm / sky.distanceKm / ArcsecondsPerDegree;
    return sky;
}

}  // namespace astro
