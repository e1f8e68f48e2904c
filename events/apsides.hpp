// The Moon's coming perigees and apogees as the companion lists them: in time order, with the
// date text and the summer-time hour of the phase lists, the distance in whole kilometres, and
// the word "Supermond" at a perigee near a Full Moon. Windows-1252, like every text of the
// program.
#pragma once

#include "astro/apsides.hpp"
#include "astro/system_time.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace events {

inline constexpr std::string_view PerigeeName = "Erdn\xE4he";
inline constexpr std::string_view ApogeeName = "Erdferne";
inline constexpr std::string_view SupermoonWord = "Supermond";
// The calendar event's description of the distance: "Abstand Erde–Mond: 356649 km".
inline constexpr std::string_view DistanceLabel = "Abstand Erde\x96Mond: ";

// A "Supermond" is a perigee within 24 hours (either side, 24 hours included) of the nearest
// Full Moon, both instants as the program's series compute them (astro::apsisAt,
// astro::nearestFullMoon, the Full Moons of the phase lists).
inline constexpr double SupermoonWithinDays = 1.0;

struct ApsisEntry {
    astro::ApsisKind kind = astro::ApsisKind::Perigee;
    double jde = 0.0;         // the series' instant, JDE (Terrestrial Time)
    double instant = 0.0;     // its day number with the summer-time hour, as the lists show it
    double distanceKm = 0.0;  // in whole kilometres, as distanceText writes it
    bool supermoon = false;
    std::string name;          // "Erdnähe" or "Erdferne"
    std::string dateText;      // "24.12.2026 um 01:29 Uhr"
    std::string distanceText;  // "356641 km"
};

bool isSupermoon(const astro::Apsis& apsis);

ApsisEntry apsisEntry(const astro::Apsis& apsis);

// The series' instant of the next apsis of a kind as a day number (JDE - 0.5, no summer hour),
// searched from the midnight that begins the day of `dayNumber` with the margin of the New and
// Full Moon searches: one up to 1 h 30 min before that midnight is still found.
double nextApsisDayNumber(astro::ApsisKind kind, double dayNumber);

// The entry of the apsis of a kind at a day number that nextApsisDayNumber gave (the same
// series, evaluated again).
ApsisEntry apsisEntryAt(astro::ApsisKind kind, double seriesDayNumber);

// The first `count` apsides, perigees and apogees together, in time order, none before the
// reading by the rule of the phase lists (isBeforeNow on the displayed instant).
std::vector<ApsisEntry> upcomingApsides(const astro::SystemTime& reading, std::size_t count);

// An entry on one line: name, date and distance, each pair separated by one TAB, then a TAB and
// "Supermond" where it holds ("Erdnähe<TAB>24.12.2026 um 01:29 Uhr<TAB>356641 km").
std::string apsisLineText(const ApsisEntry& entry);

// The apsis as a calendar event's title, "Erdnähe", "Erdferne" or "Erdnähe (Supermond)", and
// its description, "Abstand Erde–Mond: 356649 km".
std::string apsisTitle(const ApsisEntry& entry);
std::string apsisDescription(const ApsisEntry& entry);

// The lines of upcomingApsides, in its order.
std::vector<std::string> apsisLinesAt(const astro::SystemTime& reading, std::size_t count);

}  // namespace events
