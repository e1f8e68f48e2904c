// The Moon's risings, highest points and settings at a place, day by day in the local calendar
// of a time zone, and their German lines (Windows-1252, like every text of the program).
//
// A day is a calendar day of the zone, from its midnight to the next (23 or 25 hours on the days
// the offset changes). An event belongs to the day its instant, to the nearest second, falls on.
// A day without a rising or without a setting is normal (the Moon comes some 50 minutes later
// each day); a day with neither is one the Moon spends wholly above or wholly below the horizon.
#pragma once

#include "events/local_time.hpp"

#include "astro/coordinates.hpp"
#include "astro/moon_rise_set.hpp"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace events {

inline constexpr std::string_view MoonriseWord = "Mondaufgang";
inline constexpr std::string_view TransitWord =
    "H\xF6"
    "chststand";
inline constexpr std::string_view MoonsetWord = "Monduntergang";
inline constexpr std::string_view NoneWord = "kein ";
inline constexpr std::string_view AboveAllDayText =
    "Mond den ganzen Tag \xFC"
    "ber dem Horizont";
inline constexpr std::string_view BelowAllDayText = "Mond den ganzen Tag unter dem Horizont";

// The name of each kind of event in the records: moonrise, transit, moonset.
std::string_view moonEventKey(astro::MoonEventKind kind);

// The German word: Mondaufgang, Höchststand, Monduntergang.
std::string_view moonEventWord(astro::MoonEventKind kind);

struct MoonSkyEvent {
    astro::MoonEventKind kind = astro::MoonEventKind::Rise;
    std::chrono::sys_seconds instant{};  // to the nearest second
    double azimuthDeg = 0.0;             // of the centre, from the north over the east
    double altitudeDeg = 0.0;            // of the centre, refracted
};

enum class AllDay { No, Above, Below };

struct MoonDay {
    std::chrono::year_month_day date;
    std::vector<MoonSkyEvent> events;  // in time order
    AllDay allDay = AllDay::No;        // without a rising and a setting: where the Moon stays
};

// The `count` local days of the zone from `first`, each with its events at the place.
std::vector<MoonDay> moonDays(const TimeZone& zone, const astro::GeoPlace& place,
                              std::chrono::year_month_day first, int count);

// The risings, highest points and settings whose instants, to the nearest second, lie in
// [from, to), and whether the Moon is up at `from`.
struct MoonSkyEvents {
    bool upAtStart = false;
    std::vector<MoonSkyEvent> events;  // in time order
};
MoonSkyEvents moonSkyEvents(const astro::GeoPlace& place, std::chrono::sys_seconds from,
                            std::chrono::sys_seconds to);

// An azimuth rounded as a mask with decimal places writes it, one that rounds to 360 as 0: the
// value the texts and the compass word take.
double shownAzimuth(double azimuthDeg, std::string_view mask);

// The lines write angles to 0.1 degree.
inline constexpr std::string_view LineAngleMask = "0.0";

// "Azimut 118.3° SO": the azimuth of an event, with the compass word of the azimuth shown.
std::string azimuthDescription(double azimuthDeg);

// The day's lines, events in time order, then what the day lacks:
//   Mondaufgang<TAB>20.12.2026 um 10:47 Uhr<TAB>Azimut 118.3° SO
//   Höchststand<TAB>20.12.2026 um 15:32 Uhr<TAB>Azimut 180.0° S<TAB>Höhe 21.5°
//   kein Monduntergang<TAB>20.12.2026
// or for a day without a rising and a setting, after its highest point if it has one:
//   Mond den ganzen Tag über dem Horizont<TAB>20.12.2026
// The times are the zone's local wall clock, the seconds cut as in the lists.
std::vector<std::string> moonDayLines(const TimeZone& zone, const MoonDay& day);

}  // namespace events
