// The next phases and eclipses seen from a local clock reading, in displayed time: the event's
// day number plus one hour when its calendar day lies in the summer-time period.
#pragma once

#include "astro/system_time.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace events {

enum class Phase : std::int32_t {
    NewMoon = 0,
    FirstQuarter = 1,
    FullMoon = 2,
    LastQuarter = 3,
};

enum class Eclipse : std::int32_t {
    PartialLunar = 0,
    TotalLunar = 1,
    PartialSolar = 2,
    TotalSolar = 3,
    AnnularSolar = 4,
};

// Day numbers (with the summer-time hour) in the order of the enumeration, and the series'
// instants they were made from (JDE - 0.5, without the hour).
struct PhaseSet {
    std::array<double, 4> instants{};
    std::array<double, 4> seriesDayNumbers{};
    double operator[](Phase phase) const
    {
        return instants[static_cast<std::size_t>(phase)];
    }
};

struct EclipseSet {
    std::array<double, 5> instants{};
    std::array<double, 5> seriesDayNumbers{};
    double operator[](Eclipse kind) const
    {
        return instants[static_cast<std::size_t>(kind)];
    }
};

// The day number as the lists show it: + 1 hour on summer-time days, unchanged otherwise.
double displayedInstant(double dayNumber);

// The series' instant of the next event of a kind as a day number (JDE - 0.5, no summer hour),
// searched from the midnight that begins the day of `dayNumber` (with the searches' margins:
// an event up to 1 h 30 min, for the quarters 58 min 30 s, before it is still found). `date` is
// the reading the searches' lunation estimate starts from: that of `dayNumber` or one shortly
// before it.
double nextPhaseDayNumber(Phase phase, const astro::SystemTime& date, double dayNumber);
double nextEclipseDayNumber(Eclipse kind, const astro::SystemTime& date, double dayNumber);

// The next event of each kind counted from the midnight that begins the reading's day (an event
// earlier today is still found, and so is one up to 1 h 30 min (New and Full Moon, eclipses) or
// 58 min 30 s (quarters) before that midnight), or from the midnight that begins tomorrow.
PhaseSet nextPhasesFromToday(const astro::SystemTime& reading);
PhaseSet nextPhasesFromTomorrow(const astro::SystemTime& reading);
EclipseSet nextEclipsesFromToday(const astro::SystemTime& reading);
EclipseSet nextEclipsesFromTomorrow(const astro::SystemTime& reading);

// The same for the local clock now (the pointer's waxing or waning, each second).
PhaseSet nextPhasesFromTomorrow();

// True when the displayed instant lies before the present moment: floor(instant - (now - 0.5))
// is below 0. An event at exactly the present moment is not past.
bool isBeforeNow(double instant, double nowJulianDay);

// The sets the lists show. The from-today set, unless one of its events is already past; then
// the from-tomorrow set, in which an event that is still past (one late in the evening of today,
// which the from-tomorrow search accepts) is replaced by the next event of its kind. No listed
// event lies before the reading.
PhaseSet phasesForList(const astro::SystemTime& reading);
EclipseSet eclipsesForList(const astro::SystemTime& reading);

}  // namespace events
