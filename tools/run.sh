#!/usr/bin/env bash
# Builds Lunavista.exe and opens it: under Wine on Linux. Installs what it needs first; a second
# run rebuilds and reinstalls nothing that is already there.
#
# With a display ($DISPLAY set) the window opens on it. Without one, the program runs in a
# virtual display (Xvfb): a screenshot of its window is written to build/run/lunavista.png and
# the program keeps running until you press Ctrl+C.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

tools/install-deps.sh run

cmake --preset windows-app >/dev/null
cmake --build --preset windows-app --target Lunavista

# The program keeps its window position and snapshots beside itself: give it a folder of its own.
run_dir="$root/build/run"
mkdir -p "$run_dir"
cp -u build/windows-app/app/Lunavista.exe "$run_dir/Lunavista.exe"

session="$run_dir/wine"
if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
    tools/wine/session start "$session" --use-display
    trap 'tools/wine/session stop "$session"' EXIT
    # shellcheck disable=SC1091
    . "$session/env"
    echo "Lunavista is running on display $DISPLAY; close its window to end."
    cd "$run_dir" && wine Lunavista.exe
    exit 0
fi

tools/wine/session start "$session"
trap 'tools/wine/session stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/env"
echo "No display found: running Lunavista in a virtual display ($DISPLAY)."
(cd "$run_dir" && exec wine Lunavista.exe </dev/null >/dev/null 2>&1) &
program=$!
for _ in $(seq 1 200); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/" Lunavista":/ { print $1; exit }')
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "${window:-}" ]; then
    echo "The window did not appear." >&2
    exit 1
fi
sleep 2  # the first refresh and the page are drawn
import -window "$window" "$run_dir/lunavista.png"
echo "Screenshot of the window: $run_dir/lunavista.png"
echo "Lunavista keeps running; press Ctrl+C to end it."
trap 'kill "$program" 2>/dev/null; tools/wine/session stop "$session"; exit 0' INT TERM
wait "$program"
