#!/usr/bin/env bash
# Timings side by side, in one run:
#   - the native Google Benchmarks of the core and of the refresh and list work (medians of the
#     repetitions, CPU time), with --before beside those of an earlier build and the speed-up,
#   - astronomy-engine (npm, pinned in package.json) answering the same five "next eclipse of each
#     kind" questions from the same date, with the ratio, placing the Moon in the sky of Berlin
#     (its Equator and Horizon) beside MoonInSky and the series alone (MoonSeries), and a year of
#     the Moon's risings and settings at Berlin (its SearchRiseSet) beside MoonRiseSetYear,
#   - with a Windows build: the whole refresh of a built window, drawing included, under Wine.
#
#   tools/bench/compare.sh [--native DIR] [--before DIR] [--windows DIR] [--repetitions N]
#     --native   native build tree (default build/native; built here if needed)
#     --before   native Release build tree of an earlier commit, for example of
#                `git archive <commit> | tar -x -C /tmp/old` configured with
#                `cmake -S /tmp/old -B /tmp/old/build -DCMAKE_BUILD_TYPE=Release`
#                (its astro_bench and events_bench are built here if needed)
#     --windows  Windows build tree with tools/bench/refresh_timing.exe (default build/windows;
#                skipped when it is not there)
# Needs node and npm (apt-get install nodejs npm); installs astronomy-engine into
# tools/bench/node_modules with npm ci.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
native=$root/build/native
before=
windows=$root/build/windows
repetitions=5
while [ $# -gt 0 ]; do
    case "$1" in
        --native) native=$2; shift 2 ;;
        --before) before=$2; shift 2 ;;
        --windows) windows=$2; shift 2 ;;
        --repetitions) repetitions=$2; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "node and npm are needed: apt-get install nodejs npm" >&2
    exit 1
fi

if [ ! -f "$native/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$native" --target astro_bench events_bench -j 2 >/dev/null
if [ -n "$before" ]; then
    cmake --build "$before" --target astro_bench events_bench -j 2 >/dev/null
fi
[ -d "$here/node_modules/astronomy-engine" ] || (cd "$here" && npm ci --no-audit --no-fund >/dev/null)

out=$(mktemp -d "${TMPDIR:-/tmp}/lunavista-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT
flags=(--benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true
    --benchmark_out_format=json)

echo "== $(uname -m), $(nproc) cores; medians of $repetitions repetitions (CPU time)"
[ -z "$before" ] || echo "   before: $before"
for bench in astro_bench events_bench; do
    echo "-- $bench"
    if [ -n "$before" ]; then
        "$before/tools/bench/$bench" "${flags[@]}" --benchmark_out="$out/before-$bench.json" >/dev/null 2>&1
    fi
    "$native/tools/bench/$bench" "${flags[@]}" --benchmark_out="$out/$bench.json" >/dev/null 2>&1
    node "$here/medians.mjs" "$out/$bench.json" ${before:+"$out/before-$bench.json"}
done

echo "-- astronomy-engine $(node -p "require('$here/node_modules/astronomy-engine/package.json').version") (node $(node --version))"
(cd "$here" && node eclipses.mjs --repetitions "$repetitions" --against "$out/astro_bench.json" \
    ${before:+--before "$out/before-astro_bench.json"})
(cd "$here" && node positions.mjs --repetitions "$repetitions" --against "$out/astro_bench.json")
(cd "$here" && node rise_set.mjs --repetitions "$repetitions" --against "$out/astro_bench.json")

if [ -f "$windows/tools/bench/refresh_timing.exe" ]; then
    echo "-- the whole refresh under Wine (refresh_timing.exe, QueryPerformanceCounter)"
    session=$windows/bench-session  # the prefix is kept for the next run
    "$root/tools/wine/session" start "$session" 2>/dev/null
    trap '"$root/tools/wine/session" stop "$session"; rm -rf "$out"' EXIT
    # shellcheck disable=SC1091
    (. "$session/env" && cd "$out" && wine "$windows/tools/bench/refresh_timing.exe" 2000 </dev/null |
        tr -d '\r' | sed 's/^/  /')
fi
