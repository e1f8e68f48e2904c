// Instants and kinds of solar and lunar eclipses.
//
// Jean Meeus, Astronomical Algorithms, 2nd ed., chapter 54 "Eclipses": for the New or Full Moon
// of a lunation, the least distance gamma of the shadow axis from the centre of the Earth (solar)
// or of the Moon (lunar), the radius u of the umbral cone, both in Earth radii, and the time
// corrections of the instant of greatest eclipse. Instants are JDE used as Julian Days of the
// local clock; the searches return day numbers.
#pragma once

#include "astro/system_time.hpp"

#include <cstdint>

namespace astro {

enum class EclipseKind : std::int32_t {
    Partial = 0,
    Total = 1,
    Annular = 2,
};

// Stands in for an instant where a lunation has no eclipse of the asked kind.
inline constexpr double NoEclipse = 0.0;

// Greatest eclipse of the New Moon (phaseFraction 0, a solar eclipse) or the Full Moon (any
// other fraction, a lunar eclipse) of lunation floor(k), or NoEclipse when it is not an eclipse of
// that kind. k is replaced by floor(k) + phaseFraction.
//   lunar:  Partial = partial (including the faintest umbral grazes), Total = total;
//           Annular, which has no lunar meaning, answers for any umbral eclipse.
//   solar:  Partial = not central; Total / Annular = central with u < 0 / u >= 0.
double eclipseInstant(double& k, double phaseFraction, EclipseKind kind);

// What chapter 54 computes for the New or Full Moon of a lunation before it classifies it.
struct EclipseElements {
    double jde;    // greatest eclipse
    double gamma;  // least distance of the shadow axis from the centre of the Earth (solar), or
                   // of the Moon's centre from the axis of the Earth's shadow (lunar), in Earth
                   // radii; positive when the axis passes north of the Earth's centre (solar) or
                   // the Moon north of the axis (lunar)
    double u;      // radius of the Moon's umbral cone in the plane through the Earth's centre
                   // perpendicular to the axis, Earth radii (negative where the umbra reaches
                   // past that plane); the lunar shadow radii follow from it too
};

// The elements of the New Moon (phaseFraction 0) or Full Moon (any other fraction) of lunation
// floor(k); false, with `elements` untouched, when the Moon is too far from a node of its orbit
// for any eclipse (moonTooFarFromNode). k is replaced by floor(k) + phaseFraction, as above.
bool eclipseElements(double& k, double phaseFraction, EclipseElements& elements);

// The kinds of solar eclipses seen anywhere on the Earth.
enum class SolarEclipseKind : std::int32_t {
    Partial = 0,
    Annular = 1,
    Total = 2,
};

// The kind of a New Moon's eclipse by chapter 54's text, every eclipse included: none beyond
// |gamma| = 1.5433 + u (false); central (|gamma| <= 0.9972) and the non-central eclipses whose
// umbra or antumbra still touches the Earth near a pole (|gamma| < 0.9972 + |u|) are total for
// u < 0 and annular otherwise; the others partial. (eclipseInstant, which the window's list
// asks, gives the non-central total and annular ones no kind.)
bool solarEclipseKind(const EclipseElements& elements, SolarEclipseKind& kind);

// The magnitude of a solar eclipse at greatest eclipse, as eclipse canons give it. Not central:
// the fraction of the Sun's diameter the Moon covers where the eclipse is greatest, chapter 54's
// (1.5433 + u - |gamma|) / (0.5461 + 2u). Central: the ratio of the Moon's apparent diameter to
// the Sun's on the axis, (L1 - L2) / (L1 + L2) from the penumbral and umbral radii L1 and L2
// where the axis meets the Earth's surface, the cones narrowed or widened from the plane
// through the Earth's centre by their half-angles (Besselian elements, mean values).
double solarEclipseMagnitude(const EclipseElements& elements);

// Whether a Full Moon's elements leave a lunar eclipse possible: the series' penumbral magnitude
// (1.5573 + u - |gamma|) / 0.5450 above a margin below 0, so that the true positions, not the
// series' limits, decide the grazing ones.
bool lunarEclipsePossible(const EclipseElements& elements);

// The first test of eclipseInstant: whether |sinDeg(F)| > 0.36 for the Moon's argument of
// latitude F in degrees, so that the Moon is too far from a node of its orbit for an eclipse.
// Exactly that comparison, mostly decided without the sine.
bool moonTooFarFromNode(double F);

// The next eclipse of a kind, as a day number, seen from the local reading `date` (year passed
// separately) and the day number `now`; an eclipse earlier on the day of `now` is still found.
// `passes`, when given, receives the number of lunation estimates tried.
double nextLunarEclipse(std::int32_t year, const SystemTime& date, double now, EclipseKind kind,
                        int* passes = nullptr);
double nextSolarEclipse(std::int32_t year, const SystemTime& date, double now, EclipseKind kind,
                        int* passes = nullptr);

}  // namespace astro
