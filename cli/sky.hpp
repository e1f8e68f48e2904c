// The Moon's risings, highest points and settings at a place as the companion writes them: the
// lines and records of sky, and the calendar entries of ics --rise-set.
#pragma once

#include "cli/formats.hpp"
#include "cli/ics.hpp"

#include "events/local_time.hpp"
#include "events/moon_days.hpp"
#include "events/place.hpp"

#include <span>
#include <string>
#include <vector>

namespace cli {

// The days' lines (events::moonDayLines) in UTF-8, each ending in LF.
std::string skyReport(const events::TimeZone& zone, std::span<const events::MoonDay> days);

// One record per event of the days, in time order: utc (ISO 8601 ...Z), local (the same instant
// with the zone's offset then), kind (moonrise, transit, moonset), azimuth_deg and altitude_deg
// (numbers to 0.01 degree, the refracted altitude). A day without an event has no record.
Table skyTable(const events::TimeZone& zone, std::span<const events::MoonDay> days);

// The place as the calendar's UIDs write it: "52.5200N13.4050E".
std::string placeKey(const events::GeoPlace& place);

// The calendar entries of the risings and settings among the events (transits are left out):
// "Mondaufgang" or "Monduntergang", the azimuth as the description, and a UID of the UTC date,
// the kind and the place, numbered from the second event of a kind on one UTC date
// ("20261220-moonrise-52.5200N13.4050E@lunavista", "...-moonrise-2-..."), so that each place's
// entries stay apart and a newer file updates them.
std::vector<CalendarEvent> riseSetCalendarEvents(std::span<const events::MoonSkyEvent> events,
                                                 const events::GeoPlace& place);

}  // namespace cli
