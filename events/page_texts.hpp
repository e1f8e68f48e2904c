// The pages of the drawing area as lines of text, which a screen reader reads: the lists as the
// companion prints them, and where the Moon stands. Windows-1252, like every text of the program.
#pragma once

#include "events/current_phase.hpp"
#include "events/lists.hpp"

#include "astro/system_time.hpp"

#include <span>
#include <string>
#include <vector>

namespace events {

// A list entry on one line: heading, day count and date, each pair separated by one TAB
// ("Nächster Vollmond ist in<TAB> 3 Tagen am<TAB>24.12.2026 um 01:29 Uhr").
std::string listLineText(const ListEntry& entry);

// The lines of the two lists for a reading, in list order.
std::vector<std::string> phaseListLinesAt(const astro::SystemTime& reading);
std::vector<std::string> eclipseListLinesAt(const astro::SystemTime& reading);

// Where the Moon stands: whether it waxes or wanes, then the nearest principal phase and how far
// it is in whole days and hours ("Zunehmender Mond", "Nächster Vollmond ist in 3 Tagen und
// 5 Stunden"). The Moon waxes from New Moon to Full Moon; that is told from the nearest phase
// and its side, so the two lines always agree. No lines when no phase is strictly nearest.
std::vector<std::string> moonStateLines(const NearestPhase& nearest);
std::vector<std::string> moonStateLinesAt(const astro::SystemTime& reading);

// Lines joined by CR LF, the line break of a multi-line window text; none after the last line.
std::string joinedLines(std::span<const std::string> lines);

}  // namespace events
