#include "events/event_sets.hpp"

#include "events/calendar.hpp"

#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <algorithm>
#include <cmath>

namespace events {
namespace {

double readingDayNumber(const astro::SystemTime& reading)
{
    return astro::millisecondsToDayNumber(astro::systemTimeToMilliseconds(reading));
}

// The series' day number of the next event of a kind, searched from the reading's day number
// plus `daysLater`.
double nextPhase(Phase phase, const astro::SystemTime& reading, double daysLater)
{
    return nextPhaseDayNumber(phase, reading, readingDayNumber(reading) + daysLater);
}

double nextEclipse(Eclipse kind, const astro::SystemTime& reading, double daysLater)
{
    return nextEclipseDayNumber(kind, reading, readingDayNumber(reading) + daysLater);
}

// Sets the event of index i of a set from the series' day number.
template <typename Set>
void setEvent(Set& set, std::size_t i, double seriesDayNumber)
{
    set.seriesDayNumbers[i] = seriesDayNumber;
    set.instants[i] = displayedInstant(seriesDayNumber);
}

PhaseSet phaseSet(const astro::SystemTime& reading, double daysLater)
{
    PhaseSet set;
    for (std::size_t i = 0; i < set.instants.size(); ++i) {
        setEvent(set, i, nextPhase(static_cast<Phase>(i), reading, daysLater));
    }
    return set;
}

EclipseSet eclipseSet(const astro::SystemTime& reading, double daysLater)
{
    EclipseSet set;
    for (std::size_t i = 0; i < set.instants.size(); ++i) {
        setEvent(set, i, nextEclipse(static_cast<Eclipse>(i), reading, daysLater));
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
            setEvent(set, i, nextEvent(static_cast<Kind>(i), reading, DaysToSearchPastLateEvent));
        }
    }
    return set;
}

}  // namespace

double displayedInstant(double dayNumber)
{
    return astro::addTimeOfDay(dayNumber, isSummerTime(dayNumber), 0, 0);
}

double nextPhaseDayNumber(Phase phase, const astro::SystemTime& date, double dayNumber)
{
    const std::int32_t year = date.wYear;
    switch (phase) {
    case Phase::NewMoon:
        return astro::nextNewMoon(year, date, dayNumber);
    case Phase::FirstQuarter:
        return astro::nextFirstQuarter(year, date, dayNumber);
    case Phase::FullMoon:
        return astro::nextFullMoon(year, date, dayNumber);
    case Phase::LastQuarter:
        return astro::nextLastQuarter(year, date, dayNumber);
    }
    return 0.0;
}

double nextEclipseDayNumber(Eclipse kind, const astro::SystemTime& date, double dayNumber)
{
    const std::int32_t year = date.wYear;
    switch (kind) {
    case Eclipse::PartialLunar:
        return astro::nextLunarEclipse(year, date, dayNumber, astro::EclipseKind::Partial);
    case Eclipse::TotalLunar:
        return astro::nextLunarEclipse(year, date, dayNumber, astro::EclipseKind::Total);
    case Eclipse::PartialSolar:
        return astro::nextSolarEclipse(year, date, dayNumber, astro::EclipseKind::Partial);
    case Eclipse::TotalSolar:
        return astro::nextSolarEclipse(year, date, dayNumber, astro::EclipseKind::Total);
    case Eclipse::AnnularSolar:
        return astro::nextSolarEclipse(year, date, dayNumber, astro::EclipseKind::Annular);
    }
    return 0.0;
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

PhaseSet nextPhasesFromTomorrow()
{
    return nextPhasesFromTomorrow(astro::readLocalClock());
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
