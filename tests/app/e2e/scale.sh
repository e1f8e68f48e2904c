#!/usr/bin/env bash
# The window at another display scale (the argument: 120, 144 or 192 dpi) against the same window
# at 96 dpi for the same clock reading: every place and size s = dpi / 96 times as large, the
# pages the same pictures (compared at 96-dpi size), the same texts, the dial hands as long,
# scaled, and the buttons answering the mouse at their scaled places.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

target=${1:?usage: scale.sh <dpi>}
reading="2026-12-20 21:15:00"
controls="4056 4071 4072 4091 4095 4096 4097 4098"

# capture <folder>: the three pages as the program's own Ctrl+F2 snapshots, the window as the
# screen shows it on page 1, the controls' places and the labels' texts.
capture() {
    local out=$1 page id window
    mkdir -p "$out"
    drv move 5 5 >/dev/null
    for page in 3 2 1; do
        snapshot_page "$page" "$out/page$page.bmp"
    done
    sleep 1
    window=$(xwininfo -root -tree | awk '/" Lunavista":/ { print $1; exit }')
    import -window "$window" "$out/window.png"
    drv client >"$out/client"
    drv window >"$out/frame"
    for id in $controls; do echo "$id $(drv rect "$id")"; done >"$out/rects"
    for id in 4071 4072 4073 4074 4075; do drv text "$id"; done >"$out/texts"
}

# red_box <capture folder> <control id>: the box "x y w h" around the second hand's red within
# the control. The window picture holds the frame too: the client area starts after the border
# and the caption.
red_box() {
    local l t r b wl wt wr wb cw ch border caption
    read -r l t r b < <(grep "^$2 " "$1/rects" | cut -d' ' -f2-)
    read -r wl wt wr wb <"$1/frame"
    read -r cw ch <"$1/client"
    border=$(((wr - wl - cw) / 2))
    caption=$((wb - wt - ch - border))
    /usr/bin/convert "$1/window.png" -crop "$((r - l))x$((b - t))+$((l + border))+$((t + caption))" \
        +repage -fill black -fuzz 8% +opaque "rgb(212,0,0)" -format '%@' info: |
        sed -E 's/^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$/\3 \4 \1 \2/'
}

# near <what> <expected> <actual> <tolerance>
near() {
    if [ "$3" -ge $(($2 - $4)) ] && [ "$3" -le $(($2 + $4)) ]; then
        pass "$1"
    else
        fail "$1: expected $2 (within $4), got $3"
    fi
}

start_app "$reading" || finish
capture "$work/at96"
stop_app

use_dpi "$target"
# The window at its natural size and place for the scale, not at the size stored at 96 dpi.
rm -f "$work/Lunavista.ini"
start_app "$reading" || finish
capture "$work/scaled"
echo "scale: $target dpi"

# Places: the window's client area and every control, s times those at 96 dpi. The border
# around a graphic control stays one pixel, hence a pixel more of leeway.
read -r cw ch <"$work/at96/client"
read -r sw sh <"$work/scaled/client"
near "client width" "$(sc "$cw")" "$sw" 1
near "client height" "$(sc "$ch")" "$sh" 1
while read -r id l t r b; do
    read -r _ sl st sr sb < <(grep "^$id " "$work/scaled/rects")
    for edge in "left $l $sl" "top $t $st" "right $r $sr" "bottom $b $sb"; do
        read -r name at96 scaled <<<"$edge"
        near "control $id $name" "$(sc "$at96")" "$scaled" 2
    done
done <"$work/at96/rects"

# The labels say the same.
expect_eq "label texts" "$(cat "$work/at96/texts")" "$(cat "$work/scaled/texts")"

# ink <picture>: white where a picture has ink (anything but the page ground and white).
ink() {
    /usr/bin/convert "$1" -fuzz 30% -fill "rgb(1,2,3)" -opaque "rgb(178,194,217)" -opaque white \
        -fuzz 0 -fill white +opaque "rgb(1,2,3)" -fill black -opaque "rgb(1,2,3)" \
        -colorspace gray "$2"
}
# pixels <picture...>: how many white pixels (after the operators given).
pixels() {
    /usr/bin/convert "$@" -format '%[fx:round(mean*w*h)]' info:
}

