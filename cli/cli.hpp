// What lunavista-cli prints, as strings, so that the whole program can be run in a test.
#pragma once

#include "cli/arguments.hpp"
#include "cli/eclipse_report.hpp"
#include "cli/formats.hpp"
#include "cli/ics.hpp"

#include "events/current_phase.hpp"
#include "events/event_kinds.hpp"
#include "events/local_time.hpp"
#include "events/place.hpp"

#include "astro/system_time.hpp"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cli {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitUsage = 2;
inline constexpr int ExitWriteFailed = 3;

// Shown instead of an invented value when two principal phases are equally near.
inline constexpr const char* NoNearestPhase = "(none: two phases equally near)";

// The four lines of "now" for a local reading (UTF-8, LF, fields split by one TAB):
//   fraction<TAB><percent lit one hour before the reading, 5 decimals>
//   event<TAB><the event line, with its leading and trailing space>
//   countdown<TAB><days><TAB><hours><TAB><minutes><TAB><seconds>
//   dial<TAB><hh:mm:ss>
std::string nowReport(const astro::SystemTime& reading);

// The same lines from their values: the gauge value in percent and the nearest phase.
std::string nowReport(double gaugeValue, const events::NearestPhase& nearest);

// The Moon seen from a place at an instant, as now --place shows it.
struct MoonFromPlace {
    double altitudeDeg = 0.0;  // of the centre, topocentric, refracted
    double azimuthDeg = 0.0;   // from north over east
    double distanceKm = 0.0;   // from the place to the centre
    std::string readingLocal;  // the instant, ISO 8601 with the offset of the zone then
};

// The Moon from a place at an instant (topocentric, of date, refracted), and the instant in the
// zone's local time.
MoonFromPlace moonFromPlace(std::chrono::sys_seconds instant, const events::GeoPlace& place,
                            const events::TimeZone& zone);

// The lines now --place adds after the four (angles to 0.01 degree, the azimuth 0.00..359.99
// with the compass word of the azimuth shown, the distance in whole km):
//   altitude<TAB><degrees>
//   azimuth<TAB><degrees><TAB><N|NO|O|SO|S|SW|W|NW>
//   distance<TAB><km>
//   reading_local<TAB><2026-12-20T21:15:00+01:00>
std::string placeLines(const MoonFromPlace& moon);

// The same as the fields altitude_deg, azimuth_deg, distance_km (numbers) and reading_local
// (text) added to now's record.
void addPlaceFields(Table& table, const MoonFromPlace& moon);

// One line per list entry, in list order: <heading> ist in<TAB><day count><TAB><date>.
std::string phasesReport(const astro::SystemTime& reading);
std::string eclipsesReport(const astro::SystemTime& reading);

// One line per apsis, the next `count` perigees and apogees in time order:
// <Erdnähe|Erdferne><TAB><date><TAB><distance> km[<TAB>Supermond].
std::string apsidesReport(const astro::SystemTime& reading, int count);

// The records of --format tsv and json. "now": one record, the gauge's fraction and the nearest
// phase (its true instant in UTC, kind, event line, count-down and dial; nothing for them when
// two phases are equally near). "phases", "eclipses": one record per list entry in list order,
// the true instant in UTC, the kind, the whole days to the listed time and the entry's three
// columns as the window shows them. "apsides": one record per apsis, the true instant in UTC,
// the kind, the distance in whole kilometres, the line's name, date and distance texts, and
// whether the perigee is a "Supermond".
Table nowTable(const astro::SystemTime& reading);
Table nowTable(double gaugeValue, const events::NearestPhase& nearest, double nearestJde);
Table phasesTable(const astro::SystemTime& reading);
Table eclipsesTable(const astro::SystemTime& reading);
Table apsidesTable(const astro::SystemTime& reading, int count);

// The range of the calendar as day numbers of the local clock: from the midnight that begins the
// reading's day to the same day `months` months later (the month's last day where it is shorter),
// or to `until`. False with a one-line reason when the range is empty, longer than MostMonths or
// reaches past the year 9999.
struct CalendarRange {
    double fromDayNumber = 0.0;
    double untilDayNumber = 0.0;
};
bool calendarRange(const astro::SystemTime& reading, const Request& request, CalendarRange& range,
                   std::string& error);

// The calendar entry of an event: its true instant in UTC, its German title and a UID made of
// the event's UTC date and kind (two events of one kind never share a day). A perigee or apogee
// has the distance as its description, and a perigee that is a "Supermond" says so in its title.
CalendarEvent calendarEventOf(const events::Event& event);

// The calendar entries of the phases (and apsides) and of the eclipses of a range, in the order
// of their series' instants: eclipses after a phase and before an apsis of the same instant, as
// when every kind came from eventsBetween. Each eclipse is described as eclipseCalendarEvent
// does, with `localInstant` and `placeHeading` for what a place sees.
std::vector<CalendarEvent> calendarEntries(std::span<const events::Event> events,
                                           std::span<const EclipseView> eclipses,
                                           const events::InstantText& localInstant,
                                           const std::string& placeHeading);

// The entries with a place's risings and settings (in time order) among them by their instants;
// the entries keep their own order.
std::vector<CalendarEvent> withRiseSet(std::span<const CalendarEvent> entries,
                                       std::span<const CalendarEvent> riseSet);

// The calendar file of the entries; its name says whether the apsides and the risings and
// settings are in it.
std::string icsReport(std::span<const CalendarEvent> entries, std::int64_t stampUtcSeconds,
                      std::optional<int> alarmMinutes, bool withApsides, bool withRiseSet = false);

std::string helpText();
std::string versionText();

// The whole program: parses the arguments (after the program name), reads the local clock once
// when no --at is given (and for --place the UTC clock), and fills `out` and `err`, or with -o
// writes the output to that file.
// Returns the exit status: 0; 2 for a usage error; 3 when the -o file cannot be written (one
// line on `err`, nothing on `out`, in both cases).
int run(const std::vector<std::string>& arguments, std::string& out, std::string& err);

}  // namespace cli
