#!/usr/bin/env bash
# Builds the libFuzzer targets (the asan preset: clang with AddressSanitizer and UBSan) and runs
# each for a given time, as many side by side as there are cores. Reports, per target, the inputs
# executed, the inputs it added to its corpus and the failures (crash, leak, timeout, out of
# memory) with their saved inputs. Exits non-zero when any target failed.
#
#   tools/analysis/fuzz.sh [seconds per target (default 300)] [target...]
#   targets: stored_value arguments number_texts date_texts (default: all)
#
# Each target starts from its committed seeds (tests/fuzz/corpus/<target>) and from what earlier
# runs found (build/asan/fuzz/corpus/<target>, kept between runs). To add a run's finds to the
# committed seeds, minimised: build/asan/tests/fuzz/fuzz_<target> -merge=1 \
#     tests/fuzz/corpus/<target> build/asan/fuzz/corpus/<target>
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(stored_value arguments number_texts date_texts)

tools/install-deps.sh analysis
build=${LUNAVISTA_ASAN_BUILD:-build/asan}
cmake --preset asan -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

bin=$build/tests/fuzz
work=$build/fuzz
mkdir -p "$work"

run_one() {
    local target=$1 fuzzer="$bin/fuzz_$1"
    local corpus="$work/corpus/$target" artifacts="$work/artifacts/$target" log="$work/$target.log"
    mkdir -p "$corpus" "$artifacts"
    rm -f "$artifacts"/*
    local options=()
    mapfile -t options < "$fuzzer.options"
    # libFuzzer exits non-zero on a failure; the report below tells.
    "$fuzzer" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1 || true
}

echo "== fuzzing ${targets[*]} for ${seconds} s each"
parallel=$(nproc)
running=0
for target in "${targets[@]}"; do
    run_one "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

failed=0
printf '%-14s %12s %10s %8s  %s\n' target executions exec/s new failures
for target in "${targets[@]}"; do
    log="$work/$target.log"
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    added=$(sed -n 's/^stat::new_units_added: *//p' "$log" | tail -1)
    failures=$(find "$work/artifacts/$target" -type f | wc -l)
    printf '%-14s %12s %10s %8s  %s\n' "$target" "${executions:-?}" "${rate:-?}" "${added:-?}" \
        "$failures"
    if [ "$failures" -ne 0 ] || [ -z "$executions" ]; then
        failed=1
        find "$work/artifacts/$target" -type f -printf '    %p\n'
        grep -E '^(==[0-9]+==ERROR|SUMMARY|[a-z ]+: .* for )' "$log" | head -5 | sed 's/^/    /'
    fi
done
exit "$failed"
