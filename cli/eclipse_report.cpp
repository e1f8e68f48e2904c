#include "cli/eclipse_report.hpp"

#include "events/encoding.hpp"
#include "events/event_kinds.hpp"
#include "events/number_format.hpp"

#include "astro/time_scale.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <optional>

namespace cli {
namespace {

// Numbers of the records: magnitudes and gamma to 0.0001, angles to 0.01 degree (HundredthsMask),
// as now --place writes its altitude.
constexpr std::string_view FourDecimals = "0.0000";

Value number(double value, std::string_view mask)
{
    return Value::ofNumber(events::formatWithMask(value, mask));
}

Value instant(double jdUt)
{
    return Value::ofText(isoUtcText(utcSecondsOfJulianDay(jdUt)));
}

Value instantIf(const std::optional<double>& jdUt)
{
    return jdUt ? instant(*jdUt) : Value{};
}

// The local circumstances' members, in JSON as they are, in TSV with the prefix local_ (a name
// that has it already keeps it).
constexpr std::string_view LocalNames[] = {
    "begin",
    "maximum",
    "end",
    "central_begin",
    "central_end",
    "obscuration",
    "local_magnitude",
    "sun_altitude_begin_deg",
    "sun_altitude_deg",
    "sun_altitude_end_deg",
};
constexpr std::string_view FlatLocalNames[] = {
    "local_begin",
    "local_maximum",
    "local_end",
    "local_central_begin",
    "local_central_end",
    "local_obscuration",
    "local_magnitude",
    "local_sun_altitude_begin_deg",
    "local_sun_altitude_deg",
    "local_sun_altitude_end_deg",
};
static_assert(std::size(LocalNames) == std::size(FlatLocalNames));

std::vector<Value> localValues(const astro::LocalSolarEclipse& local)
{
    return {instant(local.beginJdUt),
            instant(local.maximumJdUt),
            instant(local.endJdUt),
            instantIf(local.centralBeginJdUt),
            instantIf(local.centralEndJdUt),
            number(local.obscuration, FourDecimals),
            number(local.magnitude, FourDecimals),
            number(local.sunAltitudeBeginDeg, HundredthsMask),
            number(local.sunAltitudeMaximumDeg, HundredthsMask),
            number(local.sunAltitudeEndDeg, HundredthsMask)};
}

std::string utf8(std::string_view windows1252)
{
    return events::utf8FromWindows1252(windows1252);
}

// "label<TAB>value<TAB>value" or, for the calendar, "label: value, value".
std::string joined(const events::EclipseLine& line, std::string_view afterLabel,
                   std::string_view betweenValues)
{
    std::string text = utf8(line.label);
    for (std::size_t i = 0; i < line.values.size(); ++i) {
        text += i == 0 ? afterLabel : betweenValues;
        text += utf8(line.values[i]);
    }
    return text;
}

// An instant of the calendar's phases: "28.08.2026 04:12:50 UTC".
std::string utcInstantText(double jdUt)
{
    const UtcFields f = utcFields(utcSecondsOfJulianDay(jdUt));
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d UTC", f.day, f.month, f.year,
                  f.hour, f.minute, f.second);
    return text;
}

// The day of a wall-clock reading, "12.08.2026".
std::string dayText(std::chrono::local_seconds wallClock)
{
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(wallClock)};
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", static_cast<unsigned>(day.day()),
                  static_cast<unsigned>(day.month()), static_cast<int>(day.year()));
    return text;
}

// A latitude or longitude to 0.0001 degree with its hemisphere: "52.5200° N", "13.4050° O".
std::string coordinateText(double angleDeg, std::string_view positive, std::string_view negative)
{
    return events::formatWithMask(std::fabs(angleDeg), FourDecimals) + "\302\260 " +
           std::string(angleDeg < 0 ? negative : positive);
}

}  // namespace

events::InstantText localInstantText(events::TimeZone zone)
{
    return [zone](double jdUt) {
        const std::chrono::sys_seconds instant = events::instantOfJulianDay(jdUt);
        const std::chrono::local_seconds wallClock = events::wallClockOf(zone, instant);
        const std::chrono::hh_mm_ss<std::chrono::seconds> time{
            wallClock - std::chrono::floor<std::chrono::days>(wallClock)};
        char clock[32];
        std::snprintf(clock, sizeof clock, " um %02d:%02d:%02d Uhr (UTC",
                      static_cast<int>(time.hours().count()),
                      static_cast<int>(time.minutes().count()),
                      static_cast<int>(time.seconds().count()));
        return dayText(wallClock) + clock + events::offsetText(zone.offsetAt(instant)) + ")";
    };
}

events::InstantText localDayText(events::TimeZone zone)
{
    return [zone](double jdUt) {
        return dayText(events::wallClockOf(zone, events::instantOfJulianDay(jdUt)));
    };
}

std::string placeHeading(const astro::GeoPlace& place, bool utc)
{
    return "Gesehen von " + coordinateText(place.latitudeDeg, "N", "S") + ", " +
           coordinateText(place.longitudeDeg, "O", "W") +
           (utc ? " (Zeiten in UTC):" : " (Ortszeit dieses Computers):");
}

