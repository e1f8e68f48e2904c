#include "events/event_sets.hpp"

#include "events/calendar.hpp"

#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <algorithm>
#include <cmath>

namespace events {
namespace {

// Day number of the reading and its year as the searches take it.
struct SearchStart {
    std::int32_t year;
    double now;
};

SearchStart searchStart(const astro::SystemTime& reading, double daysLater)
{
    return {static_cast<std::int32_t>(reading.wYear),
            astro::millisecondsToDayNumber(astro::systemTimeToMilliseconds(reading)) + daysLater};
}

double nextPhase(Phase phase, const astro::SystemTime& reading, double daysLater)
{
    const SearchStart s = searchStart(reading, daysLater);
    double dayNumber = 0.0;
    switch (phase) {
    case Phase::NewMoon:
        dayNumber = astro::nextNewMoon(s.year, reading, s.now);
        break;
    case Phase::FirstQuarter:
        dayNumber = astro::nextFirstQuarter(s.year, reading, s.now);
        break;
    case Phase::FullMoon:
        dayNumber = astro::nextFullMoon(s.year, reading, s.now);
        break;
    case Phase::LastQuarter:
        dayNumber = astro::nextLastQuarter(s.year, reading, s.now);
        break;
    }
    return displayedInstant(dayNumber);
}

double nextEclipse(Eclipse kind, const astro::SystemTime& reading, double daysLater)
{
    const SearchStart s = searchStart(reading, daysLater);
    double dayNumber = 0.0;
    switch (kind) {
    case Eclipse::PartialLunar:
        dayNumber = astro::nextLunarEclipse(s.year, reading, s.now, astro::EclipseKind::Partial);
        break;
    case Eclipse::TotalLunar:
        dayNumber = astro::nextLunarEclipse(s.year, reading, s.now, astro::EclipseKind::Total);
        break;
    case Eclipse::PartialSolar:
        dayNumber = astro::nextSolarEclipse(s.year, reading, s.now, astro::EclipseKind::Partial);
        break;
    case Eclipse::TotalSolar:
        dayNumber = astro::nextSolarEclipse(s.year, reading, s.now, astro::EclipseKind::Total);
        break;
    case Eclipse::AnnularSolar:
        dayNumber = astro::nextSolarEclipse(s.year, reading, s.now, astro::EclipseKind::Annular);
        break;
    }
    return displayedInstant(dayNumber);
}

PhaseSet phaseSet(const astro::SystemTime& reading, double daysLater)
{
    PhaseSet set;
    for (std::size_t i = 0; i < set.instants.size(); ++i) {
        set.instants[i] = nextPhase(static_cast<Phase>(i), reading, daysLater);
    }
    return set;
}

EclipseSet eclipseSet(const astro::SystemTime& reading, double daysLater)
{
    EclipseSet set;
    for (std::size_t i = 0; i < set.instants.size(); ++i) {
        set.instants[i] = nextEclipse(static_cast<Eclipse>(i), reading, daysLater);
    }
    return set;
}

// The from-tomorrow searches begin 1 h 30 min (58 min 30 s for the quarters) before tomorrow's
// midnight, so late in the evening they can still return an event that has just passed. Two days
// on, the search starts more than a day after that event and finds the next one of its kind,
// which lies at least a lunation later and so after tomorrow's midnight.
constexpr double DaysToSearchPastLateEvent = 2.0;

template <typename Set, typename Kind, typename NextEvent>
Set setForList(const astro::SystemTime& reading, Set (*fromToday)(const astro::SystemTime&),
               Set (*fromTomorrow)(const astro::SystemTime&), NextEvent nextEvent)
{
    const double nowJulianDay = astro::julianDayOf(reading);
    const auto past = [nowJulianDay](double instant) { return isBeforeNow(instant, nowJulianDay); };

    Set set = fromToday(reading);
    if (std::none_of(set.instants.begin(), set.instants.end(), past)) {
        return set;
    }
    set = fromTomorrow(reading);
    for (std::size_t i = 0; i < set.instants.size(); ++i) {
        if (past(set.instants[i])) {
            set.instants[i] = nextEvent(static_cast<Kind>(i), reading, DaysToSearchPastLateEvent);
        }
    }
    return set;
}

}  // namespace

double displayedInstant(double dayNumber)
{
    return astro::addTimeOfDay(dayNumber, isSummerTime(dayNumber), 0, 0);
}

PhaseSet nextPhasesFromToday(const astro::SystemTime& reading)
{
    return phaseSet(reading, 0.0);
}

PhaseSet nextPhasesFromTomorrow(const astro::SystemTime& reading)
{
    return phaseSet(reading, 1.0);
}

EclipseSet nextEclipsesFromToday(const astro::SystemTime& reading)
{
    return eclipseSet(reading, 0.0);
}

EclipseSet nextEclipsesFromTomorrow(const astro::SystemTime& reading)
{
    return eclipseSet(reading, 1.0);
}

PhaseSet nextPhasesFromToday()
{
    return nextPhasesFromToday(astro::readLocalClock());
}

PhaseSet nextPhasesFromTomorrow()
{
    return nextPhasesFromTomorrow(astro::readLocalClock());
}

EclipseSet nextEclipsesFromToday()
{
    return nextEclipsesFromToday(astro::readLocalClock());
}

EclipseSet nextEclipsesFromTomorrow()
{
    return nextEclipsesFromTomorrow(astro::readLocalClock());
}

bool isBeforeNow(double instant, double nowJulianDay)
{
    return std::floor(instant - (nowJulianDay - 0.5)) < 0;
}

PhaseSet phasesForList(const astro::SystemTime& reading)
{
    return setForList<PhaseSet, Phase>(reading, nextPhasesFromToday, nextPhasesFromTomorrow,
                                       nextPhase);
}

EclipseSet eclipsesForList(const astro::SystemTime& reading)
{
    return setForList<EclipseSet, Eclipse>(reading, nextEclipsesFromToday, nextEclipsesFromTomorrow,
                                           nextEclipse);
}

}  // namespace events
