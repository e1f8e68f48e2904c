#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace astro {
namespace {

constexpr double Solar = 0.0;
constexpr double Lunar = 0.5;
constexpr double FourDecimals = 0.00005;

// Meeus, examples 54.a/54.b and the eclipses of 1997 and 2001 the edge cases name.
TEST(EclipseInstant, WorkedValuesAndTheKindsThatRejectThem)
{
    struct Case {
        const char* name;
        double k;
        double fraction;
        double jde;  // of the kind that matches
        EclipseKind matching;
    };
    const Case cases[] = {
        {"partial solar 1993 May 21", -82, Solar, 2449129.0978, EclipseKind::Partial},
        {"total lunar 1997 Sep 16", -28.5, Lunar, 2450708.2835, EclipseKind::Total},
        {"total solar 2001 Jun 21", 18, Solar, 2452082.0035, EclipseKind::Total},
        {"annular solar 2001 Dec 14", 24, Solar, 2452258.3704, EclipseKind::Annular},
    };
    for (const Case& c : cases) {
        const EclipseKind kinds[] = {EclipseKind::Partial, EclipseKind::Total,
                                     EclipseKind::Annular};
        for (EclipseKind kind : kinds) {
            if (c.fraction == Lunar && kind == EclipseKind::Annular) {
                continue;  // not a kind the program asks lunar eclipses for
            }
            double k = c.k;
            const double jde = eclipseInstant(k, c.fraction, kind);
            EXPECT_EQ(k, std::floor(c.k) + c.fraction) << c.name;
            if (kind == c.matching) {
                EXPECT_NEAR(jde, c.jde, FourDecimals) << c.name;
            } else {
                EXPECT_EQ(jde, NoEclipse) << c.name << " kind " << static_cast<int>(kind);
            }
        }
    }
}

TEST(EclipseInstant, MoonFarFromItsNodeIsNoEclipseOfAnyKind)
{
    for (EclipseKind kind : {EclipseKind::Partial, EclipseKind::Total, EclipseKind::Annular}) {
        double k = 2.7;
        EXPECT_EQ(eclipseInstant(k, Solar, kind), NoEclipse);
        EXPECT_EQ(k, 2.0);
    }
}

// Between two instants of the same lunation only the classification differs, so the instant of a
// lunation that is an eclipse of some kind is the same for every kind that accepts it.
TEST(EclipseInstant, EachEclipseHasExactlyOneKind)
{
    int solar = 0;
    int lunar = 0;
    for (double lunation = -1000; lunation < 1000; ++lunation) {
        for (double fraction : {Solar, Lunar}) {
            int kinds = 0;
            double instant = NoEclipse;
            const EclipseKind asked[] = {EclipseKind::Partial, EclipseKind::Total,
                                         EclipseKind::Annular};
            for (EclipseKind kind : asked) {
                if (fraction == Lunar && kind == EclipseKind::Annular) {
                    continue;
                }
                double k = lunation;
                const double jde = eclipseInstant(k, fraction, kind);
                if (jde != NoEclipse) {
                    ++kinds;
                    EXPECT_TRUE(instant == NoEclipse || instant == jde);
                    instant = jde;
                    double phaseK = lunation;
                    const double phase =
                        fraction == Solar ? newMoonInstant(phaseK) : fullMoonInstant(phaseK);
                    EXPECT_NEAR(jde, phase, 0.02) << lunation;  // within half an hour
                }
            }
            EXPECT_LE(kinds, 1) << lunation << " " << fraction;
            (fraction == Solar ? solar : lunar) += kinds;
        }
    }
    // About 2.4 solar and 1.5 umbral lunar eclipses a year over these 160 years, less the
    // non-central total or annular ones, which have no kind here.
    EXPECT_GT(solar, 330);
    EXPECT_LT(solar, 400);
    EXPECT_GT(lunar, 220);
    EXPECT_LT(lunar, 300);
}

SystemTime date(int year, int month, int day)
{
    return astro::wallClockReading(year, month, day);
}

double phaseInstant(double lunation, double fraction)
{
    double k = lunation;
    return fraction == Solar ? newMoonInstant(k) : fullMoonInstant(k);
}

// The lunation whose New or Full Moon falls on the day number (far from 2000 the T^2 and T^4
// terms of the mean phase move it by days, so the mean motion alone is not enough).
double lunationOf(double dayNumber, double fraction)
{
    const double estimate = std::round((dayNumber + 0.5 - 2451550.09765) / 29.530588853 - fraction);
    for (double k = estimate - 3; k <= estimate + 3; ++k) {
        if (std::fabs(phaseInstant(k, fraction) - 0.5 - dayNumber) < 0.1) {
            return k;
        }
    }
    ADD_FAILURE() << "no lunation near day " << dayNumber;
    return estimate;
}

struct KindSearch {
    const char* name;
    bool solar;
    EclipseKind kind;
};

const KindSearch Kinds[] = {
    {"partial lunar", false, EclipseKind::Partial}, {"total lunar", false, EclipseKind::Total},
    {"partial solar", true, EclipseKind::Partial},  {"total solar", true, EclipseKind::Total},
    {"annular solar", true, EclipseKind::Annular},
};

double search(const KindSearch& s, const SystemTime& t, double now, int* passes)
{
    return s.solar ? nextSolarEclipse(t.wYear, t, now, s.kind, passes)
                   : nextLunarEclipse(t.wYear, t, now, s.kind, passes);
}

// The search has no bound of its own: it must end for every year the calendar record can hold,
// find an eclipse of the asked kind, and find the first one.
TEST(EclipseSearch, EndsWithTheFirstEclipseOfTheKindInEveryYear)
{
    int mostPasses = 0;
    for (int year = 1601; year <= 30827; year += 113) {
        const SystemTime t = date(year, 1 + year % 12, 1 + year % 28);
        const double now = dayNumberOf(t);
        for (const KindSearch& s : Kinds) {
            int passes = 0;
            const double found = search(s, t, now, &passes);
            mostPasses = std::max(mostPasses, passes);
            EXPECT_GE(found + 0.0625, std::trunc(now)) << s.name << " " << year;

            const double fraction = s.solar ? Solar : Lunar;
            const double k = lunationOf(found, fraction);
            double check = k;
            EXPECT_NEAR(eclipseInstant(check, fraction, s.kind) - 0.5, found, 1e-9)
                << s.name << " " << year;
            // No eclipse of the kind in the lunations between the start of the day and it.
            for (double earlier = k - 1;; --earlier) {
                double e = earlier;
                const double jde = eclipseInstant(e, fraction, s.kind);
                if (phaseInstant(earlier, fraction) - 0.5 < std::trunc(now) - 2) {
                    break;
                }
                EXPECT_TRUE(jde == NoEclipse || jde - 0.4375 < std::trunc(now))
                    << s.name << " " << year << " skipped lunation " << earlier;
            }
        }
    }
    EXPECT_GT(mostPasses, 1000);  // total eclipses can be years apart
    EXPECT_LT(mostPasses, 10000);
    RecordProperty("most_search_passes", mostPasses);
}

TEST(EclipseSearch, AnEclipseEarlierTodayIsStillTheNextOne)
{
    // The total solar eclipse of 2001 June 21, greatest at about 12:04 (JDE as local time).
    const SystemTime eveningBefore = date(2001, 6, 20);
    const double instant = 2452082.0035 - 0.5;
    for (double now : {std::floor(instant) + 0.01, std::floor(instant) + 0.99}) {
        EXPECT_NEAR(nextSolarEclipse(2001, date(2001, 6, 21), now, EclipseKind::Total), instant,
                    0.0001);
    }
    EXPECT_NEAR(
        nextSolarEclipse(2001, eveningBefore, dayNumberOf(eveningBefore), EclipseKind::Total),
        instant, 0.0001);
    const double dayAfter = std::floor(instant) + 1.2;
    EXPECT_GT(nextSolarEclipse(2001, date(2001, 6, 22), dayAfter, EclipseKind::Total),
              instant + 300);
}

}  // namespace
}  // namespace astro
