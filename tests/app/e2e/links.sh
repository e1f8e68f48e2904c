#!/usr/bin/env bash
# The web and mail links of the source page, clicked from outside: a stand-in "firefox.exe"
# records what it is started with; without it the system's handler (Wine's winebrowser, pointed
# at a recording script) gets the address; the mail link opens a "mailto:" address with the
# subject. With LV_DPI set (120, 144, 192) all of it at that display scale, where the links lie
# at their scaled places.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
[ -n "${LV_DPI:-}" ] && use_dpi "$LV_DPI"

log="$work/launch.log"
windows_log="Z:$(printf '%s' "$log" | sed 's|/|\\|g')"
firefox="$WINEPREFIX/drive_c/windows/firefox.exe"
recorder="$work/record-launch.sh"
printf '#!/bin/sh\necho "handler $*" >> "%s"\n' "$log" >"$recorder"
chmod +x "$recorder"

restore_registry() {
    wine reg delete 'HKCU\Software\Wine\WineBrowser' /v Browsers /f </dev/null >/dev/null 2>&1
    wine reg delete 'HKCU\Software\Wine\WineBrowser' /v Mailers /f </dev/null >/dev/null 2>&1
    rm -f "$firefox"
}
trap 'restore_registry; cleanup' EXIT
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$recorder" /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Mailers /d "$recorder" /f </dev/null >/dev/null 2>&1

# Text bands of the source block in a snapshot of page 3: "top bottom left right" per line of
# text inside the frame (frame lines themselves, which span the page, are left out).
# (At the display scale: the block's place, the widths and gaps scale with it.)
text_bands() {
    local left top
    left=$(sc 12)
    top=$(sc 192)
    /usr/bin/convert "$1" -crop "$(sc 496)x$(sc 200)+$left+$top" +repage -depth 8 txt:- 2>/dev/null |
        awk -v left="$left" -v top="$top" -v rows="$(sc 200)" -v frame="$(sc 400)" -v gap="$(sc 2)" '
        /^[0-9]+,[0-9]+:/ {
            split($1, p, /[,:]/); x = p[1]; y = p[2]
            if ($0 ~ /#000000/) { n[y]++; if (!(y in lo) || x < lo[y]) lo[y] = x; if (x > hi[y]) hi[y] = x }
        }
        END {
            # Rows with text; a gap of up to two rows stays within one line (the dots of an
            # "Ü" stand apart from their letter).
            inband = 0
            for (y = 0; y < rows; y++) {
                text = (y in n) && n[y] < frame
                if (text && !inband) { t = y; l = lo[y]; r = hi[y]; inband = 1 }
                if (text && inband) { if (lo[y] < l) l = lo[y]; if (hi[y] > r) r = hi[y]; bottom = y }
                if (!text && inband && y - bottom > gap) { print t + top, bottom + top, l + left, r + left; inband = 0 }
            }
        }'
}

# Client point of a canvas point of the drawing area (the area's client starts inside its
# one-pixel border).
area_left=""
area_top=""
client_x() { echo $(($1 + area_left)); }
client_y() { echo $(($1 + area_top)); }

# centre <control id>: the middle of a control in client coordinates.
centre() {
    local l t r b
    read -r l t r b <<<"$(drv rect "$1")"
    echo "$(((l + r) / 2)) $(((t + b) / 2))"
}

open_source_page() {
    drv click $(centre 4093) >/dev/null  # "Quelle"
    sleep 0.5
}

LV_LAUNCH_LOG="$windows_log" start_app "2025-03-05 14:07:09" || finish
read -r area_left area_top _ <<<"$(drv rect 4056)"
area_left=$((area_left + 1))
area_top=$((area_top + 1))
# The page shown is told by the snapshot Ctrl+F2 writes; a click that came while a freshly
# started Wine was still busy is given a second chance.
for _ in 1 2 3; do
    open_source_page
    rm -f "$work"/Lunavista_00?.bmp
    drv key ctrl+f2 >/dev/null
    for _ in $(seq 1 60); do ls "$work"/Lunavista_00?.bmp >/dev/null 2>&1 && break; sleep 0.05; done
    sleep 0.2
    [ -f "$work/Lunavista_003.bmp" ] && break
done
[ -f "$work/Lunavista_003.bmp" ] || { fail "the source page is not shown"; finish; }
mapfile -t bands < <(text_bands "$work/Lunavista_003.bmp")
expect_eq "ten lines of text in the source block" 10 "${#bands[@]}"
read -r wt wb wl wr <<<"${bands[7]}"   # the web address
read -r mt mb ml mr <<<"${bands[8]}"   # the author line
web_x=$(client_x $(((wl + wr) / 2))); web_y=$(client_y $(((wt + wb) / 2)))
mail_x=$(client_x $(((ml + mr) / 2))); mail_y=$(client_y $(((mt + mb) / 2)))

# Hover: the link under the mouse turns blue, and back when the mouse leaves.
drv move "$web_x" "$web_y" >/dev/null
sleep 0.3
blue=$(drv count "$(client_x "$wl")" "$(client_y "$wt")" "$(client_x $((wr + 1)))" "$(client_y $((wb + 1)))" 0 0 255)
drv move 5 5 >/dev/null
sleep 0.3
black=$(drv count "$(client_x "$wl")" "$(client_y "$wt")" "$(client_x $((wr + 1)))" "$(client_y $((wb + 1)))" 0 0 255)
if [ "$blue" -gt 20 ] && [ "$black" -eq 0 ]; then pass "web link hover colours"; else fail "web link hover: $blue blue while over it, $black after"; fi

# With firefox.exe found by the shell, only it is started, with the address.
cp "$LV_STANDIN" "$firefox"
rm -f "$log"
drv click "$web_x" "$web_y" >/dev/null
for i in $(seq 1 60); do [ -s "$log" ] && break; sleep 0.1; done
sleep 0.5
launched=$(tr -d '\r' <"$log" 2>/dev/null)
case "$launched" in
    *firefox.exe*"https://www.example.org/mondphasen/"*) pass "web link starts firefox.exe with the address" ;;
    *) fail "web link with firefox: [$launched]" ;;
