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
