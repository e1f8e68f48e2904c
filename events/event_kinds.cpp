#include "events/event_kinds.hpp"

#include "events/apsides.hpp"

#include "astro/time_scale.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>

namespace events {
namespace {

struct KindEntry {
    EventKind kind;
    std::string_view key;
    std::string_view title;  // Windows-1252
};

// In EventKind order.
constexpr KindEntry Kinds[] = {
    {EventKind::NewMoon, "new_moon", "Neumond"},
    {EventKind::FirstQuarter, "first_quarter", "Erstes Viertel"},
    {EventKind::FullMoon, "full_moon", "Vollmond"},
    {EventKind::LastQuarter, "last_quarter", "Letztes Viertel"},
    {EventKind::PartialLunarEclipse, "partial_lunar_eclipse", "Partielle Mondfinsternis"},
    {EventKind::TotalLunarEclipse, "total_lunar_eclipse", "Totale Mondfinsternis"},
    {EventKind::PartialSolarEclipse, "partial_solar_eclipse", "Partielle Sonnenfinsternis"},
    {EventKind::TotalSolarEclipse, "total_solar_eclipse", "Totale Sonnenfinsternis"},
    {EventKind::AnnularSolarEclipse, "annular_solar_eclipse",
     "Ringf\xF6"
     "rmige Sonnenfinsternis"},
    {EventKind::Perigee, "perigee", PerigeeName},
    {EventKind::Apogee, "apogee", ApogeeName},
};

constexpr bool inKindOrder()
{
    for (std::size_t i = 0; i < std::size(Kinds); ++i) {
        if (static_cast<std::size_t>(Kinds[i].kind) != i) {
            return false;
        }
    }
    return std::size(Kinds) == PhaseEclipseAndApsisKinds.size();
}
static_assert(inKindOrder());

constexpr std::size_t PhaseCount = 4;
constexpr std::size_t PhaseAndEclipseCount = 9;

const KindEntry& entryOf(EventKind kind)
{
    return Kinds[static_cast<std::size_t>(kind) % std::size(Kinds)];
}

// The reading at the midnight that begins the day of a day number (1970-01-01 is 2440587).
astro::SystemTime midnightOf(double dayNumber)
{
    namespace chr = std::chrono;
    const auto days = static_cast<chr::days::rep>(std::floor(dayNumber) - astro::DayNumberOf1970);
    const chr::year_month_day date{chr::sys_days{chr::days{days}}};
    return astro::wallClockReading(static_cast<int>(date.year()),
                                   static_cast<int>(static_cast<unsigned>(date.month())),
                                   static_cast<int>(static_cast<unsigned>(date.day())));
}

// Two events of one kind lie at least three weeks apart (a lunation; two perigees at least 24.6
// days in 1900-2100), so the search for the one after a found event may start two days after the
// midnight before it: far enough that the searches' margins (at most 1 h 30 min before a
// midnight) do not find it again.
constexpr double DaysToSearchPastEvent = 2.0;

}  // namespace

EventKind eventKindOf(Phase phase)
{
    return static_cast<EventKind>(static_cast<std::int32_t>(phase));
}

EventKind eventKindOf(Eclipse kind)
{
    return static_cast<EventKind>(static_cast<std::int32_t>(PhaseCount) +
                                  static_cast<std::int32_t>(kind));
}

EventKind eventKindOf(astro::ApsisKind kind)
{
    return static_cast<EventKind>(static_cast<std::int32_t>(PhaseAndEclipseCount) +
                                  static_cast<std::int32_t>(kind));
}

bool isApsis(EventKind kind)
{
    return static_cast<std::size_t>(kind) >= PhaseAndEclipseCount;
}

std::string_view eventKey(EventKind kind)
{
    return entryOf(kind).key;
}

std::string_view eventTitle(EventKind kind)
{
    return entryOf(kind).title;
}

double nextEventDayNumber(EventKind kind, const astro::SystemTime& date, double dayNumber)
{
    const auto index = static_cast<std::int32_t>(kind);
    if (index < static_cast<std::int32_t>(PhaseCount)) {
        return nextPhaseDayNumber(static_cast<Phase>(index), date, dayNumber);
    }
    if (isApsis(kind)) {
        return nextApsisDayNumber(
            static_cast<astro::ApsisKind>(index - static_cast<std::int32_t>(PhaseAndEclipseCount)),
            dayNumber);
    }
    return nextEclipseDayNumber(static_cast<Eclipse>(index - static_cast<std::int32_t>(PhaseCount)),
                                date, dayNumber);
}

std::vector<Event> eventsBetween(std::span<const EventKind> kinds, double fromDayNumber,
                                 double untilDayNumber)
{
    std::vector<Event> events;
    for (const EventKind kind : kinds) {
        // From the day before: an event late that day can have its listed time (with the
        // summer hour) after the midnight that begins the range.
        double searchDay = std::floor(fromDayNumber) - 1;
        for (;;) {
            const double found = nextEventDayNumber(kind, midnightOf(searchDay), searchDay);
            // The listed time is never earlier than the series' instant.
            if (!(found < untilDayNumber)) {
                break;
            }
            const double listed = displayedInstant(found);
            if (listed >= fromDayNumber && listed < untilDayNumber) {
                events.push_back({kind, found});
            }
            searchDay = std::floor(found) + DaysToSearchPastEvent;
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.seriesDayNumber < b.seriesDayNumber;
    });
    return events;
}

}  // namespace events
