#!/usr/bin/env bash
# The same commit built twice, in two build trees at different paths (this one and the run
# command's build/windows-app), gives byte-identical executables.
set -u
source=$1 exe=$2 cli=$3 zip=$4
second="$source/build/windows-app"
cmake --build "$second" --target Lunavista lunavista-cli package_zip >/dev/null ||
    { echo "FAIL: second build" >&2; exit 1; }
failures=0
for pair in "$exe:$second/app/Lunavista.exe" "$cli:$second/cli/lunavista-cli.exe" \
            "$zip:$second/$(basename "$zip")"; do
    first=${pair%%:*} other=${pair#*:}
    if cmp -s "$first" "$other"; then
        echo "ok: $(basename "$first") identical ($(stat -c %s "$first") bytes)"
    else
        echo "FAIL: $(basename "$first") differs between $first and $other" >&2
        cmp "$first" "$other" | head -3 >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
