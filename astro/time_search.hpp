// The one search loop over time for the events of a place: a root of a smooth function of time
// inside a bracket (rising and setting: altitude minus the horizon's; transits: the hour angle;
// eclipse contacts: distance minus radii), and the extremum of one inside a bracket (the highest
// point, greatest eclipse).
//
// Times are Julian Days (any scale, as long as the function takes the same); the tolerance is in
// days, and never finer than the doubles near the answer resolve (a few microseconds for Julian
// Days), so that even a tolerance of 0 ends. Both loops take at most MaxSearchEvaluations values
// of the function; a root search that has not narrowed its bracket by then, or that meets a
// value that is not a number, reports no root.
#pragma once

#include <cmath>
#include <limits>

namespace astro {

inline constexpr int MaxSearchEvaluations = 100;

namespace detail {
inline constexpr double Epsilon = std::numeric_limits<double>::epsilon();
}  // namespace detail

struct TimeRoot {
    bool found;       // f changes sign (or is 0) within the bracket and the bracket was narrowed
    double t;         // the root, to the tolerance (meaningful only when found)
    int evaluations;  // values of f taken
};

// A root of f in [t0, t1] by Brent's method (inverse quadratic interpolation and secant steps,
// with bisection whenever they do not shrink the bracket fast enough; R. P. Brent, Algorithms for
// Minimization without Derivatives, 1973, ch. 4). f(t0) and f(t1) must have opposite signs or
// one of them be 0; otherwise nothing is found after these two evaluations. The root is within
// `toleranceDays` of a sign change of f. A smooth function takes some 5 to 10 evaluations.
template <typename F>
TimeRoot findRoot(F&& f, double t0, double t1, double toleranceDays)
{
    double a = t0;
    double b = t1;
    double fa = f(a);
    double fb = f(b);
    int evaluations = 2;
    if (std::isnan(fa) || std::isnan(fb) || (fa > 0 && fb > 0) || (fa < 0 && fb < 0)) {
        return {false, b, evaluations};
    }
    if (fa == 0) {
        return {true, a, evaluations};
    }
    // b is the best guess, a the previous one, c the other end of the bracket [b, c].
    double c = a;
    double fc = fa;
    double d = b - a;
    double e = d;
    while (evaluations < MaxSearchEvaluations) {
        if ((fb > 0 && fc > 0) || (fb < 0 && fc < 0)) {
            c = a;
            fc = fa;
            d = b - a;
            e = d;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tolerance = 2 * detail::Epsilon * std::fabs(b) + 0.5 * toleranceDays;
        const double half = 0.5 * (c - b);
        if (fb == 0 || std::fabs(half) <= tolerance) {
            return {true, b, evaluations};
        }
        if (std::fabs(e) >= tolerance && std::fabs(fa) > std::fabs(fb)) {
            // Interpolate: a secant step with two points, inverse quadratic with three.
            const double s = fb / fa;
            double p = 0.0;
            double q = 0.0;
            if (a == c) {
                p = 2 * half * s;
                q = 1 - s;
            } else {
                const double r = fb / fc;
                const double qa = fa / fc;
                p = s * (2 * half * qa * (qa - r) - (b - a) * (r - 1));
                q = (qa - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) {
                q = -q;
            } else {
                p = -p;
            }
            if (2 * p < std::fmin(3 * half * q - std::fabs(tolerance * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = half;
                e = d;
            }
        } else {
            d = half;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tolerance ? d : (half > 0 ? tolerance : -tolerance);
        fb = f(b);
        ++evaluations;
        if (std::isnan(fb)) {
            return {false, b, evaluations};
        }
    }
    return {false, b, evaluations};
}

enum class Extremum { Minimum, Maximum };

struct TimeExtremum {
    double t;         // where f is least (or greatest) within the bracket, to the tolerance
    double value;     // f there
    int evaluations;  // values of f taken
};

// The least or greatest value of f in [t0, t1] by Brent's method (golden-section steps and
// parabolic interpolation; Brent 1973, ch. 5). For a function with one extremum in the bracket
// that extremum is found to within `toleranceDays`; otherwise some local one, or an end.
template <typename F>
TimeExtremum findExtremum(F&& f, double t0, double t1, double toleranceDays, Extremum kind)
{
    // Minimise g = f or -f.
    const double sign = kind == Extremum::Minimum ? 1.0 : -1.0;
    const auto g = [&f, sign](double t) { return sign * f(t); };
    constexpr double GoldenSection = 0.3819660112501051;  // (3 - sqrt(5)) / 2
    double a = std::fmin(t0, t1);
    double b = std::fmax(t0, t1);
    double x = a + GoldenSection * (b - a);
    double w = x;
    double v = x;
    double fx = g(x);
    double fw = fx;
    double fv = fx;
    int evaluations = 1;
    double d = 0.0;
    double e = 0.0;
    while (evaluations < MaxSearchEvaluations && !std::isnan(fx)) {
        const double middle = 0.5 * (a + b);
        const double tolerance = 2 * detail::Epsilon * std::fabs(x) + 0.5 * toleranceDays;
        if (std::fabs(x - middle) <= 2 * tolerance - 0.5 * (b - a)) {
            break;
        }
        bool golden = true;
        if (std::fabs(e) > tolerance) {
            // A parabola through x, w and v.
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) {
                p = -p;
            } else {
                q = -q;
            }
            if (std::fabs(p) < std::fabs(0.5 * q * e) && p > q * (a - x) && p < q * (b - x)) {
                e = d;
                d = p / q;
                const double u = x + d;
                if (u - a < 2 * tolerance || b - u < 2 * tolerance) {
                    d = x < middle ? tolerance : -tolerance;
                }
                golden = false;
            }
        }
        if (golden) {
            e = (x < middle ? b : a) - x;
            d = GoldenSection * e;
        }
        const double u = x + (std::fabs(d) >= tolerance ? d : (d > 0 ? tolerance : -tolerance));
        const double fu = g(u);
        ++evaluations;
        if (fu <= fx) {
            (u < x ? b : a) = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return {x, sign * fx, evaluations};
}

}  // namespace astro
