#include "astro/moon_position.hpp"

#include "astro/angles.hpp"
#include "astro/apsides.hpp"
#include "astro/earth_orientation.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace astro {
namespace {

// A term of table 47.A: the sine (longitude) and cosine (distance) of d D + m M + m' M' + f F.
// Terms with M are multiplied by E, those with 2 M by E^2 (the Earth's orbit grows rounder).
struct LongitudeDistanceTerm {
    std::int8_t d;        // multiple of D, the Moon's mean elongation
    std::int8_t m;        // of M, the Sun's mean anomaly
    std::int8_t mPrime;   // of M', the Moon's mean anomaly
    std::int8_t f;        // of F, the Moon's argument of latitude
    std::int32_t sigmaL;  // coefficient of the sine in the longitude, 0.000001 degree
    std::int32_t sigmaR;  // coefficient of the cosine in the distance, 0.001 km
};

// Table 47.A, in the book's order, all 60 rows. Checked row by row against the tables of two
// independent public ports of the book: PyMeeus (Moon.py: PERIODIC_TERMS_LR_TABLE) and the Java
// library lunisolarcalc (MoonLongitudePeriodicTerms.java and MoonDistancePeriodicTerms.java,
// which keep the rows with a non-zero coefficient only, in the same order): all agree.
// clang-format off
constexpr LongitudeDistanceTerm LongitudeDistanceTerms[] = {
    // D  M  M'  F   sigma l    sigma r
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
};
// clang-format on
static_assert(std::size(LongitudeDistanceTerms) == 60);

// A term of table 47.B: the sine of d D + m M + m' M' + f F in the latitude, E as above.
struct LatitudeTerm {
    std::int8_t d;
    std::int8_t m;
    std::int8_t mPrime;
    std::int8_t f;
    std::int32_t sigmaB;  // coefficient of the sine, 0.000001 degree
};

// Table 47.B, in the book's order, all 60 rows. Checked row by row against PyMeeus (Moon.py:
// PERIODIC_TERMS_B_TABLE) and lunisolarcalc (MoonLatitudePeriodicTerms.java): all agree.
// clang-format off
constexpr LatitudeTerm LatitudeTerms[] = {
    // D  M  M'  F   sigma b
    {0, 0, 0, 1, 5128122},
    {0, 0, 1, 1, 280602},
    {0, 0, 1, -1, 277693},
    {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},
    {2, 0, -1, -1, 46271},
    {2, 0, 0, 1, 32573},
    {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},
    {0, 0, 2, -1, 8822},
    {2, -1, 0, -1, 8216},
    {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},
    {2, 1, 0, -1, -3359},
    {2, -1, -1, 1, 2463},
    {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065},
    {0, 1, -1, -1, -1870},
    {4, 0, -1, -1, 1828},
    {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},
    {0, 1, -1, 1, -1565},
    {1, 0, 0, 1, -1491},
    {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},
    {0, 1, 0, -1, -1344},
    {1, 0, 0, -1, -1335},
    {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},
    {4, 0, -1, 1, 833},
    {0, 0, 1, -3, 777},
    {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607},
    {2, 0, 2, -1, 596},
    {2, -1, 1, -1, 491},
    {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},
    {2, 0, 2, 1, 422},
    {2, 0, -3, -1, 421},
    {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},
    {4, 0, 0, 1, 331},
    {2, -1, 1, 1, 315},
    {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283},
    {2, 1, 1, -1, -229},
    {1, 1, 0, -1, 223},
    {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},
    {2, 1, -1, -1, -220},
    {1, 0, 1, 1, -185},
    {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177},
    {4, 0, -2, -1, 176},
    {4, -1, -1, -1, 166},
    {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132},
    {1, 0, -1, -1, -119},
    {4, -1, 0, -1, 115},
    {2, -2, 0, 1, 107},
};
// clang-format on
static_assert(std::size(LatitudeTerms) == 60);

// The multiples the tables use, the reach of the tables of rotations below: D 0..4, M -2..2,
// M' -4..4, F -3..3.
constexpr int MaxD = 4;
constexpr int MaxM = 2;
constexpr int MaxMPrime = 4;
constexpr int MaxF = 3;

template <typename Term, std::size_t N>
constexpr bool multiplesWithin(const Term (&terms)[N])
{
    return std::ranges::all_of(terms, [](const Term& term) {
        return term.d >= 0 && term.d <= MaxD && term.m >= -MaxM && term.m <= MaxM &&
               term.mPrime >= -MaxMPrime && term.mPrime <= MaxMPrime && term.f >= -MaxF &&
               term.f <= MaxF;
    });
}
static_assert(multiplesWithin(LongitudeDistanceTerms) && multiplesWithin(LatitudeTerms));

// The tables of rotations of d D + m M and of m' M' + f F for all those multiples.
constexpr std::size_t MCount = 2 * MaxM + 1;
constexpr std::size_t FCount = 2 * MaxF + 1;
constexpr std::size_t DMCount = (MaxD + 1) * MCount;
constexpr std::size_t MFCount = (2 * MaxMPrime + 1) * FCount;

constexpr std::size_t dmIndex(int d, int m)
{
    return static_cast<std::size_t>(d) * MCount + static_cast<std::size_t>(m + MaxM);
}

constexpr std::size_t mfIndex(int mPrime, int f)
{
    return static_cast<std::size_t>(mPrime + MaxMPrime) * FCount +
           static_cast<std::size_t>(f + MaxF);
}

constexpr double MillionthsOfDegree = 1e-6;
constexpr double MetresPerKm = 1000.0;
constexpr double MeanDistanceKm = 385000.56;

}  // namespace

