#include "astro/eclipses.hpp"

#include "astro/lunar_phases.hpp"
#include "astro/series.hpp"
#include "astro/time_scale.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <optional>

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

// clang-format off
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
// clang-format on
static_assert(std::size(EclipseTerms) == 16);

// The angles whose sines or cosines P, Q, gamma and u need as well as the time corrections, as
// multiples of M', M, F1, A1 and Omega like the rows above. Each of their sines and cosines is
// evaluated once per lunation and shared; the time corrections take the sines of the rows that
// are one of them from here.
enum SharedAngle : std::size_t {
    SharedM,
    Shared2M,
    SharedMp,
    Shared2Mp,
    SharedMpPlusM,
    SharedMpMinusM,
    SharedF1,
    Shared2F1,
    SharedOmega,
    SharedAngleCount
};

struct AngleMultiples {
    std::int8_t mPrime;
    std::int8_t m;
    std::int8_t f1;
    std::int8_t a1;
    std::int8_t omega;
    bool cosineToo;  // P and the time corrections need the sine; Q, gamma and u the cosine
};

// clang-format off
constexpr AngleMultiples SharedAngles[] = {
    // M'  M  F1  A1  Om  cosine
    {0, 1, 0, 0, 0, true},
    {0, 2, 0, 0, 0, true},
    {1, 0, 0, 0, 0, true},
    {2, 0, 0, 0, 0, true},
    {1, 1, 0, 0, 0, true},
    {1, -1, 0, 0, 0, true},
    {0, 0, 1, 0, 0, true},
    {0, 0, 2, 0, 0, false},
    {0, 0, 0, 0, 1, false},
};
// clang-format on
static_assert(std::size(SharedAngles) == SharedAngleCount);

constexpr int NotShared = -1;

// For each time-correction row, its shared angle or NotShared.
constexpr std::array<int, std::size(EclipseTerms)> sharedAnglesOfTerms()
{
    std::array<int, std::size(EclipseTerms)> rows{};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const EclipseTerm& term = EclipseTerms[row];
        rows[row] = NotShared;
        for (std::size_t angle = 0; angle < std::size(SharedAngles); ++angle) {
            const AngleMultiples& shared = SharedAngles[angle];
            if (term.mPrime == shared.mPrime && term.m == shared.m && term.f1 == shared.f1 &&
                term.a1 == shared.a1 && term.omega == shared.omega) {
                rows[row] = static_cast<int>(angle);
            }
        }
    }
    return rows;
}
constexpr auto SharedAngleOfTerm = sharedAnglesOfTerms();
static_assert(SharedAngleOfTerm[0] == SharedMp && SharedAngleOfTerm[15] == SharedOmega);

// The fundamental arguments of one lunation in degrees.
struct EclipseArguments {
    double Mp;
    double M;
    double F1;
    double A1;
    double Omega;
};

// The argument of a row in degrees. Multiples of 0 add nothing and multiples of 1 and 2 are
// exact, so an angle comes out bit for bit as written out (2 * M, Mp - M, ...).
double argumentOf(int mPrime, int m, int f1, int a1, int omega, const EclipseArguments& a)
{
    return mPrime * a.Mp + m * a.M + f1 * a.F1 + a1 * a.A1 + omega * a.Omega;
}

// sin F = 0.36 at F = 21.1002 degrees: |sin F| > 0.36 for F between the limit and 180 minus it,
// modulo 180.
constexpr double NodeLimitDeg = 21.10019690261886;  // asin(0.36f), degrees
// F reduced to a half turn is off by less than 1e-6 degree for any |F| below 1e9 degrees (k about
// 2.5 million), and a ten-thousandth of a degree from a limit the sine differs from 0.36 by
// 1.6e-6, far more than any rounding of sinDeg.
constexpr double NodeLimitMargin = 1e-4;  // degrees
constexpr double ReducibleLimit = 1e9;    // degrees

}  // namespace

