#!/usr/bin/env bash
# The zip holds exactly the two executables, the German guide, the README and the licence in one
# folder; the executables are the ones built, and they import nothing but DLLs every Windows has.
# The guide reads right in Notepad (UTF-8 with BOM, CRLF) and has the README's table of times.
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
$name/LIESMICH.txt
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

guide=$unpacked/$name/LIESMICH.txt
cmp -s "$guide" "$source/docs/LIESMICH.txt" && echo "ok: LIESMICH.txt" || fail "LIESMICH.txt differs"
[ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" == efbbbf ] &&
    echo "ok: LIESMICH.txt starts with the UTF-8 BOM" || fail "LIESMICH.txt: no UTF-8 BOM"
iconv -f UTF-8 -t UTF-8 "$guide" >/dev/null 2>&1 &&
    echo "ok: LIESMICH.txt is valid UTF-8" || fail "LIESMICH.txt: not valid UTF-8"
lines=$(tr -cd '\n' <"$guide" | wc -c)
returns=$(tr -cd '\r' <"$guide" | wc -c)
crlf=$(grep -c $'\r$' "$guide")
[ "$lines" -gt 0 ] && [ "$returns" -eq "$lines" ] && [ "$crlf" -eq "$lines" ] &&
    [ "$(tail -c 2 "$guide" | od -An -tx1 | tr -d ' ')" == 0d0a ] &&
    echo "ok: LIESMICH.txt has CRLF line ends only ($lines lines)" ||
    fail "LIESMICH.txt: line ends other than CRLF ($lines LF, $returns CR, $crlf CRLF)"
# The three columns of each row of the German table of times, in order: README "| Mitteleuropa,
# Winter (MEZ) | a | b | c |", LIESMICH "    Winter (MEZ)   a   b   c" (columns two spaces apart).
readme_table=$(sed -n 's/^ *| \(Mitteleuropa\|Großbritannien\)[^|]*| \(.*\) |$/\2/p' \
    "$unpacked/$name/README.md" | sed 's/ | /|/g')
guide_table=$(tr -d '\r' <"$guide" | sed -n 's/^    \(Winter\|Sommer\)[^ ]*\( ([^)]*)\)\? \{2,\}//p' |
    sed 's/ \{2,\}/|/g')
[ "$(echo "$readme_table" | wc -l)" -eq 4 ] && [ "$readme_table" == "$guide_table" ] &&
    echo "ok: LIESMICH.txt has the README's table of times" ||
    fail "LIESMICH.txt's table of times differs from the README's:
$readme_table
--
$guide_table"

# The program's icon holds an image for each size Windows asks for at the usual scales, 32 bits
# deep; the 256-pixel one PNG-compressed. Read from the executable's resource section.
icons=$(/usr/bin/python3 - "$exe" <<'PY'
import struct
import sys

data = open(sys.argv[1], 'rb').read()
pe = struct.unpack_from('<I', data, 0x3C)[0]
count, = struct.unpack_from('<H', data, pe + 6)
optional, = struct.unpack_from('<H', data, pe + 20)
for i in range(count):
    name, _, rva, _, raw = struct.unpack_from('<8sIIII', data, pe + 24 + optional + 40 * i)
    if name.rstrip(b'\0') == b'.rsrc':
        break
else:
    sys.exit('no resource section')


def lookup(directory, ident):
    """The entry of an id in a resource directory (offsets from the section's start)."""
    named, ids = struct.unpack_from('<HH', data, raw + directory + 12)
    for i in range(named + ids):
        key, target = struct.unpack_from('<II', data, raw + directory + 16 + 8 * i)
        if ident is None or key == ident:
            return target & 0x7FFFFFFF
    sys.exit(f'no resource {ident}')


def resource(kind, ident):
    language = lookup(lookup(lookup(0, kind), ident), None)
    address, size = struct.unpack_from('<II', data, raw + language)
    return data[raw + address - rva:raw + address - rva + size]


group = resource(14, 4051)  # RT_GROUP_ICON
_, _, images = struct.unpack_from('<HHH', group, 0)
found = []
for i in range(images):
    width, height, _, _, _, bits, _, ident = struct.unpack_from('<BBBBHHIH', group, 6 + 14 * i)
    image = resource(3, ident)  # RT_ICON
    png = image.startswith(b'\x89PNG')
    found.append(f'{width or 256}x{height or 256}:{bits}{":png" if png else ""}')
print(' '.join(found))
PY
)
expect_icons="16x16:32 20x20:32 24x24:32 30x30:32 32x32:32 36x36:32 40x40:32 48x48:32 64x64:32 256x256:32:png"
[ "$icons" == "$expect_icons" ] && echo "ok: icon sizes $icons" || fail "icon sizes: $icons"

# DLLs that come with every Windows since 7 (msvcrt.dll is the system C runtime; ole32, oleaut32
# and oleacc carry COM and the accessibility objects given to screen readers).
system_dlls=" KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll SHELL32.dll ADVAPI32.dll msvcrt.dll"
system_dlls+=" ole32.dll OLEAUT32.dll OLEACC.dll "
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
