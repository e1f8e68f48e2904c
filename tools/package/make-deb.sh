#!/usr/bin/env bash
# Builds the Debian package lunavista_<version>_amd64.deb and prints its path as the last line:
#   make-deb.sh [--native <build dir>] [--windows <build dir>] [--output <folder>]
# from lunavista-cli of the native build (default build/native) and Lunavista.exe of the Windows
# build (default build/windows, else build/windows-app), each brought up to date first (a build
# folder that is not there yet is configured with its preset), into build/package by default.
#
# Reproducible: the same commit gives the same bytes from any checkout folder. Every time stamp
# is SOURCE_DATE_EPOCH (default: the commit's time), the files' modes are set here whatever the
# umask, owners are root, dpkg-deb orders the members by name and compresses with one thread
# (xz's output depends on its thread count), and gzip stores no name or time.
set -euo pipefail
source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
here="$source/tools/package"

native="$source/build/native"
windows=""
output="$source/build/package"
while [ $# -gt 0 ]; do
    case "$1" in
        --native | --windows | --output)
            [ $# -ge 2 ] || { echo "make-deb.sh: $1 needs a folder" >&2; exit 2; }
            declare "${1#--}=$2"
            shift 2
            ;;
        *) echo "usage: $0 [--native <dir>] [--windows <dir>] [--output <dir>]" >&2; exit 2 ;;
    esac
done
if [ -z "$windows" ]; then
    windows="$source/build/windows"
    [ -f "$windows/CMakeCache.txt" ] || windows="$source/build/windows-app"
fi

die() {
    echo "make-deb.sh: $*" >&2
    exit 1
}

# Brings one target of a build folder up to date; a default folder that is missing is
# configured with the preset of its name.
build() {
    local dir=$1 target=$2
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        [ "$(dirname "$dir")" == "$source/build" ] || die "no CMake build in $dir"
        (cd "$source" && cmake --preset "$(basename "$dir")" >/dev/null) ||
            die "configuring $dir failed"
    fi
    cmake --build "$dir" --target "$target" >/dev/null || die "building $target in $dir failed"
}
"$source/tools/install-deps.sh" package || die "the packages it needs could not be installed"
build "$native" lunavista-cli
build "$windows" Lunavista
cli="$native/cli/lunavista-cli"
exe="$windows/app/Lunavista.exe"

version=$(sed -n 's/^ *VERSION \([0-9][0-9.]*\)$/\1/p' "$source/CMakeLists.txt" | head -1)
[ -n "$version" ] || die "no project version in CMakeLists.txt"
[ "$("$cli" --version)" == "lunavista-cli $version" ] ||
    die "$cli says '$("$cli" --version)', not version $version"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct 2>/dev/null) ||
        die "not a git checkout: set SOURCE_DATE_EPOCH"
fi
export SOURCE_DATE_EPOCH
date=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)
rfc2822=$(LC_ALL=C date -u -d "@$SOURCE_DATE_EPOCH" -R)

umask 022
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/lunavista"
doc="$root/usr/share/doc/lunavista"
id=org.example.lunavista

# The version and date in the manual pages and the AppStream release.
filled() {
    sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$date/g" "$1"
}
# gzip -n: no name and no time stamp in the header.
install_gzipped() {
    mkdir -p "$(dirname "$2")"
    gzip -9n <"$1" >"$2"
    chmod 644 "$2"
}

install -D -m 755 "$here/lunavista" "$root/usr/bin/lunavista"
# As Debian's packaging helpers strip: no symbols, no compiler notes.
strip --remove-section=.comment --remove-section=.note --strip-unneeded \
    -o "$root/usr/bin/lunavista-cli" "$cli"
chmod 755 "$root/usr/bin/lunavista-cli"
install -D -m 644 "$exe" "$root/usr/lib/lunavista/Lunavista.exe"
install -D -m 644 "$source/tools/wine/prefix.sh" "$root/usr/share/lunavista/wine-prefix.sh"

