#include "events/moon_days.hpp"

#include "events/number_format.hpp"
#include "events/place.hpp"

#include "astro/time_scale.hpp"

#include <array>
#include <cmath>
#include <cstdio>

namespace events {
namespace {

namespace chr = std::chrono;

// "20.12.2026" and "20.12.2026 um 10:47 Uhr" of a wall-clock reading, the seconds cut.
std::string dateText(chr::local_seconds reading)
{
    const chr::year_month_day date{chr::floor<chr::days>(reading)};
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return text;
}

std::string dateTimeText(chr::local_seconds reading)
{
    const chr::hh_mm_ss time{reading - chr::floor<chr::days>(reading)};
    char text[32];
    std::snprintf(text, sizeof text, " um %02d:%02d Uhr", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()));
    return dateText(reading) + text;
}

constexpr std::string_view DegreeSign = "\xB0";

}  // namespace

std::string_view moonEventKey(astro::MoonEventKind kind)
{
    switch (kind) {
    case astro::MoonEventKind::Rise:
        return "moonrise";
    case astro::MoonEventKind::Transit:
        return "transit";
    case astro::MoonEventKind::Set:
        return "moonset";
    }
    return "";
}

std::string_view moonEventWord(astro::MoonEventKind kind)
{
    switch (kind) {
    case astro::MoonEventKind::Rise:
        return MoonriseWord;
    case astro::MoonEventKind::Transit:
        return TransitWord;
    case astro::MoonEventKind::Set:
        return MoonsetWord;
    }
    return "";
}

MoonSkyEvents moonSkyEvents(const astro::GeoPlace& place, chr::sys_seconds from,
                            chr::sys_seconds to)
{
    // A second more on either side: the events are taken by their instants to the second.
    const astro::MoonEvents found = astro::moonEvents(julianDayOf(from - chr::seconds{1}),
                                                      julianDayOf(to + chr::seconds{1}), place);
    MoonSkyEvents result;
    result.upAtStart = found.upAtStart;
    for (const astro::MoonEvent& event : found.events) {
        const chr::sys_seconds instant = instantOfJulianDay(event.jdUt);
        if (instant < from) {
            if (event.kind != astro::MoonEventKind::Transit) {
                result.upAtStart = event.kind == astro::MoonEventKind::Rise;
            }
        } else if (instant < to) {
            result.events.push_back({event.kind, instant, event.azimuthDeg, event.altitudeDeg});
        }
    }
    return result;
}

std::vector<MoonDay> moonDays(const TimeZone& zone, const astro::GeoPlace& place,
                              chr::year_month_day first, int count)
{
    std::vector<MoonDay> days;
    if (count < 1) {
        return days;
    }
    const chr::sys_days firstDay{first};
    const MoonSkyEvents found =
        moonSkyEvents(place, localDay(zone, first).start,
                      localDay(zone, chr::year_month_day{firstDay + chr::days{count - 1}}).end);
    bool up = found.upAtStart;
    auto event = found.events.begin();
    for (int i = 0; i < count; ++i) {
        MoonDay day{chr::year_month_day{firstDay + chr::days{i}}, {}, AllDay::No};
        const bool upAtDayStart = up;
        bool crossed = false;
        const chr::sys_seconds end = localDay(zone, day.date).end;
        for (; event != found.events.end() && event->instant < end; ++event) {
            day.events.push_back(*event);
            if (event->kind != astro::MoonEventKind::Transit) {
                up = event->kind == astro::MoonEventKind::Rise;
                crossed = true;
            }
        }
        if (!crossed) {
            day.allDay = upAtDayStart ? AllDay::Above : AllDay::Below;
        }
        days.push_back(std::move(day));
    }
    return days;
}

double shownAzimuth(double azimuthDeg, std::string_view mask)
{
    const std::size_t point = mask.find('.');
    const double scale = point == std::string_view::npos
                             ? 1.0
                             : std::pow(10.0, static_cast<double>(mask.size() - point - 1));
    const double shown = roundHalfEven(azimuthDeg * scale) / scale;
    return shown >= 360.0 ? shown - 360.0 : shown;
}

std::string azimuthDescription(double azimuthDeg)
{
    const double shown = shownAzimuth(azimuthDeg, LineAngleMask);
    return "Azimut " + formatWithMask(shown, LineAngleMask) + std::string(DegreeSign) + " " +
           std::string(compassWord(shown));
}

std::vector<std::string> moonDayLines(const TimeZone& zone, const MoonDay& day)
{
    std::vector<std::string> lines;
    std::array<bool, 3> seen{};  // by kind: rise, transit, set
    for (const MoonSkyEvent& event : day.events) {
        seen[static_cast<std::size_t>(event.kind)] = true;
        std::string line = std::string(moonEventWord(event.kind)) + "\t" +
                           dateTimeText(wallClockOf(zone, event.instant)) + "\t" +
                           azimuthDescription(event.azimuthDeg);
        if (event.kind == astro::MoonEventKind::Transit) {
            line += "\tH\xF6he " + formatWithMask(event.altitudeDeg, LineAngleMask) +
                    std::string(DegreeSign);
        }
        lines.push_back(std::move(line));
    }
    const std::string date = dateText(chr::local_days{chr::sys_days{day.date}.time_since_epoch()});
    if (day.allDay != AllDay::No) {
        lines.push_back(
            std::string(day.allDay == AllDay::Above ? AboveAllDayText : BelowAllDayText) + "\t" +
            date);
        return lines;
    }
    for (const astro::MoonEventKind kind :
         {astro::MoonEventKind::Rise, astro::MoonEventKind::Transit, astro::MoonEventKind::Set}) {
        if (!seen[static_cast<std::size_t>(kind)]) {
            lines.push_back(std::string(NoneWord) + std::string(moonEventWord(kind)) + "\t" + date);
        }
    }
    return lines;
}

}  // namespace events
