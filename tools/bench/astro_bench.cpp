// Timings of the astronomical core: one phase instant, one next-phase search, the five
// next-eclipse searches, the next-apsis search, the positions of the Moon and the Sun, a year of
// the Moon's risings and settings and the circumstances of eclipses, each computed afresh in every
// iteration (the core caches nothing).
#include "astro/apsides.hpp"
#include "astro/earth_orientation.hpp"
#include "astro/eclipse_circumstances.hpp"
#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/moon_position.hpp"
#include "astro/moon_rise_set.hpp"
#include "astro/sky_position.hpp"
#include "astro/system_time.hpp"
#include "astro/time_scale.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>

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

// Positions: 2026-12-20 21:15 UT (Julian Day), seen from Berlin. Each iteration moves the instant
// by a little more than a minute so that no result can be carried over.
constexpr double PositionJdUt = 2461395.38541667;
const GeoPlace Berlin{52.52, 13.405};

double nextInstant(double& jd)
{
    jd += 0.000789;
    benchmark::DoNotOptimize(jd);
    return jd;
}

// The series of chapter 47 alone: the Moon's geocentric longitude, latitude and distance.
void moonSeriesBenchmark(benchmark::State& state)
{
    double jd = PositionJdUt;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moonGeocentric(nextInstant(jd)));
    }
}
BENCHMARK(moonSeriesBenchmark)->Name("MoonSeries");

// Nutation and obliquity (table 22.A), which every apparent position of date takes once.
void nutationBenchmark(benchmark::State& state)
{
    double jd = PositionJdUt;
    for (auto _ : state) {
        benchmark::DoNotOptimize(earthOrientation(nextInstant(jd)));
    }
}
BENCHMARK(nutationBenchmark)->Name("Nutation");

// The whole place in the sky: Delta-T, nutation, the series, sidereal time, parallax, horizon,
// refraction. astronomy-engine's Equator + Horizon answer the same question
// (tools/bench/positions.mjs).
void moonInSkyBenchmark(benchmark::State& state)
{
    double jd = PositionJdUt;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moonInSky(nextInstant(jd), Berlin));
    }
}
BENCHMARK(moonInSkyBenchmark)->Name("MoonInSky");

void sunInSkyBenchmark(benchmark::State& state)
{
    double jd = PositionJdUt;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sunInSky(nextInstant(jd), Berlin));
    }
}
BENCHMARK(sunInSkyBenchmark)->Name("SunInSky");

// A year of risings, transits and settings at Berlin, 2027 (from 00:00 UT on 1 January); the
// counters say how many risings and settings, and per event how often the Moon's series was
// taken and how many places in the sky the searches took.
// astronomy-engine's SearchRiseSet finds the same risings and settings in
// tools/bench/rise_set.mjs.
constexpr double Year2027JdUt = 2461406.5;
constexpr double DaysPerYear = 365.0;

void moonRiseSetYearBenchmark(benchmark::State& state)
{
    MoonEvents year;
    for (auto _ : state) {
        year = moonEvents(Year2027JdUt, Year2027JdUt + DaysPerYear, Berlin);
        benchmark::DoNotOptimize(year.events.data());
    }
    std::int64_t crossings = 0;
    for (const MoonEvent& event : year.events) {
        crossings += event.kind == MoonEventKind::Transit ? 0 : 1;
    }
    state.counters["risings_settings"] = static_cast<double>(crossings);
    const auto events = static_cast<double>(year.events.size());
    state.counters["series_per_event"] = static_cast<double>(year.positions) / events;
    state.counters["places_per_event"] = static_cast<double>(year.evaluations) / events;
}
BENCHMARK(moonRiseSetYearBenchmark)->Name("MoonRiseSetYear")->Unit(benchmark::kMillisecond);
// Eclipses from the same instant: the next lunar eclipse with its contacts and magnitudes, and
// the next solar eclipse seen from Berlin with its local circumstances, stepping through the
// lunations from the one before the instant. astronomy-engine's SearchLunarEclipse (peak and
// semi-durations) and SearchLocalSolarEclipse answer the same questions
// (tools/bench/positions.mjs).
void lunarEclipseBenchmark(benchmark::State& state)
{
    double jd = PositionJdUt;
    for (auto _ : state) {
        std::optional<LunarEclipse> eclipse;
        for (double k = lunationBefore(nextInstant(jd)); !eclipse || eclipse->greatestJdUt < jd;
             ++k) {
            eclipse = lunarEclipseOfLunation(k);
        }
        benchmark::DoNotOptimize(eclipse);
    }
}
BENCHMARK(lunarEclipseBenchmark)->Name("LunarEclipse");

void localSolarEclipseBenchmark(benchmark::State& state)
{
    double jd = PositionJdUt;
    for (auto _ : state) {
        std::optional<LocalSolarEclipse> seen;
        for (double k = lunationBefore(nextInstant(jd));
             !seen || !seen->visible || seen->endJdUt < jd; ++k) {
            const std::optional<SolarEclipse> eclipse = solarEclipseOfLunation(k);
            seen = eclipse ? localSolarEclipse(eclipse->greatestJdUt, Berlin) : std::nullopt;
        }
        benchmark::DoNotOptimize(seen);
    }
}
BENCHMARK(localSolarEclipseBenchmark)->Name("LocalSolarEclipse");

}  // namespace

BENCHMARK_MAIN();
