#!/usr/bin/env bash
# Installs the Debian package for real, uses it as a user would, and removes it again:
#   check-install.sh [<lunavista_<version>_amd64.deb>]    (default: made by make-deb.sh)
# It changes the machine while it runs, so it is not part of tools/test.sh: it needs root (or
# sudo), apt installs the package with whatever it depends on, and it refuses to start when
# lunavista is installed already. Removing the package leaves the dependencies installed.
#  1. sudo apt install ./lunavista_<version>_amd64.deb
#  2. lunavista-cli now; man lunavista-cli in English and, under a German locale, in German; Tab
#     completion as bash loads it
#  3. the launcher without a display (one line, non-zero status), then as a user with a fresh
#     home in a virtual display (Xvfb): the window appears, a screenshot of it, closed from
#     outside (WM_CLOSE); status 0, Lunavista.ini in the user's folder, the installed files
#     unchanged (dpkg --verify)
#  4. sudo apt remove lunavista: no file of the package left behind
set -u
source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
die() { echo "check-install.sh: $*" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    die "needs root or sudo"
fi
if dpkg-query -W -f='${db:Status-Status}' lunavista 2>/dev/null | grep -qx installed; then
    die "lunavista is installed already; remove it first (sudo apt remove lunavista)"
fi
deb=${1:-$("$source/tools/package/make-deb.sh" | tail -1)}
[ -f "$deb" ] || die "no package at '$deb'"
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")

work=$(mktemp -d)
xvfb=""
installed=no
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    if [ "$installed" == yes ]; then
        "${as_root[@]}" apt-get remove -y -qq lunavista >/dev/null 2>&1
    fi
    if [ -d "$work/home/.local/share/lunavista/wine" ]; then
        WINEPREFIX="$work/home/.local/share/lunavista/wine" wineserver -k 2>/dev/null
        WINEPREFIX="$work/home/.local/share/lunavista/wine" wineserver -w 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
# The package's files and folders of its own (those no other package has).
dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' | sed 's|/$||; /^$/d' >"$work/paths"

# --- 1. Install
start=$(date +%s)
if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" \
    >"$work/apt" 2>&1; then
    installed=yes
    pass "apt install $(basename "$deb") ($(($(date +%s) - start)) s)"
else
    cat "$work/apt" >&2
    die "apt install failed"
fi

# --- 2. The companion, its manual and its completion
now=$(lunavista-cli now) && [ "$(wc -l <<<"$now")" -eq 4 ] &&
    pass "lunavista-cli now: $(head -1 <<<"$now" | tr '\t' ' ')" || fail "lunavista-cli now: $now"
english=$(MANPAGER=cat MANWIDTH=80 LC_ALL=C.UTF-8 man lunavista-cli 2>&1)
grep -q '^NAME' <<<"$english" && grep -q -- '--format' <<<"$english" &&
    pass "man lunavista-cli ($(wc -l <<<"$english") lines)" ||
    fail "man lunavista-cli: $(head -3 <<<"$english")"
# Under a German locale man shows the German page. This machine may not have that locale
# generated: then it is made for this check alone, in the work folder.
german_locale=(LANG=de_DE.UTF-8)
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8' &&
    mkdir -p "$work/locale" && localedef -i de_DE -f UTF-8 "$work/locale/de_DE.UTF-8" 2>/dev/null; then
    german_locale+=(LOCPATH="$work/locale")
fi
german=$(env -u LC_ALL -u LC_MESSAGES -u LANGUAGE "${german_locale[@]}" MANPAGER=cat MANWIDTH=80 \
         man lunavista-cli 2>&1)
grep -q '^BEZEICHNUNG' <<<"$german" && grep -q 'ZEITPUNKT' <<<"$german" &&
    pass "man lunavista-cli under ${german_locale[*]}: in German ($(wc -l <<<"$german") lines)" ||
    fail "man lunavista-cli under ${german_locale[*]}: $(head -3 <<<"$german")"
completion=$(bash -c '. /usr/share/bash-completion/bash_completion
    _completion_loader lunavista-cli
    complete -p lunavista-cli
    COMP_WORDS=(lunavista-cli ph) COMP_CWORD=1 COMP_LINE="lunavista-cli ph" COMP_POINT=16
    _lunavista_cli && echo "${COMPREPLY[*]}"' 2>&1)
[ "$completion" == "complete -F _lunavista_cli lunavista-cli
phases" ] && pass "bash loads the completion: lunavista-cli ph<Tab> gives phases" ||
    fail "completion: $completion"
desktop-file-validate /usr/share/applications/org.example.lunavista.desktop &&
    pass "menu entry installed and valid" || fail "menu entry"

# --- 3. The launcher
env -u DISPLAY HOME="$work/nodisplay" lunavista 2>"$work/err"
status=$?
[ "$status" -ne 0 ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
    pass "lunavista without a display: status $status, $(cat "$work/err")" ||
    fail "lunavista without a display: status $status, $(cat "$work/err")"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" </dev/null \
    >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
display=":$(cat "$work/display")"
home="$work/home"
folder="$home/.local/share/lunavista"
mkdir -p "$home"
start=$(date +%s)
env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$display" lunavista >"$work/out" 2>"$work/err" &
launcher=$!
window=""
for _ in $(seq 1 1200); do
    window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null |
             awk '/" Lunavista":/ { print $1; exit }')
    [ -n "$window" ] && break
    kill -0 "$launcher" 2>/dev/null || break
    sleep 0.1
done
if [ -n "$window" ]; then
    pass "the window appeared after $(($(date +%s) - start)) s (a first start makes the prefix)"
    sleep 2  # the first refresh and the page are drawn
    shot="$source/build/package/installed-window.png"
    mkdir -p "$(dirname "$shot")"
    DISPLAY=$display /usr/bin/import -window "$window" "$shot"
    colours=$(/usr/bin/convert "$shot" -unique-colors -depth 8 txt:- 2>/dev/null)
    grep -q "#000060" <<<"$colours" && grep -q "#B2C2D9" <<<"$colours" &&
        pass "screenshot $shot ($(/usr/bin/identify -format '%w x %h' "$shot"))" ||
        fail "the screenshot does not show the window"
    # The menu entry's StartupWMClass lets a dock tell the window belongs to it.
    class=$(DISPLAY=$display xprop -id "$window" WM_CLASS 2>&1)
    wm_class=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/org.example.lunavista.desktop)
    grep -qF "\"$wm_class\"" <<<"$class" && pass "the window's $class" ||
        fail "the window's $class does not hold the menu entry's $wm_class"
    # Wine's taskkill without /f posts WM_CLOSE, as a click on the close box does.
    env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$display" WINEPREFIX="$folder/wine" \
        WINEDEBUG=-all wine taskkill /im Lunavista.exe >/dev/null 2>&1
else
    fail "no window: $(cat "$work/err")"
    kill "$launcher" 2>/dev/null
fi
status=0
wait "$launcher" || status=$?
err=$(cat "$work/err")
# A first start says, in one line, that it makes the prefix.
if [ "$status" -eq 0 ] && { [ -z "$err" ] || [ "$err" == \
    "lunavista: preparing a Wine prefix in $folder/wine (only at the first start)" ]; }; then
    pass "the launcher ended with status 0 when the window was closed"
else
    fail "the launcher: status $status, $err"
fi
[ -s "$folder/Lunavista.ini" ] && pass "Lunavista.ini written in $folder" ||
    fail "no Lunavista.ini in $folder: $(ls "$folder")"
verify=$(dpkg --verify lunavista 2>&1)
extra=$(find /usr/lib/lunavista /usr/share/lunavista -type f | grep -vxFf "$work/paths")
[ -z "$verify" ] && [ -z "$extra" ] && pass "the installed files are unchanged, none added" ||
    fail "installed files changed: $verify $extra"
kill "$xvfb" 2>/dev/null
xvfb=""

# --- 4. Remove
if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq lunavista \
    >"$work/apt" 2>&1; then
    installed=no
    pass "apt remove lunavista"
else
    fail "apt remove: $(cat "$work/apt")"
fi
left=""
while IFS= read -r path; do
    [ -e "$path" ] || [ -L "$path" ] || continue
    # A folder that other packages share stays (/usr/share/man/de/man1 ...).
    if [ -d "$path" ] && [ -n "$(dpkg -S "$path" 2>/dev/null)" ]; then
        continue
    fi
    left+=" $path"
done <"$work/paths"
status=$(dpkg-query -W -f='${db:Status-Status}' lunavista 2>/dev/null || echo not-installed)
info=$(ls /var/lib/dpkg/info/lunavista.* 2>/dev/null)
[ -z "$left" ] && [ "$status" == not-installed ] && [ -z "$info" ] &&
    pass "nothing of the package is left behind" ||
    fail "left behind:$left ($status) $info"

[ "$failures" -eq 0 ] || exit 1
echo "ok: installed, used and removed without a trace"
