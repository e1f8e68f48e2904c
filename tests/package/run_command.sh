#!/usr/bin/env bash
# tools/run.sh without a display: it runs the program in a virtual display, names the
# screenshot of the window it wrote, and keeps running until interrupted.
set -u
source=$1
shot="$source/build/run/lunavista.png"
rm -f "$shot"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# In a session of its own, so that Ctrl+C can go to its whole process group.
cd "$source" || exit 1
setsid env -u DISPLAY tools/run.sh >"$log" 2>&1 &
runner=$!
for _ in $(seq 1 1600); do
    grep -q "keeps running" "$log" && break
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.5
done
cat "$log" | grep -v '^\[' | grep -v '^ *$' >&2
still_running=no
sleep 2
kill -0 "$runner" 2>/dev/null && still_running=yes
# Ctrl+C for the whole group, as a terminal would send it.
kill -INT -- -"$runner" 2>/dev/null
for _ in $(seq 1 100); do kill -0 "$runner" 2>/dev/null || break; sleep 0.1; done
kill -0 "$runner" 2>/dev/null && { echo "FAIL: the run command did not end on Ctrl+C" >&2; kill -9 "$runner"; exit 1; }

failures=0
grep -q "virtual display" "$log" || { echo "FAIL: it did not say it runs in a virtual display" >&2; failures=1; }
grep -qF "$shot" "$log" || { echo "FAIL: it did not name the screenshot" >&2; failures=1; }
[ "$still_running" == yes ] || { echo "FAIL: it did not keep running" >&2; failures=1; }
if [ -f "$shot" ]; then
    size=$(/usr/bin/identify -format '%w %h' "$shot" 2>/dev/null)
    case "$size" in
        "692 558"|"68"[0-9]" 5"[0-9][0-9]|"69"[0-9]" 5"[0-9][0-9]) echo "ok: screenshot $size" ;;
        *) echo "FAIL: screenshot size $size" >&2; failures=1 ;;
    esac
    # The window's navy background and the page's blue-grey ground are in it.
    colours=$(/usr/bin/convert "$shot" -unique-colors -depth 8 txt:- 2>/dev/null)
    grep -q "#000060" <<<"$colours" && grep -q "#B2C2D9" <<<"$colours" &&
        echo "ok: screenshot shows the window" || { echo "FAIL: screenshot colours" >&2; failures=1; }
else
    echo "FAIL: no screenshot at $shot" >&2
    failures=1
fi
[ "$failures" -eq 0 ] || exit 1
echo "ok: headless run command"
