#include "events/apsides.hpp"

#include "events/event_sets.hpp"
#include "events/number_format.hpp"
#include "events/texts.hpp"

#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <cmath>

namespace events {
namespace {

// The displayed instant adds at most the summer-time hour to an apsis's day number, so a search
// from two hours before the reading finds every apsis the list may show; isBeforeNow then drops
// those before the reading, as it does in the phase lists.
constexpr double SearchDaysBeforeReading = 2.0 / 24;

// How far before the midnight that begins a day nextApsisDayNumber still finds an apsis, as the
// New and Full Moon searches do.
constexpr double SearchDaysBeforeMidnight = 1.5 / 24;

// Perigees and apogees lie at least 11 days apart (11.7 in 1900-2100): a search from a day
// before an apsis's instant finds that apsis first.
constexpr double DaysBeforeAnApsis = 1.0;

astro::Apsis nextApsisOfKind(astro::ApsisKind kind, double from)
{
    const astro::Apsis apsis = astro::nextApsis(from);
    return apsis.kind == kind ? apsis : astro::apsisAt(apsis.k + 0.5);
}

}  // namespace

bool isSupermoon(const astro::Apsis& apsis)
{
    return apsis.kind == astro::ApsisKind::Perigee &&
           std::fabs(astro::nearestFullMoon(apsis.jde) - apsis.jde) <= SupermoonWithinDays;
}

ApsisEntry apsisEntry(const astro::Apsis& apsis)
{
    ApsisEntry entry;
    entry.kind = apsis.kind;
    entry.jde = apsis.jde;
    entry.instant = displayedInstant(apsis.dayNumber);
    entry.distanceKm = roundHalfEven(apsis.distanceKm);
    entry.supermoon = isSupermoon(apsis);
    entry.name = apsis.kind == astro::ApsisKind::Perigee ? PerigeeName : ApogeeName;
    entry.dateText = eventDateText(entry.instant);
    entry.distanceText = kilometresText(apsis.distanceKm);
    return entry;
}

double nextApsisDayNumber(astro::ApsisKind kind, double dayNumber)
{
    return nextApsisOfKind(kind, std::floor(dayNumber) - SearchDaysBeforeMidnight).dayNumber;
}

ApsisEntry apsisEntryAt(astro::ApsisKind kind, double seriesDayNumber)
{
    return apsisEntry(nextApsisOfKind(kind, seriesDayNumber - DaysBeforeAnApsis));
}

std::vector<ApsisEntry> upcomingApsides(const astro::SystemTime& reading, std::size_t count)
{
    std::vector<ApsisEntry> entries;
    if (count == 0) {
        return entries;
    }
    const double nowJulianDay = astro::julianDayOf(reading);
    astro::Apsis apsis = astro::nextApsis(astro::dayNumberOf(reading) - SearchDaysBeforeReading);
    for (;;) {
        if (!isBeforeNow(displayedInstant(apsis.dayNumber), nowJulianDay)) {
            entries.push_back(apsisEntry(apsis));
            if (entries.size() == count) {
                return entries;
            }
        }
        apsis = astro::apsisAt(apsis.k + 0.5);
    }
}

std::string apsisLineText(const ApsisEntry& entry)
{
    std::string line = entry.name + "\t" + entry.dateText + "\t" + entry.distanceText;
    if (entry.supermoon) {
        line += "\t";
        line += SupermoonWord;
    }
    return line;
}

std::string apsisTitle(const ApsisEntry& entry)
{
    return entry.supermoon ? entry.name + " (" + std::string(SupermoonWord) + ")" : entry.name;
}

std::string apsisDescription(const ApsisEntry& entry)
{
    return std::string(DistanceLabel) + entry.distanceText;
}

std::vector<std::string> apsisLinesAt(const astro::SystemTime& reading, std::size_t count)
{
    std::vector<std::string> lines;
    for (const ApsisEntry& entry : upcomingApsides(reading, count)) {
        lines.push_back(apsisLineText(entry));
    }
    return lines;
}

}  // namespace events
