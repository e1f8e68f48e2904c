#include "astro/time_search.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace astro {
namespace {

constexpr double Pi = 3.141592653589793;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct RootCase {
    const char* name;
    std::function<double(double)> f;
    double t0;
    double t1;
    bool found;
    double root;         // where found
    int maxEvaluations;  // values of f the search may take
};

// A second is 1.2e-5 day; the searches ask for about that.
constexpr double Tolerance = 1e-6;

const RootCase RootCases[] = {
    // Smooth roots, as of an altitude or hour angle: a handful of evaluations.
    {"cosine", [](double t) { return std::cos(t); }, 0.0, 3.0, true, Pi / 2, 8},
    {"falling cubic", [](double t) { return 0.1 - t * t * t; }, 0.0, 1.0, true, std::cbrt(0.1), 10},
    {"root at the start", [](double t) { return t - 2.0; }, 2.0, 5.0, true, 2.0, 2},
    {"root at the end", [](double t) { return t - 5.0; }, 2.0, 5.0, true, 5.0, 3},
    // A sign change without a zero (a jump) still ends, at the jump.
    {"jump", [](double t) { return t < 0.3 ? -1.0 : 1.0; }, 0.0, 1.0, true, 0.3, 40},
    {"pole", [](double t) { return 1.0 / (t - 0.7); }, 0.0, 1.0, true, 0.7, 60},
    // No sign change: nothing found after the two ends, however flat or curved f is.
    {"flat", [](double) { return 1.0; }, 0.0, 1.0, false, NaN, 2},
    {"valley above zero", [](double t) { return (t - 0.5) * (t - 0.5) + 0.01; }, 0.0, 1.0, false,
     NaN, 2},
    {"two roots", [](double t) { return (t - 0.2) * (t - 0.8); }, 0.0, 1.0, false, NaN, 2},
    {"not a number", [](double) { return NaN; }, 0.0, 1.0, false, NaN, 2},
};

TEST(TimeSearch, RootsInFewEvaluationsAndNoneWithoutASignChange)
{
    for (const RootCase& c : RootCases) {
        const TimeRoot root = findRoot(c.f, c.t0, c.t1, Tolerance);
        EXPECT_EQ(root.found, c.found) << c.name;
        if (c.found) {
            EXPECT_NEAR(root.t, c.root, Tolerance) << c.name;
        }
        EXPECT_LE(root.evaluations, c.maxEvaluations) << c.name;
    }
    // No tolerance at all, at Julian Days of today: the search still ends, at the resolution of
    // the doubles there (some 5e-10 day).
    const TimeRoot exact =
        findRoot([](double t) { return std::sin(t - 2461395.25); }, 2461395.0, 2461396.0, 0.0);
    EXPECT_TRUE(exact.found);
    EXPECT_NEAR(exact.t, 2461395.25, 2e-9);
    EXPECT_LE(exact.evaluations, 20);
}

TEST(TimeSearch, ExtremaInsideTheBracket)
{
    struct ExtremumCase {
        const char* name;
        std::function<double(double)> f;
        Extremum kind;
        double at;
        int maxEvaluations;
    };
    const ExtremumCase cases[] = {
        {"highest point", [](double t) { return std::sin(t); }, Extremum::Maximum, Pi / 2, 25},
        {"least distance", [](double t) { return std::cosh(t - 1.2); }, Extremum::Minimum, 1.2, 25},
        {"rising all through: the end", [](double t) { return t; }, Extremum::Maximum, 3.0, 60},
        // A flat function ends too, somewhere in the bracket.
        {"flat", [](double) { return 4.0; }, Extremum::Maximum, NaN, 60},
    };
    for (const ExtremumCase& c : cases) {
        const TimeExtremum e = findExtremum(c.f, 0.0, 3.0, Tolerance, c.kind);
        if (!std::isnan(c.at)) {
            // 2 tolerances: the golden-section bracket closes on the extremum from both sides.
            EXPECT_NEAR(e.t, c.at, 2 * Tolerance) << c.name;
            EXPECT_EQ(e.value, c.f(e.t)) << c.name;
        }
        EXPECT_GE(e.t, 0.0) << c.name;
        EXPECT_LE(e.t, 3.0) << c.name;
        EXPECT_LE(e.evaluations, c.maxEvaluations) << c.name;
    }
    // At Julian Days of today the tolerance still counts in days, not relative to the date.
    const TimeExtremum transit = findExtremum([](double t) { return std::cos(t - 2461395.4); },
                                              2461395.0, 2461396.0, Tolerance, Extremum::Maximum);
    EXPECT_NEAR(transit.t, 2461395.4, 2 * Tolerance);
    EXPECT_LE(transit.evaluations, 25);
}

}  // namespace
}  // namespace astro
