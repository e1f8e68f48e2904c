#include "astro/apsides.hpp"

#include "astro/time_scale.hpp"

#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>
#include <span>

namespace astro {
namespace {

// A periodic term of Meeus, chapter 50: (coefficient + perT * T) times the sine (instant) or the
// cosine (parallax) of d * D + m * M + f * F. The book prints every coefficient to the digits
// written here; none is kept in single precision.
struct ApsisTerm {
    std::int8_t d;
    std::int8_t m;
    std::int8_t f;
    double coefficient;  // days (instant) or arcseconds (parallax)
    double perT;         // its change per unit of T
};

// Table 50.A, the instant of perigee, days.
// clang-format off
constexpr ApsisTerm PerigeeInstantTerms[] = {
    // D  M  F  coefficient  per T
    {2, 0, 0, -1.6769, 0},
    {4, 0, 0, +0.4589, 0},
    {6, 0, 0, -0.1856, 0},
    {8, 0, 0, +0.0883, 0},
    {2, -1, 0, -0.0773, +0.00019},
    {0, 1, 0, +0.0502, -0.00013},
    {10, 0, 0, -0.0460, 0},
    {4, -1, 0, +0.0422, -0.00011},
    {6, -1, 0, -0.0256, 0},
    {12, 0, 0, +0.0253, 0},
    {1, 0, 0, +0.0237, 0},
    {8, -1, 0, +0.0162, 0},
    {14, 0, 0, -0.0145, 0},
    {0, 0, 2, +0.0129, 0},
    {3, 0, 0, -0.0112, 0},
    {10, -1, 0, -0.0104, 0},
    {16, 0, 0, +0.0086, 0},
    {12, -1, 0, +0.0069, 0},
    {5, 0, 0, +0.0066, 0},
    {2, 0, 2, -0.0053, 0},
    {18, 0, 0, -0.0052, 0},
    {14, -1, 0, -0.0046, 0},
    {7, 0, 0, -0.0041, 0},
    {2, 1, 0, +0.0040, 0},
    {20, 0, 0, +0.0032, 0},
    {1, 1, 0, -0.0032, 0},
    {16, -1, 0, +0.0031, 0},
    {4, 1, 0, -0.0029, 0},
    {9, 0, 0, +0.0027, 0},
    {4, 0, 2, +0.0027, 0},
    {2, -2, 0, -0.0027, 0},
    {4, -2, 0, +0.0024, 0},
    {6, -2, 0, -0.0021, 0},
    {22, 0, 0, -0.0021, 0},
    {18, -1, 0, -0.0021, 0},
    {6, 1, 0, +0.0019, 0},
    {11, 0, 0, -0.0018, 0},
    {8, 1, 0, -0.0014, 0},
    {4, 0, -2, -0.0014, 0},
    {6, 0, 2, -0.0014, 0},
    {3, 1, 0, +0.0014, 0},
    {5, 1, 0, -0.0014, 0},
    {13, 0, 0, +0.0013, 0},
    {20, -1, 0, +0.0013, 0},
    {3, 2, 0, +0.0011, 0},
    {4, -2, 2, -0.0011, 0},
    {1, 2, 0, -0.0010, 0},
    {22, -1, 0, -0.0009, 0},
    {0, 0, 4, -0.0008, 0},
    {6, 0, -2, +0.0008, 0},
    {2, 1, -2, +0.0008, 0},
    {0, 2, 0, +0.0007, 0},
    {0, -1, 2, +0.0007, 0},
    {2, 0, 4, +0.0007, 0},
    {0, -2, 2, -0.0006, 0},
    {2, 2, -2, -0.0006, 0},
    {24, 0, 0, +0.0006, 0},
    {4, 0, -4, +0.0005, 0},
    {2, 2, 0, +0.0005, 0},
    {1, -1, 0, -0.0004, 0},
};
// clang-format on
static_assert(std::size(PerigeeInstantTerms) == 60);

// Table 50.A, the instant of apogee, days.
// clang-format off
constexpr ApsisTerm ApogeeInstantTerms[] = {
    // D  M  F  coefficient  per T
    {2, 0, 0, +0.4392, 0},
    {4, 0, 0, +0.0684, 0},
    {0, 1, 0, +0.0456, -0.00011},
    {2, -1, 0, +0.0426, -0.00011},
    {0, 0, 2, +0.0212, 0},
    {1, 0, 0, -0.0189, 0},
    {6, 0, 0, +0.0144, 0},
    {4, -1, 0, +0.0113, 0},
    {2, 0, 2, +0.0047, 0},
    {1, 1, 0, +0.0036, 0},
    {8, 0, 0, +0.0035, 0},
    {6, -1, 0, +0.0034, 0},
    {2, 0, -2, -0.0034, 0},
    {2, -2, 0, +0.0022, 0},
    {3, 0, 0, -0.0017, 0},
    {4, 0, 2, +0.0013, 0},
    {8, -1, 0, +0.0011, 0},
    {4, -2, 0, +0.0010, 0},
    {10, 0, 0, +0.0009, 0},
    {3, 1, 0, +0.0007, 0},
    {0, 2, 0, +0.0006, 0},
    {2, 1, 0, +0.0005, 0},
    {2, 2, 0, +0.0005, 0},
    {6, 0, 2, +0.0004, 0},
    {6, -2, 0, +0.0004, 0},
    {10, -1, 0, +0.0004, 0},
    {5, 0, 0, -0.0004, 0},
    {4, 0, -2, -0.0004, 0},
    {0, 1, 2, +0.0003, 0},
    {12, 0, 0, +0.0003, 0},
    {2, -1, 2, +0.0003, 0},
    {1, -1, 0, -0.0003, 0},
};
// clang-format on
static_assert(std::size(ApogeeInstantTerms) == 32);

// Table 50.B, the parallax at perigee, arcseconds, after the constant 3629.215".
// clang-format off
constexpr ApsisTerm PerigeeParallaxTerms[] = {
    // D  M  F  coefficient  per T
    {2, 0, 0, +63.224, 0},
    {4, 0, 0, -6.990, 0},
    {2, -1, 0, +2.834, -0.0071},
    {6, 0, 0, +1.927, 0},
    {1, 0, 0, -1.263, 0},
    {8, 0, 0, -0.702, 0},
    {0, 1, 0, +0.696, -0.0017},
    {0, 0, 2, -0.690, 0},
    {4, -1, 0, -0.629, +0.0016},
    {2, 0, -2, -0.392, 0},
    {10, 0, 0, +0.297, 0},
    {6, -1, 0, +0.260, 0},
    {3, 0, 0, +0.201, 0},
    {2, 1, 0, -0.161, 0},
    {1, 1, 0, +0.157, 0},
    {12, 0, 0, -0.138, 0},
    {8, -1, 0, -0.127, 0},
    {2, 0, 2, +0.104, 0},
    {2, -2, 0, +0.104, 0},
    {5, 0, 0, -0.079, 0},
    {14, 0, 0, +0.068, 0},
    {10, -1, 0, +0.067, 0},
    {4, 1, 0, +0.054, 0},
    {12, -1, 0, -0.038, 0},
    {4, -2, 0, -0.038, 0},
    {7, 0, 0, +0.037, 0},
    {4, 0, 2, -0.037, 0},
    {16, 0, 0, -0.035, 0},
    {3, 1, 0, -0.030, 0},
    {1, -1, 0, +0.029, 0},
    {6, 1, 0, -0.025, 0},
    {0, 2, 0, +0.023, 0},
    {14, -1, 0, +0.023, 0},
    {2, 2, 0, -0.023, 0},
    {6, -2, 0, +0.022, 0},
    {2, -1, -2, -0.021, 0},
    {9, 0, 0, -0.020, 0},
    {18, 0, 0, +0.019, 0},
    {6, 0, 2, +0.017, 0},
    {0, -1, 2, +0.014, 0},
    {16, -1, 0, -0.014, 0},
    {4, 0, -2, +0.013, 0},
    {8, 1, 0, +0.012, 0},
    {11, 0, 0, +0.011, 0},
    {5, 1, 0, +0.010, 0},
    {20, 0, 0, -0.010, 0},
};
// clang-format on
static_assert(std::size(PerigeeParallaxTerms) == 46);

// Table 50.B, the parallax at apogee, arcseconds, after the constant 3245.251".
// clang-format off
constexpr ApsisTerm ApogeeParallaxTerms[] = {
    // D  M  F  coefficient  per T
    {2, 0, 0, -9.147, 0},
    {1, 0, 0, -0.841, 0},
    {0, 0, 2, +0.697, 0},
    {0, 1, 0, -0.656, +0.0016},
    {4, 0, 0, +0.355, 0},
    {2, -1, 0, +0.159, 0},
    {1, 1, 0, +0.127, 0},
    {4, -1, 0, +0.065, 0},
    {6, 0, 0, +0.052, 0},
    {2, 1, 0, +0.043, 0},
    {2, 0, 2, +0.031, 0},
    {2, 0, -2, -0.023, 0},
    {2, -2, 0, +0.022, 0},
    {2, 2, 0, +0.019, 0},
    {0, 2, 0, -0.016, 0},
    {6, -1, 0, +0.014, 0},
    {8, 0, 0, +0.010, 0},
};
// clang-format on
static_assert(std::size(ApogeeParallaxTerms) == 17);

// Both apsides: the terms of the instant, and the parallax's constant and terms.
struct ApsisSeries {
    std::span<const ApsisTerm> instantTerms;
    double parallaxConstant;  // arcseconds
    std::span<const ApsisTerm> parallaxTerms;
};

constexpr ApsisSeries PerigeeSeries{PerigeeInstantTerms, 3629.215, PerigeeParallaxTerms};
constexpr ApsisSeries ApogeeSeries{ApogeeInstantTerms, 3245.251, ApogeeParallaxTerms};

// k counts 13.2555 anomalistic months a year, so 1325.55 of them make T one Julian century.
constexpr double AnomalisticMonthsPerCentury = 1325.55;

constexpr double ArcsecondsPerDegree = 3600.0;

// The arguments of an apsis, in degrees, and its T.
struct ApsisArguments {
    double T;
    double D;  // the Moon's mean elongation
    double M;  // the Sun's mean anomaly
    double F;  // the Moon's argument of latitude
};

ApsisArguments argumentsFor(double k)
{
    ApsisArguments a{};
    a.T = k / AnomalisticMonthsPerCentury;
    const double T2 = a.T * a.T;
    a.D =
        171.9179 + 335.9106046 * k - 0.0100383 * T2 - 0.00001156 * T2 * a.T + 0.000000055 * T2 * T2;
    a.M = 347.3477 + 27.1577721 * k - 0.0008130 * T2 - 0.0000010 * T2 * a.T;
    a.F = 316.6109 + 364.5287911 * k - 0.0125053 * T2 - 0.0000148 * T2 * a.T;
    return a;
}

// The one loop of the chapter's series: the terms of a table in table order, each with the sine
// (instant) or cosine (parallax) of its argument.
double sumOfTerms(std::span<const ApsisTerm> terms, const ApsisArguments& a,
                  double (*sineOrCosine)(double))
{
    double sum = 0.0;
    for (const ApsisTerm& term : terms) {
        const double argument = term.d * a.D + term.m * a.M + term.f * a.F;
        sum += (term.coefficient + term.perT * a.T) * sineOrCosine(argument);
    }
    return sum;
}

// The most the terms of an instant can move it: the sums of |coefficient| and of |perT|.
struct TermReach {
    double coefficients;
    double perT;
};

constexpr double magnitude(double value)
{
    return value < 0 ? -value : value;
}

constexpr TermReach reachOf(std::span<const ApsisTerm> terms)
{
    TermReach reach{};
    for (const ApsisTerm& term : terms) {
        reach.coefficients += magnitude(term.coefficient);
        reach.perT += magnitude(term.perT);
    }
    return reach;
}

constexpr TermReach PerigeeReach = reachOf(PerigeeInstantTerms);
constexpr TermReach ApogeeReach = reachOf(ApogeeInstantTerms);

// Half an anomalistic month, some 13.8 days, lies between an apsis and the next, and the terms
// move an instant by at most 2.86 days (perigee) or 0.69 days (apogee), plus 0.00043 or 0.00022
// days per unit of |T|: the instants follow k in order, and the bounds of neighbouring apsides
// lie far apart.
static_assert(PerigeeReach.coefficients + ApogeeReach.coefficients < AnomalisticMonthDays / 4);

// The search works within 100,000 years of 2000 (|T| up to 1000): there the mean instant grows
// with k (its T^3 and T^4 terms turn that around only some million years away) and the terms'
// parts that grow with T add less than half a day. Readings of the calendar record lie far
// inside.
constexpr double SearchSpanDays = 36525000.0;
constexpr double DayNumberOfJ2000 = 2451544.5;

double halfMonth(double k)
{
    return std::floor(2 * k) / 2;
}

}  // namespace

double meanApsisJde(double k)
{
    const double T = k / AnomalisticMonthsPerCentury;
    const double T2 = T * T;
    return MeanPerigeeOfApsisZero + AnomalisticMonthDays * k - 0.0006691 * T2 -
           0.000001098 * T2 * T + 0.0000000052 * T2 * T2;
}

Apsis apsisAt(double k)
{
    Apsis apsis;
    apsis.k = halfMonth(k);
    apsis.kind = apsis.k == std::floor(apsis.k) ? ApsisKind::Perigee : ApsisKind::Apogee;
    const ApsisSeries& series = apsis.kind == ApsisKind::Perigee ? PerigeeSeries : ApogeeSeries;
    const ApsisArguments a = argumentsFor(apsis.k);
    apsis.jde = meanApsisJde(apsis.k) + sumOfTerms(series.instantTerms, a, sinDeg);
    apsis.dayNumber = dayNumberOfJulianDay(apsis.jde);
    apsis.parallaxArcsec = series.parallaxConstant + sumOfTerms(series.parallaxTerms, a, cosDeg);
    apsis.distanceKm = EarthEquatorialRadiusKm / sinDeg(apsis.parallaxArcsec / ArcsecondsPerDegree);
    return apsis;
}

InstantRange apsisInstantRange(double k)
{
    k = halfMonth(k);
    const double T = k / AnomalisticMonthsPerCentury;
    const double mean = meanApsisJde(k);
    const TermReach& terms = k == std::floor(k) ? PerigeeReach : ApogeeReach;
    const double sum = terms.coefficients + terms.perT * std::fabs(T);
    // The series starts from this very mean and adds at most 60 terms; as for the phases
    // (phaseInstantRange), 2^-40 of |mean| and 2^-30 of the sum cover every rounding a hundred
    // times over.
    const double reach = sum * (1 + 0x1p-30) + std::fabs(mean) * 0x1p-40;
    return {mean - reach, mean + reach};
}

double apsisEstimate(double dayNumber)
{
    const double jde = julianDayOfDayNumber(dayNumber);
    double k = (jde - MeanPerigeeOfApsisZero) / AnomalisticMonthDays;
    // One step of Newton's method takes in the T^2..T^4 terms of eq. 50.1 (some 46 days in the
    // year 30827); they change the slope by less than a hundred-thousandth, so the step lands
    // within a few minutes of the k whose mean instant is the day number.
    k -= (meanApsisJde(k) - jde) / AnomalisticMonthDays;
    return halfMonth(k);
}

// The phase and eclipse searches (searchLunations) step through the days and ask each day's
// lunation estimate. The apsides do not fit that loop: the anomalistic month is two days shorter
// than a lunation, so one lunation holds one or two perigees, and a lunation number tells none of
// them. They have a count of their own, k, and an estimate of it from the day number, so this
// search steps k by half a month: back from the estimate until the bounds of an apsis lie wholly
// before `from` (a step or none), forward over those whose bounds do (deciding without a sine),
// and only then through the series. The first apsis evaluated has bounds that reach `from`;
// if its instant lies before, the next one's bounds lie wholly after its bounds and it is the
// answer. Every apsis is evaluated once and at most two are.
Apsis nextApsis(double from, int* evaluations)
{
    if (!(std::fabs(from - DayNumberOfJ2000) <= SearchSpanDays)) {
        if (evaluations != nullptr) {
            *evaluations = 0;
        }
        constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
        return {NaN, ApsisKind::Perigee, NaN, NaN, NaN, NaN};
    }
    const auto whollyBefore = [from](double k) {
        return dayNumberOfJulianDay(apsisInstantRange(k).latest) < from;
    };
    double k = apsisEstimate(from);
    while (!whollyBefore(k)) {
        k -= 0.5;
    }
    do {
        k += 0.5;
    } while (whollyBefore(k));
    int count = 0;
    for (;;) {
        const Apsis apsis = apsisAt(k);
        ++count;
        if (!(apsis.dayNumber < from)) {
            if (evaluations != nullptr) {
                *evaluations = count;
            }
            return apsis;
        }
        k += 0.5;
    }
}

}  // namespace astro
