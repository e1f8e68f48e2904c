#include "astro/eclipses.hpp"

#include "astro/lunar_phases.hpp"
#include "astro/series.hpp"

#include <cmath>
#include <iterator>

namespace astro {
namespace {

// Time corrections of greatest eclipse (Meeus, chapter 54). The argument of a term is
// mPrime * M' + m * M + f1 * F1 + a1 * A1 + omega * Omega; the term is
// coefficient * E^ePower * sin(argument). Only the first two rows differ between solar and lunar.
struct EclipseTerm {
    std::int8_t mPrime;
    std::int8_t m;
    std::int8_t f1;
    std::int8_t a1;
    std::int8_t omega;
    std::int8_t ePower;
    float solar;  // days
    float lunar;  // days
};

constexpr EclipseTerm EclipseTerms[] = {
    // M'  M  F1  A1  Om  E^p   solar     lunar
    {1, 0, 0, 0, 0, 0, -0.4075f, -0.4065f},
    {0, 1, 0, 0, 0, 1, +0.1721f, +0.1727f},
    {2, 0, 0, 0, 0, 0, +0.0161f, +0.0161f},
    {0, 0, 2, 0, 0, 0, -0.0097f, -0.0097f},
    {1, -1, 0, 0, 0, 1, +0.0073f, +0.0073f},
    {1, 1, 0, 0, 0, 1, -0.0050f, -0.0050f},
    {1, 0, -2, 0, 0, 0, -0.0023f, -0.0023f},
    {0, 2, 0, 0, 0, 1, +0.0021f, +0.0021f},
    {1, 0, 2, 0, 0, 0, +0.0012f, +0.0012f},
    {2, 1, 0, 0, 0, 1, +0.0006f, +0.0006f},
    {3, 0, 0, 0, 0, 0, -0.0004f, -0.0004f},
    {0, 1, 2, 0, 0, 1, -0.0003f, -0.0003f},
    {0, 0, 0, 1, 0, 0, +0.0003f, +0.0003f},
    {0, 1, -2, 0, 0, 1, -0.0002f, -0.0002f},
    {2, -1, 0, 0, 0, 1, -0.0002f, -0.0002f},
    {0, 0, 0, 0, 1, 0, -0.0002f, -0.0002f},
};
static_assert(std::size(EclipseTerms) == 16);

// Limits in Earth radii.
constexpr double CentralLimit = widen(0.9972f);       // |gamma| of a central solar eclipse
constexpr double SolarLimit = widen(1.5433f);         // beyond 1.5433 + u: no solar eclipse
constexpr double PenumbralLimit = widen(1.0248f);     // lunar: magnitude m > 0
constexpr double UmbralLimit = widen(1.0128f);        // lunar: umbral magnitude U > 0
constexpr double TotalityLimit = widen(0.4678f);      // lunar: totality test
constexpr double MagnitudeScale = widen(0.5450f);

// Distance from greatest eclipse to the start of its calendar day that still counts for "today".
constexpr double EclipseMargin = 0.4375;

double classifyLunar(double jde, double gamma, double u, EclipseKind kind)
{
    const double absGamma = std::fabs(gamma);
    const double magnitude = (PenumbralLimit - u - absGamma) / MagnitudeScale;
    if (magnitude <= 0) {
        return NoEclipse;
    }
    const double umbralMagnitude = (UmbralLimit - u - absGamma) / MagnitudeScale;
    const double totality = (TotalityLimit - u) * (TotalityLimit - u) - gamma * gamma;
    const bool total = umbralMagnitude > 0 && totality > 0;
    switch (kind) {
    case EclipseKind::Partial:
        return total ? NoEclipse : jde;
    case EclipseKind::Total:
        return total ? jde : NoEclipse;
    case EclipseKind::Annular:
        break;
    }
    // No lunar eclipse is annular; answering for any eclipse keeps a search for it finite.
    return jde;
}

double classifySolar(double jde, double gamma, double u, EclipseKind kind)
{
    const double absGamma = std::fabs(gamma);
    if (absGamma > SolarLimit + u) {
        return NoEclipse;
    }
    if (kind == EclipseKind::Partial) {
        // Central eclipses, and the non-central total or annular ones between 0.9972 and
        // 0.9972 + |u|, are not partial.
        if (absGamma <= CentralLimit || absGamma < CentralLimit + std::fabs(u)) {
            return NoEclipse;
        }
        return jde;
    }
    if (absGamma > CentralLimit) {
        return NoEclipse;
    }
    const bool annular = u >= 0;
    if (kind == EclipseKind::Annular) {
        return annular ? jde : NoEclipse;
    }
    return annular ? NoEclipse : jde;
}

double nextEclipse(std::int32_t year, const SystemTime& date, double now, double fraction,
                   EclipseKind kind, int* passes)
{
    const double midnight = std::trunc(now);
    // The start lunation's New or Full Moon must lie a day before that midnight, so that no
    // eclipse of it can be the answer (greatest eclipse and syzygy differ by less than an hour).
    std::int32_t offset = earliestStartOffset(year, date, midnight, [&](double kk) {
        const double syzygy = fraction == 0 ? newMoonInstant(kk) : fullMoonInstant(kk);
        return syzygy - EclipseMargin + 1.0;
    });
    double jde = NoEclipse;
    int count = 0;
    // A lunation without an eclipse of the kind answers NoEclipse and is stepped over; there is
    // always a next eclipse of every kind, so the loop ends (after a few thousand passes at most).
    do {
        double kk = approximateLunation(year, date, offset) - 1.25;
        ++offset;
        ++count;
        jde = eclipseInstant(kk, fraction, kind);
    } while (jde == NoEclipse || midnight > jde - EclipseMargin);
    if (passes != nullptr) {
        *passes = count;
    }
    return jde - 0.5;
}

}  // namespace

double eclipseInstant(double& k, double phaseFraction, EclipseKind kind)
{
    k = std::floor(k) + phaseFraction;
    const double T = k / widen(1236.85f);

    const double F = moonArgumentOfLatitude(k, T);
    if (std::fabs(sinDeg(F)) > widen(0.36f)) {
        return NoEclipse;  // the Moon is too far from its node
    }

    const double Omega = moonNodeLongitude(k, T);
    const double F1 = F - widen(0.02665f) * sinDeg(Omega);
    const double A1 = widen(299.77f) + 0.107408 * k - 0.009173 * T * T;
    const double E = eccentricityFactor(T);
    const double M = sunMeanAnomaly(k, T);
    const double Mp = moonMeanAnomaly(k, T);

    const double P = widen(0.2070f) * E * sinDeg(M) + widen(0.0024f) * E * sinDeg(2 * M) -
                     widen(0.0392f) * sinDeg(Mp) + widen(0.0116f) * sinDeg(2 * Mp) -
                     widen(0.0073f) * E * sinDeg(Mp + M) + widen(0.0067f) * E * sinDeg(Mp - M) +
                     widen(0.0118f) * sinDeg(2 * F1);
    const double Q = widen(5.2207f) - widen(0.0048f) * E * cosDeg(M) +
                     widen(0.0020f) * E * cosDeg(2 * M) - widen(0.3299f) * cosDeg(Mp) -
                     widen(0.0060f) * E * cosDeg(Mp + M) + widen(0.0041f) * E * cosDeg(Mp - M);
    const double W = std::fabs(cosDeg(F1));
    const double gamma = (P * cosDeg(F1) + Q * sinDeg(F1)) * (1 - widen(0.0048f) * W);
    const double u = widen(0.0059f) + widen(0.0046f) * E * cosDeg(M) -
                     widen(0.0182f) * cosDeg(Mp) + widen(0.0004f) * cosDeg(2 * Mp) -
                     widen(0.0005f) * cosDeg(Mp + M);

    const bool solar = phaseFraction == 0;
    double jde = meanPhaseJde(k, T);
    for (const EclipseTerm& term : EclipseTerms) {
        const double argument = term.mPrime * Mp + term.m * M + term.f1 * F1 + term.a1 * A1 +
                                term.omega * Omega;
        double factor = widen(solar ? term.solar : term.lunar);
        for (int p = 0; p < term.ePower; ++p) {
            factor *= E;
        }
        jde += factor * sinDeg(argument);
    }

    return solar ? classifySolar(jde, gamma, u, kind) : classifyLunar(jde, gamma, u, kind);
}

double nextLunarEclipse(std::int32_t year, const SystemTime& date, double now, EclipseKind kind,
                        int* passes)
{
    return nextEclipse(year, date, now, FullMoonFraction, kind, passes);
}

double nextSolarEclipse(std::int32_t year, const SystemTime& date, double now, EclipseKind kind,
                        int* passes)
{
    return nextEclipse(year, date, now, NewMoonFraction, kind, passes);
}

}  // namespace astro
