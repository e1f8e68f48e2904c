#!/usr/bin/env bash
# The window reopens where and as it was closed: the INI file beside the executable, its five
# keys, a minimised start, places off the screen, and executables in odd places.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ini="$work/Lunavista.ini"
at="@2025-03-05 14:07:09"

window_rect() { drv window; }

ini_value() {  # ini_value <file> <key>
    tr -d '\r' <"$1" | awk -F= -v key="$2" '$1 == key { print $2; exit }'
}

close_app() {
    drv command 4095 >/dev/null
    wait_app_end 10 || fail "the program did not end"
}

# First run without a file: centred on the 1280 x 1024 screen.
rm -f "$ini"
start_app "$at" || finish
read -r l t r b <<<"$(window_rect)"
w=$((r - l)); h=$((b - t))
cx=$(((1280 - w) / 2)); cy=$(((1024 - h) / 2))
if [ $((l - cx)) -ge -1 ] && [ $((l - cx)) -le 1 ] && [ $((t - cy)) -ge -1 ] && [ $((t - cy)) -le 1 ]; then
    pass "first run opens centred ($l, $t)"
else
    fail "first run at ($l, $t), centred would be ($cx, $cy)"
fi
close_app
for key in LvWinPosX LvWinPosY LvWinPosW LvWinPosH LvWinPosMinm; do
    [ -n "$(ini_value "$ini" "$key")" ] && pass "closing wrote $key" || fail "closing did not write $key"
done
expect_eq "keys in order" "LvWinPosX LvWinPosY LvWinPosW LvWinPosH LvWinPosMinm" \
    "$(tr -d '\r' <"$ini" | grep -o '^LvWinPos[A-Za-z]*' | tr '\n' ' ' | sed 's/ $//')"

# A move is remembered, and the next run opens there.
start_app "$at" || finish
drv moveto 100 60 >/dev/null
close_app
x=$(ini_value "$ini" LvWinPosX); y=$(ini_value "$ini" LvWinPosY)
expect_eq "stored place in dialog units" "66 37" "$x $y"
start_app "$at" || finish
read -r l t r b <<<"$(window_rect)"
expect_eq "next run opens at the stored place" "99 60" "$l $t"
close_app
expect_eq "and writes it back unchanged" "66 37" "$(ini_value "$ini" LvWinPosX) $(ini_value "$ini" LvWinPosY)"

# A place hanging off the screen's top left is moved wholly onto it, and that place is kept.
printf '[LvWinPos]\r\nLvWinPosX=-20\r\nLvWinPosY=-10\r\nLvWinPosW=1\r\nLvWinPosH=1\r\nLvWinPosMinm=0\r\n' >"$ini"
start_app "$at" || finish
read -r l t r b <<<"$(window_rect)"
expect_eq "place off the top left: in the corner" "0 0" "$l $t"
close_app
expect_eq "place off the top left: the corner written back" "0 0" "$(ini_value "$ini" LvWinPosX) $(ini_value "$ini" LvWinPosY)"

# Logging off or shutting down with the window open: WM_ENDSESSION (0x16, wParam TRUE) writes the
# place, as no WM_CLOSE follows.
rm -f "$ini"
start_app "$at" || finish
drv moveto 200 120 >/dev/null
drv message 22 1 0 >/dev/null
sleep 0.3
expect_eq "the session's end wrote the place" "133 74" "$(ini_value "$ini" LvWinPosX) $(ini_value "$ini" LvWinPosY)"
close_app

# A stored minimised state starts minimised; closing while minimised keeps the place.
printf '[LvWinPos]\r\nLvWinPosX=100\r\nLvWinPosY=50\r\nLvWinPosW=0\r\nLvWinPosH=0\r\nLvWinPosMinm=1\r\n' >"$ini"
start_app "$at" || finish
sleep 0.5
expect_eq "minimised start" 1 "$(drv iconic)"
drv syscommand close >/dev/null
wait_app_end 10 || fail "Close did not end the minimised program"
expect_eq "closed minimised: place and state" "100 50 1" \
    "$(ini_value "$ini" LvWinPosX) $(ini_value "$ini" LvWinPosY) $(ini_value "$ini" LvWinPosMinm)"

