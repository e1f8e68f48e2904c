#!/usr/bin/env bash
# Makes the README's pictures with the real program under Wine: the main window on each of its
# three pages, and the program's own Ctrl+F2 snapshots of the pages, at a fixed clock reading.
#   tools/screenshots.sh [output folder, default docs/screenshots of the source tree]
#                        ["YYYY-MM-DD HH:MM:SS"] [display scale in dpi, default 96]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/docs/screenshots}
reading=${2:-2026-12-20 21:15:00}
dpi=${3:-96}
mkdir -p "$out"
out=$(cd "$out" && pwd)

"$root/tools/install-deps.sh" test
(cd "$root" && cmake --preset windows >/dev/null &&
    cmake --build --preset windows --target Lunavista lvdriver)

work=$(mktemp -d)
session="$root/build/screenshots/wine-$dpi"
"$root/tools/wine/session" start "$session" --dpi "$dpi"
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null
    "$root/tools/wine/session" stop "$session"
    rm -rf "$work"
}
trap cleanup EXIT
# shellcheck disable=SC1091
. "$session/env"

cp "$root/build/windows/app/Lunavista.exe" "$work/"
(cd "$work" && TZ=Europe/Berlin LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
    FAKETIME="$reading" NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1 \
    exec wine Lunavista.exe </dev/null >/dev/null 2>&1) &
program=$!

coproc DRIVER { wine "$root/build/windows/tests/app/lvdriver.exe" 2>/dev/null; }
drv() {
    local line
    echo "$*" >&"${DRIVER[1]}"
    IFS= read -r -t 60 line <&"${DRIVER[0]}"
    line=${line%$'\r'}
    [[ "$line" == ok* ]] || { echo "driver: $* -> $line" >&2; exit 1; }
    answer=${line#ok}
}
drv wait 20000
drv move 5 5
sleep 2
window=$(xwininfo -root -tree | awk '/" Lunavista":/ { print $1; exit }')

for page in 1 2 3; do
    # A click on the page's button, so that the button shows the selection too.
    drv rect $((4090 + page))
    read -r l t r b <<<"$answer"
    drv click $(((l + r) / 2)) $(((t + b) / 2))
    drv move 5 5
    sleep 1.5
    drv key ctrl+f2
    sleep 1
    import -window "$window" "$out/window-page-$page.png"
    /usr/bin/convert "$work/Lunavista_00$page.bmp" "$out/snapshot-page-$page.png"
done
echo "$reading" >"$out/READING"
[ "$dpi" == 96 ] || echo "$dpi dpi" >>"$out/READING"
drv command 4095
echo "Pictures in $out (clock reading $reading, Europe/Berlin, $dpi dpi)"
