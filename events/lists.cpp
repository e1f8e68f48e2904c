#include "events/lists.hpp"

#include "events/texts.hpp"

#include "astro/time_scale.hpp"

#include <utility>

namespace events {

const std::array<std::string_view, 4> PhaseListHeadings = {
    "N\xE4"
    "chster Vollmond",
    "Das n\xE4"
    "chste Letzte Viertel",
    "N\xE4"
    "chster Neumond",
    "Das n\xE4"
    "chste Erste Viertel",
};

const std::array<std::string_view, 5> EclipseListHeadings = {
    "Die n\xE4"
    "chste partielle Mondfinsternis",
    "Die n\xE4"
    "chste totale Mondfinsternis",
    "Die n\xE4"
    "chste partielle Sonnenfinsternis",
    "Die n\xE4"
    "chste totale Sonnenfinsternis",
    "Die n\xE4"
    "chste ringf\xF6rmige Sonnenfinsternis",
};

namespace {

// Passes over neighbouring entries, swapping when the later one is strictly earlier, until a
// pass swaps nothing: entries with equal instants keep their order.
template <std::size_t N>
void sortByInstant(std::array<ListEntry, N>& entries)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (std::size_t i = 0; i + 1 < N; ++i) {
            if (entries[i + 1].instant < entries[i].instant) {
                std::swap(entries[i], entries[i + 1]);
                swapped = true;
            }
        }
    }
}

template <std::size_t N>
EventList<N> buildList(const std::array<double, N>& instants,
                       const std::array<double, N>& seriesDayNumbers,
                       const std::array<EventKind, N>& kinds,
                       const std::array<std::string_view, N>& headings, double nowJulianDay,
                       std::string_view dayCountMask)
{
    EventList<N> list;
    for (std::size_t i = 0; i < N; ++i) {
        ListEntry& entry = list.entries[i];
        entry.instant = instants[i];
        entry.seriesDayNumber = seriesDayNumbers[i];
        entry.kind = kinds[i];
        entry.heading = headings[i];
    }
    sortByInstant(list.entries);
    for (ListEntry& entry : list.entries) {
        entry.headingText = entry.heading + " ist in";
        entry.dayCountText = dayCountText(entry.instant, nowJulianDay, dayCountMask);
        entry.dateText = eventDateText(entry.instant);
    }
    return list;
}

}  // namespace

PhaseList buildPhaseList(const PhaseSet& set, double nowJulianDay)
{
    constexpr std::array<Phase, 4> order = {Phase::FullMoon, Phase::LastQuarter, Phase::NewMoon,
                                            Phase::FirstQuarter};
    std::array<double, 4> instants{};
    std::array<double, 4> seriesDayNumbers{};
    std::array<EventKind, 4> kinds{};
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto index = static_cast<std::size_t>(order[i]);
        instants[i] = set.instants[index];
        seriesDayNumbers[i] = set.seriesDayNumbers[index];
        kinds[i] = eventKindOf(order[i]);
    }
    return buildList(instants, seriesDayNumbers, kinds, PhaseListHeadings, nowJulianDay,
                     PhaseDayCountMask);
}

EclipseList buildEclipseList(const EclipseSet& set, double nowJulianDay)
{
    std::array<EventKind, 5> kinds{};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        kinds[i] = eventKindOf(static_cast<Eclipse>(i));
    }
    return buildList(set.instants, set.seriesDayNumbers, kinds, EclipseListHeadings, nowJulianDay,
                     EclipseDayCountMask);
}

PhaseList upcomingPhaseList(const astro::SystemTime& reading)
{
    return buildPhaseList(phasesForList(reading), astro::julianDayOf(reading));
}

EclipseList upcomingEclipseList(const astro::SystemTime& reading)
{
    return buildEclipseList(eclipsesForList(reading), astro::julianDayOf(reading));
}

}  // namespace events
