#!/usr/bin/env bash
# Builds Lunavista.exe and opens it: under Wine on Linux. Installs what it needs first; a second
# run rebuilds and reinstalls nothing that is already there.
#
# With a display ($DISPLAY set) the window opens on it, at the desktop's scale (Xft.dpi, else
# 96 dpi); the command ends when the window is closed. Without one, the program runs in a
# virtual display (Xvfb): a screenshot of its window is written to build/run/lunavista.png and
# the program keeps running until you press Ctrl+C.
#
# Either way the command ends with status 0 when the program was closed or on Ctrl+C (SIGINT,
# SIGTERM), and with the program's own status or 1 and a one-line message when the program or
# the set-up failed. It always ends its Wine session: nothing it started keeps running.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
session_tool="$root/tools/wine/session"
run_dir="$root/build/run"
session="$run_dir/wine"
wine_log="$run_dir/wine.log"
# The display and scale rules, shared with the Wine sessions and the installed launcher.
# shellcheck source=tools/wine/prefix.sh
. "$root/tools/wine/prefix.sh"

die() {
    echo "tools/run.sh: $*" >&2
    exit 1
}

"$root/tools/install-deps.sh" run || die "the packages it needs could not be installed"

(cd "$root" && cmake --preset windows-app >/dev/null &&
    cmake --build --preset windows-app --target Lunavista) || die "the build failed"

# The program keeps its window position and snapshots beside itself: give it a folder of its own.
mkdir -p "$run_dir"
cp -u "$root/build/windows-app/app/Lunavista.exe" "$run_dir/Lunavista.exe"

program=""
session_started=no
cleanup() {
    local status=$?
    # A second Ctrl+C must not cut the clean-up short.
    trap - EXIT
    trap '' INT TERM HUP
    if [ -n "$program" ]; then
        kill "$program" 2>/dev/null || true
    fi
    if [ "$session_started" == yes ]; then
        "$session_tool" stop "$session" || true
    fi
    if [ -n "$program" ]; then
        wait "$program" 2>/dev/null || true
    fi
    exit "$status"
}
trap cleanup EXIT
# Ctrl+C or a polite kill ends the program and the session; that is a normal end.
trap 'exit 0' INT TERM HUP

# Starts the program from its folder, in the background so that a signal reaches this script's
# traps at once. Wine's own messages go to build/run/wine.log.
start_program() {
    (cd "$run_dir" && exec wine Lunavista.exe </dev/null >"$wine_log" 2>&1) &
    program=$!
}

# Waits for the program to end; a failure is passed on with its status.
wait_program() {
    local status=0
    wait "$program" || status=$?
    program=""
    if [ "$status" -ne 0 ]; then
        echo "tools/run.sh: Lunavista ended with status $status (Wine's messages:" \
             "$wine_log)" >&2
        exit "$status"
    fi
}

if lunavista_has_display; then
    dpi=$(lunavista_desktop_dpi)
    session_started=yes
    "$session_tool" start "$session" --use-display --dpi "$dpi" ||
        die "the Wine session did not start"
    # shellcheck disable=SC1091
    . "$session/env"
    echo "Lunavista is running on display $DISPLAY at $dpi dpi; close its window to end."
    start_program
    wait_program
    exit 0
fi

session_started=yes
dpi=${LUNAVISTA_DPI:-96}
"$session_tool" start "$session" --dpi "$dpi" || die "the Wine session did not start"
# shellcheck disable=SC1091
. "$session/env"
echo "No display found: running Lunavista in a virtual display ($DISPLAY) at $dpi dpi."
start_program
window=""
for _ in $(seq 1 200); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/" Lunavista":/ { print $1; exit }')
    [ -n "$window" ] && break
    if ! kill -0 "$program" 2>/dev/null; then
        wait_program
        die "Lunavista ended before its window appeared"
    fi
    sleep 0.1
done
[ -n "$window" ] || die "the window did not appear"
sleep 2  # the first refresh and the page are drawn
import -window "$window" "$run_dir/lunavista.png" || die "the screenshot failed"
echo "Screenshot of the window: $run_dir/lunavista.png"
echo "Lunavista keeps running; press Ctrl+C to end it."
wait_program
