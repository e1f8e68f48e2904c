#!/usr/bin/env bash
# What a screen reader reads of the window, from another process: each graphic control's name
# (its text, read as Unicode, and where Wine's oleacc answers, its accessible name) and, page by
# page, the drawing area's text. On pages 2 and 3 that text holds the lines lunavista-cli prints
# for the same reading, then the information block. The text follows the page and the minute
# update, never the once-a-second refresh. The events a screen reader follows (counted by an
# out-of-context WinEvent hook): the focus moving with the keys, the shown page's tab selected,
# the drawing area renamed when its text changes, the gauge's value at most once a second. Then,
# at a frozen clock, what each control is (role, states, value, default action), the page tabs'
# default actions, and the exit button's, which ends the program.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# The count-down shows 3 d 5 h 0 min 3 s at this reading: its hours turn to 4 after 3 s.
at="2026-12-20 21:29:15"
list_timer=9997
wm_timer=275

# Texts as the driver prints them: TAB as \t, line breaks as \r\n.
page1_at_5h='Die Mondphasen\r\nZunehmender Mond\r\nNächster Vollmond ist in 3 Tagen und 5 Stunden'
page1_at_4h='Die Mondphasen\r\nZunehmender Mond\r\nNächster Vollmond ist in 3 Tagen und 4 Stunden'

# The accessible name must equal the text; when Wine's oleacc gives no accessible object, that
# part is skipped, and said once.
oleacc_answers=unknown
expect_accessible_name() {
    local what=$1 id=$2 expected=$3 name
    [ "$oleacc_answers" == no ] && return
    if name=$(drv accname "$id" 2>&1); then
        oleacc_answers=yes
        expect_eq "$what: accessible name" "$expected" "$name"
    elif [ "$oleacc_answers" == unknown ]; then
        oleacc_answers=no
        echo "skip: Wine's oleacc gives no accessible name ($name); only the texts are checked"
    else
        fail "$what: no accessible name ($name)"
    fi
}

# escaped_lines: stdin's lines as one text the way the driver prints it.
escaped_lines() {
    sed 's/\t/\\t/g' | awk 'NR > 1 { printf "\\r\\n" } { printf "%s", $0 }'
}

line_count() {
    echo $(($(grep -o '\\r\\n' <<<"$1" | wc -l) + 1))
}

# events_after <ms>: the events counted since the last call, the gauge's left out.
events_after() {
    local list
    list=$(drv events "$1")
    tr ' ' '\n' <<<"$list" | grep -v '^value@' | paste -sd ' '
}

start_app "@$at" || finish
text=""
for _ in $(seq 1 40); do
    text=$(drv text 4056)
    [ -n "$text" ] && break
    sleep 0.05
done
expect_eq "page 1 at start" "$page1_at_5h" "$text"
drv hook >/dev/null || fail "no WinEvent hook"

# The count-down's hours turn while page 1 is shown: the page text stays.
hours=""
for _ in $(seq 1 80); do
    hours=$(drv text 4073)
    [ "$hours" == 4 ] && break
    sleep 0.1
done
expect_eq "count-down hours after 3 s" 4 "$hours"
expect_eq "page 1 text not changed by the once-a-second refresh" "$page1_at_5h" "$(drv text 4056)"
# The minute update makes it afresh.
drv events 100 >/dev/null
drv message "$wm_timer" "$list_timer" 0 >/dev/null
expect_eq "the minute update renames the drawing area" "name@4056" "$(events_after 300)"
expect_eq "page 1 after the minute update" "$page1_at_4h" "$(drv text 4056)"
drv message "$wm_timer" "$list_timer" 0 >/dev/null
expect_eq "a minute update with the same text raises nothing" "" "$(events_after 300)"

# The graphic controls' names.
for control in "4091|Die Mondphasen" "4092|Monddaten" "4093|Quelle" "4095|Beenden" "4096|Uhr" \
               "4097|Countdown" "4098|Beleuchteter Teil der Mondscheibe"; do
    IFS='|' read -r id name <<<"$control"
    expect_eq "control $id: text" "$name" "$(drv text "$id")"
    expect_accessible_name "control $id" "$id" "$name"
done