# The pages: snapshots of the canvas at its real size, round(522 s) x round(400 s), compared
# with the 96-dpi pages, which are enlarged to that size pixel by pixel.
#   - Ink (all but the page ground and the white boxes) of each picture must lie within two
#     pixels of ink of the other, for at least 55 % of it. Fonts are hinted for their own pixel
#     size and keep whole-pixel character widths (Courier New 9 pt: 7 pixels at 96 dpi, 10 at
#     144 where 10.5 would be exact), so lines of text run a little shorter and their letters
#     differ in detail; the drawing itself lies within a pixel or two. Measured: pages 1 98-100 %,
#     pages 2 and 3 with their many lines 61-94 %; a page drawn at its 96-dpi places on the
#     larger canvas (the fault this guards against) reaches 9-30 %.
#   - Shrunk back to 130 x 100 (the mean colour of each 4 x 4 block of the 96-dpi page), at
#     least 80 % of the blocks within 15 % of the colour range. Measured: 85-99 %.
for page in 1 2 3; do
    shot="$work/scaled/page$page.bmp"
    expect_eq "page $page snapshot size" "$(sc 522)x$(sc 400)" "$(identify -format '%wx%h' "$shot")"
    /usr/bin/convert "$work/at96/page$page.bmp" -filter Point -resize "$(sc 522)x$(sc 400)!" \
        "$work/up$page.png"
    ink "$work/up$page.png" "$work/ink96.png"
    ink "$shot" "$work/inkscaled.png"
    at96=$(pixels "$work/ink96.png")
    scaled=$(pixels "$work/inkscaled.png")
    near96=$(pixels "$work/ink96.png" \( "$work/inkscaled.png" -morphology Dilate Disk:2 \) \
        -compose darken -composite)
    nearScaled=$(pixels "$work/inkscaled.png" \( "$work/ink96.png" -morphology Dilate Disk:2 \) \
        -compose darken -composite)
    share=$((near96 * 1000 / at96))
    [ $((nearScaled * 1000 / scaled)) -lt "$share" ] && share=$((nearScaled * 1000 / scaled))
    /usr/bin/convert "$work/at96/page$page.bmp" -filter Box -resize '130x100!' "$work/q96.png"
    /usr/bin/convert "$shot" -filter Box -resize '130x100!' "$work/qscaled.png"
    differing=$(/usr/bin/compare -metric AE -fuzz 15% "$work/q96.png" "$work/qscaled.png" null: 2>&1)
    blocks=$(((13000 - ${differing%%.*}) * 1000 / 13000))
    echo "page $page at $target dpi: ink $((share / 10)).$((share % 10)) %, blocks $((blocks / 10)).$((blocks % 10)) %"
    if [ "$share" -ge 550 ] && [ "$blocks" -ge 800 ]; then
        pass "page $page is the 96-dpi page, larger"
    else
        fail "page $page: ink $share, blocks $blocks per mille"
    fi
done

# The second hands of the clock and the count-down dial: the box around their red, s times the
# one at 96 dpi (it runs from behind the centre out to its tip).
for id in 4096 4097; do
    read -r x y w h <<<"$(red_box "$work/at96" "$id")"
    read -r sx sy sw sh <<<"$(red_box "$work/scaled" "$id")"
    near "second hand of $id: left" "$(sc "$x")" "$sx" 2
    near "second hand of $id: top" "$(sc "$y")" "$sy" 2
    near "second hand of $id: length across" "$(sc "$w")" "$sw" 2
    near "second hand of $id: length down" "$(sc "$h")" "$sh" 2
done

# The buttons at their scaled places: the caption under the mouse rises in blue, and a click
# opens the page.
read -r _ l t r b < <(grep "^4091 " "$work/scaled/rects")
drv move $(((l + r) / 2)) $(((t + b) / 2)) >/dev/null
sleep 0.3
raised=$(drv count "$l" "$t" "$r" "$b" 0 0 255)
drv move 5 5 >/dev/null
sleep 0.3
lowered=$(drv count "$l" "$t" "$r" "$b" 0 0 255)
if [ "$raised" -gt 5 ] && [ "$lowered" -eq 0 ]; then pass "hover raises and lowers"; else fail "hover: $raised blue pixels over it, $lowered after"; fi
read -r l t r b <<<"$(drv rect 4093)"
drv click $(((l + r) / 2)) $(((t + b) / 2)) >/dev/null
drv move 5 5 >/dev/null
sleep 0.5
rm -f "$work"/Lunavista_00?.bmp
drv key ctrl+f2 >/dev/null
# The snapshot appears under its page's name once it is whole; a busy machine may take seconds.
for _ in $(seq 1 100); do ls "$work"/Lunavista_00?.bmp >/dev/null 2>&1 && break; sleep 0.05; done
if [ -f "$work/Lunavista_003.bmp" ]; then pass "a click on \"Quelle\" opens the source page"; else fail "the click on \"Quelle\" did not open the source page"; fi

finish
