// Timings of the astronomical core: one phase instant, one next-phase search, the five
// next-eclipse searches and the next-apsis search, each computed afresh in every iteration (the
// core caches nothing).
#include "astro/apsides.hpp"
#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/system_time.hpp"
#include "astro/time_scale.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace astro;

// 2026-12-07 00:00 local: a fixed start, so that runs compare with each other. The "passes"
// counter is the number of days a search steps through; its time grows with the lunations among
// them that it has to evaluate.
SystemTime fixedDate()
{
    SystemTime t;
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 7;
    return t;
}

enum class Start { FixedDate, Today };

SystemTime startReading(Start start)
{
    return start == Start::FixedDate ? fixedDate() : readLocalClock();
}

// Lunation 330 is the New Moon of 2026 September.
constexpr double Lunation = 330.0;

double phaseInstant(int kind, double& k)
{
    switch (kind) {
    case 0:
        return newMoonInstant(k);
    case 1:
        return quarterInstant(k, FirstQuarterFraction);
    case 2:
        return fullMoonInstant(k);
    default:
        return quarterInstant(k, LastQuarterFraction);
    }
}

const char* const PhaseNames[] = {"NewMoon", "FirstQuarter", "FullMoon", "LastQuarter"};

void phaseInstantBenchmark(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    state.SetLabel(PhaseNames[kind]);
    for (auto _ : state) {
        double k = Lunation;
        benchmark::DoNotOptimize(k);
        benchmark::DoNotOptimize(phaseInstant(kind, k));
    }
}
BENCHMARK(phaseInstantBenchmark)->Name("PhaseInstant")->DenseRange(0, 3);

using PhaseSearch = double (*)(std::int32_t, const SystemTime&, double, int*);
const PhaseSearch PhaseSearches[] = {nextNewMoon, nextFirstQuarter, nextFullMoon, nextLastQuarter};

void nextPhaseBenchmark(benchmark::State& state, Start start)
{
    const int kind = static_cast<int>(state.range(0));
    state.SetLabel(PhaseNames[kind]);
    int passes = 0;
    for (auto _ : state) {
        const SystemTime reading = startReading(start);
        benchmark::DoNotOptimize(
            PhaseSearches[kind](reading.wYear, reading, dayNumberOf(reading), &passes));
    }
    state.counters["passes"] = passes;
}
BENCHMARK_CAPTURE(nextPhaseBenchmark, FixedDate, Start::FixedDate)
    ->Name("NextPhase/FixedDate")
    ->DenseRange(0, 3);
BENCHMARK_CAPTURE(nextPhaseBenchmark, Today, Start::Today)
    ->Name("NextPhase/Today")
    ->DenseRange(0, 3);

struct EclipseSearch {
    const char* name;
    bool solar;
    EclipseKind kind;
};

// In the order of the program's eclipse set.
const EclipseSearch EclipseSearches[] = {
    {"PartialLunar", false, EclipseKind::Partial}, {"TotalLunar", false, EclipseKind::Total},
    {"PartialSolar", true, EclipseKind::Partial},  {"TotalSolar", true, EclipseKind::Total},
    {"AnnularSolar", true, EclipseKind::Annular},
};

void nextEclipseBenchmark(benchmark::State& state, Start start)
{
    const EclipseSearch& search = EclipseSearches[state.range(0)];
    state.SetLabel(search.name);
    int passes = 0;
    for (auto _ : state) {
        const SystemTime reading = startReading(start);
        const double now = dayNumberOf(reading);
        benchmark::DoNotOptimize(
            search.solar ? nextSolarEclipse(reading.wYear, reading, now, search.kind, &passes)
                         : nextLunarEclipse(reading.wYear, reading, now, search.kind, &passes));
    }
    // Days stepped through per search, as the day-by-day loop counted them.
    state.counters["passes"] = passes;
}
BENCHMARK_CAPTURE(nextEclipseBenchmark, FixedDate, Start::FixedDate)
    ->Name("NextEclipse/FixedDate")
    ->DenseRange(0, 4);
BENCHMARK_CAPTURE(nextEclipseBenchmark, Today, Start::Today)
    ->Name("NextEclipse/Today")
    ->DenseRange(0, 4);

// The next perigee or apogee and the three after it, as the companion lists them by default.
void nextApsidesBenchmark(benchmark::State& state, Start start)
{
    int evaluations = 0;
    for (auto _ : state) {
        const SystemTime reading = startReading(start);
        Apsis apsis = nextApsis(dayNumberOf(reading), &evaluations);
        for (int i = 1; i < 4; ++i) {
            apsis = apsisAt(apsis.k + 0.5);
        }
        benchmark::DoNotOptimize(apsis);
    }
    // Apsides the search evaluated for the first one (one or two).
    state.counters["evaluations"] = evaluations;
}
BENCHMARK_CAPTURE(nextApsidesBenchmark, FixedDate, Start::FixedDate)->Name("NextApsides/FixedDate");
BENCHMARK_CAPTURE(nextApsidesBenchmark, Today, Start::Today)->Name("NextApsides/Today");

}  // namespace

BENCHMARK_MAIN();
