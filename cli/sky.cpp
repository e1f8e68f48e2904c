#include "cli/sky.hpp"

#include "events/encoding.hpp"
#include "events/number_format.hpp"

#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

namespace cli {
namespace {

std::int64_t secondsOf(std::chrono::sys_seconds instant)
{
    return instant.time_since_epoch().count();
}

}  // namespace

std::string skyReport(const events::TimeZone& zone, std::span<const events::MoonDay> days)
{
    std::string out;
    for (const events::MoonDay& day : days) {
        for (const std::string& line : events::moonDayLines(zone, day)) {
            out += events::utf8FromWindows1252(line) + "\n";
        }
    }
    return out;
}

Table skyTable(const events::TimeZone& zone, std::span<const events::MoonDay> days)
{
    Table table{{"utc", "local", "kind", "azimuth_deg", "altitude_deg"}, {}};
    for (const events::MoonDay& day : days) {
        for (const events::MoonSkyEvent& event : day.events) {
            table.records.push_back(
                {Value::ofText(isoUtcText(secondsOf(event.instant))),
                 Value::ofText(events::isoLocalText(zone, event.instant)),
                 Value::ofText(std::string(events::moonEventKey(event.kind))),
                 Value::ofNumber(events::formatWithMask(
                     events::shownAzimuth(event.azimuthDeg, HundredthsMask), HundredthsMask)),
                 Value::ofNumber(events::formatWithMask(event.altitudeDeg, HundredthsMask))});
        }
    }
    return table;
}

std::string placeKey(const events::GeoPlace& place)
{
    char key[48];
    std::snprintf(key, sizeof key, "%.4f%c%.4f%c", std::fabs(place.latitudeDeg),
                  place.latitudeDeg < 0 ? 'S' : 'N', std::fabs(place.longitudeDeg),
                  place.longitudeDeg < 0 ? 'W' : 'E');
    return key;
}

std::vector<CalendarEvent> riseSetCalendarEvents(std::span<const events::MoonSkyEvent> events,
                                                 const events::GeoPlace& place)
{
    const std::string where = placeKey(place) + "@lunavista";
    std::map<std::pair<std::string, astro::MoonEventKind>, int> seen;  // by UTC date and kind
    std::vector<CalendarEvent> entries;
    for (const events::MoonSkyEvent& event : events) {
        if (event.kind == astro::MoonEventKind::Transit) {
            continue;
        }
        const std::int64_t start = secondsOf(event.instant);
        const std::string date = icsUtcText(start).substr(0, 8);
        const int number = ++seen[{date, event.kind}];
        std::string uid = date + "-" + std::string(events::moonEventKey(event.kind)) + "-";
        if (number > 1) {
            uid += std::to_string(number) + "-";
        }
        entries.push_back(
            {uid + where, events::utf8FromWindows1252(events::moonEventWord(event.kind)),
             events::utf8FromWindows1252(events::azimuthDescription(event.azimuthDeg)), start});
    }
    return entries;
}

}  // namespace cli
