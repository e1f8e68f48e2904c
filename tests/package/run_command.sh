#!/usr/bin/env bash
# tools/run.sh as a user runs it, in both of its modes. Each run must end with status 0 and leave
# nothing running: no process of its Wine prefix (wineserver, keepalive.exe, the program, Wine's
# helpers) and no Xvfb of its own.
#  1. With a display: a stand-in X server of this test's own whose desktop scale is 144 dpi
#     (Xft.dpi). The prefix gets that scale, the window opens there, and the driver closes it
#     with WM_CLOSE; the program writes build/run/Lunavista.ini.
#  2. Without a display: the program runs in a virtual display at 96 dpi again, the command names
#     a screenshot of the window and keeps running until Ctrl+C.
# The first run builds the program in build/windows-app, which the reproducibility test uses.
#   run_command.sh <source dir> <lvdriver.exe>
set -u
source=$(cd "$1" && pwd)
driver=$2
run_dir="$source/build/run"
session="$run_dir/wine"
prefix="$session/prefix"
shot="$run_dir/lunavista.png"
# Every process the run command starts inherits this mark, its Xvfb too.
mark="LV_RUN_COMMAND_TEST=$$"
work=$(mktemp -d)
log="$work/run.log"
xvfb=""
runner=""
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cleanup() {
    if [ -n "$runner" ] && kill -0 "$runner" 2>/dev/null; then
        kill -9 -- -"$runner" 2>/dev/null
        "$source/tools/wine/session" stop "$session"
    fi
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Starts the run command with the given environment settings, in a process group of its own as a
# terminal would (so that it may trap Ctrl+C), and waits for its line that says it is running.
start_run() {
    local ready=$1
    shift
    : >"$log"
    set -m
    env "$@" "$mark" "$source/tools/run.sh" >"$log" 2>&1 &
    runner=$!
    set +m
    for _ in $(seq 1 1600); do  # the first run builds the program
        grep -q "$ready" "$log" && break
        kill -0 "$runner" 2>/dev/null || break
        sleep 0.5
    done
    grep -v '^\[' "$log" | grep -v '^ *$' >&2
    grep -q "$ready" "$log"
}

# Waits until the run command has ended and checks its status and what it left behind.
check_end() {
    local what=$1 status left
    for _ in $(seq 1 300); do
        kill -0 "$runner" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$runner" 2>/dev/null; then
        fail "$what: the run command did not end"
        return
    fi
    wait "$runner"
    status=$?
    runner=""
    [ "$status" -eq 0 ] && echo "ok: $what: status 0" || fail "$what: status $status"
    left=$(grep -lzxF -e "WINEPREFIX=$prefix" -e "$mark" /proc/[0-9]*/environ 2>/dev/null |
           while read -r file; do
               printf ' [%s]' "$(tr '\0' ' ' <"${file%environ}cmdline" 2>/dev/null | sed 's/ *$//')"
           done)
    [ -z "$left" ] && echo "ok: $what: nothing left running" || fail "$what: left running:$left"
}

# drv <command...>: one command to the driver; the answer without "ok" in $answer.
drv() {
    local line=""
    echo "$*" >&"${DRIVER[1]}"
    IFS= read -r -t 60 line <&"${DRIVER[0]}"
    line=${line%$'\r'}
    answer=${line#ok}
    answer=${answer# }
    [[ "$line" == ok* ]] || { fail "driver: $* -> $line"; return 1; }
}

# --- 1. With a display, closed with WM_CLOSE from another process
# -noreset: the X server keeps the desktop's resources when its last client goes.
Xvfb -displayfd 3 -noreset -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" \
    </dev/null >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
display=":$(cat "$work/display")"
rm -f "$run_dir/Lunavista.ini"
window_width=""
if [ "$display" == ":" ]; then
    fail "the stand-in X server did not start"
elif ! echo "Xft.dpi: 144" | DISPLAY=$display xrdb -nocpp -merge; then
    fail "could not set Xft.dpi on the stand-in X server"
elif start_run "is running on display" DISPLAY="$display"; then
    # The driver runs in the run command's Wine session.
    coproc DRIVER {
        # shellcheck disable=SC1091
        . "$session/env" && exec wine "$driver" 2>/dev/null
    }
    if drv wait 30000 && drv window; then
        read -r left _ right _ <<<"$answer"
        window_width=$((right - left))
        # shellcheck disable=SC1091
        logpixels=$( (. "$session/env" &&
            wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels </dev/null 2>/dev/null) |
            tr -d '\r' | awk '$1 == "LogPixels" { print $3 }')
        [ "$logpixels" == 0x90 ] && echo "ok: the prefix has the desktop's 144 dpi" ||
            fail "LogPixels is [$logpixels], not 0x90 (144 dpi)"
        drv message 16 0 0  # WM_CLOSE
    fi
    echo quit >&"${DRIVER[1]}"
    wait "$DRIVER_PID" 2>/dev/null
    check_end "closed with WM_CLOSE"
    [ -s "$run_dir/Lunavista.ini" ] && echo "ok: Lunavista.ini written" ||
        fail "no Lunavista.ini in $run_dir"
else
    fail "the run command did not say that it runs on display $display"
fi
[ -z "$runner" ] || check_end "display mode"
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
xvfb=""

# --- 2. Without a display, ended by Ctrl+C
rm -f "$shot"
start_run "keeps running" -u DISPLAY || fail "it did not say that it keeps running"
grep -q "virtual display" "$log" || fail "it did not say it runs in a virtual display"
grep -qF "$shot" "$log" || fail "it did not name the screenshot"
sleep 2
kill -0 "$runner" 2>/dev/null || fail "it did not keep running"
# Ctrl+C for the whole group, as a terminal sends it.
kill -INT -- -"$runner" 2>/dev/null
check_end "ended by Ctrl+C"
if [ -f "$shot" ]; then
    size=$(/usr/bin/identify -format '%w %h' "$shot" 2>/dev/null)
    case "$size" in
        "68"[0-9]" 5"[0-9][0-9] | "69"[0-9]" 5"[0-9][0-9]) echo "ok: screenshot $size" ;;
        *) fail "screenshot size $size" ;;
    esac
    # The window's navy background and the page's blue-grey ground are in it.
    colours=$(/usr/bin/convert "$shot" -unique-colors -depth 8 txt:- 2>/dev/null)
    grep -q "#000060" <<<"$colours" && grep -q "#B2C2D9" <<<"$colours" &&
        echo "ok: screenshot shows the window" || fail "screenshot colours"
    # At the desktop's 144 dpi the window had its natural size: half as large again as at 96.
    width=${size%% *}
    if [ -n "$window_width" ] && [ -n "$width" ]; then
        if [ $((10 * window_width)) -ge $((14 * width)) ] &&
            [ $((10 * window_width)) -le $((16 * width)) ]; then
            echo "ok: window $window_width pixels wide at 144 dpi, $width at 96"
        else
            fail "window $window_width pixels wide at 144 dpi, $width at 96"
        fi
    fi
else
    fail "no screenshot at $shot"
fi

[ "$failures" -eq 0 ] || exit 1
echo "ok: run command in both modes"
