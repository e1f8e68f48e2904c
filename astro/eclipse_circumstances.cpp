#include "astro/eclipse_circumstances.hpp"

#include "astro/angles.hpp"
#include "astro/delta_t.hpp"
#include "astro/earth_orientation.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/moon_position.hpp"
#include "astro/sky_position.hpp"
#include "astro/sun_position.hpp"
#include "astro/time_search.hpp"

#include <cmath>
#include <numbers>

namespace astro {
namespace {

constexpr double SecondsPerDay = 86400.0;

// Contacts and maxima to a tenth of a second, far finer than the minute they are shown to and
// than the two theories of the Moon agree.
constexpr double ToleranceDays = 0.1 / SecondsPerDay;

// Danjon's enlargement of the Earth's radius, 1/85, applied to the radius at latitude 45 deg
// (0.998340 equatorial radii), which stands for the flattened Earth's round shadow.
constexpr double ShadowEnlargement = 0.998340 * (1.0 + 1.0 / 85.0);

// The Sun's equatorial horizontal parallax at 1 au (IAU 1976).
constexpr double SunParallaxAtOneAuArcsec = 8.794;

// The series' greatest eclipse lies within two minutes of the true one over 1900-2100, but
// thousands of years away the two theories drift apart, by half a day at the year 10000. The
// Moon's distance from the shadow's axis falls from one New Moon to the Full Moon and rises to
// the next (and its distance from the Sun the other way round), so a week either side of the
// series' instant holds its one least value wherever the true positions put it within that week.
constexpr double GreatestWindowDays = 7.0;

// Six hours from greatest eclipse the Moon stands at least 2.7 deg from the shadow's axis (it
// moves at least 0.45 deg an hour relative to it), beyond the penumbra's 1.3 deg plus its own
// 0.28: every contact lies inside that window, and its end outside every shadow.
constexpr double ContactWindowDays = 0.25;

// A solar eclipse's maximum at a place lies within three hours of the geocentric New Moon (the
// penumbra crosses the Earth in at most six); the separation is sampled every 36 minutes over
// 4.8 hours either side of it and the least sample's neighbourhood searched; the New Moon itself
// needs finding only to a minute or two. Four
// hours from the maximum the discs stand more than a degree apart, so begin and end lie within
// that window too, and a central phase (12.5 minutes at the most) within half an hour.
constexpr double LocalWindowDays = 0.2;
constexpr double LocalSampleDays = 0.025;
constexpr int LocalSamplesEachSide = 8;  // LocalWindowDays / LocalSampleDays
constexpr double CentralWindowDays = 0.02;
constexpr double ConjunctionToleranceDays = 1e-3;

// The highest point of the Moon or the Sun during an eclipse, to a minute or so: enough to tell
// whether it clears the horizon.
constexpr double HighestPointToleranceDays = 1e-3;

// The Earth's shadow at the Moon at one instant, seen from the centre of the Earth, degrees.
struct EarthShadow {
    double axisDistanceDeg;  // of the Moon's centre from the axis, opposite the apparent Sun
    double penumbraRadiusDeg;
    double umbraRadiusDeg;
    double moonRadiusDeg;  // the Moon's geocentric semidiameter
};

EarthShadow earthShadowAt(double jde)
{
    const EarthOrientation orientation = earthOrientation(jde);
    const GeocentricPosition moon = moonGeocentricApparent(orientation);
    const GeocentricPosition sun = sunGeocentricApparent(orientation);
    const double sunDistanceAu = sun.distanceKm / AstronomicalUnitKm;
    const double sunRadiusDeg = SunSemidiameterAtOneAuArcsec / sunDistanceAu / ArcsecondsPerDegree;
    const double sunParallaxDeg = SunParallaxAtOneAuArcsec / sunDistanceAu / ArcsecondsPerDegree;
    const double earthDeg = ShadowEnlargement * moonParallaxDeg(moon.distanceKm);
    return {separationDeg(moon.longitudeDeg, moon.latitudeDeg, sun.longitudeDeg + 180.0,
                          -sun.latitudeDeg),
            earthDeg + sunRadiusDeg + sunParallaxDeg, earthDeg - sunRadiusDeg + sunParallaxDeg,
            MoonSemidiameterArcsecKm / moon.distanceKm / ArcsecondsPerDegree};
}

// The three contacts: the Moon's limb on the penumbra's edge, on the umbra's edge from outside
// and from inside. Each margin is negative while the contact's phase lasts.
enum class Contact { Penumbral, Partial, Total };

double contactMargin(const EarthShadow& s, Contact contact)
{
    switch (contact) {
    case Contact::Penumbral:
        return s.axisDistanceDeg - (s.penumbraRadiusDeg + s.moonRadiusDeg);
    case Contact::Partial:
        return s.axisDistanceDeg - (s.umbraRadiusDeg + s.moonRadiusDeg);
    case Contact::Total:
        break;
    }
    return s.axisDistanceDeg - (s.umbraRadiusDeg - s.moonRadiusDeg);
}

// The contact before (side -1) or after (side +1) greatest eclipse, as a JDE; the margin is
// negative at greatest eclipse.
double contactJde(double greatestJde, Contact contact, double side)
{
    const auto margin = [contact](double jde) {
        return contactMargin(earthShadowAt(jde), contact);
    };
    const double outside = greatestJde + side * ContactWindowDays;
    return findRoot(margin, std::fmin(outside, greatestJde), std::fmax(outside, greatestJde),
                    ToleranceDays)
        .t;
}

std::optional<double> contactJdUtIf(bool occurs, double greatestJde, Contact contact, double side)
{
    if (!occurs) {
        return std::nullopt;
    }
    return universalJulianDay(contactJde(greatestJde, contact, side));
}

// The Moon's and the Sun's discs as the place sees them, degrees.
struct Discs {
    double separationDeg;  // between the centres
    double sunRadiusDeg;
    double moonRadiusDeg;
};

Discs discsAt(double jdUt, const GeoPlace& place)
{
    const SkyPosition sun = sunInSky(jdUt, place);
    const SkyPosition moon = moonInSky(jdUt, place);
    return {separationDeg(moon.rightAscensionDeg, moon.declinationDeg, sun.rightAscensionDeg,
                          sun.declinationDeg),
            sun.semidiameterDeg, moon.semidiameterDeg};
}

// Negative while the discs overlap.
double overlapMargin(const Discs& d)
{
    return d.separationDeg - (d.sunRadiusDeg + d.moonRadiusDeg);
}

// Negative while one disc lies wholly within the other.
double centralMargin(const Discs& d)
{
    return d.separationDeg - std::fabs(d.sunRadiusDeg - d.moonRadiusDeg);
}

// The fraction of the Sun's disc the Moon's covers: the lens of two overlapping circles (each
// side a circular segment r^2 (a - sin a cos a) of half-angle a), the discs taken as flat.
double coveredFraction(const Discs& d)
{
    const double s = d.separationDeg;
    const double rs = d.sunRadiusDeg;
    const double rm = d.moonRadiusDeg;
    if (s >= rs + rm) {
        return 0.0;
    }
    if (s <= rm - rs) {
        return 1.0;
    }
    if (s <= rs - rm) {
        return (rm * rm) / (rs * rs);
    }
    const double a = std::acos((s * s + rs * rs - rm * rm) / (2 * s * rs));
    const double b = std::acos((s * s + rm * rm - rs * rs) / (2 * s * rm));
    const double lens =
        rs * rs * (a - std::sin(a) * std::cos(a)) + rm * rm * (b - std::sin(b) * std::cos(b));
    return lens / (std::numbers::pi * rs * rs);
}

double altitudeDeg(EclipsedBody body, double jdUt, const GeoPlace& place)
{
    return (body == EclipsedBody::Moon ? moonInSky(jdUt, place) : sunInSky(jdUt, place))
        .altitudeDeg;
}

}  // namespace

std::optional<LunarEclipse> lunarEclipseNear(double nearJde)
{
    const TimeExtremum least = findExtremum(
        [](double jde) { return earthShadowAt(jde).axisDistanceDeg; }, nearJde - GreatestWindowDays,
        nearJde + GreatestWindowDays, ToleranceDays, Extremum::Minimum);
    const double greatestJde = least.t;
    const EarthShadow shadow = earthShadowAt(greatestJde);
    const double moonDiameterDeg = 2 * shadow.moonRadiusDeg;

    LunarEclipse eclipse;
    eclipse.seriesJde = nearJde;
    eclipse.penumbralMagnitude = -contactMargin(shadow, Contact::Penumbral) / moonDiameterDeg;
    eclipse.umbralMagnitude = -contactMargin(shadow, Contact::Partial) / moonDiameterDeg;
    if (!(eclipse.penumbralMagnitude > 0)) {
        return std::nullopt;
    }
    const bool partial = eclipse.umbralMagnitude > 0;
    const bool total = eclipse.umbralMagnitude >= 1;
    eclipse.kind = total     ? LunarEclipseKind::Total
                   : partial ? LunarEclipseKind::Partial
                             : LunarEclipseKind::Penumbral;
    eclipse.greatestJdUt = universalJulianDay(greatestJde);
    eclipse.penumbralBeginJdUt =
        universalJulianDay(contactJde(greatestJde, Contact::Penumbral, -1));
    eclipse.partialBeginJdUt = contactJdUtIf(partial, greatestJde, Contact::Partial, -1);
    eclipse.totalBeginJdUt = contactJdUtIf(total, greatestJde, Contact::Total, -1);
    eclipse.totalEndJdUt = contactJdUtIf(total, greatestJde, Contact::Total, +1);
    eclipse.partialEndJdUt = contactJdUtIf(partial, greatestJde, Contact::Partial, +1);
    eclipse.penumbralEndJdUt = universalJulianDay(contactJde(greatestJde, Contact::Penumbral, +1));
    return eclipse;
}

std::optional<LunarEclipse> lunarEclipseOfLunation(double k)
{
    EclipseElements elements{};
    if (!eclipseElements(k, FullMoonFraction, elements) || !lunarEclipsePossible(elements)) {
        return std::nullopt;
    }
    return lunarEclipseNear(elements.jde);
}

std::optional<SolarEclipse> solarEclipseOfLunation(double k)
{
    EclipseElements elements{};
    SolarEclipse eclipse;
    if (!eclipseElements(k, NewMoonFraction, elements) ||
        !solarEclipseKind(elements, eclipse.kind)) {
        return std::nullopt;
    }
    eclipse.seriesJde = elements.jde;
    eclipse.greatestJdUt = universalJulianDay(elements.jde);
    eclipse.gamma = elements.gamma;
    eclipse.magnitude = solarEclipseMagnitude(elements);
    return eclipse;
}

std::optional<LocalSolarEclipse> localSolarEclipse(double greatestJdUt, const GeoPlace& place)
{
    // The samples centre on the New Moon of the true positions (the least separation of the
    // geocentric centres), which far from the present lies hours from the series' instant.
    const TimeExtremum conjunction = findExtremum(
        [](double jde) {
            const EarthOrientation orientation = earthOrientation(jde);
            const GeocentricPosition moon = moonGeocentricApparent(orientation);
            const GeocentricPosition sun = sunGeocentricApparent(orientation);
            return separationDeg(moon.longitudeDeg, moon.latitudeDeg, sun.longitudeDeg,
                                 sun.latitudeDeg);
        },
        terrestrialJulianDay(greatestJdUt) - GreatestWindowDays,
        terrestrialJulianDay(greatestJdUt) + GreatestWindowDays, ConjunctionToleranceDays,
        Extremum::Minimum);
    const double centreJdUt = universalJulianDay(conjunction.t);
    const auto separation = [&place](double jdUt) { return discsAt(jdUt, place).separationDeg; };
    // The least separation among the samples, then the least one near it.
    double bestJdUt = centreJdUt;
    double bestSeparation = separation(bestJdUt);
    for (int step = 1; step <= LocalSamplesEachSide; ++step) {
        const double offset = step * LocalSampleDays;
        for (const double jdUt : {centreJdUt - offset, centreJdUt + offset}) {
            const double s = separation(jdUt);
            if (s < bestSeparation) {
                bestSeparation = s;
                bestJdUt = jdUt;
            }
        }
    }
    const TimeExtremum least =
        findExtremum(separation, bestJdUt - LocalSampleDays, bestJdUt + LocalSampleDays,
                     ToleranceDays, Extremum::Minimum);
    const Discs atMaximum = discsAt(least.t, place);
    if (!(overlapMargin(atMaximum) < 0)) {
        return std::nullopt;
    }

    const auto overlap = [&place](double jdUt) { return overlapMargin(discsAt(jdUt, place)); };
    const auto central = [&place](double jdUt) { return centralMargin(discsAt(jdUt, place)); };
    LocalSolarEclipse eclipse;
    eclipse.maximumJdUt = least.t;
    eclipse.beginJdUt = findRoot(overlap, least.t - LocalWindowDays, least.t, ToleranceDays).t;
    eclipse.endJdUt = findRoot(overlap, least.t, least.t + LocalWindowDays, ToleranceDays).t;
    if (centralMargin(atMaximum) < 0) {
        eclipse.centralBeginJdUt =
            findRoot(central, least.t - CentralWindowDays, least.t, ToleranceDays).t;
        eclipse.centralEndJdUt =
            findRoot(central, least.t, least.t + CentralWindowDays, ToleranceDays).t;
    }
    eclipse.magnitude = centralMargin(atMaximum) < 0
                            ? atMaximum.moonRadiusDeg / atMaximum.sunRadiusDeg
                            : -overlapMargin(atMaximum) / (2 * atMaximum.sunRadiusDeg);
    eclipse.obscuration = coveredFraction(atMaximum);
    eclipse.sunAltitudeBeginDeg = altitudeDeg(EclipsedBody::Sun, eclipse.beginJdUt, place);
    eclipse.sunAltitudeMaximumDeg = altitudeDeg(EclipsedBody::Sun, eclipse.maximumJdUt, place);
    eclipse.sunAltitudeEndDeg = altitudeDeg(EclipsedBody::Sun, eclipse.endJdUt, place);
    eclipse.visible =
        eclipse.sunAltitudeBeginDeg > 0 || eclipse.sunAltitudeMaximumDeg > 0 ||
        eclipse.sunAltitudeEndDeg > 0 ||
        aboveHorizonDuring(EclipsedBody::Sun, place, eclipse.beginJdUt, eclipse.endJdUt);
    return eclipse;
}

bool aboveHorizonDuring(EclipsedBody body, const GeoPlace& place, double fromJdUt, double untilJdUt)
{
    const auto altitude = [body, &place](double jdUt) { return altitudeDeg(body, jdUt, place); };
    if (altitude(fromJdUt) > 0 || altitude(untilJdUt) > 0) {
        return true;
    }
    return findExtremum(altitude, fromJdUt, untilJdUt, HighestPointToleranceDays, Extremum::Maximum)
               .value > 0;
}

}  // namespace astro
