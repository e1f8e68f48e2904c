#include "astro/moon_rise_set.hpp"

#include "astro/angles.hpp"
#include "astro/apsides.hpp"
#include "astro/delta_t.hpp"
#include "astro/earth_orientation.hpp"
#include "astro/sky_position.hpp"
#include "astro/time_search.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

namespace astro {
namespace {

constexpr double SecondsPerDay = 86400.0;

// The root searches close a bracket a second wide; the instant within it then comes from the
// values at its two ends (interpolatedRoot).
constexpr double ToleranceDays = 1.0 / SecondsPerDay;

// How fast the Moon's hour angle grows on average: the Earth's sidereal rotation
// (360.98565 deg/day) less the Moon's mean motion in right ascension (13.17640 deg/day). Only
// the first estimate takes it; after that the rate is measured between culminations.
constexpr double MeanHourAngleRateDegPerDay = 347.80925;

// Each event's instant is estimated, the Moon's place taken there, and a Newton step taken from
// it with the rates of the hour angle and the declination: that lands within a fraction of a
// second of the event, so the root search first tries a bracket just one tolerance wide around
// it, which it closes with its two ends. Where the step missed, the bracket widens.
constexpr std::array BracketReachesDays{0.5 / SecondsPerDay, 15.0 / SecondsPerDay, 5.0 / 1440.0};
// A transit lies within this of its estimate, so far from the lower culminations.
constexpr double TransitReachDays = 3.0 / 24.0;

// A culmination within this of the rising altitude may have its true extreme of altitude, which
// the change of declination moves minutes away from the meridian (0.03 deg of altitude at 70 deg
// latitude), on the other side of the horizon; then that extreme is looked for within this
// reach, which stays clear of the neighbouring culminations 12.4 hours away.
constexpr double GrazingMarginDeg = 1.0;
constexpr double ExtremumReachDays = 0.1;
constexpr double ExtremumToleranceDays = 10.0 / SecondsPerDay;

// The searches take the Moon's geocentric place from the series at nodes this far apart and
// between them by cubic interpolation through the four nearest: measured over 1900-2100, it
// stays within 2" of the series (0.13" at a quarter day, 30" at a whole one), some 0.2 s of a
// rising, while the series is taken twice a day instead of at every step of a search. The
// nutation and obliquity of a node serve the half day after it (they move by less than 0.1" in
// that time).
constexpr double NodeSpacingDays = 0.5;

struct Sample {
    double jdUt = std::numeric_limits<double>::quiet_NaN();
    SkyPosition sky{};
    double marginDeg = 0.0;               // the upper limb's geometric altitude above -34'
    double geocentricHourAngleDeg = 0.0;  // -180..180, west positive
};

bool isUp(const Sample& sample)
{
    return sample.marginDeg > 0;
}

// The Moon's geocentric apparent right ascension, declination and distance from the series at
// the nodes origin + k NodeSpacingDays, the last few kept, and by cubic (Lagrange) interpolation
// between them. (The ecliptic longitude and latitude are left 0: the searches do not need them.)
class MoonPath {
public:
    explicit MoonPath(double originJdUt) : origin_(originJdUt) {}

    // The place at jdUt, and the Earth's orientation that serves it.
    GeocentricPosition at(double jdUt, EarthOrientation& orientation)
    {
        const double x = (jdUt - origin_) / NodeSpacingDays;
        const double k = std::floor(x);
        const double f = x - k;
        // The weights of the nodes k-1, k, k+1, k+2.
        const std::array<double, 4> weights{-f * (f - 1) * (f - 2) / 6,
                                            (f + 1) * (f - 1) * (f - 2) / 2,
                                            -(f + 1) * f * (f - 2) / 2, (f + 1) * f * (f - 1) / 6};
        const auto first = static_cast<long long>(k) - 1;
        const Node& base = node(first + 1);
        orientation = base.orientation;
        GeocentricPosition place{};
        for (long long i = 0; i < 4; ++i) {
            const Node& n = node(first + i);
            const double weight = weights[static_cast<std::size_t>(i)];
            // Right ascensions as they run on from the node k's, so that 0/360 does not jump.
            place.rightAscensionDeg +=
                weight * signedDeg(n.moon.rightAscensionDeg - base.moon.rightAscensionDeg);
            place.declinationDeg += weight * n.moon.declinationDeg;
            place.distanceKm += weight * n.moon.distanceKm;
        }
        place.rightAscensionDeg =
            normalizedDeg(place.rightAscensionDeg + base.moon.rightAscensionDeg);
        return place;
    }