# Page by page, opened by their buttons' commands; the lists are those of the starting reading
# (no event and no midnight lies within the test's seconds).
declare -A page_text=([1]="$page1_at_5h")
for page in 2 3 1; do
    drv command $((4090 + page)) >/dev/null
    sleep 0.3
    text=$(drv text 4056)
    [ "$page" == 1 ] || page_text[$page]=$text
    case $page in
        1)
            expect_eq "page 1 after pages 2 and 3" "$page1_at_4h" "$text"
            ;;
        2 | 3)
            if [ "$page" == 2 ]; then
                list=$(cli phases --at "$at" | escaped_lines)
                block='\r\nMonddaten\r\nGrößte Entfernung zur Erde\t406740 km\r\n'
                sample='\r\nVolumen\t2,199 * 10^10 km^3\r\nMasse\t7,350 * 10^22 kg\r\n'
            else
                list=$(cli eclipses --at "$at" | escaped_lines)
                block='\r\nQuelle\r\nDer Algorithmus zur Mondphasenberechnung stammt aus dem Buch:\r\n'
                sample='\r\nDas Programm ist eine Übersetzung der Homepage hier:\r\n'
            fi
            expect_eq "page $page: the list as lunavista-cli prints it" "$list" "${text:0:${#list}}"
            rest=${text:${#list}}
            expect_eq "page $page: the block's title and first line" "$block" "${rest:0:${#block}}"
            if [[ "$rest" == *"$sample"* && "$rest" != *---* ]]; then
                pass "page $page: block rows"
            else
                fail "page $page: block rows: [$rest]"
            fi
            # 4 phases and 11 lines of Moon data; 5 eclipses and 10 source lines (no ruler).
            expect_eq "page $page: lines" 15 "$(line_count "$text")"
            ;;
    esac
    expect_accessible_name "page $page" 4056 "$text"
done

# Page 1 is shown, its button holds the keyboard selection. Down moves the focus and opens the
# next page; Tab moves the focus to "Beenden" and leaves the page.
drv events 100 >/dev/null
drv key down >/dev/null
expect_eq "events of Down" "focus@4092 name@4056 selection@4092" "$(events_after 600)"
drv key tab >/dev/null
expect_eq "events of Tab" "focus@4095" "$(events_after 600)"
values=$(drv events 3100)
values=$(tr ' ' '\n' <<<"$values" | grep -c '^value@4098')
if [ "$values" -ge 2 ] && [ "$values" -le 4 ]; then
    pass "gauge value changes in 3.1 s: $values"
else
    fail "gauge value changes in 3.1 s: $values (once a second expected)"
fi

# A frozen clock: the gauge, the dials and the texts stand still.
stop_app
start_app "$at" || finish
now=$(cli now --at "$at")
fraction=$(awk -F'\t' '$1 == "fraction" { print $2 }' <<<"$now")
dial=$(awk -F'\t' '$1 == "dial" { print $2 }' <<<"$now")
for _ in $(seq 1 40); do
    [[ "$(drv acc 4097)" == *:* ]] && break
    sleep 0.05
done
while IFS='|' read -r id expected; do
    expect_eq "control $id: role|states|value|default action" "$expected" "$(drv acc "$id")"
done <<TABLE
4056|statictext|readonly|-|-
4091|pagetab|selected+focused+focusable+selectable|-|Wechseln
4092|pagetab|focusable+selectable|-|Wechseln
4093|pagetab|focusable+selectable|-|Wechseln
4095|pushbutton|focusable|-|Drücken
4096|clock|readonly|${at#* }|-
4097|clock|readonly|$dial|-
4098|progressbar|readonly|$fraction|-
TABLE

# with_state <state> <ids...>: those of the controls whose states include it.
with_state() {
    local state=$1 id states found=""
    shift
    for id in "$@"; do
        IFS='|' read -r _ states _ <<<"$(drv acc "$id")"
        [[ "+$states+" == *"+$state+"* ]] && found="$found$id "
    done
    echo "${found% }"
}

# A tab's default action does what a click does: its page opens, and the tab is selected and
# holds the keyboard selection.
for page in 2 3 1; do
    id=$((4090 + page))
    drv accdo "$id" >/dev/null || fail "default action of $id"
    sleep 0.3
    expect_eq "default action of $id: the drawing area's text" "${page_text[$page]}" \
        "$(drv text 4056)"
    expect_eq "default action of $id: selected tab" "$id" "$(with_state selected 4091 4092 4093)"
    expect_eq "default action of $id: focus" "$id" "$(with_state focused 4091 4092 4093 4095)"
done
drv key tab >/dev/null
sleep 0.3
expect_eq "tab: focus" 4095 "$(with_state focused 4091 4092 4093 4095)"
expect_eq "tab: the shown page's tab stays selected" 4091 "$(with_state selected 4091 4092 4093)"

# "Beenden"'s default action ends the program, as a click does.
drv accdo 4095 >/dev/null || fail "default action of 4095"
if wait_app_end 10; then
    expect_eq "exit code after the exit button's default action" 0 "$app_status"
else
    fail "the exit button's default action did not end the program"
fi

finish
