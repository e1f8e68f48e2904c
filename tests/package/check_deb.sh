#!/usr/bin/env bash
# The Debian package: made by tools/package/make-deb.sh from this Windows build and the native
# one, and checked with the distribution's own tools and from its unpacked files.
#   check_deb.sh <source dir> <Windows build dir>
# - lintian: no error, and every warning is one the README lists with its reason;
#   desktop-file-validate, appstreamcli validate --no-net, man --warnings on every manual page;
# - the file list with modes and owners; the icons are the program's own images, pixel for pixel;
# - the companion from the unpacked package prints what the built one prints; its manual pages
#   (English and German) and its completion cover every command and option of its --help, the
#   manuals every record field and exit status too;
# - the launcher without a display, with a Wine that fails, and with a program that fails: one
#   line on stderr and a non-zero status, and the program runs from the user's own folder;
# - reproducible: made again from a copy of the checkout at another path and under another umask,
#   it is the same bytes; neither executable holds a path of the checkout or the build (that
#   Lunavista.exe comes out the same from two build trees is reproducible_build's check).
set -u
source=$(cd "$1" && pwd)
windows=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

deb=$("$source/tools/package/make-deb.sh" --windows "$windows" --output "$work/a" | tail -1)
version=$(sed -n 's/^ *VERSION \([0-9][0-9.]*\)$/\1/p' "$source/CMakeLists.txt" | head -1)
[ "$deb" == "$work/a/lunavista_${version}_amd64.deb" ] && [ -f "$deb" ] ||
    { echo "FAIL: make-deb.sh printed '$deb'" >&2; exit 1; }
pass "built $(basename "$deb") ($(stat -c %s "$deb") bytes)"

