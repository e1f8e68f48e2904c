#include "astro/apsides.hpp"
#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace astro {
namespace {

// The printed digits of a value: rounded to `places` decimals.
double printed(double value, int places)
{
    const double scale = std::pow(10.0, places);
    return std::round(value * scale) / scale;
}

// Meeus, example 50.a: the apogee of 1988 October, k = -148.5, mean apogee JDE 2447442.8191,
// true apogee JDE 2447442.3543 = 1988 October 7 at 20h30m TD, parallax 3240.679". Any k of the
// same half month gives that apogee; a whole k is a perigee.
TEST(ApsisInstants, MeeusExample50a)
{
    for (double asked : {-148.5, -148.3, -148.0001}) {
        const Apsis apogee = apsisAt(asked);
        EXPECT_EQ(apogee.k, -148.5) << asked;
        EXPECT_EQ(apogee.kind, ApsisKind::Apogee) << asked;
        EXPECT_EQ(printed(meanApsisJde(apogee.k), 4), 2447442.8191);
        EXPECT_EQ(printed(apogee.jde, 4), 2447442.3543);
        EXPECT_EQ(printed(apogee.parallaxArcsec, 3), 3240.679);
        EXPECT_EQ(apogee.dayNumber, apogee.jde - 0.5);

        SystemTime td{};
        const auto ticks = static_cast<std::int64_t>(
            std::floor((apogee.dayNumber - DayNumberOf1970) * static_cast<double>(TicksPerDay)));
        ASSERT_TRUE(ticksToSystemTime(ticks + TicksFrom1601To1970, td));
        EXPECT_EQ(td.wYear, 1988);
        EXPECT_EQ(td.wMonth, 10);
        EXPECT_EQ(td.wDay, 7);
        EXPECT_EQ(td.wHour, 20);
        EXPECT_EQ(td.wMinute, 30);
    }
    EXPECT_EQ(apsisAt(-148.0).kind, ApsisKind::Perigee);
    EXPECT_EQ(apsisAt(-147.6).k, -148.0);
}

// The search answers NaN, without looping, where its arithmetic would not hold.
TEST(ApsisSearch, NoAnswerForDayNumbersOutOfItsSpan)
{
    for (double from : {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(), -1e300, 2451545.0 + 4e7}) {
        int evaluations = -1;
        const Apsis apsis = nextApsis(from, &evaluations);
        EXPECT_TRUE(std::isnan(apsis.jde)) << from;
        EXPECT_TRUE(std::isnan(apsis.distanceKm)) << from;
        EXPECT_EQ(evaluations, 0) << from;
    }
}

}  // namespace
}  // namespace astro