MoonEcliptic moonGeocentric(double jde)
{
    const double T = julianCenturies(jde);
    const double T2 = T * T;
    const double T3 = T2 * T;
    const double T4 = T2 * T2;
    // eqs. 47.1 - 47.5, degrees
    const double LPrime =
        218.3164477 + 481267.88123421 * T - 0.0015786 * T2 + T3 / 538841 - T4 / 65194000;
    const Multiples<MaxD> D(297.8501921 + 445267.1114034 * T - 0.0018819 * T2 + T3 / 545868 -
                            T4 / 113065000);
    // M's multiples carry E^|m| with them, the factor of the terms with M and 2 M.
    Multiples<MaxM> M(357.5291092 + 35999.0502909 * T - 0.0001536 * T2 + T3 / 24490000);
    const Multiples<MaxMPrime> MPrime(134.9633964 + 477198.8675055 * T + 0.0087414 * T2 +
                                      T3 / 69699 - T4 / 14712000);
    const Multiples<MaxF> F(93.2720950 + 483202.0175233 * T - 0.0036539 * T2 - T3 / 3526000 +
                            T4 / 863310000);
    const double E = 1 - 0.002516 * T - 0.0000074 * T2;
    M.scale(E);

    // Every argument is (d D + m M) + (m' M' + f F): the rotations of both halves for all
    // multiples first (25 and 63 products), then one product per term.
    std::array<Rotation, DMCount> DM{};
    for (int d = 0; d <= MaxD; ++d) {
        for (int m = -MaxM; m <= MaxM; ++m) {
            DM[dmIndex(d, m)] = D[d] * M[m];
        }
    }
    std::array<Rotation, MFCount> MF{};
    for (int mPrime = -MaxMPrime; mPrime <= MaxMPrime; ++mPrime) {
        for (int f = -MaxF; f <= MaxF; ++f) {
            MF[mfIndex(mPrime, f)] = MPrime[mPrime] * F[f];
        }
    }
    const auto argumentOf = [&DM, &MF](int d, int m, int mPrime, int f) {
        return DM[dmIndex(d, m)] * MF[mfIndex(mPrime, f)];
    };

    double sigmaL = 0.0;
    double sigmaR = 0.0;
    for (const LongitudeDistanceTerm& term : LongitudeDistanceTerms) {
        const Rotation argument = argumentOf(term.d, term.m, term.mPrime, term.f);
        sigmaL += term.sigmaL * argument.sine;
        sigmaR += term.sigmaR * argument.cosine;
    }
    double sigmaB = 0.0;
    for (const LatitudeTerm& term : LatitudeTerms) {
        sigmaB += term.sigmaB * argumentOf(term.d, term.m, term.mPrime, term.f).sine;
    }

    // The additive terms: A1 from Venus, A2 from Jupiter, A3 and L' - M' from the flattening of
    // the Earth.
    const Rotation A1 = rotationDeg(119.75 + 131.849 * T);
    const Rotation A2 = rotationDeg(53.09 + 479264.290 * T);
    const Rotation A3 = rotationDeg(313.45 + 481266.484 * T);
    const Rotation L = rotationDeg(LPrime);
    sigmaL += 3958 * A1.sine + 1962 * (L * inverse(F[1])).sine + 318 * A2.sine;
    sigmaB += -2235 * L.sine + 382 * A3.sine + 175 * (A1 * inverse(F[1])).sine +
              175 * (A1 * F[1]).sine + 127 * (L * inverse(MPrime[1])).sine -
              115 * (L * MPrime[1]).sine;

    return {normalizedDeg(LPrime + sigmaL * MillionthsOfDegree), sigmaB * MillionthsOfDegree,
            MeanDistanceKm + sigmaR / MetresPerKm};
}

double moonParallaxDeg(double distanceKm)
{
    return asinDeg(EarthEquatorialRadiusKm / distanceKm);
}

}  // namespace astro