for page in lunavista-cli lunavista; do
    filled "$source/docs/man/$page.1" >"$work/$page.1"
    filled "$source/docs/man/$page.de.1" >"$work/$page.de.1"
    install_gzipped "$work/$page.1" "$root/usr/share/man/man1/$page.1.gz"
    install_gzipped "$work/$page.de.1" "$root/usr/share/man/de/man1/$page.1.gz"
done
install -D -m 644 "$here/deb/lunavista-cli.bash-completion" \
    "$root/usr/share/bash-completion/completions/lunavista-cli"
install -D -m 644 "$here/deb/$id.desktop" "$root/usr/share/applications/$id.desktop"
filled "$here/deb/$id.metainfo.xml" >"$work/metainfo.xml"
install -D -m 644 "$work/metainfo.xml" "$root/usr/share/metainfo/$id.metainfo.xml"
# The sizes of the program's icon that the hicolor theme has folders for.
/usr/bin/python3 "$here/icon_pngs.py" "$source/app/resources/lunavista.ico" \
    "$root/usr/share/icons/hicolor" lunavista 16 24 32 36 48 64 256

install_gzipped "$source/README.md" "$doc/README.md.gz"
install_gzipped "$source/docs/LIESMICH.txt" "$doc/LIESMICH.txt.gz"
# The licence's text as the Expat paragraph (lines after its title, indented, blank lines as
# "."), its holders from its copyright line.
copyright=$(sed -n 's/^Copyright (c) //p' "$source/LICENSE")
license=$(sed -n '/^Permission/,$p' "$source/LICENSE" | sed 's/^$/./; s/^/ /')
while IFS= read -r line; do
    case "$line" in
        "Copyright: @COPYRIGHT@") echo "Copyright: $copyright" ;;
        "@LICENSE@") echo "$license" ;;
        *) echo "$line" ;;
    esac
done <"$here/deb/copyright.in" >"$doc/copyright"
chmod 644 "$doc/copyright"
cat >"$work/changelog" <<EOF
lunavista ($version) unstable; urgency=medium

  * Lunavista $version.

 -- Lunavista-Team <lunavista@example.org>  $rfc2822
EOF
install_gzipped "$work/changelog" "$doc/changelog.gz"

# The libraries lunavista-cli links against, with the versions its symbols need.
mkdir -p "$work/debian"
printf 'Source: lunavista\n\nPackage: lunavista\nArchitecture: amd64\n' >"$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O -e lunavista/usr/bin/lunavista-cli 2>/dev/null |
         sed -n 's/^shlibs:Depends=//p')
[ -n "$shlibs" ] || die "dpkg-shlibdeps found no libraries for lunavista-cli"

# Installed-Size as dpkg-gencontrol counts it: KiB per file, rounded up, and one per folder.
size=$(find "$root" -mindepth 1 \( -type f -printf '%s\n' -o -printf '1024\n' \) |
       awk '{ kib += int(($1 + 1023) / 1024) } END { print kib }')
mkdir -m 755 "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<EOF
Package: lunavista
Version: $version
Architecture: amd64
Maintainer: Lunavista-Team <lunavista@example.org>
Installed-Size: $size
Depends: $shlibs, wine, wine64, fonts-wine, fonts-liberation, x11-xserver-utils
Section: science
Priority: optional
Homepage: https://www.example.org/mondphasen/
Description: Moon phases and eclipses, computed locally (German)
 Lunavista shows, in German, where the Moon stands in its cycle right now:
 the nearest New Moon, First Quarter, Full Moon or Last Quarter with a live
 count-down, the illuminated fraction of the lunar disc, and the coming
 phases and lunar and solar eclipses. Everything is computed locally with
 Jean Meeus's algorithms.
 .
 The window is a Windows program that runs under Wine (lunavista, and the
 menu entry). The command-line companion lunavista-cli prints the same
 results in a terminal, lists the Moon's perigees and apogees, and writes
 the coming phases and eclipses into an iCalendar file.
EOF
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
mkdir -p "$output"
deb="$(cd "$output" && pwd)/lunavista_${version}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$root" "$deb" >/dev/null ||
    die "dpkg-deb failed"
echo "$deb"
