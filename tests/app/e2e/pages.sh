#!/usr/bin/env bash
# The pages and their buttons, worked from outside with the real mouse and keyboard: which page
# is shown (told by the snapshot Ctrl+F2 writes) and which button is selected (by its caption
# colour on the screen).
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# bmp_pixel <file> <x> <y>: "r g b" of a pixel (x, y from the top).
bmp_pixel() {
    /usr/bin/convert "$1[1x1+$2+$3]" -depth 8 txt:- 2>/dev/null | tail -n 1 |
        sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/'
}

# The page the window shows: Ctrl+F2 writes Lunavista_00N.bmp for page N beside the program.
shown_page() {
    rm -f "$work"/Lunavista_00?.bmp
    drv key ctrl+f2 >/dev/null
    local i file
    for i in $(seq 1 50); do
        file=$(ls "$work"/Lunavista_00?.bmp 2>/dev/null | head -n 1)
        if [ -n "$file" ]; then
            sleep 0.1  # let the writer finish
            file=${file##*_00}
            echo "${file%.bmp}"
            return
        fi
        sleep 0.05
    done
    echo none
}

# The page a snapshot shows, told by its pixels: the sunlight arrows of the diagram, the wide
# frame of the source block (white where the Moon-data frame leaves the page ground).
page_in_bmp() {
    local file=$1
    if [ "$(bmp_pixel "$file" 12 70)" == "255 255 0" ]; then echo 1; return; fi
    case "$(bmp_pixel "$file" 15 300)" in
        "255 255 255") echo 3 ;;
        "178 194 217") echo 2 ;;
        *) echo unknown ;;
    esac
}

centre_of() {
    local l t r b
    read -r l t r b <<<"$(drv rect "$1")"
    echo "$(((l + r) / 2)) $(((t + b) / 2))"
}

# selected_button: the id of the button whose caption shows the selection colour.
selected_button() {
    local id l t r b found=""
    for id in 4091 4092 4093 4095; do
        read -r l t r b <<<"$(drv rect "$id")"
        if [ "$(drv count "$l" "$t" "$r" "$b" 64 64 196)" -gt 5 ]; then
            found="$found$id "
        fi
    done
    echo "${found% }"
}

expect_page() {
    local what=$1 page=$2
    local shown
    shown=$(shown_page)
    expect_eq "$what: page shown" "$page" "$shown"
    if [ -f "$work/Lunavista_00$shown.bmp" ]; then
        expect_eq "$what: snapshot content" "$page" "$(page_in_bmp "$work/Lunavista_00$shown.bmp")"
    fi
}

start_app "2025-03-05 14:07:09" || finish
drv move 5 5 >/dev/null
sleep 0.5
expect_page "at start" 1
expect_eq "at start: selected" 4091 "$(selected_button)"

# Mouse: a click (release) on a page button opens its page. A screen reader's default action on
# the button does the same, drawing included.
for how in click accdo; do
    for step in "4092 2" "4093 3" "4091 1"; do
        read -r id page <<<"$step"
        if [ "$how" == click ]; then
            drv click $(centre_of "$id") >/dev/null
        else
            drv accdo "$id" >/dev/null
        fi
        drv move 5 5 >/dev/null
        sleep 0.3
        expect_page "$how on $id" "$page"
        expect_eq "$how on $id: selected" "$id" "$(selected_button)"
    done
done

# Pressing on one button and releasing on another activates the second.
drv press $(centre_of 4091) >/dev/null
drv release $(centre_of 4093) >/dev/null
drv move 5 5 >/dev/null
sleep 0.3
expect_page "press on 4091, release on 4093" 3

# Keys: Up and Down stop at the ends; Tab selects "Beenden" without ending; Tab returns.
for step in "up 2" "up 1" "up 1" "down 2" "down 3" "down 3" "up 2"; do
    read -r k page <<<"$step"
    drv key "$k" >/dev/null
    sleep 0.3
    expect_page "key $k" "$page"
done
drv key tab >/dev/null
sleep 0.3
expect_eq "tab: exit button selected" 4095 "$(selected_button)"
expect_page "tab keeps the page" 2
drv key down >/dev/null
sleep 0.3
expect_eq "down after tab does nothing" 4095 "$(selected_button)"
drv key tab >/dev/null
sleep 0.3
expect_eq "tab again: back to the page button" 4092 "$(selected_button)"
expect_page "tab again reopens the page" 2
drv key enter >/dev/null
sleep 0.3
expect_page "enter on a page button opens the source page" 3

# Hover: the caption under the mouse rises in blue; moving on lowers it.
read -r l t r b <<<"$(drv rect 4092)"
drv move $(centre_of 4092) >/dev/null
sleep 0.3
raised=$(drv count "$l" "$t" "$r" "$b" 0 0 255)
drv move $(centre_of 4091) >/dev/null
sleep 0.3
lowered=$(drv count "$l" "$t" "$r" "$b" 0 0 255)
if [ "$raised" -gt 5 ] && [ "$lowered" -eq 0 ]; then pass "hover raises and lowers"; else fail "hover: raised $raised, lowered $lowered blue pixels"; fi

# Ctrl+F2 again replaces the file.
drv key ctrl+f2 >/dev/null
sleep 0.5
before=$(stat -c %Y.%s "$work/Lunavista_003.bmp" 2>/dev/null)
touch -d '2001-01-01' "$work/Lunavista_003.bmp"
drv key ctrl+f2 >/dev/null
sleep 0.5
after=$(stat -c %Y "$work/Lunavista_003.bmp" 2>/dev/null)
if [ -n "$before" ] && [ "$after" -gt 978307200 ]; then pass "a second Ctrl+F2 rewrites the snapshot"; else fail "snapshot not rewritten ($before / $after)"; fi
expect_eq "snapshot size (522 x 400, 24 bit)" "$((54 + 1568 * 400))" "$(stat -c %s "$work/Lunavista_003.bmp")"

# Tab, then Enter on "Beenden" ends the program.
drv key tab >/dev/null
sleep 0.3
drv key enter >/dev/null
if wait_app_end 10; then expect_eq "exit code after Tab, Enter" 0 "$app_status"; else fail "Tab, Enter did not end the program"; fi

finish