# --- The distribution's checks. lintian takes the longest: it runs beside the other checks.
lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1 &
lintian_run=$!
x="$work/unpacked"
dpkg-deb -x "$deb" "$x"
desktop-file-validate "$x"/usr/share/applications/*.desktop && pass "desktop-file-validate" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$x"/usr/share/metainfo/*.xml >"$work/appstream" 2>&1 &&
    pass "appstreamcli validate" || fail "appstreamcli validate: $(cat "$work/appstream")"
for page in "$x"/usr/share/man/man1/*.1.gz "$x"/usr/share/man/de/man1/*.1.gz; do
    name=${page#"$x"}
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$work/page" 2>"$work/warnings"
    if [ -s "$work/warnings" ] || [ "$(wc -l <"$work/page")" -lt 20 ]; then
        fail "man $name: $(cat "$work/warnings")"
    else
        pass "man $name renders without warnings"
    fi
done

# --- Files, modes and owners
listing=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }')
expected="-rwxr-xr-x root/root ./usr/bin/lunavista
-rwxr-xr-x root/root ./usr/bin/lunavista-cli
-rw-r--r-- root/root ./usr/lib/lunavista/Lunavista.exe
-rw-r--r-- root/root ./usr/share/applications/org.example.lunavista.desktop
-rw-r--r-- root/root ./usr/share/bash-completion/completions/lunavista-cli
-rw-r--r-- root/root ./usr/share/doc/lunavista/LIESMICH.txt.gz
-rw-r--r-- root/root ./usr/share/doc/lunavista/README.md.gz
-rw-r--r-- root/root ./usr/share/doc/lunavista/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/lunavista/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/16x16/apps/lunavista.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/24x24/apps/lunavista.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/256x256/apps/lunavista.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/lunavista.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/36x36/apps/lunavista.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/lunavista.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/64x64/apps/lunavista.png
-rw-r--r-- root/root ./usr/share/lunavista/wine-prefix.sh
-rw-r--r-- root/root ./usr/share/man/de/man1/lunavista-cli.1.gz
-rw-r--r-- root/root ./usr/share/man/de/man1/lunavista.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/lunavista-cli.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/lunavista.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/org.example.lunavista.metainfo.xml"
[ "$listing" == "$expected" ] && pass "file list, modes and owners" ||
    fail "file list:
$(diff <(echo "$expected") <(echo "$listing"))"
cmp -s "$x/usr/lib/lunavista/Lunavista.exe" "$windows/app/Lunavista.exe" &&
    pass "Lunavista.exe is the built one" || fail "Lunavista.exe differs from the build's"
# Each PNG against ImageMagick's reading of the image of its size in the program's icon.
ico="$source/app/resources/lunavista.ico"
for index in $(seq 0 $(($(/usr/bin/identify "$ico" | wc -l) - 1))); do
    size=$(/usr/bin/identify -format '%w' "${ico}[$index]")
    png="$x/usr/share/icons/hicolor/${size}x${size}/apps/lunavista.png"
    [ -f "$png" ] || continue
    /usr/bin/convert "${ico}[$index]" -depth 8 rgba:"$work/ico.rgba"
    /usr/bin/convert "$png" -depth 8 rgba:"$work/png.rgba"
    cmp -s "$work/ico.rgba" "$work/png.rgba" && pass "icon ${size}x${size} is the program's image" ||
        fail "icon ${size}x${size} differs from the program's image"
done

# --- The companion from the package
cli="$x/usr/bin/lunavista-cli"
built="$source/build/native/cli/lunavista-cli"
[ "$("$cli" --version)" == "lunavista-cli $version" ] && pass "lunavista-cli $version" ||
    fail "lunavista-cli --version: $("$cli" --version)"
for args in "now --at 2026-12-20T21:15" "phases --at 2026-12-20T21:15" \
            "apsides --at 2026-12-20 --format json" "eclipses --at 20.12.2026 --format tsv"; do
    # shellcheck disable=SC2086
    if "$cli" $args >"$work/packaged" && "$built" $args >"$work/built" &&
        [ -s "$work/packaged" ] && cmp -s "$work/packaged" "$work/built"; then
        pass "packaged lunavista-cli $args"
    else
        fail "packaged lunavista-cli $args differs from the build's"
    fi
done

# What --help lists: the commands (the first word of the lines under "Commands:"), the options
# (every -x and --name under "Options:" and in the usage lines), the formats of --format, the
# exit statuses; the record fields are the TSV header of every command that gives records (with a
# place where the command needs one).
help=$("$cli" --help)
commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' <<<"$help")
options=$( (sed -n '/^Usage:/,/^$/p' <<<"$help"; sed -n '/^Options:/,/^$/p' <<<"$help") |
          grep -oE '(^|[ ,(])--?[a-z][a-z-]*' | sed 's/^[ ,(]//' | sort -u)
formats=$(sed -n 's/.*--format \([a-z|]*\).*/\1/p' <<<"$help" | head -1 | tr '|' ' ')
statuses=$(sed -n '/^Exit status:/,/^$/p' <<<"$help" | grep -oE '(^Exit status: |; )[0-9]+' |
           grep -oE '[0-9]+')
fields=$(for command in $commands; do
             header=$({ "$cli" "$command" --at 2026-12-20 --format tsv 2>/dev/null ||
                        "$cli" "$command" --place Berlin --at 2026-12-20 --format tsv 2>/dev/null; } |
                      head -1)
             [[ "$header" == *$'\t'* ]] && tr '\t' '\n' <<<"$header"
         done | sort -u)
[ "$(wc -w <<<"$commands")" -ge 5 ] && [ "$(wc -w <<<"$options")" -ge 10 ] &&
    [ -n "$formats" ] && [ -n "$statuses" ] && [ "$(wc -w <<<"$fields")" -ge 10 ] ||
    fail "could not read --help: commands [$commands] options [$options] formats [$formats]"