    int positions() const
    {
        return positions_;
    }

private:
    struct Node {
        long long index = std::numeric_limits<long long>::min();
        EarthOrientation orientation{};
        GeocentricPosition moon{};
    };

    const Node& node(long long index)
    {
        // Eight slots: the four nodes of one interpolation never share one.
        constexpr auto Slots = static_cast<long long>(std::tuple_size_v<decltype(nodes_)>);
        Node& slot = nodes_[static_cast<std::size_t>(((index % Slots) + Slots) % Slots)];
        if (slot.index != index) {
            slot.index = index;
            slot.orientation = earthOrientation(
                terrestrialJulianDay(origin_ + static_cast<double>(index) * NodeSpacingDays));
            slot.moon = moonGeocentricApparent(slot.orientation);
            ++positions_;
        }
        return slot;
    }

    double origin_;
    std::array<Node, 8> nodes_{};
    int positions_ = 0;
};

// The Moon at the place, with the last few places kept: the root and extremum searches end on
// an instant they have evaluated, and the brackets share their ends with earlier ones.
class MoonSampler {
public:
    MoonSampler(const GeoPlace& place, double originJdUt) : place_(place), path_(originJdUt) {}

    Sample at(double jdUt)
    {
        for (const Sample& sample : recent_) {
            if (sample.jdUt == jdUt) {
                return sample;
            }
        }
        Sample sample;
        sample.jdUt = jdUt;
        EarthOrientation orientation{};
        const GeocentricPosition moon = path_.at(jdUt, orientation);
        sample.sky = skyPositionOf(moon, jdUt, orientation, place_);
        sample.sky.semidiameterDeg = moonSemidiameterDeg(sample.sky.distanceKm);
        sample.marginDeg =
            sample.sky.trueAltitudeDeg + sample.sky.semidiameterDeg - MoonRiseSetLimbAltitudeDeg;
        // The local sidereal time is the topocentric hour angle plus the topocentric right
        // ascension; the geocentric hour angle follows from it.
        sample.geocentricHourAngleDeg =
            signedDeg(sample.sky.hourAngleDeg + sample.sky.rightAscensionDeg -
                      sample.sky.geocentric.rightAscensionDeg);
        recent_[next_] = sample;
        next_ = (next_ + 1) % recent_.size();
        ++evaluations_;
        return sample;
    }

    double margin(double jdUt)
    {
        return at(jdUt).marginDeg;
    }

    // The other end of the bracket a root search closed on a sample: the nearest place kept
    // on the other side of the horizon within a tolerance of it (or two: the bracket's width is
    // the tolerance plus the rounding of Julian Days).
    std::optional<Sample> otherEnd(const Sample& end) const
    {
        std::optional<Sample> other;
        for (const Sample& sample : recent_) {
            const double apart = std::fabs(sample.jdUt - end.jdUt);
            if (isUp(sample) != isUp(end) && apart <= 2 * ToleranceDays &&
                (!other || apart < std::fabs(other->jdUt - end.jdUt))) {
                other = sample;
            }
        }
        return other;
    }

    // The geocentric hour angle alone, without the place in the sky: at 0 the topocentric one
    // is 0 too, since the parallax moves the Moon within the plane of the meridian there.
    double geocentricHourAngle(double jdUt)
    {
        EarthOrientation orientation{};
        const GeocentricPosition moon = path_.at(jdUt, orientation);
        ++evaluations_;
        return localHourAngleDeg(apparentSiderealTimeDeg(jdUt, orientation), place_.longitudeDeg,
                                 moon.rightAscensionDeg);
    }

