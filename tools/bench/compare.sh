#!/usr/bin/env bash
# Timings side by side, in one run:
#   - the native Google Benchmarks of the core and of the refresh and list work (medians of the
#     repetitions, CPU time),
#   - astronomy-engine (npm, pinned in package.json) answering the same five "next eclipse of each
#     kind" questions from the same date, with the ratio,
#   - with a Windows build: the whole refresh of a built window, drawing included, under Wine.
#
#   tools/bench/compare.sh [--native DIR] [--windows DIR] [--repetitions N]
#     --native   native build tree (default build/native; built here if needed)
#     --windows  Windows build tree with tools/bench/refresh_timing.exe (default build/windows;
#                skipped when it is not there)
# Needs node and npm (apt-get install nodejs npm); installs astronomy-engine into
# tools/bench/node_modules with npm ci.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
native=$root/build/native
windows=$root/build/windows
repetitions=5
while [ $# -gt 0 ]; do
    case "$1" in
        --native) native=$2; shift 2 ;;
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
[ -d "$here/node_modules/astronomy-engine" ] || (cd "$here" && npm ci --no-audit --no-fund >/dev/null)

out=$(mktemp -d "${TMPDIR:-/tmp}/lunavista-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT
flags=(--benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true)

echo "== $(uname -m), $(nproc) cores; medians of $repetitions repetitions"
echo "-- astro_bench (CPU time)"
"$native/tools/bench/astro_bench" "${flags[@]}" --benchmark_out="$out/astro.json" \
    --benchmark_out_format=json 2>/dev/null | awk '/_median/ { printf "  %-34s %10s %s %s %s\n", $1, $4, $5, $7, $8 }'
echo "-- events_bench (CPU time)"
"$native/tools/bench/events_bench" "${flags[@]}" 2>/dev/null |
    awk '/_median/ { printf "  %-34s %10s %s\n", $1, $4, $5 }'

echo "-- astronomy-engine $(node -p "require('$here/node_modules/astronomy-engine/package.json').version") (node $(node --version))"
(cd "$here" && node eclipses.mjs --repetitions "$repetitions" --against "$out/astro.json")

if [ -f "$windows/tools/bench/refresh_timing.exe" ]; then
    echo "-- the whole refresh under Wine (refresh_timing.exe, QueryPerformanceCounter)"
    session=$windows/bench-session  # the prefix is kept for the next run
    "$root/tools/wine/session" start "$session" 2>/dev/null
    trap '"$root/tools/wine/session" stop "$session"; rm -rf "$out"' EXIT
    # shellcheck disable=SC1091
    (. "$session/env" && cd "$out" && wine "$windows/tools/bench/refresh_timing.exe" 2000 </dev/null |
        tr -d '\r' | sed 's/^/  /')
fi
