#!/usr/bin/env bash
# The zip holds exactly the two executables, the README and the licence in one folder; the
# executables are the ones built, and they import nothing but DLLs every Windows has.
set -u
zip=$1 exe=$2 cli=$3 source=$4
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

name=$(basename "$zip" .zip)
case "$name" in
    Lunavista-[0-9]*.[0-9]*.[0-9]*-win64) echo "ok: package name $name" ;;
    *) fail "package name $name" ;;
esac

expected="$name/Lunavista.exe
$name/lunavista-cli.exe
$name/README.md
$name/LICENSE"
listed=$(unzip -Z1 "$zip")
[ "$listed" == "$expected" ] && echo "ok: contents" || fail "contents: $listed"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
cmp -s "$unpacked/$name/Lunavista.exe" "$exe" && echo "ok: Lunavista.exe is the built one" || fail "Lunavista.exe differs"
cmp -s "$unpacked/$name/lunavista-cli.exe" "$cli" && echo "ok: lunavista-cli.exe is the built one" || fail "lunavista-cli.exe differs"
cmp -s "$unpacked/$name/LICENSE" "$source/LICENSE" && echo "ok: licence" || fail "LICENSE differs"
cmp -s "$unpacked/$name/README.md" "$source/README.md" && echo "ok: README" || fail "README differs"

# DLLs that come with every Windows since 7 (msvcrt.dll is the system C runtime).
system_dlls=" KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll SHELL32.dll ADVAPI32.dll msvcrt.dll "
for binary in "$exe" "$cli"; do
    imports=$(x86_64-w64-mingw32-objdump -p "$binary" | awk '/DLL Name:/ { print $3 }')
    [ -n "$imports" ] || fail "$(basename "$binary"): no import table found"
    for dll in $imports; do
        case "$system_dlls" in
            *" $dll "*) ;;
            *) fail "$(basename "$binary") imports $dll" ;;
        esac
    done
    echo "ok: $(basename "$binary") imports only" $imports
done

[ "$failures" -eq 0 ] || exit 1
