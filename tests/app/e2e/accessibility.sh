#!/usr/bin/env bash
# What a screen reader reads of the window, from another process: each graphic control's name
# (its text, read as Unicode, and where Wine's oleacc answers, its accessible name) and, page by
# page, the drawing area's text. On pages 2 and 3 that text holds the lines lunavista-cli prints
# for the same reading, then the information block. The text follows the page and the minute
# update, never the once-a-second refresh.
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

start_app "@$at" || finish
text=""
for _ in $(seq 1 40); do
    text=$(drv text 4056)
    [ -n "$text" ] && break
    sleep 0.05
done
expect_eq "page 1 at start" "$page1_at_5h" "$text"

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
drv message "$wm_timer" "$list_timer" 0 >/dev/null
sleep 0.2
expect_eq "page 1 after the minute update" "$page1_at_4h" "$(drv text 4056)"

# The graphic controls' names.
for control in "4091|Die Mondphasen" "4092|Monddaten" "4093|Quelle" "4095|Beenden" "4096|Uhr" \
               "4097|Countdown" "4098|Beleuchteter Teil der Mondscheibe"; do
    IFS='|' read -r id name <<<"$control"
    expect_eq "control $id: text" "$name" "$(drv text "$id")"
    expect_accessible_name "control $id" "$id" "$name"
done

# Page by page, opened by their buttons' commands; the lists are those of the starting reading
# (no event and no midnight lies within the test's seconds).
for page in 2 3 1; do
    drv command $((4090 + page)) >/dev/null
    sleep 0.3
    text=$(drv text 4056)
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

finish
