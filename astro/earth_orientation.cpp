#include "astro/earth_orientation.hpp"

#include "astro/angles.hpp"

#include <cstdint>
#include <iterator>

namespace astro {
namespace {

// A term of table 22.A: the sine (delta psi) and cosine (delta epsilon) of
// d D + m M + m' M' + f F + w Omega, with coefficients in units of 0.0001".
struct NutationTerm {
    std::int8_t d;       // multiple of D, the Moon's mean elongation from the Sun
    std::int8_t m;       // of M, the Sun's mean anomaly
    std::int8_t mPrime;  // of M', the Moon's mean anomaly
    std::int8_t f;       // of F, the Moon's argument of latitude
    std::int8_t omega;   // of Omega, the longitude of the Moon's ascending node
    double psi;          // coefficient of the sine, delta psi
    double psiPerT;      // its change per Julian century
    double epsilon;      // coefficient of the cosine, delta epsilon
    double epsilonPerT;  // its change per Julian century
};

// Table 22.A, in the book's order, all 63 rows. Checked row by row against the tables of two
// independent public ports of the book, PyMeeus (Earth.py: NUTATION_ARG_TABLE,
// NUTATION_SINE_COEF_TABLE, NUTATION_COSINE_COEF_TABLE) and Sonia Keys's Go package meeus
// (nutation.go: table22A), and the delta psi column also against the Java library lunisolarcalc
// (EarthNutuationInLongitudePeriodicTerms.java): all agree.
// clang-format off
constexpr NutationTerm NutationTerms[] = {
    // D  M  M'  F  Om   psi      per T    epsilon  per T
    {0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9},
    {-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1},
    {0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5},
    {0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5},
    {0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1},
    {0, 0, 1, 0, 0, 712, 0.1, -7, 0},
    {-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6},
    {0, 0, 0, 2, 1, -386, -0.4, 200, 0},
    {0, 0, 1, 2, 2, -301, 0, 129, -0.1},
    {-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3},
    {-2, 0, 1, 0, 0, -158, 0, 0, 0},
    {-2, 0, 0, 2, 1, 129, 0.1, -70, 0},
    {0, 0, -1, 2, 2, 123, 0, -53, 0},
    {2, 0, 0, 0, 0, 63, 0, 0, 0},
    {0, 0, 1, 0, 1, 63, 0.1, -33, 0},
    {2, 0, -1, 2, 2, -59, 0, 26, 0},
    {0, 0, -1, 0, 1, -58, -0.1, 32, 0},
    {0, 0, 1, 2, 1, -51, 0, 27, 0},
    {-2, 0, 2, 0, 0, 48, 0, 0, 0},
    {0, 0, -2, 2, 1, 46, 0, -24, 0},
    {2, 0, 0, 2, 2, -38, 0, 16, 0},
    {0, 0, 2, 2, 2, -31, 0, 13, 0},
    {0, 0, 2, 0, 0, 29, 0, 0, 0},
    {-2, 0, 1, 2, 2, 29, 0, -12, 0},
    {0, 0, 0, 2, 0, 26, 0, 0, 0},
    {-2, 0, 0, 2, 0, -22, 0, 0, 0},
    {0, 0, -1, 2, 1, 21, 0, -10, 0},
    {0, 2, 0, 0, 0, 17, -0.1, 0, 0},
    {2, 0, -1, 0, 1, 16, 0, -8, 0},
    {-2, 2, 0, 2, 2, -16, 0.1, 7, 0},
    {0, 1, 0, 0, 1, -15, 0, 9, 0},
    {-2, 0, 1, 0, 1, -13, 0, 7, 0},
    {0, -1, 0, 0, 1, -12, 0, 6, 0},
    {0, 0, 2, -2, 0, 11, 0, 0, 0},
    {2, 0, -1, 2, 1, -10, 0, 5, 0},
    {2, 0, 1, 2, 2, -8, 0, 3, 0},
    {0, 1, 0, 2, 2, 7, 0, -3, 0},
    {-2, 1, 1, 0, 0, -7, 0, 0, 0},
    {0, -1, 0, 2, 2, -7, 0, 3, 0},
    {2, 0, 0, 2, 1, -7, 0, 3, 0},
    {2, 0, 1, 0, 0, 6, 0, 0, 0},
    {-2, 0, 2, 2, 2, 6, 0, -3, 0},
    {-2, 0, 1, 2, 1, 6, 0, -3, 0},
    {2, 0, -2, 0, 1, -6, 0, 3, 0},
    {2, 0, 0, 0, 1, -6, 0, 3, 0},
    {0, -1, 1, 0, 0, 5, 0, 0, 0},
    {-2, -1, 0, 2, 1, -5, 0, 3, 0},
    {-2, 0, 0, 0, 1, -5, 0, 3, 0},
    {0, 0, 2, 2, 1, -5, 0, 3, 0},
    {-2, 0, 2, 0, 1, 4, 0, 0, 0},
    {-2, 1, 0, 2, 1, 4, 0, 0, 0},
    {0, 0, 1, -2, 0, 4, 0, 0, 0},
    {-1, 0, 1, 0, 0, -4, 0, 0, 0},
    {-2, 1, 0, 0, 0, -4, 0, 0, 0},
    {1, 0, 0, 0, 0, -4, 0, 0, 0},
    {0, 0, 1, 2, 0, 3, 0, 0, 0},
    {0, 0, -2, 2, 2, -3, 0, 0, 0},
    {-1, -1, 1, 0, 0, -3, 0, 0, 0},
    {0, 1, 1, 0, 0, -3, 0, 0, 0},
    {0, -1, 1, 2, 2, -3, 0, 0, 0},
    {2, -1, -1, 2, 2, -3, 0, 0, 0},
    {0, 0, 3, 2, 2, -3, 0, 0, 0},
    {2, -1, 0, 2, 2, -3, 0, 0, 0},
};
// clang-format on
static_assert(std::size(NutationTerms) == 63);

constexpr double TenThousandthsOfArcsecond = 1e-4 / ArcsecondsPerDegree;  // in degrees

// The largest multiples in the table: D, M, F and Omega up to 2, M' up to 3.
constexpr int largestMultiple(std::int8_t NutationTerm::*column)
{
    int largest = 0;
    for (const NutationTerm& term : NutationTerms) {
        const int k = term.*column;
        largest = k > largest ? k : (-k > largest ? -k : largest);
    }
    return largest;
}
static_assert(largestMultiple(&NutationTerm::d) == 2 && largestMultiple(&NutationTerm::m) == 2 &&
              largestMultiple(&NutationTerm::mPrime) == 3 &&
              largestMultiple(&NutationTerm::f) == 2 && largestMultiple(&NutationTerm::omega) == 2);

// eq. 12.4: 280.46061837 + 360.98564736629 (JD - 2451545.0) + 0.000387933 T^2 - T^3 / 38710000.
constexpr double SiderealTimeAtJ2000Deg = 280.46061837;
constexpr double SiderealDegreesPerDay = 360.98564736629;

}  // namespace

Nutation nutation(double jde)
{
    const double T = julianCenturies(jde);
    const double T2 = T * T;
    const double T3 = T2 * T;
    // The fundamental arguments of chapter 22, degrees.
    const Multiples<2> D(297.85036 + 445267.111480 * T - 0.0019142 * T2 + T3 / 189474);
    const Multiples<2> M(357.52772 + 35999.050340 * T - 0.0001603 * T2 - T3 / 300000);
    const Multiples<3> MPrime(134.96298 + 477198.867398 * T + 0.0086972 * T2 + T3 / 56250);
    const Multiples<2> F(93.27191 + 483202.017538 * T - 0.0036825 * T2 + T3 / 327270);
    const Multiples<2> Omega(125.04452 - 1934.136261 * T + 0.0020708 * T2 + T3 / 450000);

    double psi = 0.0;
    double epsilon = 0.0;
    for (const NutationTerm& term : NutationTerms) {
        const Rotation argument =
            D[term.d] * M[term.m] * MPrime[term.mPrime] * F[term.f] * Omega[term.omega];
        psi += (term.psi + term.psiPerT * T) * argument.sine;
        epsilon += (term.epsilon + term.epsilonPerT * T) * argument.cosine;
    }
    return {psi * TenThousandthsOfArcsecond, epsilon * TenThousandthsOfArcsecond};
}

double meanObliquityDeg(double jde)
{
    const double T = julianCenturies(jde);
    // 23 deg 26' 21.448" - 46.8150" T - 0.00059" T^2 + 0.001813" T^3
    const double arcseconds = 84381.448 + T * (-46.8150 + T * (-0.00059 + T * 0.001813));
    return arcseconds / ArcsecondsPerDegree;
}

EarthOrientation earthOrientation(double jde)
{
    EarthOrientation orientation{};
    orientation.jde = jde;
    orientation.nutation = nutation(jde);
    orientation.meanObliquityDeg = meanObliquityDeg(jde);
    orientation.trueObliquityDeg = orientation.meanObliquityDeg + orientation.nutation.obliquityDeg;
    return orientation;
}

double meanSiderealTimeDeg(double jdUt)
{
    const double T = julianCenturies(jdUt);
    return normalizedDeg(SiderealTimeAtJ2000Deg +
                         SiderealDegreesPerDay * (jdUt - JulianDayOfJ2000) +
                         T * T * (0.000387933 - T / 38710000));
}

double apparentSiderealTimeDeg(double jdUt, const EarthOrientation& orientation)
{
    return normalizedDeg(meanSiderealTimeDeg(jdUt) +
                         orientation.nutation.longitudeDeg * cosDeg(orientation.trueObliquityDeg));
}

}  // namespace astro
