#include "astro/lunar_phases.hpp"

#include "astro/series.hpp"
#include "astro/time_scale.hpp"

#include <cmath>
#include <iterator>
#include <optional>

namespace astro {
namespace {

// Periodic terms of Meeus, chapter 49. The argument of a term is
// mPrime * M' + m * M + f * F + omega * Omega; the term is coefficient * E^ePower * sin(argument).
struct PhaseTerm {
    std::int8_t mPrime;
    std::int8_t m;
    std::int8_t f;
    std::int8_t omega;
    std::int8_t ePower;
    float newMoon;   // days
    float fullMoon;  // days
};

// New Moon and Full Moon share their arguments; only the coefficients differ.
// clang-format off
constexpr PhaseTerm NewAndFullMoonTerms[] = {
    // M'  M   F  Om  E^p   New Moon   Full Moon
    {1, 0, 0, 0, 0, -0.40720f, -0.40614f},
    {0, 1, 0, 0, 1, +0.17241f, +0.17302f},
    {2, 0, 0, 0, 0, +0.01608f, +0.01614f},
    {0, 0, 2, 0, 0, +0.01039f, +0.01043f},
    {1, -1, 0, 0, 1, +0.00739f, +0.00734f},
    {1, 1, 0, 0, 1, -0.00514f, -0.00515f},
    {0, 2, 0, 0, 2, +0.00208f, +0.00209f},
    {1, 0, -2, 0, 0, -0.00111f, -0.00111f},
    {1, 0, 2, 0, 0, -0.00057f, -0.00057f},
    {2, 1, 0, 0, 1, +0.00056f, +0.00056f},
    {3, 0, 0, 0, 0, -0.00042f, -0.00042f},
    {0, 1, 2, 0, 1, +0.00042f, +0.00042f},
    {0, 1, -2, 0, 1, +0.00038f, +0.00038f},
    {2, -1, 0, 0, 1, -0.00024f, -0.00024f},
    {0, 0, 0, 1, 0, -0.00017f, -0.00017f},
    {1, 2, 0, 0, 0, -0.00007f, -0.00007f},
    {2, 0, -2, 0, 0, +0.00004f, +0.00004f},
    {0, 3, 0, 0, 0, +0.00004f, +0.00004f},
    {1, 1, -2, 0, 0, +0.00003f, +0.00003f},
    {2, 0, 2, 0, 0, +0.00003f, +0.00003f},
    {1, 1, 2, 0, 0, -0.00003f, -0.00003f},
    {1, -1, 2, 0, 0, +0.00003f, +0.00003f},
    {1, -1, -2, 0, 0, -0.00002f, -0.00002f},
    {3, 1, 0, 0, 0, -0.00002f, -0.00002f},
    {4, 0, 0, 0, 0, +0.00002f, +0.00002f},
};
// clang-format on
static_assert(std::size(NewAndFullMoonTerms) == 25);

// First and Last Quarter (the coefficient sits in the New Moon column).
// clang-format off
constexpr PhaseTerm QuarterTerms[] = {
    // M'  M   F  Om  E^p   coefficient
    {1, 0, 0, 0, 0, -0.62801f, 0.0f},
    {0, 1, 0, 0, 1, +0.17172f, 0.0f},
    {1, 1, 0, 0, 1, -0.01183f, 0.0f},
    {2, 0, 0, 0, 0, +0.00862f, 0.0f},
    {0, 0, 2, 0, 0, +0.00804f, 0.0f},
    {1, -1, 0, 0, 1, +0.00454f, 0.0f},
    {0, 2, 0, 0, 2, +0.00204f, 0.0f},
    {1, 0, -2, 0, 0, -0.00180f, 0.0f},
    {1, 0, 2, 0, 0, -0.00070f, 0.0f},
    {3, 0, 0, 0, 0, -0.00040f, 0.0f},
    {2, -1, 0, 0, 1, -0.00034f, 0.0f},
    {0, 1, 2, 0, 1, +0.00032f, 0.0f},
    {0, 1, -2, 0, 1, +0.00032f, 0.0f},
    {1, 2, 0, 0, 2, -0.00028f, 0.0f},
    {2, 1, 0, 0, 1, +0.00027f, 0.0f},
    {0, 0, 0, 1, 0, -0.00017f, 0.0f},
    {1, -1, -2, 0, 0, -0.00005f, 0.0f},
    {2, 0, 2, 0, 0, +0.00004f, 0.0f},
    {1, 1, 2, 0, 0, -0.00004f, 0.0f},
    {1, -2, 0, 0, 0, +0.00004f, 0.0f},
    {1, 1, -2, 0, 0, +0.00003f, 0.0f},
    {0, 3, 0, 0, 0, +0.00003f, 0.0f},
    {2, 0, -2, 0, 0, +0.00002f, 0.0f},
    {1, -1, 2, 0, 0, +0.00002f, 0.0f},
    {3, 1, 0, 0, 0, -0.00002f, 0.0f},
};
// clang-format on
static_assert(std::size(QuarterTerms) == 25);

// Additional corrections for all phases: amplitude * sin(constant + rate * k), A1 with an extra
// -0.009173 T^2. Values that the program keeps in single precision are written as float.
struct PlanetaryTerm {
    float constant;    // degrees
    double rate;       // degrees per lunation
    double amplitude;  // days
};

// clang-format off
constexpr PlanetaryTerm PlanetaryTerms[] = {
    {299.77f, 0.107408, 0.000325},
    {251.88f, 0.016321, 0.000165},
    {251.83f, 26.651886, 0.000164},
    {349.42f, 36.412478, 0.000126},
    {84.66f, 18.206239, widen(0.000110f)},
    {141.74f, 53.303771, 0.000062},
    {207.14f, 2.453732, widen(0.000060f)},
    {154.84f, widen(7.306860f), 0.000056},
    {34.52f, 27.261239, 0.000047},
    {207.19f, 0.121824, 0.000042},
    {291.34f, 1.844379, widen(0.000040f)},
    {161.72f, 24.198154, 0.000037},
    {239.56f, 25.513099, 0.000035},
    {331.55f, 3.592518, 0.000023},
};
// clang-format on
static_assert(std::size(PlanetaryTerms) == 14);

struct Arguments {
    double T;
    double E;
    double M;
    double Mprime;
    double F;
    double Omega;
};

Arguments argumentsFor(double k)
{
    Arguments a{};
    a.T = k / widen(1236.85f);
    a.E = eccentricityFactor(a.T);
    a.M = sunMeanAnomaly(k, a.T);
    a.Mprime = moonMeanAnomaly(k, a.T);
    a.F = moonArgumentOfLatitude(k, a.T);
    a.Omega = moonNodeLongitude(k, a.T);
    return a;
}

// Sum of the terms of one phase group onto the mean phase, in table order.
template <std::size_t N>
double addPeriodicTerms(double jde, const PhaseTerm (&terms)[N], bool fullMoonColumn,
                        const Arguments& a)
{
    for (const PhaseTerm& term : terms) {
        const double argument =
            term.mPrime * a.Mprime + term.m * a.M + term.f * a.F + term.omega * a.Omega;
        double factor = widen(fullMoonColumn ? term.fullMoon : term.newMoon);
        for (int p = 0; p < term.ePower; ++p) {
            factor *= a.E;
        }
        jde += factor * sinDeg(argument);
    }
    return jde;
}

enum class PhaseGroup { NewMoon, FullMoon, Quarter };

// The instant of one phase: k becomes floor(k) + fraction.
double phaseInstant(double& k, PhaseGroup group, double fraction)
{
    k = std::floor(k) + fraction;
    const Arguments a = argumentsFor(k);
    double jde = meanPhaseJde(k, a.T);

    if (group == PhaseGroup::NewMoon) {
        jde = addPeriodicTerms(jde, NewAndFullMoonTerms, false, a);
    } else if (group == PhaseGroup::FullMoon) {
        jde = addPeriodicTerms(jde, NewAndFullMoonTerms, true, a);
    } else {
        jde = addPeriodicTerms(jde, QuarterTerms, false, a);
        const double W =
            widen(0.00306f) - widen(0.00038f) * a.E * cosDeg(a.M) +
            widen(0.00026f) * cosDeg(a.Mprime) - widen(0.00002f) * cosDeg(a.Mprime - a.M) +
            widen(0.00002f) * cosDeg(a.Mprime + a.M) + widen(0.00002f) * cosDeg(2 * a.F);
        jde = fraction == FirstQuarterFraction ? jde + W : jde - W;
    }
    return additionalCorrections(jde, a.T, k);
}

// The most the terms of a phase group can move an instant: coefficient sums by power of E, W's
// included for the quarters, and the sum of the planetary amplitudes.
struct TermReach {
    double byPowerOfE[3];
};

constexpr double magnitude(double value)
{
    return value < 0 ? -value : value;
}

template <std::size_t N>
constexpr TermReach reachOf(const PhaseTerm (&terms)[N], bool fullMoonColumn)
{
    TermReach reach{};
    for (const PhaseTerm& term : terms) {
        reach.byPowerOfE[term.ePower] +=
            magnitude(widen(fullMoonColumn ? term.fullMoon : term.newMoon));
    }
    return reach;
}

constexpr TermReach withQuarterCorrection(TermReach reach)
{
    // |W| <= 0.00306 + 0.00038 |E| + 0.00026 + 3 * 0.00002.
    reach.byPowerOfE[0] += widen(0.00306f) + widen(0.00026f) + 3 * widen(0.00002f);
    reach.byPowerOfE[1] += widen(0.00038f);
    return reach;
}

constexpr double planetaryReach()
{
    double sum = 0.0;
    for (const PlanetaryTerm& term : PlanetaryTerms) {
        sum += term.amplitude;
    }
    return sum;
}

constexpr TermReach NewMoonReach = reachOf(NewAndFullMoonTerms, false);
constexpr TermReach FullMoonReach = reachOf(NewAndFullMoonTerms, true);
constexpr TermReach QuarterReach = withQuarterCorrection(reachOf(QuarterTerms, false));
constexpr double PlanetaryReach = planetaryReach();

// Distance from the instant to the start of its calendar day (the search margins): an event up
// to 1 h 30 min (New/Full Moon) or 58 min 30 s (quarters) before midnight still counts.
constexpr double SyzygyMargin = 0.4375;
constexpr double QuarterMargin = 0.459375;

// Steps one day at a time from 1.25 lunations before the date until the phase's instant, less
// the margin, is no earlier than the midnight that begins the day of `now`. A lunation whose
// instant lies on one side of that midnight whatever its terms add is decided without them.
double nextPhase(std::int32_t year, const SystemTime& date, double now, PhaseGroup group,
                 double fraction, double margin, int* passes)
{
    const double midnight = std::trunc(now);
    OncePerLunation instant(
        [group, fraction](double kk) { return phaseInstant(kk, group, fraction); });
    const auto lessMargin = [margin](double jde) { return jde - margin; };
    const auto startsTooLate = [&](double kk) {
        return atOrAfterMidnight(midnight, phaseInstantRange(kk, fraction), lessMargin,
                                 [&] { return instant(kk); });
    };
    const auto stopsAt = [&](double kk) -> std::optional<double> {
        if (midnight > lessMargin(phaseInstantRange(kk, fraction).latest)) {
            return std::nullopt;
        }
        const double jde = instant(kk);
        if (midnight > lessMargin(jde)) {
            return std::nullopt;
        }
        return jde;
    };
    const SearchResult found = searchLunations(year, date, startsTooLate, stopsAt);
    if (passes != nullptr) {
        *passes = found.passes;
    }
    return dayNumberOfJulianDay(found.instant);
}

}  // namespace

double sinDeg(double angleDeg)
{
    return std::sin(angleDeg * DegreesToRadians);
}

double cosDeg(double angleDeg)
{
    return std::cos(angleDeg * DegreesToRadians);
}

SineCosine sinCosDeg(double angleDeg)
{
    const double radians = angleDeg * DegreesToRadians;
#if defined(__GLIBC__) || defined(__MINGW32__)
    // glibc's sincos runs the argument reduction and the kernels of its sin and cos; mingw-w64's
    // is the x87 fsincos beside the fsin and fcos of its sin and cos. Both give the same bits as
    // the two separate calls (the tests check that).
    SineCosine result{};
    ::sincos(radians, &result.sine, &result.cosine);
    return result;
#else
    return {std::sin(radians), std::cos(radians)};
#endif
}

double eccentricityFactor(double T)
{
    return 1 - 0.002516 * T - 0.0000074 * T * T;
}

double sunMeanAnomaly(double k, double T)
{
    return widen(2.5534f) + 29.10535669 * k - 0.0000218 * T * T - 0.00000011 * T * T * T;
}

double moonMeanAnomaly(double k, double T)
{
    const double T2 = T * T;
    return 201.5643 + 385.81693528 * k + 0.1017438 * T2 + 0.00001239 * T2 * T -
           0.000000058 * T2 * T2;
}

double moonArgumentOfLatitude(double k, double T)
{
    const double T2 = T * T;
    return 160.7108 + 390.67050274 * k - 0.0016341 * T2 - 0.00000227 * T2 * T +
           0.000000011 * T2 * T2;
}

double moonNodeLongitude(double k, double T)
{
    const double T2 = T * T;
    return 124.7746 - 1.5637558 * k + 0.0020691 * T2 + 0.00000215 * T2 * T;
}

double meanPhaseJde(double k, double T)
{
    const double T2 = T * T;
    return 2451550.09765 + 29.530588853 * k + 0.0001337 * T2 - 0.00000015 * T2 * T +
           0.00000000073 * T2 * T2;
}

double approximateLunation(std::int32_t year, const SystemTime& date, std::int32_t dayOffset)
{
    const double dayOfYear =
        (date.wMonth - 1.0) * widen(30.4f) + date.wDay + static_cast<double>(dayOffset);
    return widen(12.3685f) * (year + dayOfYear / 365.0 - 2000.0);
}

double newMoonInstant(double& k)
{
    return phaseInstant(k, PhaseGroup::NewMoon, NewMoonFraction);
}

double quarterInstant(double& k, double phaseFraction)
{
    return phaseInstant(k, PhaseGroup::Quarter, phaseFraction);
}

double fullMoonInstant(double& k)
{
    return phaseInstant(k, PhaseGroup::FullMoon, FullMoonFraction);
}

namespace {

// The lunation number whose mean New Moon (eq. 49.1) falls on the instant: the mean synodic
// month, then one step of Newton's method for the T^2..T^4 terms (days only thousands of years
// away).
double meanLunation(double jde)
{
    constexpr double SynodicMonthDays = 29.530588853;
    const double k = (jde - meanPhaseJde(0.0, 0.0)) / SynodicMonthDays;
    return k - (meanPhaseJde(k, k / widen(1236.85f)) - jde) / SynodicMonthDays;
}

}  // namespace

double nearestFullMoon(double jde)
{
    // The periodic terms move a Full Moon by less than two thirds of a day from its mean, so the
    // nearest is that of the lunation whose mean Full Moon comes last before the instant, or of
    // the next one.
    const double k = meanLunation(jde);
    double before = std::floor(k - FullMoonFraction);
    double after = before + 1;
    const double earlier = fullMoonInstant(before);
    const double later = fullMoonInstant(after);
    return jde - earlier <= later - jde ? earlier : later;
}

double lunationBefore(double jde)
{
    // The New Moon lies within two thirds of a day of its mean, the Full Moon half a lunation
    // after it: one lunation back covers both.
    return std::floor(meanLunation(jde)) - 1;
}

double additionalCorrections(double& jde, double T, double k)
{
    for (std::size_t i = 0; i < std::size(PlanetaryTerms); ++i) {
        const PlanetaryTerm& term = PlanetaryTerms[i];
        double angle = widen(term.constant) + term.rate * k;
        if (i == 0) {
            angle -= 0.009173 * T * T;
        }
        jde += term.amplitude * sinDeg(angle);
    }
    return jde;
}

InstantRange phaseInstantRange(double k, double phaseFraction)
{
    k = std::floor(k) + phaseFraction;
    const double T = k / widen(1236.85f);
    const double mean = meanPhaseJde(k, T);
    const double E = std::fabs(eccentricityFactor(T));
    const TermReach& terms = phaseFraction == NewMoonFraction    ? NewMoonReach
                             : phaseFraction == FullMoonFraction ? FullMoonReach
                                                                 : QuarterReach;
    const double sum =
        terms.byPowerOfE[0] + E * (terms.byPowerOfE[1] + E * terms.byPowerOfE[2]) + PlanetaryReach;
    // The series starts from this very mean (the same function of the same k and T) and adds at
    // most 40 terms. Each addition rounds by at most 2^-53 of a number below |mean| + sum, and
    // each term is rounded by a few 2^-53 of itself: 2^-40 of |mean| and 2^-30 of the sum cover
    // all of that a hundred times over. No sine or cosine exceeds 1 in magnitude.
    const double reach = sum * (1 + 0x1p-30) + std::fabs(mean) * 0x1p-40;
    return {mean - reach, mean + reach};
}

double nextNewMoon(std::int32_t year, const SystemTime& date, double now, int* passes)
{
    return nextPhase(year, date, now, PhaseGroup::NewMoon, NewMoonFraction, SyzygyMargin, passes);
}

double nextFirstQuarter(std::int32_t year, const SystemTime& date, double now, int* passes)
{
    return nextPhase(year, date, now, PhaseGroup::Quarter, FirstQuarterFraction, QuarterMargin,
                     passes);
}

double nextFullMoon(std::int32_t year, const SystemTime& date, double now, int* passes)
{
    return nextPhase(year, date, now, PhaseGroup::FullMoon, FullMoonFraction, SyzygyMargin, passes);
}

double nextLastQuarter(std::int32_t year, const SystemTime& date, double now, int* passes)
{
    return nextPhase(year, date, now, PhaseGroup::Quarter, LastQuarterFraction, QuarterMargin,
                     passes);
}

}  // namespace astro