# A place on no monitor (one unplugged since) opens in the nearest corner of the screen, wholly
# on it, instead of out of sight.
printf '[LvWinPos]\r\nLvWinPosX=20000\r\nLvWinPosY=20000\r\nLvWinPosMinm=0\r\n' >"$ini"
start_app "$at" || finish
read -r l t r b <<<"$(window_rect)"
expect_eq "place on no monitor: the bottom right corner" "1280 1024" "$r $b"
close_app

# An INI path that cannot be written (here a folder of that name) is ignored without harm.
rm -f "$ini"
mkdir "$ini"
start_app "$at" || finish
read -r l t r b <<<"$(window_rect)"
if [ $((l - cx)) -ge -1 ] && [ $((l - cx)) -le 1 ]; then pass "unreadable INI: centred"; else fail "unreadable INI: at ($l, $t)"; fi
close_app
expect_eq "unwritable INI: exit code" 0 "$app_status"
rmdir "$ini"

# A read-only file (where the file system enforces it) is left as it was.
printf '[LvWinPos]\r\nLvWinPosX=100\r\nLvWinPosY=50\r\n' >"$ini"
if chattr +i "$ini" 2>/dev/null; then
    before=$(md5sum <"$ini")
    start_app "$at" || finish
    drv moveto 300 200 >/dev/null
    close_app
    expect_eq "read-only INI unchanged" "$before" "$(md5sum <"$ini")"
    expect_eq "read-only INI: exit code" 0 "$app_status"
    chattr -i "$ini"
else
    echo "note: chattr +i not permitted here; the read-only file case is covered by the folder case"
fi
rm -f "$ini"

# An executable without ".exe": the store uses "<full path>.ini" and never writes into the
# program itself.
odd="$work/odd"
mkdir -p "$odd"
cp "$LV_EXE" "$odd/Lunavista.bin"
sum=$(md5sum <"$odd/Lunavista.bin")
( cd "$odd" && TZ=Europe/Berlin exec wine Lunavista.bin </dev/null >/dev/null 2>&1 ) &
app_pid=$!
if drv wait 20000 >/dev/null; then
    close_app
    [ -f "$odd/Lunavista.bin.ini" ] && pass "no .exe: Lunavista.bin.ini written" || fail "no .exe: no Lunavista.bin.ini"
    expect_eq "no .exe: the program file is untouched" "$sum" "$(md5sum <"$odd/Lunavista.bin")"
else
    fail "the program without .exe did not start"
fi

# A folder with a name outside ASCII.
folder="$work/Mönd Ümläut"
mkdir -p "$folder"
cp "$LV_EXE" "$folder/Lunavista.exe"
start_app "$at" Europe/Berlin "$folder" || finish
drv moveto 120 80 >/dev/null
drv key ctrl+f2 >/dev/null
sleep 0.5
close_app
[ -f "$folder/Lunavista.ini" ] && pass "non-ASCII folder: INI written" || fail "non-ASCII folder: no INI"
[ -f "$folder/Lunavista_001.bmp" ] && pass "non-ASCII folder: snapshot written" || fail "non-ASCII folder: no snapshot"
start_app "$at" Europe/Berlin "$folder" || finish
read -r l t r b <<<"$(window_rect)"
expect_eq "non-ASCII folder: reopens at the stored place" "120 80" "$l $t"
close_app

# A folder path longer than the INI path may be: the store is skipped, the program runs.
long="$work/$(printf 'a%.0s' $(seq 1 120))/$(printf 'b%.0s' $(seq 1 120))"
mkdir -p "$long"
cp "$LV_EXE" "$long/Lunavista.exe"
start_app "$at" Europe/Berlin "$long" || finish
close_app
expect_eq "long path: exit code" 0 "$app_status"
if [ -e "$long/Lunavista.ini" ]; then fail "long path: an INI was written"; else pass "long path: store skipped"; fi

finish
