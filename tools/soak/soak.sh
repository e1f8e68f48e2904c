#!/usr/bin/env bash
# Runs the real Lunavista.exe under Wine on its own timers and measures it from outside:
#   1. start-up: the time from launch to the first complete paint (the event line has its text and
#      the drawing area shows the phase diagram), then, left alone, its CPU use over a minute
#      (with that of the Wine server and the X server it keeps busy) and its working set;
#   2. soak: for a while (10 minutes by default) the pages are switched every 20 s by commands,
#      clicks and keys, the mouse passes over buttons and links, and every 30 s the process's
#      memory (/proc VmRSS, RssAnon) and its GDI objects and windows (tools/soak/probe.cpp, read
#      from another process under the same Wine) are sampled.
# Not part of the tests; it prints a report and writes the samples as CSV.
#
#   tools/soak/soak.sh [--build DIR] [--minutes N] [--interval S] [--idle S] [--speed N]
#                      [--out DIR]
#     --build     Windows build tree with app/Lunavista.exe and tests/app/lvdriver.exe
#                 (default build/windows; build it with: cmake --build --preset windows)
#     --minutes   soak length (default 10)    --interval  seconds between samples (default 30)
#     --idle      seconds of the idle CPU measurement (default 60)
#     --speed     run the program's clock N times faster with libfaketime (default: real time;
#                 the timers still fire once a second)
#     --out       where the session, the copy of the program and soak.csv go
#                 (default <build>/soak)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$root/build/windows
minutes=10
interval=30
idle=60
speed=""
out=""
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$(cd "$2" && pwd); shift 2 ;;
        --minutes) minutes=$2; shift 2 ;;
        --interval) interval=$2; shift 2 ;;
        --idle) idle=$2; shift 2 ;;
        --speed) speed=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
out=${out:-$build/soak}
exe=$build/app/Lunavista.exe
driver=$build/tests/app/lvdriver.exe
for file in "$exe" "$driver"; do
    [ -f "$file" ] || { echo "missing $file: build the Windows tree first" >&2; exit 1; }
done

mkdir -p "$out/run"
out=$(cd "$out" && pwd)
cp "$exe" "$out/run/Lunavista.exe"
rm -f "$out/run/"*.ini
probe=$out/probe.exe
if [ ! -f "$probe" ] || [ "$root/tools/soak/probe.cpp" -nt "$probe" ]; then
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -o "$probe" "$root/tools/soak/probe.cpp"
fi

session=$out/wine-session
"$root/tools/wine/session" start "$session"
app_pid=""
cleanup() {
    if [ -n "${DRIVER_PID:-}" ]; then
        if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
            { echo "command 4095" >&"${DRIVER[1]}"; } 2>/dev/null || true
            sleep 1
        fi
        { echo quit >&"${DRIVER[1]}"; } 2>/dev/null || true
    fi
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null || true
    fi
    "$root/tools/wine/session" stop "$session"
}
trap cleanup EXIT
# shellcheck disable=SC1091
. "$session/env"

coproc DRIVER { wine "$driver" 2>/dev/null; }

# drv <command...>: one driver command; prints the answer without "ok ".
drv() {
    local line
    echo "$*" >&"${DRIVER[1]}"
    IFS= read -r -t 60 line <&"${DRIVER[0]}" || { echo "driver did not answer: $*" >&2; return 1; }
    line=${line%$'\r'}
    case "$line" in
        ok) return 0 ;;
        "ok "*) printf '%s\n' "${line#ok }" ;;
        *) printf '%s\n' "$line" >&2; return 1 ;;
    esac
}
# The driver's first answer also waits for its own start-up under Wine.
drv client >/dev/null 2>&1 || true

now() { date +%s.%N; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }          # utime + stime, clock ticks
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)

# --- start-up -----------------------------------------------------------------------------------
launch=$(now)
if [ -n "$speed" ]; then
    ( cd "$out/run" && LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
          FAKETIME="x$speed" NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1 \
          exec wine Lunavista.exe </dev/null >/dev/null 2>&1 ) &
else
    ( cd "$out/run" && exec wine Lunavista.exe </dev/null >/dev/null 2>&1 ) &
fi
app_pid=$!
drv wait 30000 >/dev/null || { echo "the window did not appear" >&2; exit 1; }
shown=$(now)
read -r area_left area_top _ _ <<<"$(drv rect 4056)"
painted=""
for _ in $(seq 1 500); do
    # The yellow sunlight arrows of the phase diagram at (12, 70) of the canvas, which starts
    # inside the drawing area's one-pixel border, and the event line's text.
    if [ "$(drv pixel $((area_left + 13)) $((area_top + 71)))" == "255 255 0" ] &&
       [ -n "$(drv text 4071)" ]; then
        painted=$(now)
        break
    fi
    sleep 0.02
done
[ -n "$painted" ] || { echo "no complete first paint within 10 s" >&2; exit 1; }

# in_session <name>: the Linux process of that name that belongs to this session's Wine prefix
# (other Wine sessions may run on the machine at the same time). Wine names a program's process
# after its .exe.
in_session() {
    local pid
    for pid in $(pgrep -x "$1" || true); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}
unix_pid=""
for _ in $(seq 1 50); do
    unix_pid=$(in_session Lunavista.exe || true)
    [ -n "$unix_pid" ] && break
    sleep 0.1
done
[ -n "$unix_pid" ] || { echo "no Linux process named Lunavista.exe" >&2; exit 1; }
win_pid=$(drv pid)
server_pid=$(in_session wineserver64 || in_session wineserver)
xvfb_pid=$(cat "$session/xvfb.pid")