std::vector<EclipseView> eclipseViews(std::span<const events::EclipseEntry> entries,
                                      const std::optional<astro::GeoPlace>& place)
{
    std::vector<EclipseView> views;
    views.reserve(entries.size());
    for (const events::EclipseEntry& entry : entries) {
        views.push_back(
            {entry, place ? std::optional(events::eclipseSeenFrom(entry, *place)) : std::nullopt});
    }
    return views;
}

std::string eclipseReport(std::span<const EclipseView> views,
                          const events::InstantText& localInstant,
                          const events::InstantText& localDay)
{
    std::string out;
    for (const EclipseView& view : views) {
        if (!out.empty()) {
            out += '\n';
        }
        out += utf8(events::eclipseTitle(view.entry.type)) + "\t" +
               localDay(view.entry.greatestJdUt()) + "\n";
        std::vector<events::EclipseLine> lines =
            events::eclipsePhaseLines(view.entry, localInstant);
        if (view.seen) {
            const std::vector<events::EclipseLine> seen =
                events::eclipseSeenLines(view.entry, *view.seen, localInstant);
            lines.insert(lines.end(), seen.begin(), seen.end());
        }
        for (const events::EclipseLine& line : lines) {
            out += joined(line, "\t", "\t") + "\n";
        }
    }
    return out;
}

Table eclipseTable(std::span<const EclipseView> views, bool withPlace, bool flat)
{
    Table table{{"kind", "greatest", "penumbral_begin", "partial_begin", "total_begin", "total_end",
                 "partial_end", "penumbral_end", "umbral_magnitude", "penumbral_magnitude", "gamma",
                 "magnitude"},
                {}};
    if (withPlace) {
        table.names.insert(table.names.end(), {"visible", "moon_altitude_deg"});
        if (flat) {
            table.names.insert(table.names.end(), std::begin(FlatLocalNames),
                               std::end(FlatLocalNames));
        } else {
            table.names.emplace_back("local_circumstances");
        }
    }
    for (const EclipseView& view : views) {
        const events::EclipseEntry& entry = view.entry;
        std::vector<Value> record = {Value::ofText(std::string(events::eclipseKey(entry.type))),
                                     instant(entry.greatestJdUt())};
        if (entry.lunar) {
            const astro::LunarEclipse& lunar = *entry.lunar;
            record.insert(record.end(),
                          {instant(lunar.penumbralBeginJdUt), instantIf(lunar.partialBeginJdUt),
                           instantIf(lunar.totalBeginJdUt), instantIf(lunar.totalEndJdUt),
                           instantIf(lunar.partialEndJdUt), instant(lunar.penumbralEndJdUt),
                           number(lunar.umbralMagnitude, FourDecimals),
                           number(lunar.penumbralMagnitude, FourDecimals), Value{}, Value{}});
        } else {
            record.resize(record.size() + 8);
            record.insert(record.end(), {number(entry.solar->gamma, FourDecimals),
                                         number(entry.solar->magnitude, FourDecimals)});
        }
        if (withPlace && view.seen) {
            const events::EclipseSeen& seen = *view.seen;
            record.push_back(Value::ofBoolean(seen.visible));
            record.push_back(seen.moonAltitudeDeg ? number(*seen.moonAltitudeDeg, HundredthsMask)
                                                  : Value{});
            const bool local = seen.solar && seen.visible;
            if (flat) {
                std::vector<Value> values =
                    local ? localValues(*seen.solar) : std::vector<Value>(std::size(LocalNames));
                record.insert(record.end(), values.begin(), values.end());
            } else {
                record.push_back(
                    local ? Value::ofObject({std::begin(LocalNames), std::end(LocalNames)},
                                            localValues(*seen.solar))
                          : Value{});
            }
        }
        table.records.push_back(std::move(record));
    }
    return table;
}

CalendarEvent eclipseCalendarEvent(const EclipseView& view, const events::InstantText& localInstant,
                                   const std::string& placeHeading)
{
    const events::EclipseEntry& entry = view.entry;
    const std::int64_t start = utcSecondsOfJde(astro::julianDayOfDayNumber(entry.seriesDayNumber));
    const std::string_view key = entry.windowKind
                                     ? events::eventKey(events::eventKindOf(*entry.windowKind))
                                     : events::eclipseKey(entry.type);
    std::string description;
    for (const events::EclipseLine& line : events::eclipsePhaseLines(entry, utcInstantText)) {
        description += joined(line, ": ", ", ") + "\n";
    }
    if (view.seen) {
        description += "\n" + placeHeading + "\n";
        for (const events::EclipseLine& line :
             events::eclipseSeenLines(entry, *view.seen, localInstant)) {
            description += joined(line, ": ", ", ") + "\n";
        }
    }
    description.pop_back();  // no line break after the last line
    return {icsUtcText(start).substr(0, 8) + "-" + std::string(key) + "@lunavista",
            utf8(events::eclipseTitle(entry.type)), description, start};
}

}  // namespace cli
