#!/usr/bin/env bash
# A bounded, repeatable libFuzzer run for the tests: the committed corpus, then a fixed number of
# generated inputs from seed 1. New inputs go to a scratch folder (libFuzzer writes into the first
# corpus folder it is given), so the committed corpus stays as it is; a failing input is kept in
# the artifacts folder and libFuzzer prints it.
#   run_bounded.sh <fuzzer> <corpus> <runs> <artifacts>
# The fuzzer's own options (input length, dictionary) come from <fuzzer>.options.
set -euo pipefail
fuzzer=$1 corpus=$2 runs=$3 artifacts=$4

options=()
if [ -f "$fuzzer.options" ]; then
    mapfile -t options < "$fuzzer.options"
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"
"$fuzzer" "${options[@]}" -seed=1 -runs="$runs" -print_final_stats=1 \
    -artifact_prefix="$artifacts/$(basename "$fuzzer")-" "$scratch" "$corpus"