drv move 5 5 >/dev/null
sleep 5  # settled: the first list timer and caches behind us
app0=$(ticks "$unix_pid"); server0=$(ticks "$server_pid"); x0=$(ticks "$xvfb_pid"); t0=$(now)
sleep "$idle"
app1=$(ticks "$unix_pid"); server1=$(ticks "$server_pid"); x1=$(ticks "$xvfb_pid"); t1=$(now)
percent() { awk -v d="$1" -v hz="$hz" -v s="$2" 'BEGIN { printf "%.2f", 100 * d / hz / s }'; }
span=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')

echo "== Lunavista under Wine ($(wine --version)), $(nproc) cores"
awk -v a="$launch" -v b="$shown" -v c="$painted" \
    'BEGIN { printf "start-up: window visible after %.2f s, first complete paint after %.2f s\n", b - a, c - a }'
echo "idle for ${span%.*} s: Lunavista.exe $(percent $((app1 - app0)) "$span") % of a core," \
     "wineserver $(percent $((server1 - server0)) "$span") %, Xvfb $(percent $((x1 - x0)) "$span") %"
echo "idle working set: VmRSS $(status_kb "$unix_pid" VmRSS) kB, RssAnon $(status_kb "$unix_pid" RssAnon) kB;" \
     "from inside: $(wine "$probe" "$win_pid" 2>/dev/null | tr -d '\r')"

# --- soak ---------------------------------------------------------------------------------------
centre_of() {
    local l t r b
    read -r l t r b <<<"$(drv rect "$1")"
    echo "$(((l + r) / 2)) $(((t + b) / 2))"
}
csv=$out/soak.csv
echo "seconds,vmrss_kb,rssanon_kb,gdi,windows,pagefile_kb,cpu_ticks" > "$csv"
sample() {
    local elapsed=$1 probe_line gdi windows pagefile
    probe_line=$(wine "$probe" "$win_pid" 2>/dev/null | tr -d '\r')
    gdi=$(awk '{ print $2 }' <<<"$probe_line")
    windows=$(awk '{ print $4 }' <<<"$probe_line")
    pagefile=$(awk '{ print $10 }' <<<"$probe_line")
    echo "$elapsed,$(status_kb "$unix_pid" VmRSS),$(status_kb "$unix_pid" RssAnon),$gdi,$windows,$pagefile,$(ticks "$unix_pid")" >> "$csv"
}

echo "soak: ${minutes} min, pages switched every 20 s, a sample every ${interval} s ($csv)"
pages=(4091 4092 4093)
start=$(date +%s)
end=$((start + minutes * 60))
next_sample=$start
step=0
while :; do
    current=$(date +%s)
    if [ "$current" -ge "$next_sample" ]; then
        sample $((current - start))
        next_sample=$((next_sample + interval))
    fi
    [ "$current" -ge "$end" ] && break
    if [ $((current - start)) -ge $((step * 20)) ]; then
        id=${pages[$((step % 3))]}
        case $((step / 3 % 3)) in
            0) drv command "$id" >/dev/null ;;
            1) read -r x y <<<"$(centre_of "$id")"; drv click "$x" "$y" >/dev/null ;;
            2) if [ "$id" == 4091 ]; then drv command "$id" >/dev/null; else drv key down >/dev/null; fi ;;
        esac
        # Over a button and off it; on the source page over both links too.
        read -r x y <<<"$(centre_of 4095)"
        drv move "$x" "$y" >/dev/null
        sleep 0.3
        drv move 5 5 >/dev/null
        if [ "$id" == 4093 ]; then
            # Down across the source block, through the web and the mail link.
            read -r l t _ _ <<<"$(drv rect 4056)"
            for y in $(seq 200 8 392); do
                drv move $((l + 120)) $((t + y)) >/dev/null
            done
            drv move 5 5 >/dev/null
        fi
        step=$((step + 1))
    fi
    sleep 1
done
kill -0 "$app_pid" 2>/dev/null || { echo "Lunavista.exe ended during the soak" >&2; exit 1; }

awk -F, -v interval="$interval" -v hz="$hz" '
    NR == 2 { first_rss = $2; first_anon = $3; first_gdi = $4; first_win = $5; first_pf = $6 }
    NR >= 2 {
        n++; rss = $2; anon = $3; gdi = $4; win = $5; pf = $6
        if (rss > max_rss) max_rss = rss
        if (anon > max_anon) max_anon = anon
        if (gdi > max_gdi) max_gdi = gdi
        if (win > max_win) max_win = win
        if (pf > max_pf) max_pf = pf
        if (n == 1) cpu0 = $7; cpu = $7; secs = $1
    }
    END {
        printf "samples: %d over %d s; first / last / max\n", n, secs
        printf "  VmRSS        %7d / %7d / %7d kB\n", first_rss, rss, max_rss
        printf "  RssAnon      %7d / %7d / %7d kB\n", first_anon, anon, max_anon
        printf "  PagefileUse  %7d / %7d / %7d kB\n", first_pf, pf, max_pf
        printf "  GDI objects  %7d / %7d / %7d\n", first_gdi, gdi, max_gdi
        printf "  windows      %7d / %7d / %7d\n", first_win, win, max_win
        if (secs > 0) printf "  CPU during the soak (page switches every 20 s included): %.2f %% of a core\n", 100 * (cpu - cpu0) / hz / secs
    }' "$csv"
