#include "events/page_texts.hpp"

#include "events/countdown.hpp"

#include <cmath>
#include <cstddef>
#include <string_view>

namespace events {
namespace {

template <std::size_t N>
std::vector<std::string> listLines(const EventList<N>& list)
{
    std::vector<std::string> lines;
    lines.reserve(N);
    for (const ListEntry& entry : list.entries) {
        lines.push_back(listLineText(entry));
    }
    return lines;
}

// The Moon waxes after New Moon and up to Full Moon. A distance of 0 counts as past, as in the
// event line.
bool waxing(const NearestPhase& nearest)
{
    const bool ahead = nearest.distanceDays > 0;
    switch (nearest.phase) {
    case Phase::NewMoon:
        return !ahead;
    case Phase::FirstQuarter:
        return true;
    case Phase::FullMoon:
        return ahead;
    case Phase::LastQuarter:
        return false;
    }
    return false;
}

// "3 Tagen und 5 Stunden", "1 Tag", "7 Stunden" (the dative after "in" and "vor"); under an
// hour "weniger als einer Stunde".
std::string daysAndHoursText(double durationDays)
{
    const CountdownParts parts = countdownParts(durationDays);
    std::string text;
    if (parts.days > 0) {
        text = parts.daysText + (parts.days == 1 ? " Tag" : " Tagen");
    }
    if (parts.hours > 0) {
        text += (text.empty() ? "" : " und ") + parts.hoursText +
                (parts.hours == 1 ? " Stunde" : " Stunden");
    }
    return text.empty() ? "weniger als einer Stunde" : text;
}

// The event line without its blanks and its colon: "Nächster Vollmond ist in".
std::string_view phrase(std::string_view eventLine)
{
    const std::size_t first = eventLine.find_first_not_of(' ');
    const std::size_t last = eventLine.find_last_not_of(" :");
    if (first == std::string_view::npos || last == std::string_view::npos) {
        return {};
    }
    return eventLine.substr(first, last - first + 1);
}

}  // namespace

std::string listLineText(const ListEntry& entry)
{
    return entry.headingText + "\t" + entry.dayCountText + "\t" + entry.dateText;
}

std::vector<std::string> phaseListLinesAt(const astro::SystemTime& reading)
{
    return listLines(upcomingPhaseList(reading));
}

std::vector<std::string> eclipseListLinesAt(const astro::SystemTime& reading)
{
    return listLines(upcomingEclipseList(reading));
}

std::vector<std::string> moonStateLines(const NearestPhase& nearest)
{
    if (!nearest.found) {
        return {};
    }
    const std::string eventLine = eventLineText(nearest.phase, nearest.distanceDays);
    return {
        waxing(nearest) ? "Zunehmender Mond" : "Abnehmender Mond",
        std::string(phrase(eventLine)) + " " + daysAndHoursText(std::fabs(nearest.distanceDays))};
}

std::vector<std::string> moonStateLinesAt(const astro::SystemTime& reading)
{
    return moonStateLines(nearestPhase(reading));
}

std::string joinedLines(std::span<const std::string> lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += lines[i];
    }
    return text;
}

}  // namespace events