bool moonTooFarFromNode(double F)
{
    // Where F reduced to a half turn lies clearly on one side of a limit, the answer needs no
    // sine; near the limits the sine decides, as the test is written.
    if (std::fabs(F) < ReducibleLimit) {
        const double halfTurn = F - 180 * std::floor(F / 180);
        if (halfTurn > NodeLimitDeg + NodeLimitMargin &&
            halfTurn < 180 - NodeLimitDeg - NodeLimitMargin) {
            return true;
        }
        if (halfTurn < NodeLimitDeg - NodeLimitMargin ||
            halfTurn > 180 - NodeLimitDeg + NodeLimitMargin) {
            return false;
        }
    }
    return std::fabs(sinDeg(F)) > widen(0.36f);
}

namespace {

// Limits in Earth radii.
constexpr double CentralLimit = widen(0.9972f);    // |gamma| of a central solar eclipse
constexpr double SolarLimit = widen(1.5433f);      // beyond 1.5433 + u: no solar eclipse
constexpr double PenumbralLimit = widen(1.0248f);  // lunar: magnitude m > 0
constexpr double UmbralLimit = widen(1.0128f);     // lunar: umbral magnitude U > 0
constexpr double TotalityLimit = widen(0.4678f);   // lunar: totality test
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

// The Moon's penumbra in the plane through the Earth's centre is 0.5461 Earth radii wider than its
// umbra; the lunar penumbral limit (penumbra 1.2848 + u plus the Moon's radius 0.2725).
constexpr double PenumbraWidening = widen(0.5461f);
constexpr double LunarPenumbralLimit = widen(1.5573f);

// Mean half-angles of the Moon's penumbral and umbral cones (tan f1, tan f2 of the Besselian
// elements; they vary by some 0.2 % over the year).
constexpr double PenumbralConeSlope = 0.004664;
constexpr double UmbralConeSlope = 0.004640;

// How far below 0 the series' penumbral magnitude of a Full Moon may lie for the true positions
// still to be asked. The series' shadow is some 0.026 larger in penumbral magnitude than the
// one the true positions use, and its gamma is good to a few thousandths of an Earth radius:
// 0.05 leaves no grazing eclipse to the series' limit.
constexpr double LunarCandidateMargin = 0.05;

double nextEclipse(std::int32_t year, const SystemTime& date, double now, double fraction,
                   EclipseKind kind, int* passes)
{
    const double midnight = std::trunc(now);
    // The start lunation's New or Full Moon must lie a day before that midnight, so that no
    // eclipse of it can be the answer (greatest eclipse and syzygy differ by less than an hour).
    const auto startsTooLate = [midnight, fraction](double kk) {
        const auto syzygy = [fraction, kk] {
            double k = kk;
            return fraction == 0 ? newMoonInstant(k) : fullMoonInstant(k);
        };
        return atOrAfterMidnight(
            midnight, phaseInstantRange(kk, fraction == 0 ? NewMoonFraction : FullMoonFraction),
            [](double jde) { return jde - EclipseMargin + 1.0; }, syzygy);
    };
    // A lunation without an eclipse of the kind answers NoEclipse and is stepped over; there is
    // always a next eclipse of every kind, so the search ends (after a few thousand passes at
    // most).
    const auto stopsAt = [midnight, fraction, kind](double kk) -> std::optional<double> {
        const double jde = eclipseInstant(kk, fraction, kind);
        if (jde == NoEclipse || midnight > jde - EclipseMargin) {
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

bool eclipseElements(double& k, double phaseFraction, EclipseElements& elements)
{
    k = std::floor(k) + phaseFraction;
    const double T = k / widen(1236.85f);

    const double F = moonArgumentOfLatitude(k, T);
    if (moonTooFarFromNode(F)) {
        return false;
    }

    EclipseArguments a{};
    a.Omega = moonNodeLongitude(k, T);
    const double sinOmega = sinDeg(a.Omega);
    a.F1 = F - widen(0.02665f) * sinOmega;
    a.A1 = widen(299.77f) + 0.107408 * k - 0.009173 * T * T;
    const double E = eccentricityFactor(T);
    a.M = sunMeanAnomaly(k, T);
    a.Mp = moonMeanAnomaly(k, T);

    std::array<double, SharedAngleCount> sines{};
    std::array<double, SharedAngleCount> cosines{};
    for (std::size_t angle = 0; angle < SharedAngleCount; ++angle) {
        const AngleMultiples& shared = SharedAngles[angle];
        const double argument =
            argumentOf(shared.mPrime, shared.m, shared.f1, shared.a1, shared.omega, a);
        if (angle == SharedOmega) {
            sines[angle] = sinOmega;
        } else if (shared.cosineToo) {
            const SineCosine both = sinCosDeg(argument);
            sines[angle] = both.sine;
            cosines[angle] = both.cosine;
        } else {
            sines[angle] = sinDeg(argument);
        }
    }

    const double P = widen(0.2070f) * E * sines[SharedM] + widen(0.0024f) * E * sines[Shared2M] -
                     widen(0.0392f) * sines[SharedMp] + widen(0.0116f) * sines[Shared2Mp] -
                     widen(0.0073f) * E * sines[SharedMpPlusM] +
                     widen(0.0067f) * E * sines[SharedMpMinusM] + widen(0.0118f) * sines[Shared2F1];
    const double Q = widen(5.2207f) - widen(0.0048f) * E * cosines[SharedM] +
                     widen(0.0020f) * E * cosines[Shared2M] - widen(0.3299f) * cosines[SharedMp] -
                     widen(0.0060f) * E * cosines[SharedMpPlusM] +
                     widen(0.0041f) * E * cosines[SharedMpMinusM];
    const double W = std::fabs(cosines[SharedF1]);
    elements.gamma = (P * cosines[SharedF1] + Q * sines[SharedF1]) * (1 - widen(0.0048f) * W);
    elements.u = widen(0.0059f) + widen(0.0046f) * E * cosines[SharedM] -
                 widen(0.0182f) * cosines[SharedMp] + widen(0.0004f) * cosines[Shared2Mp] -
                 widen(0.0005f) * cosines[SharedMpPlusM];

    const bool solar = phaseFraction == 0;
    double jde = meanPhaseJde(k, T);
    for (std::size_t row = 0; row < std::size(EclipseTerms); ++row) {
        const EclipseTerm& term = EclipseTerms[row];
        const int shared = SharedAngleOfTerm[row];
        const double sine =
            shared != NotShared
                ? sines[static_cast<std::size_t>(shared)]
                : sinDeg(argumentOf(term.mPrime, term.m, term.f1, term.a1, term.omega, a));
        double factor = widen(solar ? term.solar : term.lunar);
        for (int p = 0; p < term.ePower; ++p) {
            factor *= E;
        }
        jde += factor * sine;
    }
    elements.jde = jde;
    return true;
}

double eclipseInstant(double& k, double phaseFraction, EclipseKind kind)
{
    EclipseElements e{};
    if (!eclipseElements(k, phaseFraction, e)) {
        return NoEclipse;
    }
    return phaseFraction == 0 ? classifySolar(e.jde, e.gamma, e.u, kind)
                              : classifyLunar(e.jde, e.gamma, e.u, kind);
}

bool solarEclipseKind(const EclipseElements& elements, SolarEclipseKind& kind)
{
    const double absGamma = std::fabs(elements.gamma);
    if (absGamma > SolarLimit + elements.u) {
        return false;
    }
    if (absGamma <= CentralLimit || absGamma < CentralLimit + std::fabs(elements.u)) {
        kind = elements.u < 0 ? SolarEclipseKind::Total : SolarEclipseKind::Annular;
    } else {
        kind = SolarEclipseKind::Partial;
    }
    return true;
}

double solarEclipseMagnitude(const EclipseElements& elements)
{
    const double absGamma = std::fabs(elements.gamma);
    const double u = elements.u;
    if (absGamma > CentralLimit) {
        return (SolarLimit + u - absGamma) / (PenumbraWidening + 2 * u);
    }
    // The axis meets the surface zeta Earth radii nearer the Moon than the plane through the
    // centre; there the penumbra is narrower and the umbra (u < 0) wider.
    const double zeta = std::sqrt(1 - absGamma * absGamma);
    const double penumbra = PenumbraWidening + u - zeta * PenumbralConeSlope;
    const double umbra = u - zeta * UmbralConeSlope;
    return (penumbra - umbra) / (penumbra + umbra);
}

bool lunarEclipsePossible(const EclipseElements& elements)
{
    const double penumbralMagnitude =
        (LunarPenumbralLimit + elements.u - std::fabs(elements.gamma)) / MagnitudeScale;
    return penumbralMagnitude > -LunarCandidateMargin;
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
