#!/usr/bin/env bash
# The layers include only downwards: app -> display -> events -> astro, and cli -> events ->
# astro. A file may include its own layer's headers and those of the layers below it, never one
# above; the tests of a layer (tests/<layer>/) keep to the same rule. The portable layers include
# no Windows header, except the one clock seam astro/local_clock.cpp. Inside app/ the files
# stand in floors: a source and its header are one room, no room includes one that includes it
# back, directly or round a circle, and no file is longer than 400 lines.
#   check_layers.sh <source root>
set -euo pipefail
cd "${1:?usage: check_layers.sh <source root>}"

mapfile -t files < <(git ls-files -- 'astro/*' 'events/*' 'display/*' 'app/*' 'cli/*' \
    'tests/astro/*' 'tests/events/*' 'tests/display/*' 'tests/app/*' 'tests/cli/*' |
    grep -E '\.(cpp|hpp|h|c)$')
checked=${#files[@]}
if [ "$checked" -eq 0 ]; then
    echo "no source files found under $PWD" >&2
    exit 1
fi

# Every include of every file in one pass. A file's layer is the folder it stands in (its
# tests' too); cli is beside display, not below it: neither includes the other.
findings=$(awk '
    function layer(path) {
        sub(/^tests\//, "", path)
        if (path ~ /^astro\//) return "astro"
        if (path ~ /^events\//) return "events"
        if (path ~ /^display\//) return "display"
        if (path ~ /^app\//) return "app"
        if (path ~ /^cli\//) return "cli"
        return "none"
    }
    function rank(name) {
        if (name == "astro") return 1
        if (name == "events") return 2
        if (name == "display" || name == "cli") return 3
        if (name == "app") return 4
        return 0
    }
    FNR == 1 { own = layer(FILENAME) }
    /^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"/ {
        included = $0
        sub(/^[^"]*"/, "", included)
        sub(/".*$/, "", included)
        target = layer(included)
        if (target != "none" &&
            (rank(target) > rank(own) || (target != own && rank(target) == rank(own))))
            printf "%s:%d: includes \"%s\" of the layer %s, above %s\n", FILENAME, FNR,
                   included, target, own
    }
    /^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|windowsx|commctrl|shellapi)\.h>/ {
        if ((own == "astro" || own == "events") && FILENAME != "astro/local_clock.cpp")
            printf "%s:%d: a portable layer includes a Windows header\n", FILENAME, FNR
    }' "${files[@]}")
failures=0
if [ -n "$findings" ]; then
    echo "$findings" >&2
    failures=$(wc -l <<<"$findings")
fi

# app/'s rooms in the order of their includes: tsort names any circle.
app_files=$(git ls-files -- 'app/*.cpp' 'app/*.hpp')
# shellcheck disable=SC2086
if ! grep -H -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"app/[^"]*"' $app_files |
    sed 's|^app/\([^.]*\)\.[a-z]*:.*"app/\([^.]*\)\.[a-z]*"$|\1 \2|' | tsort >/dev/null; then
    echo "app/: the rooms named above include each other in a circle" >&2
    failures=$((failures + 1))
fi
# shellcheck disable=SC2086
long=$(wc -l $app_files | awk '$2 != "total" && $1 > 400 { print $2 ": " $1 " lines, more than 400" }')
if [ -n "$long" ]; then
    echo "$long" >&2
    failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures finding(s) against the layers" >&2
    exit 1
fi
echo "$checked files include only their own layer and the layers below; app/ stands in floors"
