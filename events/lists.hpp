// The upcoming-event lists of the phase and eclipse pages: every kind once, earliest first, each
// line in three columns (heading + " ist in", day count, date).
#pragma once

#include "events/event_kinds.hpp"
#include "events/event_sets.hpp"

#include "astro/system_time.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace events {

struct ListEntry {
    double instant = 0.0;          // day number with the summer-time hour
    double seriesDayNumber = 0.0;  // the series' instant, JDE - 0.5
    EventKind kind = EventKind::NewMoon;
    std::string heading;       // "Nächster Vollmond"
    std::string headingText;   // "Nächster Vollmond ist in"
    std::string dayCountText;  // " 9 Tagen am"
    std::string dateText;      // "14.03.2025 um 07:55 Uhr"
};

template <std::size_t N>
struct EventList {
    std::array<ListEntry, N> entries;
};

using PhaseList = EventList<4>;
using EclipseList = EventList<5>;

// Headings in the lists' initial order (ties in time keep this order).
// Phases: Full Moon, Last Quarter, New Moon, First Quarter.
extern const std::array<std::string_view, 4> PhaseListHeadings;
// Eclipses: partial and total lunar, partial, total and annular solar.
extern const std::array<std::string_view, 5> EclipseListHeadings;

// Lists from given sets and the present moment (Julian Day of the local clock).
PhaseList buildPhaseList(const PhaseSet& set, double nowJulianDay);
EclipseList buildEclipseList(const EclipseSet& set, double nowJulianDay);

// The lists for a reading: the sets the lists show (phasesForList, eclipsesForList), the day
// counts from the same reading.
PhaseList upcomingPhaseList(const astro::SystemTime& reading);
EclipseList upcomingEclipseList(const astro::SystemTime& reading);

}  // namespace events
