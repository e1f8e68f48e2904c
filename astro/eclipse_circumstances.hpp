// The circumstances of eclipses from the true positions of the Moon and the Sun: the contacts
// and magnitudes of a lunar eclipse, what a place sees of a solar eclipse, and whether the Moon
// or the Sun stands above a place's horizon during one.
//
// Lunar eclipses: the Moon's distance from the axis of the Earth's shadow (the point opposite
// the apparent Sun) and the radii of the penumbra and the umbra at the Moon's distance, with the
// Earth's radius enlarged by 1/85 for its atmosphere (Danjon's rule, as in F. Espenak and
// J. Meeus, Five Millennium Canon of Lunar Eclipses, NASA/TP-2009-214172, section 1.4):
//   penumbra = 1.01 Pm + Ss + Ps,  umbra = 1.01 Pm - Ss + Ps,
// Pm the Moon's equatorial horizontal parallax, Ss the Sun's semidiameter, Ps its parallax, and
// 1.01 = (1 + 1/85) times 0.998340, the Earth's radius at latitude 45 deg in equatorial radii.
// A contact is where that distance equals a radius plus or minus the Moon's semidiameter.
//
// Solar eclipses seen from a place: the separation of the topocentric centres of the Moon and
// the Sun against the sum and the difference of their topocentric semidiameters.
//
// Instants are Julian Days in Universal Time unless named JDE; the searches use the one search
// loop (astro/time_search.hpp) and find every instant to about a second.
#pragma once

#include "astro/coordinates.hpp"
#include "astro/eclipses.hpp"

#include <optional>

namespace astro {

enum class LunarEclipseKind {
    Penumbral,  // the Moon enters the penumbra only
    Partial,    // part of it enters the umbra
    Total,      // all of it enters the umbra
};

struct LunarEclipse {
    LunarEclipseKind kind = LunarEclipseKind::Penumbral;
    double seriesJde = 0.0;     // where the search began: the series' greatest eclipse
    double greatestJdUt = 0.0;  // least distance of the Moon's centre from the shadow's axis
    // The contacts that occur: the Moon's limb touches the penumbra from outside (P1, P4), the
    // umbra from outside (U1, U4) and from inside (U2, U3).
    double penumbralBeginJdUt = 0.0;
    std::optional<double> partialBeginJdUt;
    std::optional<double> totalBeginJdUt;
    std::optional<double> totalEndJdUt;
    std::optional<double> partialEndJdUt;
    double penumbralEndJdUt = 0.0;
    // At greatest eclipse, the fraction of the Moon's diameter within each shadow; negative by
    // how far the Moon stays outside.
    double umbralMagnitude = 0.0;
    double penumbralMagnitude = 0.0;
};

// The lunar eclipse around the instant `nearJde` (a Full Moon's greatest eclipse by the series;
// the true one lies within a week of it), or nothing when the Moon misses the penumbra.
std::optional<LunarEclipse> lunarEclipseNear(double nearJde);

// The lunar eclipse at the Full Moon of lunation floor(k), if there is one: the series
// (astro/eclipses) says where to look and rules out the Full Moons far from the shadow, the true
// positions give the rest.
std::optional<LunarEclipse> lunarEclipseOfLunation(double k);

// A solar eclipse for the whole Earth, as the series gives it (astro/eclipses).
struct SolarEclipse {
    SolarEclipseKind kind = SolarEclipseKind::Partial;
    double seriesJde = 0.0;  // greatest eclipse, JDE
    double greatestJdUt = 0.0;
    double gamma = 0.0;
    double magnitude = 0.0;  // solarEclipseMagnitude
};

// The solar eclipse at the New Moon of lunation floor(k), if there is one.
std::optional<SolarEclipse> solarEclipseOfLunation(double k);

// A solar eclipse as a place sees it. Begin, maximum and end are given even when the Sun is below
// the horizon then.
struct LocalSolarEclipse {
    double beginJdUt = 0.0;    // first contact of the discs
    double maximumJdUt = 0.0;  // least separation of their centres
    double endJdUt = 0.0;      // last contact
    // Where the place lies in the path of the umbra or the antumbra: the Moon's disc within the
    // Sun's (annular) or the Sun's within the Moon's (total).
    std::optional<double> centralBeginJdUt;
    std::optional<double> centralEndJdUt;
    double magnitude = 0.0;    // at the maximum: the fraction of the Sun's diameter covered, or
                               // in the central phase the ratio of the Moon's diameter to the
                               // Sun's
    double obscuration = 0.0;  // at the maximum: the fraction of the Sun's disc covered
    // The Sun's altitude (the centre, refracted) at begin, maximum and end.
    double sunAltitudeBeginDeg = 0.0;
    double sunAltitudeMaximumDeg = 0.0;
    double sunAltitudeEndDeg = 0.0;
    bool visible = false;  // the Sun stands above the horizon during some of it
};

// The solar eclipse whose greatest eclipse (for the whole Earth) is at `greatestJdUt`, as seen
// from the place; nothing when the Moon's penumbra misses the place.
std::optional<LocalSolarEclipse> localSolarEclipse(double greatestJdUt, const GeoPlace& place);

// Whether the centre of the Moon (or the Sun) stands above the horizon, refraction included, at
// some instant of [fromJdUt, untilJdUt], the first and last contact of an eclipse: above at
// either contact, or else at its highest point between them. In a span of a few hours the
// altitude has at most one turning point, so that answers for every instant of the span.
enum class EclipsedBody { Moon, Sun };
bool aboveHorizonDuring(EclipsedBody body, const GeoPlace& place, double fromJdUt,
                        double untilJdUt);

}  // namespace astro
