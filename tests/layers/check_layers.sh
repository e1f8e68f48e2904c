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

rank() {
    case "$1" in
        astro) echo 1 ;;
        events) echo 2 ;;
        display | cli) echo 3 ;;
        app) echo 4 ;;
        *) echo 0 ;;
    esac
}

# The layer a file belongs to, by its path.
layer_of() {
    local path=${1#tests/}
    case "$path" in
        astro/*) echo astro ;;
        events/*) echo events ;;
        display/*) echo display ;;
        app/*) echo app ;;
        cli/*) echo cli ;;
        *) echo none ;;
    esac
}

failures=0
checked=0
while IFS= read -r file; do
    own=$(layer_of "$file")
    [ "$own" != none ] || continue
    checked=$((checked + 1))
    own_rank=$(rank "$own")
    while IFS=: read -r line included; do
        target=$(layer_of "$included")
        [ "$target" != none ] || continue
        # cli is beside display, not below it: neither includes the other.
        if [ "$(rank "$target")" -gt "$own_rank" ] ||
            { [ "$target" != "$own" ] && [ "$(rank "$target")" -eq "$own_rank" ]; }; then
            echo "$file:$line: includes \"$included\" of the layer $target, above $own" >&2
            failures=$((failures + 1))
        fi
    done < <(grep -n -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"' "$file" |
        sed 's/^\([0-9]*\):.*"\([^"]*\)"$/\1:\2/')
    case "$own:$file" in
        astro:astro/local_clock.cpp) ;;
        astro:* | events:*)
            if grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|windowsx|commctrl|shellapi)\.h>' "$file" >&2; then
                echo "$file: a portable layer includes a Windows header" >&2
                failures=$((failures + 1))
            fi
            ;;
    esac
done < <(git ls-files -- 'astro/*' 'events/*' 'display/*' 'app/*' 'cli/*' \
    'tests/astro/*' 'tests/events/*' 'tests/display/*' 'tests/app/*' 'tests/cli/*' |
    grep -E '\.(cpp|hpp|h|c)$')

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

if [ "$checked" -eq 0 ]; then
    echo "no source files found under $PWD" >&2
    exit 1
fi
if [ "$failures" -ne 0 ]; then
    echo "$failures finding(s) against the layers" >&2
    exit 1
fi
echo "$checked files include only their own layer and the layers below; app/ stands in floors"
