// When the Moon rises, culminates and sets at a place: the instants of a span of time.
//
// Rising and setting are the instants the upper limb of the topocentric Moon crosses the
// horizon lifted by the standard refraction of 34' (the geometric altitude of the limb is -34';
// the horizon is level, without a dip for the place's height). The highest point is the upper
// transit, where the topocentric hour angle is 0, counted only while the Moon is up: a transit
// below the horizon is none.
//
// Each event is found from an estimate by the one search loop (astro/time_search.hpp), never by
// stepping through the day: the Moon's culminations follow one another every half lunar day
// (about 12 h 25 min); between an upper and a lower culmination the altitude rises or falls, so a
// rising or setting lies between two of them exactly when the limb stands on either side of the
// horizon at those two. Its instant is estimated from the hour angle at which the geocentric
// Moon reaches the altitude of the horizon crossing (Meeus, Astronomical Algorithms, ch. 15),
// improved by a Newton step from the Moon's place there, and closed by the root search in a
// bracket a second wide: three places of the Moon in the sky per event where the step lands, as
// it almost always does. A transit is found likewise from the geocentric hour angle alone. The
// places come from the series twice a day and by interpolation between (within 2").
//
// Where a culmination comes within a degree of the horizon, the true highest or lowest point of
// the altitude, which lies minutes away from it, separates the two sides instead, so that a Moon
// that only grazes the horizon is not lost. Days without a rising or a setting, and at high
// latitudes days wholly above or below the horizon, are normal: no event is made up for them.
#pragma once

#include "astro/coordinates.hpp"

#include <vector>

namespace astro {

// The geometric altitude of the upper limb at rising and setting, degrees: the standard
// refraction at the horizon (34').
inline constexpr double MoonRiseSetLimbAltitudeDeg = -34.0 / 60.0;

enum class MoonEventKind { Rise, Transit, Set };

struct MoonEvent {
    MoonEventKind kind;
    double jdUt;         // Julian Day in Universal Time
    double azimuthDeg;   // of the centre, from the north over the east, 0..360
    double altitudeDeg;  // of the centre, refracted (as it appears), topocentric
};

struct MoonEvents {
    bool upAtStart = false;         // the upper limb above the horizon at the span's start
    std::vector<MoonEvent> events;  // in time order
    int positions = 0;              // places of the Moon taken from its series
    int evaluations = 0;            // places in the sky the searches took
};

// The risings, the upper transits with the Moon up, and the settings of the Moon at the place
// from startJdUt (included) to endJdUt (excluded), Julian Days in Universal Time.
MoonEvents moonEvents(double startJdUt, double endJdUt, const GeoPlace& place);

}  // namespace astro