# The words of a manual page's .TP tags in the sections whose names match a pattern, one a line.
tags() {
    gzip -dc "$1" |
        awk -v sections="^($2)\$" '/^\.SH / { name = substr($0, 5); gsub(/"|\\/, "", name) }
                                   tag { print; tag = 0 }
                                   /^\.TP/ { tag = name ~ sections }' |
        sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/"//g' -e 's/^\.[BIR]* *//' |
        tr ' ,|' '\n\n\n' | sed '/^$/d'
}
covered() {  # covered <what> <words> <page> <section>
    local missing=() word list
    list=$(tags "$3" "$4")
    for word in $2; do
        grep -qxF -- "$word" <<<"$list" || missing+=("$word")
    done
    [ ${#missing[@]} -eq 0 ] && pass "${3#"$x"} lists every $1 under $4" ||
        fail "${3#"$x"} does not list the $1 ${missing[*]} under $4"
}
english="$x/usr/share/man/man1/lunavista-cli.1.gz"
german="$x/usr/share/man/de/man1/lunavista-cli.1.gz"
covered command "$commands help version" "$english" COMMANDS
covered command "$commands help version" "$german" BEFEHLE
covered option "$options" "$english" "COMMANDS|OPTIONS"
covered option "$options" "$german" "BEFEHLE|OPTIONEN"
covered field "$fields" "$english" RECORDS
covered field "$fields" "$german" DATENSÄTZE
covered "exit status" "$statuses" "$english" "EXIT STATUS"
covered "exit status" "$statuses" "$german" "EXIT-STATUS"

# The completion, with the bash-completion framework, as bash runs it on Tab.
complete_line() {
    bash -c '. /usr/share/bash-completion/bash_completion
             . "$1"
             places=$2
             [ -n "$places" ] && _lunavista_cli_place_names() { printf "%s\n" "$places"; }
             read -ra COMP_WORDS <<<"$3"
             [[ $3 == *" " ]] && COMP_WORDS+=("")
             COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$3 COMP_POINT=${#3}
             _lunavista_cli
             printf "%s\n" "${COMPREPLY[@]}"' _ \
        "$x/usr/share/bash-completion/completions/lunavista-cli" "${2:-}" "$1"
}
offered=$(for command in $commands; do complete_line "lunavista-cli $command -"; done
          complete_line "lunavista-cli -")
not_offered=""
for option in $options; do grep -qxF -- "$option" <<<"$offered" || not_offered+=" $option"; done
[ -z "$not_offered" ] && pass "completion offers every option" ||
    fail "completion does not offer$not_offered"
[ "$(complete_line "lunavista-cli " | sort -u)" == "$(tr ' ' '\n' <<<"$commands" | sort -u)" ] &&
    pass "completion offers the commands" || fail "completion of the commands: $(complete_line "lunavista-cli ")"
[ "$(complete_line "lunavista-cli phases --format " | xargs)" == "$formats" ] &&
    pass "completion offers the formats" || fail "completion of --format"
places=$'Frankfurt am Main\nFrankfurt (Oder)\nMünchen'
[ "$(complete_line "lunavista-cli now --place Frankfurt" "$places")" == \
  $'Frankfurt am Main\nFrankfurt (Oder)' ] &&
    [ "$(complete_line "lunavista-cli now --place Mü" "$places")" == "München" ] &&
    pass "completion offers the place names of its hook" || fail "completion of place names"

# --- The launcher, with stand-ins for Wine and the X tools that log how they were called
launcher="$x/usr/bin/lunavista"
stand_ins="$work/bin"
mkdir -p "$stand_ins"
cat >"$stand_ins/wine" <<'EOF'
#!/bin/bash
echo "wine $* in $PWD" >>"$STAND_IN_LOG"
case "$1" in
    wineboot) [ "$STAND_IN_WINEBOOT" == ok ] && mkdir -p "$WINEPREFIX" ;;
    Lunavista.exe) exit "$STAND_IN_PROGRAM" ;;
esac
EOF
printf '#!/bin/sh\nexit 0\n' >"$stand_ins/wineserver"
printf '#!/bin/sh\nexit 0\n' >"$stand_ins/xset"
printf '#!/bin/sh\nexit 0\n' >"$stand_ins/xrdb"
chmod +x "$stand_ins"/*
run_launcher() {  # run_launcher <case> <DISPLAY> <wineboot ok|fails> <program status>
    local home="$work/home-$1"
    mkdir -p "$home"
    env -i PATH="$stand_ins:/usr/bin:/bin" HOME="$home" XDG_DATA_HOME="$home/data" \
        ${2:+DISPLAY=$2} STAND_IN_LOG="$work/$1.log" STAND_IN_WINEBOOT="$3" \
        STAND_IN_PROGRAM="$4" "$launcher" >"$work/$1.out" 2>"$work/$1.err"
}
last_error() { tail -1 "$work/$1.err"; }

run_launcher no-display "" ok 0
status=$?
[ "$status" -ne 0 ] && [ "$(wc -l <"$work/no-display.err")" -eq 1 ] &&
    [[ "$(last_error no-display)" == "lunavista: no display"* ]] &&
    [ ! -e "$work/home-no-display/data" ] && [ ! -e "$work/no-display.log" ] &&
    pass "launcher without a display: status $status, $(last_error no-display)" ||
    fail "launcher without a display: status $status, $(cat "$work/no-display.err")"

run_launcher wine-fails :99 fails 0
status=$?
[ "$status" -ne 0 ] && [[ "$(last_error wine-fails)" == "lunavista: Wine could not"* ]] &&
    pass "launcher when Wine fails: status $status, $(last_error wine-fails)" ||
    fail "launcher when Wine fails: status $status, $(cat "$work/wine-fails.err")"

folder="$work/home-runs/data/lunavista"
run_launcher runs :99 ok 3
status=$?
[ "$status" -eq 3 ] && [[ "$(last_error runs)" == "lunavista: Lunavista ended with status 3"* ]] &&
    pass "launcher passes on the program's status: $(last_error runs)" ||
    fail "launcher with a failing program: status $status, $(cat "$work/runs.err")"
grep -qxF "wine Lunavista.exe in $folder" "$work/runs.log" &&
    cmp -s "$folder/Lunavista.exe" "$x/usr/lib/lunavista/Lunavista.exe" &&
    [ "$(cat "$folder/wine/.lunavista-prefix")" -gt 0 ] &&
    pass "the program runs from the user's folder, with a prefix of its own there" ||
    fail "the program's folder: $(cat "$work/runs.log")"
run_launcher runs :99 ok 0
status=$?
[ "$status" -eq 0 ] && [ ! -s "$work/runs.err" ] && [ "$(grep -c wineboot "$work/runs.log")" -eq 1 ] &&
    pass "a second start reuses the prefix and ends with status 0, silently" ||
    fail "second start: status $status, $(cat "$work/runs.err")"

# --- Reproducible: from a copy of the checkout at another path, under umask 077
checkout="$work/another checkout"
mkdir -p "$checkout"
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
    tar --null -T - -cf -) | tar -C "$checkout" -xf -
again=$(umask 077 && SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct) \
        "$checkout/tools/package/make-deb.sh" --native "$source/build/native" --windows "$windows" \
            --output "$work/b" | tail -1)
if cmp -s "$deb" "$again"; then
    pass "the same bytes from another checkout folder"
else
    fail "a second package differs: $(cmp "$deb" "$again" 2>&1)"
    diff <(dpkg-deb -c "$deb") <(dpkg-deb -c "$again") >&2
fi
for binary in "$built" "$windows/app/Lunavista.exe"; do
    if grep -qaF "$source" "$binary"; then
        fail "$binary holds a path of the checkout or the build"
    else
        pass "$(basename "$binary") holds no path of the checkout or the build"
    fi
done

lintian_status=0
wait "$lintian_run" || lintian_status=$?
errors=$(grep '^E: ' "$work/lintian")
[ -z "$errors" ] && [ "$lintian_status" -eq 0 ] && pass "lintian: no errors" ||
    fail "lintian (status $lintian_status):
$(cat "$work/lintian")"
# The README's list: lines "- `tag`: reason" under "Lintian".
listed=$(sed -n '/^### Lintian/,/^#/p' "$source/README.md" | sed -n 's/^- `\([a-z0-9-]*\)`.*/\1/p')
for tag in $(sed -n 's/^W: [^ ]* \([a-z0-9-]*\).*/\1/p' "$work/lintian" | sort -u); do
    grep -qxF "$tag" <<<"$listed" && pass "lintian warning $tag is in the README" ||
        fail "lintian warning $tag is not explained in the README"
done

[ "$failures" -eq 0 ] || exit 1
