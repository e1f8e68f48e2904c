// The eclipse command's output and the calendar's eclipse events: every eclipse with its phases
// and magnitudes (events/eclipse_listing), and with a place what is seen of it there.
#pragma once

#include "cli/formats.hpp"
#include "cli/ics.hpp"

#include "events/eclipse_texts.hpp"
#include "events/local_time.hpp"

#include "astro/coordinates.hpp"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cli {

// "12.08.2026 um 20:08:10 Uhr (UTC+02:00)": the zone's wall clock at an instant, to the second,
// with its offset then; and "12.08.2026", the zone's day.
events::InstantText localInstantText(events::TimeZone zone);
events::InstantText localDayText(events::TimeZone zone);

// The line before what a place sees in a calendar event's description: the place and the time
// its instants are written in, "Gesehen von 52.5200° N, 13.4050° O (Ortszeit dieses Computers):"
// or "(Zeiten in UTC):".
std::string placeHeading(const astro::GeoPlace& place, bool utc);

// An eclipse and, with a place, what is seen of it there.
struct EclipseView {
    events::EclipseEntry entry;
    std::optional<events::EclipseSeen> seen;
};

std::vector<EclipseView> eclipseViews(std::span<const events::EclipseEntry> entries,
                                      const std::optional<astro::GeoPlace>& place);

// The German text: one block per eclipse, blocks separated by an empty line. A block starts with
// the title and the day of greatest eclipse ("Totale Sonnenfinsternis<TAB>12.08.2026"), then one
// line per phase, magnitude and, with a place, what is seen there, each its label and values
// split by TABs. Instants are written by `localInstant`. UTF-8, LF.
std::string eclipseReport(std::span<const EclipseView> views,
                          const events::InstantText& localInstant,
                          const events::InstantText& localDay);

// The records: kind, greatest, the lunar contacts (UTC, or nothing where the phase does not
// occur) and magnitudes, the solar gamma and magnitude, and with a place `visible`, the Moon's
// altitude at greatest eclipse (lunar) and the local circumstances (solar: nothing where not
// visible). Every record has every field; in JSON the local circumstances are one object
// (`local_circumstances`), in TSV (`flat`) columns of their own named local_...
Table eclipseTable(std::span<const EclipseView> views, bool withPlace, bool flat);

// The calendar event of an eclipse. Its instant and UID are those of the series' greatest
// eclipse and of the kind the window's list gives it, as before penumbral eclipses were added
// (a penumbral eclipse the window does not list takes its own key); its title follows the true
// positions. The description lists the phases in UTC and the magnitudes, and with a place, after
// `placeHeading`, what is seen there, its instants written by `localInstant`.
CalendarEvent eclipseCalendarEvent(const EclipseView& view, const events::InstantText& localInstant,
                                   const std::string& placeHeading);

}  // namespace cli