    const GeoPlace& place() const
    {
        return place_;
    }

    int positions() const
    {
        return path_.positions();
    }

    int evaluations() const
    {
        return evaluations_;
    }

private:
    GeoPlace place_;
    MoonPath path_;
    std::array<Sample, 8> recent_{};
    std::size_t next_ = 0;
    int evaluations_ = 0;
};

double linear(double a, double b, double fraction)
{
    return a + (b - a) * fraction;
}

// The root of a function between two instants a tolerance apart where its values are f0 and f1
// of opposite signs, by linear interpolation: the same to a microsecond whichever way the search
// came, so that an event comes out to the same second in any span that holds it.
double interpolatedRoot(double t0, double f0, double t1, double f1)
{
    return f0 == f1 ? t0 : t0 + (t1 - t0) * f0 / (f0 - f1);
}

// A root of f near an estimate and within [low, high]: in brackets of growing reach around the
// estimate, and at last in all of [low, high].
template <typename F>
std::optional<double> rootNear(F&& f, double estimate, double low, double high)
{
    for (const double reach : BracketReachesDays) {
        const double from = std::max(low, estimate - reach);
        const double to = std::min(high, estimate + reach);
        const TimeRoot root = findRoot(f, from, to, ToleranceDays);
        if (root.found) {
            return root.t;
        }
        if (from == low && to == high) {
            return std::nullopt;
        }
    }
    const TimeRoot root = findRoot(f, low, high, ToleranceDays);
    return root.found ? std::optional<double>(root.t) : std::nullopt;
}

// The upper transit near an estimate: the hour angle through 0, from a Newton step at the rate
// of the hour angle. Nothing when no transit lies within three hours of the estimate.
std::optional<Sample> transitNear(MoonSampler& moon, double estimateJdUt, double rateDegPerDay)
{
    const auto hourAngle = [&moon](double jd) { return moon.geocentricHourAngle(jd); };
    const double step = -hourAngle(estimateJdUt) / rateDegPerDay;
    const std::optional<double> transit =
        rootNear(hourAngle, estimateJdUt + std::clamp(step, -TransitReachDays, TransitReachDays),
                 estimateJdUt - TransitReachDays, estimateJdUt + TransitReachDays);
    if (!transit) {
        return std::nullopt;
    }
    // The hour angle on either side of the root, a tolerance apart, gives it exactly.
    const double at = hourAngle(*transit);
    const double side = *transit + (at > 0 ? -ToleranceDays : ToleranceDays);
    return moon.at(interpolatedRoot(*transit, at, side, hourAngle(side)));
}

// A culmination, or where it comes near the horizon the true extreme of the limb's altitude
// near it: the point that separates a rising side from a setting one.
Sample turningPoint(MoonSampler& moon, const Sample& culmination, Extremum kind)
{
    if (std::fabs(culmination.marginDeg) >= GrazingMarginDeg) {
        return culmination;
    }
    const TimeExtremum extreme = findExtremum(
        [&moon](double jd) { return moon.margin(jd); }, culmination.jdUt - ExtremumReachDays,
        culmination.jdUt + ExtremumReachDays, ExtremumToleranceDays, kind);
    return moon.at(extreme.t);
}

// Where between two turning points the geocentric Moon reaches the altitude at which the
// topocentric limb crosses the horizon: -34' less the semidiameter plus the parallax in altitude
// there. The hour angle and the declination run nearly linearly over those six hours; the
// cosine rule of the hour angle at an altitude (Meeus, eq. 15.1) gives the instant after a few
// rounds. NaN where the Moon does not reach that altitude on that estimate.
double crossingEstimate(const Sample& from, const Sample& to, const GeoPlace& place, bool rising)
{
    const double span = to.jdUt - from.jdUt;
    const double rate =
        normalizedDeg(to.geocentricHourAngleDeg - from.geocentricHourAngleDeg) / span;
    const ObserverTerms observer = observerTerms(place.latitudeDeg, place.heightM);
    const double rho = std::hypot(observer.rhoSinPhi, observer.rhoCosPhi);
    const SineCosine phi = sinCosDeg(place.latitudeDeg);
    double fraction = 0.5;
    double jd = std::numeric_limits<double>::quiet_NaN();
    for (int round = 0; round < 3; ++round) {
        const double declination =
            linear(from.sky.geocentric.declinationDeg, to.sky.geocentric.declinationDeg, fraction);
        const double distanceKm =
            linear(from.sky.geocentric.distanceKm, to.sky.geocentric.distanceKm, fraction);
        const double semidiameter =
            linear(from.sky.semidiameterDeg, to.sky.semidiameterDeg, fraction);
        const double parallax = asinDeg(rho * EarthEquatorialRadiusKm / distanceKm);
        const SineCosine altitude = sinCosDeg(MoonRiseSetLimbAltitudeDeg - semidiameter + parallax);
        const SineCosine delta = sinCosDeg(declination);
        const double cosH0 = (altitude.sine - phi.sine * delta.sine) / (phi.cosine * delta.cosine);
        if (!(std::fabs(cosH0) <= 1.0)) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        const double h0 = std::acos(cosH0) * RadiansToDegrees;
        // The hour angle still to go from `from`: towards -h0 when rising, +h0 when setting,
        // counted in -90..270 so that the way from either culmination comes out positive.
        const double target = rising ? -h0 : h0;
        const double travel = signedDeg(target - from.geocentricHourAngleDeg - 90.0) + 90.0;
        jd = std::clamp(from.jdUt + travel / rate, from.jdUt, to.jdUt);
        fraction = (jd - from.jdUt) / span;
    }
    return jd;
}

// How fast the limb's altitude changes at a sample, degrees per day, from the rates of the hour
// angle and the declination between two turning points: the derivative of
// sin h = sin phi sin delta + cos phi cos delta cos H (eq. 13.6).
double altitudeRateDegPerDay(const Sample& at, const Sample& from, const Sample& to,
                             double latitudeDeg)
{
    const double span = to.jdUt - from.jdUt;
    const double hourAngleRate =
        normalizedDeg(to.geocentricHourAngleDeg - from.geocentricHourAngleDeg) / span;
    const double declinationRate =
        (to.sky.geocentric.declinationDeg - from.sky.geocentric.declinationDeg) / span;
    const SineCosine phi = sinCosDeg(latitudeDeg);
    const SineCosine delta = sinCosDeg(at.sky.declinationDeg);
    const SineCosine hourAngle = sinCosDeg(at.sky.hourAngleDeg);
    const double cosAltitude = std::cos(at.sky.trueAltitudeDeg * DegreesToRadians);
    return ((phi.sine * delta.cosine - phi.cosine * delta.sine * hourAngle.cosine) *
                declinationRate -
            phi.cosine * delta.cosine * hourAngle.sine * hourAngleRate) /
           cosAltitude;
}

// The rising or setting between two turning points on either side of the horizon.
std::optional<Sample> crossingBetween(MoonSampler& moon, const Sample& from, const Sample& to)
{
    const auto margin = [&moon](double jd) { return moon.margin(jd); };
    double estimate = crossingEstimate(from, to, moon.place(), !isUp(from));
    if (std::isfinite(estimate)) {
        const Sample guess = moon.at(estimate);
        const double rate = altitudeRateDegPerDay(guess, from, to, moon.place().latitudeDeg);
        const double step = -guess.marginDeg / rate;
        if (std::isfinite(step)) {
            estimate = std::clamp(estimate + step, from.jdUt, to.jdUt);
        }
    } else {
        estimate = 0.5 * (from.jdUt + to.jdUt);
    }
    const std::optional<double> crossing = rootNear(margin, estimate, from.jdUt, to.jdUt);
    if (!crossing) {
        return std::nullopt;
    }
    Sample sample = moon.at(*crossing);
    if (const std::optional<Sample> other = moon.otherEnd(sample)) {
        const double jd =
            interpolatedRoot(sample.jdUt, sample.marginDeg, other->jdUt, other->marginDeg);
        const double fraction = (jd - sample.jdUt) / (other->jdUt - sample.jdUt);
        sample.sky.azimuthDeg =
            normalizedDeg(sample.sky.azimuthDeg +
                          fraction * signedDeg(other->sky.azimuthDeg - sample.sky.azimuthDeg));
        sample.sky.altitudeDeg = linear(sample.sky.altitudeDeg, other->sky.altitudeDeg, fraction);
        sample.jdUt = jd;
    }
    return sample;
}

MoonEvent eventAt(MoonEventKind kind, const Sample& sample)
{
    return {kind, sample.jdUt, sample.sky.azimuthDeg, sample.sky.altitudeDeg};
}

}  // namespace

MoonEvents moonEvents(double startJdUt, double endJdUt, const GeoPlace& place)
{
    MoonEvents result;
    if (!(startJdUt < endJdUt) || !std::isfinite(endJdUt - startJdUt)) {
        return result;
    }
    // The nodes on whole Julian Days and halves, whatever the span: an event comes out the same.
    MoonSampler moon(place, std::floor(startJdUt));
    std::vector<MoonEvent> found;

    // The upper transit before the start (the hour angle counts the time since it), and the
    // lower culmination half a lunar day before that: the first turning point.
    const Sample start = moon.at(startJdUt);
    double transitEstimate =
        startJdUt - normalizedDeg(start.sky.hourAngleDeg) / MeanHourAngleRateDegPerDay;
    double rate = MeanHourAngleRateDegPerDay;
    Sample previous = turningPoint(
        moon, moon.at(transitEstimate - 180.0 / MeanHourAngleRateDegPerDay), Extremum::Minimum);
    bool up = isUp(previous);
    const auto addCrossing = [&](const Sample& from, const Sample& to) {
        if (isUp(from) == isUp(to)) {
            return;
        }
        if (const std::optional<Sample> crossing = crossingBetween(moon, from, to)) {
            found.push_back(
                eventAt(isUp(from) ? MoonEventKind::Set : MoonEventKind::Rise, *crossing));
        }
    };

    // Half a lunar day per round, each round at least six hours on: the loop ends.
    while (previous.jdUt < endJdUt) {
        const std::optional<Sample> transit = transitNear(moon, transitEstimate, rate);
        // Should no transit lie near its estimate, the estimate stands in for it as a turning
        // point.
        const Sample culmination = transit ? *transit : moon.at(transitEstimate);
        const Sample highest = turningPoint(moon, culmination, Extremum::Maximum);
        addCrossing(previous, highest);
        if (transit && isUp(*transit)) {
            found.push_back(eventAt(MoonEventKind::Transit, *transit));
        }

        const Sample lower = moon.at(culmination.jdUt + 180.0 / rate);
        const double halfTurn =
            normalizedDeg(lower.sky.hourAngleDeg - culmination.sky.hourAngleDeg);
        if (halfTurn > 90.0 && halfTurn < 270.0) {
            rate = halfTurn / (lower.jdUt - culmination.jdUt);
        }
        const Sample lowest = turningPoint(moon, lower, Extremum::Minimum);
        addCrossing(highest, lowest);

        transitEstimate = lower.jdUt + (360.0 - normalizedDeg(lower.sky.hourAngleDeg)) / rate;
        previous = lowest;
    }

    std::stable_sort(found.begin(), found.end(),
                     [](const MoonEvent& a, const MoonEvent& b) { return a.jdUt < b.jdUt; });
    for (const MoonEvent& event : found) {
        if (event.jdUt < startJdUt) {
            if (event.kind != MoonEventKind::Transit) {
                up = event.kind == MoonEventKind::Rise;
            }
        } else if (event.jdUt < endJdUt) {
            result.events.push_back(event);
        }
    }
    result.upAtStart = up;
    result.positions = moon.positions();
    result.evaluations = moon.evaluations();
    return result;
}

}  // namespace astro
