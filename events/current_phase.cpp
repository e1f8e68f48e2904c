#include "events/current_phase.hpp"

#include "events/number_format.hpp"

#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <climits>
#include <cmath>
#include <cstddef>

namespace events {
namespace {

constexpr long double widen(float value)
{
    return static_cast<long double>(value);
}

constexpr long double extended(double value)
{
    return static_cast<long double>(value);
}

constexpr double JulianDayOfJ2000 = 2451545;
constexpr double DaysPerJulianCentury = 36525;

struct EventTexts {
    const char* future;
    const char* past;
};

// In Phase order.
constexpr EventTexts EventLineTexts[] = {
    {" N\xE4"
     "chster Neumond ist in: ",
     " Letzter Neumond war vor: "},
    {" Das n\xE4"
     "chste Erste Viertel ist in: ",
     " Das letzte Erste Viertel war vor: "},
    {" N\xE4"
     "chster Vollmond ist in: ",
     " Letzter Vollmond war vor: "},
    {" Das n\xE4"
     "chste Letzte Viertel ist in: ",
     " Das letzte Letzte Viertel war vor: "},
};

}  // namespace

double illuminatedFraction(double julianDay)
{
    // Extended precision throughout; T, D, M, M' and i are kept as doubles.
    const double T = static_cast<double>((extended(julianDay) - extended(JulianDayOfJ2000)) /
                                         extended(DaysPerJulianCentury));
    const long double t = extended(T);
    const long double t2 = t * t;
    const long double t3 = t2 * t;
    const long double t4 = t3 * t;

    // Mean elongation of the Moon; its T^2 coefficient is a single-precision constant.
    const double D = static_cast<double>(extended(297.8502042) + extended(445267.11151686) * t -
                                         widen(0.00163f) * t2 + t3 / 545868 - t4 / 113065000);
    // Mean anomaly of the Sun.
    const double M = static_cast<double>(extended(357.5291092) + extended(35999.0502909) * t -
                                         extended(0.0001536) * t2 + t3 / 24490000);
    // Mean anomaly of the Moon.
    const double Mp = static_cast<double>(extended(134.9634114) + extended(477198.8676313) * t +
                                          extended(0.008997) * t2 + t3 / 69699 - t4 / 14712000);

    const long double d = extended(D);
    const long double mp = extended(Mp);
    using astro::sinDeg;
    const double i = static_cast<double>(
        180 - d - widen(6.289f) * extended(sinDeg(Mp)) + widen(2.1f) * extended(sinDeg(M)) -
        widen(1.274f) * extended(sinDeg(static_cast<double>(2 * d - mp))) -
        widen(0.658f) * extended(sinDeg(static_cast<double>(2 * d))) -
        widen(0.214f) * extended(sinDeg(static_cast<double>(2 * mp))) -
        widen(0.11f) * extended(sinDeg(D)));
    return fractionFromPhaseAngle(i);
}

double fractionFromPhaseAngle(double phaseAngleDeg)
{
    return static_cast<double>(100 * (1 + extended(astro::cosDeg(phaseAngleDeg))) / 2);
}

double illuminatedFractionOfLocalClock(double localJulianDay)
{
    return illuminatedFraction(
        astro::addTimeOfDay(localJulianDay, -LocalClockAheadOfUniversalTimeHours, 0, 0));
}

double gaugeValue(double localJulianDay)
{
    return roundToFiveDecimals(illuminatedFractionOfLocalClock(localJulianDay));
}

std::array<double, 4> phaseInstants(const astro::SystemTime& reading)
{
    const std::int32_t year = reading.wYear;
    std::array<double, 4> instants{};
    for (std::size_t i = 0; i < instants.size(); ++i) {
        // A fresh estimate for each phase: the instant operations replace k by what they used.
        double k = astro::approximateLunation(year, reading, 0);
        double jde = 0.0;
        switch (static_cast<Phase>(i)) {
        case Phase::NewMoon:
            jde = astro::newMoonInstant(k);
            break;
        case Phase::FirstQuarter:
            jde = astro::quarterInstant(k, astro::FirstQuarterFraction);
            break;
        case Phase::FullMoon:
            jde = astro::fullMoonInstant(k);
            break;
        case Phase::LastQuarter:
            jde = astro::quarterInstant(k, astro::LastQuarterFraction);
            break;
        }
        instants[i] = jde;
    }
    return instants;
}

std::array<double, 4> phaseDistances(const astro::SystemTime& reading)
{
    const double now = astro::millisecondsToDayNumber(astro::systemTimeToMilliseconds(reading));
    const std::array<double, 4> instants = phaseInstants(reading);
    std::array<double, 4> distances{};
    for (std::size_t i = 0; i < distances.size(); ++i) {
        distances[i] =
            astro::addTimeOfDay(instants[i] - 0.5 - now, CountdownEventOffsetHours, 0, 0);
    }
    return distances;
}

NearestPhase nearestOf(const std::array<double, 4>& distances)
{
    for (std::size_t i = 0; i < distances.size(); ++i) {
        bool nearest = true;
        for (std::size_t j = 0; j < distances.size(); ++j) {
            if (j != i && !(std::fabs(distances[i]) < std::fabs(distances[j]))) {
                nearest = false;
            }
        }
        if (nearest) {
            return {true, static_cast<Phase>(i), distances[i]};
        }
    }
    return {};
}

NearestPhase nearestPhase(const astro::SystemTime& reading)
{
    return nearestOf(phaseDistances(reading));
}

std::string eventLineText(Phase phase, double distanceDays)
{
    const EventTexts& texts = EventLineTexts[static_cast<std::size_t>(phase) % 4];
    return distanceDays > 0 ? texts.future : texts.past;
}

int pointerPositionFromFraction(double percent, double nextNewMoon, double nextFullMoon,
                                int divisions)
{
    const double n = divisions;
    const double v = percent * n / 2 / 100;
    double position = 0.0;
    if (nextNewMoon < nextFullMoon) {
        position = v > n / 4 ? v - n / 4 : v + 3 * n / 4;  // waning
    } else {
        position = 3 * n / 4 - v;  // waxing
    }
    const double rounded = roundHalfEven(position);
    if (!(rounded >= INT_MIN && rounded <= INT_MAX)) {
        return 0;
    }
    return static_cast<int>(rounded);
}

}  // namespace events
