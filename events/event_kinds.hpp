// Every kind of event the program finds, in one table: a stable ASCII key for scripts and
// calendar entries, a German title, and the search for the next event of the kind. Events of
// several kinds within a range come from repeated next-event searches.
#pragma once

#include "events/event_sets.hpp"

#include "astro/apsides.hpp"
#include "astro/system_time.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace events {

// The principal phases in Phase order, then the eclipses in Eclipse order, then the apsides in
// astro::ApsisKind order.
enum class EventKind : std::int32_t {
    NewMoon,
    FirstQuarter,
    FullMoon,
    LastQuarter,
    PartialLunarEclipse,
    TotalLunarEclipse,
    PartialSolarEclipse,
    TotalSolarEclipse,
    AnnularSolarEclipse,
    Perigee,
    Apogee,
};

// Every kind: the phases and eclipses, then the perigees and apogees.
inline constexpr std::array<EventKind, 11> PhaseEclipseAndApsisKinds = {
    EventKind::NewMoon,
    EventKind::FirstQuarter,
    EventKind::FullMoon,
    EventKind::LastQuarter,
    EventKind::PartialLunarEclipse,
    EventKind::TotalLunarEclipse,
    EventKind::PartialSolarEclipse,
    EventKind::TotalSolarEclipse,
    EventKind::AnnularSolarEclipse,
    EventKind::Perigee,
    EventKind::Apogee,
};

// The phases and eclipses alone.
inline constexpr std::span<const EventKind, 9> PhaseAndEclipseKinds =
    std::span(PhaseEclipseAndApsisKinds).first<9>();

EventKind eventKindOf(Phase phase);
EventKind eventKindOf(Eclipse kind);
EventKind eventKindOf(astro::ApsisKind kind);

bool isApsis(EventKind kind);

// "full_moon", "annular_solar_eclipse", "perigee": lower-case ASCII and underscores, never changed
// once published (scripts and calendar entries keep them).
std::string_view eventKey(EventKind kind);

// The event's name on its own, Windows-1252: "Vollmond", "Ringförmige Sonnenfinsternis",
// "Erdnähe".
std::string_view eventTitle(EventKind kind);

// The series' instant of the next event of a kind as a day number, as nextPhaseDayNumber,
// nextEclipseDayNumber and nextApsisDayNumber give it.
double nextEventDayNumber(EventKind kind, const astro::SystemTime& date, double dayNumber);

struct Event {
    EventKind kind = EventKind::NewMoon;
    double seriesDayNumber = 0.0;  // JDE - 0.5, without the summer-time hour
};

// Every event of the given kinds whose listed time (displayedInstant of its day number) lies
// within [fromDayNumber, untilDayNumber), earliest instant first; events at the same instant in
// the order of `kinds`. Found by asking, kind by kind, for the next event two days after the
// day of the one before (two events of one kind lie at least three weeks apart).
std::vector<Event> eventsBetween(std::span<const EventKind> kinds, double fromDayNumber,
                                 double untilDayNumber);

}  // namespace events