esac
if [ "$(grep -c handler "$log" 2>/dev/null)" -eq 0 ]; then pass "no fallback when firefox.exe exists"; else fail "the fallback ran as well"; fi

# Without it, the system's handler for web addresses opens it.
rm -f "$firefox" "$log"
drv click "$web_x" "$web_y" >/dev/null
for i in $(seq 1 100); do [ -s "$log" ] && break; sleep 0.1; done
launched=$(cat "$log" 2>/dev/null)
case "$launched" in
    "handler https://www.example.org/mondphasen/"*) pass "without firefox.exe the default handler opens the address" ;;
    *) fail "fallback: [$launched]" ;;
esac

# The name line opens a new mail with the fixed subject.
rm -f "$log"
drv click "$mail_x" "$mail_y" >/dev/null
for i in $(seq 1 100); do [ -s "$log" ] && break; sleep 0.1; done
launched=$(cat "$log" 2>/dev/null)
case "$launched" in
    *"mailto:lunavista@example.org?subject=Programm:%20Lunavista"*) pass "mail link opens mailto with the subject" ;;
    *) fail "mail link: [$launched]" ;;
esac

# On the other pages the same places do nothing.
drv click $(centre 4091) >/dev/null  # "Die Mondphasen"
sleep 0.5
rm -f "$log"
drv click "$web_x" "$web_y" >/dev/null
drv click "$mail_x" "$mail_y" >/dev/null
sleep 1.5
if [ -s "$log" ]; then fail "a link reacted on page 1: $(cat "$log")"; else pass "links are dead on page 1"; fi

finish
