// Angles of the drawings: degrees on the dials and for the pointer (clockwise on the screen),
// fractions of a turn for the phase diagram's arcs, radians for the canvas. The one place that
// names pi.
#pragma once

#include <concepts>
#include <numbers>

namespace display {

// Degrees as radians, computed in the precision of the argument (the dials work in long double,
// the pointer in double): degrees * pi / 180, in that order.
template <std::floating_point T>
constexpr T radiansOf(T degrees)
{
    return degrees * std::numbers::pi_v<T> / 180;
}

// A fraction of a full turn as radians: the 32-bit fraction widened and multiplied by 2 pi.
constexpr double turnsToRadians(float fraction)
{
    return static_cast<double>(fraction) * (2 * std::numbers::pi);
}

}  // namespace display
