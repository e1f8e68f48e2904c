// Angles in degrees for the position series: reduction to a full turn, and the sines and cosines
// of whole multiples of an angle built by angle addition from one sine and one cosine.
//
// The periodic terms of the Moon's position (Meeus, chapter 47) and of the nutation (chapter 22)
// are sines and cosines of d D + m M + m' M' + f F (+ w Omega) with small whole multipliers. A
// term's argument is a rotation: the product of the rotations of its multiples, each taken from a
// small table per angle. So a position takes one sine and cosine per fundamental angle, and each
// term a few multiplications instead of a call of sin or cos. The multiples agree with the sines
// of the multiplied angles to some 1e-15, far below the series' last printed digit.
#pragma once

#include "astro/lunar_phases.hpp"

#include <array>
#include <cmath>

namespace astro {

inline constexpr double ArcsecondsPerDegree = 3600.0;
inline constexpr double RadiansToDegrees = 1.0 / DegreesToRadians;

// The angle reduced to 0 <= angle < 360 degrees.
inline double normalizedDeg(double angleDeg)
{
    double turn = std::fmod(angleDeg, 360.0);
    if (turn < 0) {
        turn += 360.0;  // a tiny negative remainder can round up to 360 itself
    }
    return turn < 360.0 ? turn : 0.0;
}

// The angle reduced to -180 <= angle < 180 degrees.
inline double signedDeg(double angleDeg)
{
    return normalizedDeg(angleDeg + 180.0) - 180.0;
}

// The arc tangent of y / x in the quadrant of (x, y), degrees.
inline double atan2Deg(double y, double x)
{
    return std::atan2(y, x) * RadiansToDegrees;
}

inline double asinDeg(double value)
{
    return std::asin(value) * RadiansToDegrees;
}

// A rotation by an angle: its cosine and sine (the unit complex number e^(i angle)).
struct Rotation {
    double cosine;
    double sine;
};

// The rotation by the sum of the two angles.
constexpr Rotation operator*(Rotation a, Rotation b)
{
    return {a.cosine * b.cosine - a.sine * b.sine, a.sine * b.cosine + a.cosine * b.sine};
}

// The rotation by minus the angle.
constexpr Rotation inverse(Rotation a)
{
    return {a.cosine, -a.sine};
}

inline Rotation rotationDeg(double angleDeg)
{
    const SineCosine sc = sinCosDeg(angleDeg);
    return {sc.cosine, sc.sine};
}

// The rotations by k times an angle, k = -N..N: one sine and cosine, the rest by angle addition.
template <int N>
class Multiples {
public:
    explicit Multiples(double angleDeg)
    {
        const Rotation once = rotationDeg(angleDeg);
        rotations_[N] = {1.0, 0.0};
        for (int k = 1; k <= N; ++k) {
            rotations_[N + k] = rotations_[N + k - 1] * once;
            rotations_[N - k] = inverse(rotations_[N + k]);
        }
    }

    Rotation operator[](int k) const
    {
        return rotations_[N + k];
    }

    // Multiplies the k-th multiple by factor^|k| (a series' factor that grows with the multiple).
    void scale(double factor)
    {
        double power = 1.0;
        for (int k = 1; k <= N; ++k) {
            power *= factor;
            rotations_[N + k] = {rotations_[N + k].cosine * power, rotations_[N + k].sine * power};
            rotations_[N - k] = {rotations_[N - k].cosine * power, rotations_[N - k].sine * power};
        }
    }

private:
    std::array<Rotation, 2 * N + 1> rotations_{};
};

}  // namespace astro
