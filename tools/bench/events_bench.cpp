// Timings of the portable work behind the window: one refresh (what the once-a-second refresh
// computes before it draws) and the building of the two event lists, for clock readings that make
// the lists take each of their two event sets. Everything is computed afresh in every iteration,
// as the program does (nothing is cached between calls). Run:
//   events_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "events/countdown.hpp"
#include "events/current_phase.hpp"
#include "events/event_sets.hpp"
#include "events/lists.hpp"
#include "events/number_format.hpp"

#include "astro/system_time.hpp"
#include "astro/time_scale.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

constexpr astro::SystemTime at(int year, int month, int day, int hour, int minute)
{
    return astro::wallClockReading(year, month, day, hour, minute);
}

// A refresh at the start date of the core's benchmarks.
constexpr astro::SystemTime RefreshReading = at(2026, 12, 7, 12, 0);

// The Full Moon of 2025 March 14 (06:55 UT) is also a total lunar eclipse: at 06:00 that day no
// listed event has passed and the lists take the from-today sets; at noon both lists must take
// the from-tomorrow sets and search again for what has passed.
constexpr astro::SystemTime BeforeTheEvents = at(2025, 3, 14, 6, 0);
constexpr astro::SystemTime AfterTheEvents = at(2025, 3, 14, 12, 0);

// The refresh's first step: the lit fraction of the local clock one hour back, rounded to five
// decimals for the gauge, and its text.
void gaugeStep(const astro::SystemTime& reading)
{
    const double now = astro::addTimeOfDay(astro::julianDayOf(reading), -1, 0, 0);
    const double value = events::roundToFiveDecimals(events::illuminatedFraction(now));
    benchmark::DoNotOptimize(events::fractionText(value));
}

// The nearest principal phase of the lunation with its event line and count-down parts.
void nearestPhaseStep(const astro::SystemTime& reading)
{
    const events::NearestPhase nearest = events::nearestPhase(reading);
    if (nearest.found) {
        benchmark::DoNotOptimize(events::eventLineText(nearest.phase, nearest.distanceDays));
        benchmark::DoNotOptimize(events::countdownParts(std::fabs(nearest.distanceDays)));
    }
}

// Page 1 only: waxing or waning from the next phases counted from tomorrow, and the pointer.
void pointerStep(const astro::SystemTime& reading)
{
    const events::PhaseSet next = events::nextPhasesFromTomorrow(reading);
    const double percent =
        events::illuminatedFraction(astro::addTimeOfDay(astro::julianDayOf(reading), -1, 0, 0));
    benchmark::DoNotOptimize(events::pointerPositionFromFraction(
        percent, next[events::Phase::NewMoon], next[events::Phase::FullMoon],
        events::PointerDivisions));
}

void refreshGauge(benchmark::State& state)
{
    for (auto _ : state) {
        gaugeStep(RefreshReading);
    }
}
BENCHMARK(refreshGauge)->Name("Refresh/Gauge");

void refreshNearestPhase(benchmark::State& state)
{
    for (auto _ : state) {
        nearestPhaseStep(RefreshReading);
    }
}
BENCHMARK(refreshNearestPhase)->Name("Refresh/NearestPhase");

void refreshPointer(benchmark::State& state)
{
    for (auto _ : state) {
        pointerStep(RefreshReading);
    }
}
BENCHMARK(refreshPointer)->Name("Refresh/Pointer");

// A whole refresh: on pages 2 and 3 without the pointer, on page 1 with it.
void refreshListPage(benchmark::State& state)
{
    for (auto _ : state) {
        gaugeStep(RefreshReading);
        nearestPhaseStep(RefreshReading);
    }
}
BENCHMARK(refreshListPage)->Name("Refresh/Page2or3");

void refreshPhasePage(benchmark::State& state)
{
    for (auto _ : state) {
        gaugeStep(RefreshReading);
        nearestPhaseStep(RefreshReading);
        pointerStep(RefreshReading);
    }
}
BENCHMARK(refreshPhasePage)->Name("Refresh/Page1");

// Whether the reading makes the list take the from-tomorrow set (which the benchmark's name
// promises; a change of the rule or the reference dates must not go unnoticed).
template <typename Set>
bool takesTomorrowSet(const Set& listed, const Set& today)
{
    return listed.instants != today.instants;
}

void phaseList(benchmark::State& state, const astro::SystemTime& reading, bool tomorrowSet)
{
    if (takesTomorrowSet(events::phasesForList(reading), events::nextPhasesFromToday(reading)) !=
        tomorrowSet) {
        state.SkipWithError("the reading does not select the intended set");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(events::upcomingPhaseList(reading));
    }
}
BENCHMARK_CAPTURE(phaseList, FromToday, BeforeTheEvents, false)->Name("List/Phases/FromToday");
BENCHMARK_CAPTURE(phaseList, FromTomorrow, AfterTheEvents, true)->Name("List/Phases/FromTomorrow");

void eclipseList(benchmark::State& state, const astro::SystemTime& reading, bool tomorrowSet)
{
    if (takesTomorrowSet(events::eclipsesForList(reading),
                         events::nextEclipsesFromToday(reading)) != tomorrowSet) {
        state.SkipWithError("the reading does not select the intended set");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(events::upcomingEclipseList(reading));
    }
}
BENCHMARK_CAPTURE(eclipseList, FromToday, BeforeTheEvents, false)->Name("List/Eclipses/FromToday");
BENCHMARK_CAPTURE(eclipseList, FromTomorrow, AfterTheEvents, true)
    ->Name("List/Eclipses/FromTomorrow");

}  // namespace

BENCHMARK_MAIN();
