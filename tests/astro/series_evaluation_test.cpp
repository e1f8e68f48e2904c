// The core evaluates the eclipse series faster than it reads them: each sine and cosine once per
// lunation, sine and cosine of an angle in one call, the node test mostly without a sine. The
// searches evaluate each lunation once and count the days in between without looking at them.
// None of it may change a single bit of a result, nor a search's pass count. These tests hold it
// to that on the platform they run on: glibc natively, the x87 instructions of mingw-w64 under
// Wine, whose sines differ from glibc's.
#include "astro/apsides.hpp"
#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

namespace astro {
namespace {

std::uint64_t bitsOf(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

// Angles in degrees from a fixed-seed xorshift generator (the same in every run), spread evenly
// over -range/2 .. range/2.
class AngleSource {
public:
    double next(double range)
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return (static_cast<double>(state_ >> 11) * 0x1p-53 - 0.5) * range;
    }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

TEST(SinCosDeg, GivesTheBitsOfSinDegAndCosDeg)
{
    std::vector<double> angles = {0.0,    -0.0, 90.0,     -90.0,       180.0, 270.0, 360.0,
                                  1e-300, 45.0, 127834.5, -98765.4321, 1e8,   3.6e9};
    AngleSource source;
    for (int i = 0; i < 200000; ++i) {
        // Fundamental arguments of 1000 years around 2000 reach some 5e5 degrees; far years more.
        angles.push_back(source.next(i % 4 == 0 ? 720.0 : i % 4 == 3 ? 2e8 : 1e6));
    }
    int differing = 0;
    for (double angle : angles) {
        const SineCosine both = sinCosDeg(angle);
        if (bitsOf(both.sine) != bitsOf(sinDeg(angle)) ||
            bitsOf(both.cosine) != bitsOf(cosDeg(angle))) {
            if (++differing <= 5) {
                ADD_FAILURE() << "angle " << angle << std::hexfloat << ": sinCosDeg " << both.sine
                              << ", " << both.cosine << "; sinDeg, cosDeg " << sinDeg(angle) << ", "
                              << cosDeg(angle);
            }
        }
    }
    EXPECT_EQ(differing, 0) << "of " << angles.size() << " angles";
}

bool sineBeyondLimit(double F)
{
    return std::fabs(sinDeg(F)) > static_cast<double>(0.36f);
}

TEST(MoonTooFarFromNode, DecidesExactlyAsTheSineDoes)
{
    // asin(0.36f) in degrees, from long double; the four limits of each half turn lie at
    // +-limit and 180 -+ limit.
    const double limit = static_cast<double>(std::asin(static_cast<long double>(0.36f)) * 180 /
                                             3.14159265358979323846264338327950288L);
    std::vector<double> angles;
    for (double turn :
         {0.0, 1.0, -1.0, 2.0, 7.0, -13.0, 1000.0, -1001.0, 123456.0, -2000001.0, 5555555.0}) {
        for (double edge : {limit, 180 - limit, -limit, limit - 180}) {
            const double centre = edge + 180 * turn;
            for (double offset : {0.0, 1e-12, 1e-9, 1e-6, 1e-5, 9.9e-5, 1e-4, 1.01e-4, 1e-3, 0.1}) {
                for (double at : {centre - offset, centre + offset}) {
                    angles.push_back(at);
                    angles.push_back(std::nextafter(at, 0.0));
                    angles.push_back(std::nextafter(at, 1e300));
                }
            }
        }
    }
    AngleSource source;
    for (int i = 0; i < 100000; ++i) {
        angles.push_back(source.next(i % 3 == 0 ? 360.0 : i % 3 == 1 ? 1e6 : 3e9));
    }
    for (double huge : {1e9, -1e9, 1e12, 1e15}) {
        angles.push_back(huge);
    }
    int checked = 0;
    for (double F : angles) {
        ASSERT_EQ(moonTooFarFromNode(F), sineBeyondLimit(F)) << std::hexfloat << F;
        ++checked;
    }
    EXPECT_GT(checked, 100000);
}

double w(float value)
{
    return static_cast<double>(value);
}

// The eclipse series as the book writes it: every sine and cosine where it appears, the terms of
// the time correction one after another, then the kind decided from gamma and u.
double bookEclipseInstant(double& k, double fraction, EclipseKind kind)
{
    k = std::floor(k) + fraction;
    const double T = k / w(1236.85f);
    const double F = moonArgumentOfLatitude(k, T);
    if (std::fabs(sinDeg(F)) > w(0.36f)) {
        return NoEclipse;
    }
    const double Omega = moonNodeLongitude(k, T);
    const double F1 = F - w(0.02665f) * sinDeg(Omega);
    const double A1 = w(299.77f) + 0.107408 * k - 0.009173 * T * T;
    const double E = eccentricityFactor(T);
    const double M = sunMeanAnomaly(k, T);
    const double Mp = moonMeanAnomaly(k, T);

    const double P = w(0.2070f) * E * sinDeg(M) + w(0.0024f) * E * sinDeg(2 * M) -
                     w(0.0392f) * sinDeg(Mp) + w(0.0116f) * sinDeg(2 * Mp) -
                     w(0.0073f) * E * sinDeg(Mp + M) + w(0.0067f) * E * sinDeg(Mp - M) +
                     w(0.0118f) * sinDeg(2 * F1);
    const double Q = w(5.2207f) - w(0.0048f) * E * cosDeg(M) + w(0.0020f) * E * cosDeg(2 * M) -
                     w(0.3299f) * cosDeg(Mp) - w(0.0060f) * E * cosDeg(Mp + M) +
                     w(0.0041f) * E * cosDeg(Mp - M);
    const double W = std::fabs(cosDeg(F1));
    const double gamma = (P * cosDeg(F1) + Q * sinDeg(F1)) * (1 - w(0.0048f) * W);
    const double u = w(0.0059f) + w(0.0046f) * E * cosDeg(M) - w(0.0182f) * cosDeg(Mp) +
                     w(0.0004f) * cosDeg(2 * Mp) - w(0.0005f) * cosDeg(Mp + M);

    const bool solar = fraction == 0;
    double jde = meanPhaseJde(k, T);
    jde += w(solar ? -0.4075f : -0.4065f) * sinDeg(Mp);
    jde += w(solar ? 0.1721f : 0.1727f) * E * sinDeg(M);
    jde += w(0.0161f) * sinDeg(2 * Mp);
    jde += w(-0.0097f) * sinDeg(2 * F1);
    jde += w(0.0073f) * E * sinDeg(Mp - M);
    jde += w(-0.0050f) * E * sinDeg(Mp + M);
    jde += w(-0.0023f) * sinDeg(Mp - 2 * F1);
    jde += w(0.0021f) * E * sinDeg(2 * M);
    jde += w(0.0012f) * sinDeg(Mp + 2 * F1);
    jde += w(0.0006f) * E * sinDeg(2 * Mp + M);
    jde += w(-0.0004f) * sinDeg(3 * Mp);
    jde += w(-0.0003f) * E * sinDeg(M + 2 * F1);
    jde += w(0.0003f) * sinDeg(A1);
    jde += w(-0.0002f) * E * sinDeg(M - 2 * F1);
    jde += w(-0.0002f) * E * sinDeg(2 * Mp - M);
    jde += w(-0.0002f) * sinDeg(Omega);

    const double absGamma = std::fabs(gamma);
    if (solar) {
        if (absGamma > w(1.5433f) + u) {
            return NoEclipse;
        }
        const bool central = absGamma <= w(0.9972f);
        const bool partial = !central && absGamma >= w(0.9972f) + std::fabs(u);
        switch (kind) {
        case EclipseKind::Partial:
            return partial ? jde : NoEclipse;
        case EclipseKind::Total:
            return central && u < 0 ? jde : NoEclipse;
        case EclipseKind::Annular:
            return central && u >= 0 ? jde : NoEclipse;
        }
        return NoEclipse;
    }
    if ((w(1.0248f) - u - absGamma) / w(0.5450f) <= 0) {
        return NoEclipse;
    }
    const bool total = (w(1.0128f) - u - absGamma) / w(0.5450f) > 0 &&
                       (w(0.4678f) - u) * (w(0.4678f) - u) - gamma * gamma > 0;
    switch (kind) {
    case EclipseKind::Partial:
        return total ? NoEclipse : jde;
    case EclipseKind::Total:
        return total ? jde : NoEclipse;
    case EclipseKind::Annular:
        return jde;
    }
    return NoEclipse;
}

TEST(EclipseInstants, SharedSinesGiveTheBitsOfTheSeriesAsWritten)
{
    int eclipses = 0;
    std::vector<double> lunations;
    for (int n = -3000; n <= 4000; ++n) {
        lunations.push_back(n);
    }
    for (int n = -300000; n <= 300000; n += 89) {
        lunations.push_back(n);
    }
    for (double lunation : lunations) {
        for (double fraction : {NewMoonFraction, FullMoonFraction}) {
            for (EclipseKind kind :
                 {EclipseKind::Partial, EclipseKind::Total, EclipseKind::Annular}) {
                double k = lunation;
                const double instant = eclipseInstant(k, fraction, kind);
                double bookK = lunation;
                const double expected = bookEclipseInstant(bookK, fraction, kind);
                ASSERT_EQ(bitsOf(instant), bitsOf(expected))
                    << "lunation " << lunation << " fraction " << fraction << " kind "
                    << static_cast<int>(kind) << std::hexfloat << ": " << instant << " against "
                    << expected;
                ASSERT_EQ(k, bookK);
                eclipses += instant != NoEclipse ? 1 : 0;
            }
        }
    }
    // Some 2,400 eclipses of 1757-2323 among them, each found for one or more kinds.
    EXPECT_GT(eclipses, 2000);
}

// The searches pass over a lunation whose phase lies before midnight whatever its terms add, and
// decide the start from the same bounds: they must hold every instant the series computes.
TEST(PhaseInstantRange, HoldsTheInstantOfEveryPhase)
{
    std::vector<double> lunations;
    for (int n = -5000; n <= 5000; ++n) {
        lunations.push_back(n);
    }
    for (int n = -400000; n <= 400000; n += 97) {  // the years 1601-30827 and beyond
        lunations.push_back(n);
    }
    double nearestToAnEnd = 1.0;
    for (double lunation : lunations) {
        for (double fraction :
             {NewMoonFraction, FirstQuarterFraction, FullMoonFraction, LastQuarterFraction}) {
            const InstantRange range = phaseInstantRange(lunation + 0.3, fraction);
            double k = lunation;
            const double instant = fraction == NewMoonFraction    ? newMoonInstant(k)
                                   : fraction == FullMoonFraction ? fullMoonInstant(k)
                                                                  : quarterInstant(k, fraction);
            ASSERT_LE(range.earliest, instant) << lunation << " " << fraction;
            ASSERT_GE(range.latest, instant) << lunation << " " << fraction;
            nearestToAnEnd = std::min(nearestToAnEnd,
                                      std::min(instant - range.earliest, range.latest - instant) /
                                          (range.latest - range.earliest));
        }
    }
    // The terms do reach close to the bounds: the range is no wider than it needs to be.
    EXPECT_LT(nearestToAnEnd, 0.05);
}

// The apsis search passes over apsides by their bounds in the same way.
TEST(ApsisInstantRange, HoldsTheInstantOfEveryApsis)
{
    double nearestToAnEnd = 1.0;
    for (int n = -800000; n <= 800000; n += n > -5000 && n < 5000 ? 1 : 97) {
        const double k = n / 2.0;
        const InstantRange range = apsisInstantRange(k + 0.2);
        const double instant = apsisAt(k).jde;
        ASSERT_LE(range.earliest, instant) << k;
        ASSERT_GE(range.latest, instant) << k;
        nearestToAnEnd =
            std::min(nearestToAnEnd, std::min(instant - range.earliest, range.latest - instant) /
                                         (range.latest - range.earliest));
    }
    // The terms come within a ninth of the range to its ends: no wider than it needs to be.
    EXPECT_LT(nearestToAnEnd, 0.12);
}

// The search for the next apsis against the plainest one: a sweep that evaluates one apsis after
// the other, in k order, until an apsis is not before `from`. Every day of 1900-2100 at changing
// times of day (the sweep moves on with the days), and a spread of readings over the calendar
// record's years, each swept from ten anomalistic months before Meeus's estimate from the decimal
// year (eq. 50.2), which lags the true count there by under two months. The search must give
// the sweep's apsis, bit for bit, having evaluated one or two.
TEST(ApsisSearch, GivesTheApsisOfTheSweepEvaluatingOneOrTwo)
{
    struct Sweep {
        double k;
        Apsis apsis;
        Apsis firstFrom(double from)
        {
            while (apsis.dayNumber < from) {
                k += 0.5;
                apsis = apsisAt(k);
            }
            return apsis;
        }
    };
    int compared = 0;
    int twoEvaluations = 0;
    const auto check = [&](double from, Sweep& sweep) {
        const Apsis want = sweep.firstFrom(from);
        int evaluations = 0;
        const Apsis got = nextApsis(from, &evaluations);
        ++compared;
        twoEvaluations += evaluations == 2 ? 1 : 0;
        ASSERT_EQ(got.k, want.k) << std::fixed << "from " << from;
        ASSERT_EQ(bitsOf(got.jde), bitsOf(want.jde)) << from;
        ASSERT_EQ(bitsOf(got.distanceKm), bitsOf(want.distanceKm)) << from;
        ASSERT_TRUE(evaluations == 1 || evaluations == 2) << from << ": " << evaluations;
    };

    const double first = dayNumberOf(wallClockReading(1900, 1, 1));
    const double last = dayNumberOf(wallClockReading(2100, 12, 31));
    Sweep sweep{-1340.0, apsisAt(-1340.0)};
    ASSERT_LT(sweep.apsis.dayNumber, first);
    for (double day = first; day <= last; ++day) {
        check(day + std::fmod(day, 97.0) / 97.0, sweep);
    }
    for (int year = 1601; year <= 30827; year += 13) {
        const SystemTime t = wallClockReading(year, 1 + year % 12, 1 + year * 7 % 28, year % 24);
        const double k = std::floor((year + (t.wMonth - 0.5) / 12 - 1999.97) * 13.2555) - 10;
        Sweep far{k, apsisAt(k)};
        ASSERT_LT(far.apsis.dayNumber, dayNumberOf(t)) << year;
        check(dayNumberOf(t), far);
    }
    EXPECT_EQ(compared, 73414 + 2249);
    EXPECT_GT(twoEvaluations, 0);
}

// The next-event searches as they were first written: the start moved back by 31 days while the
// start lunation's instant, as `startInstant` gives it, is not before midnight, then one pass per
// day, each evaluating the series of the day's lunation estimate, until `continues` lets go.
struct SearchAnswer {
    double dayNumber;
    int passes;
};

template <typename StartInstant, typename Series, typename Continues>
SearchAnswer searchDayByDay(std::int32_t year, const SystemTime& date, double now,
                            StartInstant startInstant, Series series, Continues continues)
{
    const double midnight = std::trunc(now);
    std::int32_t offset = 0;
    while (startInstant(approximateLunation(year, date, offset) - 1.25) >= midnight) {
        offset -= 31;
    }
    double jde = 0.0;
    int count = 0;
    do {
        const double kk = approximateLunation(year, date, offset) - 1.25;
        ++offset;
        ++count;
        jde = series(kk);
    } while (continues(midnight, jde));
    return {jde - 0.5, count};
}

struct EventSearch {
    const char* name;
    double fraction;  // of the phase, or of the New or Full Moon of the eclipse
    bool eclipse;
    EclipseKind kind;
};

const EventSearch PhaseSearches[] = {
    {"new moon", NewMoonFraction, false, {}},
    {"first quarter", FirstQuarterFraction, false, {}},
    {"full moon", FullMoonFraction, false, {}},
    {"last quarter", LastQuarterFraction, false, {}},
};

const EventSearch AllSearches[] = {
    PhaseSearches[0],
    PhaseSearches[1],
    PhaseSearches[2],
    PhaseSearches[3],
    {"partial lunar", FullMoonFraction, true, EclipseKind::Partial},
    {"total lunar", FullMoonFraction, true, EclipseKind::Total},
    {"any umbral lunar", FullMoonFraction, true, EclipseKind::Annular},
    {"partial solar", NewMoonFraction, true, EclipseKind::Partial},
    {"total solar", NewMoonFraction, true, EclipseKind::Total},
    {"annular solar", NewMoonFraction, true, EclipseKind::Annular},
};

double phaseSeries(double k, double fraction)
{
    if (fraction == NewMoonFraction) {
        return newMoonInstant(k);
    }
    return fraction == FullMoonFraction ? fullMoonInstant(k) : quarterInstant(k, fraction);
}

double seriesOf(const EventSearch& s, double k)
{
    return s.eclipse ? eclipseInstant(k, s.fraction, s.kind) : phaseSeries(k, s.fraction);
}

// The reference answer, with the margins the searches were first written with; `series` gives
// the instant of a pass's lunation estimate.
template <typename Series>
SearchAnswer referenceSearch(const EventSearch& s, std::int32_t year, const SystemTime& date,
                             double now, Series series)
{
    if (s.eclipse) {
        return searchDayByDay(
            year, date, now, [&](double kk) { return phaseSeries(kk, s.fraction) - 0.4375 + 1.0; },
            series,
            [](double midnight, double jde) {
                return jde == NoEclipse || midnight > jde - 0.4375;
            });
    }
    const double margin =
        s.fraction == NewMoonFraction || s.fraction == FullMoonFraction ? 0.4375 : 0.459375;
    return searchDayByDay(
        year, date, now, [&](double kk) { return series(kk) - margin; }, series,
        [margin](double midnight, double jde) { return midnight > jde - margin; });
}

SearchAnswer programSearch(const EventSearch& s, std::int32_t year, const SystemTime& date,
                           double now)
{
    SearchAnswer answer{0.0, -1};
    if (s.eclipse) {
        answer.dayNumber = s.fraction == NewMoonFraction
                               ? nextSolarEclipse(year, date, now, s.kind, &answer.passes)
                               : nextLunarEclipse(year, date, now, s.kind, &answer.passes);
    } else if (s.fraction == NewMoonFraction) {
        answer.dayNumber = nextNewMoon(year, date, now, &answer.passes);
    } else if (s.fraction == FirstQuarterFraction) {
        answer.dayNumber = nextFirstQuarter(year, date, now, &answer.passes);
    } else if (s.fraction == FullMoonFraction) {
        answer.dayNumber = nextFullMoon(year, date, now, &answer.passes);
    } else {
        answer.dayNumber = nextLastQuarter(year, date, now, &answer.passes);
    }
    return answer;
}

// A search from a reading: the lists search from the reading's day and from one and two days
// later with the same reading, so the day of `now` need not be the reading's.
struct SearchFrom {
    SystemTime reading;
    double now;
};

SearchFrom searchFrom(double dayNumber, int daysLater)
{
    SystemTime reading{};
    const auto ticks = static_cast<std::int64_t>(
        std::llround((dayNumber - DayNumberOf1970) * static_cast<double>(TicksPerDay)));
    EXPECT_TRUE(ticksToSystemTime(ticks + TicksFrom1601To1970, reading));
    return {reading, dayNumber + daysLater};
}

class Mismatches {
public:
    void check(const EventSearch& s, const SearchFrom& from, const SearchAnswer& want,
               const SearchAnswer& got)
    {
        ++compared_;
        if (bitsOf(got.dayNumber) == bitsOf(want.dayNumber) && got.passes == want.passes) {
            return;
        }
        if (++count_ <= 5) {
            ADD_FAILURE() << s.name << " from " << from.reading.wYear << "-" << from.reading.wMonth
                          << "-" << from.reading.wDay << " now " << std::fixed << from.now
                          << ": day " << got.dayNumber << " in " << got.passes
                          << " passes, day by day " << want.dayNumber << " in " << want.passes;
        }
    }
    int count() const
    {
        return count_;
    }
    int compared() const
    {
        return compared_;
    }

private:
    int count_ = 0;
    int compared_ = 0;
};

// Every day of 1900-2100, from the reading's day or one or two days later, at changing times of
// day. The reference steps through every day; the instant of a lunation is looked up once it is
// known (each series gives the same bits for every k of a lunation, which the sampled test below
// does not assume).
TEST(SearchPasses, EveryDayFrom1900To2100AsTheDayByDaySearchForEveryPhase)
{
    const double first = dayNumberOf(wallClockReading(1900, 1, 1));
    const double last = dayNumberOf(wallClockReading(2100, 12, 31));
    constexpr double LowestLunation = -1300;
    for (const EventSearch& s : PhaseSearches) {
        std::vector<double> instants(2700, std::numeric_limits<double>::quiet_NaN());
        const auto lookedUp = [&](double kk) {
            double& instant =
                instants.at(static_cast<std::size_t>(std::floor(kk) - LowestLunation));
            if (std::isnan(instant)) {
                instant = seriesOf(s, kk);
            }
            return instant;
        };
        Mismatches mismatches;
        for (double day = first; day <= last; ++day) {
            const auto n = static_cast<std::int64_t>(day);
            const SearchFrom from =
                searchFrom(day + static_cast<double>(n % 96) / 96.0, static_cast<int>(n % 3));
            const std::int32_t year = from.reading.wYear;
            mismatches.check(s, from, referenceSearch(s, year, from.reading, from.now, lookedUp),
                             programSearch(s, year, from.reading, from.now));
        }
        EXPECT_EQ(mismatches.count(), 0) << s.name << " of " << mismatches.compared();
        EXPECT_EQ(mismatches.compared(), 73414) << s.name;
    }
}

// A spread of readings over the calendar record's years, where the start moves back far ahead of
// 2000, for every phase and eclipse search; the reference evaluates every pass's series.
TEST(SearchPasses, SampledYears1601To30827AsTheDayByDaySearchForEveryPhaseAndEclipse)
{
    Mismatches mismatches;
    int mostPasses = 0;
    for (int year = 1601; year <= 30827; year += 47) {
        const SystemTime t = wallClockReading(year, 1 + year % 12, 1 + year * 7 % 28, year % 24);
        const SearchFrom from{t, dayNumberOf(t) + year % 3};
        for (const EventSearch& s : AllSearches) {
            const SearchAnswer want =
                referenceSearch(s, year, t, from.now, [&s](double kk) { return seriesOf(s, kk); });
            mismatches.check(s, from, want, programSearch(s, year, t, from.now));
            mostPasses = std::max(mostPasses, want.passes);
        }
    }
    EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.compared();
    EXPECT_GT(mismatches.compared(), 6000);
    EXPECT_GT(mostPasses, 1000);  // total eclipses can be years apart
}

}  // namespace
}  // namespace astro
