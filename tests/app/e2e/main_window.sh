#!/usr/bin/env bash
# The running program, from outside: its texts against lunavista-cli for the same clock reading,
# the once-a-second refresh, the window's geometry, and the two ways of closing it.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# cli_field <cli output> <key>: the fields after "key<TAB>", TAB-separated.
cli_field() {
    printf '%s\n' "$1" | awk -F'\t' -v key="$2" '$1 == key { print substr($0, length(key) + 2); exit }'
}

# snapshot_pages <folder>: the three pages as the program's own Ctrl+F2 snapshots, then the
# window as the screen shows it (on page 3) with the labels blacked out: the labels are where the
# code page may change the font, everything else must be drawn alike.
labels="4071 4072 4073 4074 4075 4076 4077 4078 4079 4080 4081 4083"
snapshot_pages() {
    local page id window l t r b wl wt wr wb cw ch border caption boxes=()
    mkdir -p "$1"
    for page in 1 2 3; do
        snapshot_page "$page" "$1/Lunavista_00$page.bmp"
    done
    drv move 5 5 >/dev/null
    sleep 1
    read -r wl wt wr wb < <(drv window)
    read -r cw ch < <(drv client)
    border=$(((wr - wl - cw) / 2))
    caption=$((wb - wt - ch - border))
    for id in $labels; do
        read -r l t r b < <(drv rect "$id")
        boxes+=(-draw "rectangle $((l + border)),$((t + caption)) $((r + border - 1)),$((b + caption - 1))")
    done
    window=$(xwininfo -root -tree | awk '/" Lunavista":/ { print $1; exit }')
    import -window "$window" "$1/window.png"
    /usr/bin/convert "$1/window.png" -fill black "${boxes[@]}" "$1/window-outside-labels.png"
}

# The window shows the same texts as the companion for a frozen clock, in summer and in winter,
# in another time zone (only the wall clock counts), and on a system whose ANSI code page is not
# Windows-1252 (1251 under ru_RU): read as Unicode, the umlauts are the same there. On that
# system the pages and the window outside its labels are drawn pixel for pixel as under 1252 (the
# labels' font draws their umlauts there too: app_label_fonts_cp1251).
for reading in "2025-03-05 14:07:09|Europe/Berlin|" "2025-07-14 22:30:00|Europe/Berlin|" \
               "2024-12-31 23:59:59|America/New_York|" "2000-01-06 18:14:00|UTC|" \
               "2026-12-20 21:15:00|Europe/Berlin|ru_RU.UTF-8" \
               "2027-01-12 08:00:00|Europe/Berlin|ru_RU.UTF-8"; do
    IFS='|' read -r at tz app_locale <<<"$reading"
    start_app "$at" "$tz" || continue
    sleep 1.5
    expected=$(cli now --at "$at")
    event=$(drv text 4071)
    expect_eq "event line at $at ($tz) ${app_locale}" "$(cli_field "$expected" event)" "$event"
    countdown="$(drv text 4072)	$(drv text 4073)	$(drv text 4074)	$(drv text 4075)"
    expect_eq "count-down at $at ($tz)" "$(cli_field "$expected" countdown)" "$countdown"
    expect_eq "lit value label stays hidden" "0" "$(drv visible 4082)"
    if [ "$at" == "2026-12-20 21:15:00" ]; then
        snapshot_pages "$work/cp-other"
        stop_app
        app_locale=""
        start_app "$at" "$tz" || continue
        snapshot_pages "$work/cp-1252"
        for page in 1 2 3; do
            differing=$(/usr/bin/compare -metric AE "$work/cp-1252/Lunavista_00$page.bmp" \
                "$work/cp-other/Lunavista_00$page.bmp" null: 2>&1)
            expect_eq "page $page under code page 1251 and 1252: differing pixels" 0 "$differing"
        done
        differing=$(/usr/bin/compare -metric AE "$work/cp-1252/window-outside-labels.png" \
            "$work/cp-other/window-outside-labels.png" null: 2>&1)
        expect_eq "window outside the labels under code page 1251 and 1252: differing pixels" \
            0 "$differing"
    fi
    stop_app
done
app_locale=""

# With a running clock the count-down changes once a second.
start_app "@2025-03-05 14:07:09"
previous=$(drv text 4075)
changes=0
for i in 1 2 3 4 5 6; do
    sleep 1
    now=$(drv text 4075)
    [ "$now" != "$previous" ] && changes=$((changes + 1))
    previous=$now
done
if [ "$changes" -ge 4 ]; then pass "seconds label changed $changes times in 6 s"; else fail "seconds label changed only $changes times in 6 s"; fi

# Geometry at 96 dpi with dialog base units of 6 x 13 pixels.
expect_eq "client size" "686 533" "$(drv client)"
expect_eq "drawing area (client 522 x 400, border outside)" "14 113 538 515" "$(drv rect 4056)"
expect_eq "event line" "143 57 338 73" "$(drv rect 4071)"
expect_eq "days value" "353 57 383 73" "$(drv rect 4072)"
expect_eq "clock" "555 115 668 228" "$(drv rect 4096)"
expect_eq "count-down dial" "570 24 651 106" "$(drv rect 4097)"
expect_eq "exit button" "555 479 668 512" "$(drv rect 4095)"

# Esc produces IDCANCEL, which nothing handles: the window stays.
drv key escape >/dev/null
sleep 0.5
if kill -0 "$app_pid" 2>/dev/null; then pass "Esc leaves the window open"; else fail "Esc closed the window"; fi

# The exit command ends the program cleanly.
drv command 4095 >/dev/null
if wait_app_end 10; then expect_eq "exit code after the exit command" "0" "$app_status"; else fail "exit command did not end the program"; fi

# So does 4055, the command no control bears.
start_app "@2025-03-05 14:07:09"
drv command 4055 >/dev/null
if wait_app_end 10; then pass "command 4055 ends the program"; else fail "command 4055 did not end the program"; fi

# An exit command with another notification code does nothing.
start_app "@2025-03-05 14:07:09"
drv command 4095 5 >/dev/null
sleep 0.5
if kill -0 "$app_pid" 2>/dev/null; then pass "exit command with notification 5 ignored"; else fail "exit command with notification 5 ended the program"; fi

# Close from the system menu.
drv syscommand close >/dev/null
if wait_app_end 10; then expect_eq "exit code after Close" "0" "$app_status"; else fail "Close did not end the program"; fi

finish
