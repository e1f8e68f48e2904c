# shellcheck shell=bash
# How a Wine prefix for Lunavista is made and how its display scale is chosen: one set of rules
# for the test sessions (tools/wine/session), the run command (tools/run.sh) and the installed
# launcher (/usr/bin/lunavista, which finds this file in /usr/share/lunavista). Sourced, not run.
# The functions work on $WINEPREFIX, which the caller sets (with WINEDEBUG, WINEDLLOVERRIDES and
# WINEARCH); they print nothing and return non-zero when Wine fails.

# Bump when the prefix setup below changes, so old prefixes are rebuilt.
lunavista_prefix_version=3

# Whether there is an X display to show a window on.
lunavista_has_display() {
    [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1
}

# The desktop's scale in dots per inch: LUNAVISTA_DPI when set (to try another scale), else
# Xft.dpi as the desktop environment sets it (rounded), else 96.
lunavista_desktop_dpi() {
    local dpi
    if [ -n "${LUNAVISTA_DPI:-}" ]; then
        echo "$LUNAVISTA_DPI"
        return
    fi
    dpi=$(xrdb -query 2>/dev/null |
          awk -F':[ \t]*' '$1 == "Xft.dpi" && $2 ~ /^[0-9]+(\.[0-9]*)?[ \t]*$/ {
                               printf "%d", $2 + 0.5; exit }' || true)
    echo "${dpi:-96}"
}

# Whether the prefix was made by this version of the rules.
lunavista_prefix_current() {
    [ "$(cat "$WINEPREFIX/.lunavista-prefix" 2>/dev/null || true)" == "$lunavista_prefix_version" ]
}

# Imports registry settings (REGEDIT4 text on standard input) into the prefix. Z: maps the Linux
# root in every prefix.
lunavista_import_registry() {
    local reg status=0
    reg=$(mktemp "${TMPDIR:-/tmp}/lunavista-XXXXXX.reg") || return 1
    cat >"$reg"
    wine regedit /S "Z:$(printf '%s' "$reg" | sed 's|/|\\|g')" </dev/null >/dev/null 2>&1 ||
        status=$?
    rm -f "$reg"
    return "$status"
}

# Makes the prefix afresh: wineboot, Wine's own fonts and the registry settings below.
#   lunavista_make_prefix Y|N   Y: a window manager places and moves the windows (a desktop);
#                               N: unmanaged windows (a virtual display without one)
# A fresh prefix has an empty C:\windows\Fonts: every face falls back to Liberation Sans and the
# dialog font "MS Sans Serif" 8 pt gets dialog base units of 6 x 12 instead of Windows' 6 x 13.
# With Wine's bitmap faces copied in it gets 6 x 13, and the TrueType names the program uses map
# onto the Liberation faces. Without a window manager, unmanaged windows close fast and take
# input wherever the pointer is. "Decorated"=N: Wine draws the Windows caption itself.
lunavista_make_prefix() {
    local managed=$1
    rm -rf "$WINEPREFIX"
    wine wineboot -i </dev/null >/dev/null 2>&1 || return 1
    wineserver -w </dev/null >/dev/null 2>&1 || true
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" &&
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
    lunavista_import_registry <<REG || return 1
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Courier New"="Liberation Mono"
"Times New Roman"="Liberation Serif"
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="$managed"
"Decorated"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]
"winemenubuilder.exe"=""
REG
    wineserver -w </dev/null >/dev/null 2>&1 || true
    echo "$lunavista_prefix_version" >"$WINEPREFIX/.lunavista-prefix"
}

# The scale the prefix has on disk: HKCU\Control Panel\Desktop "LogPixels" in user.reg (the
# wineserver writes it there when it ends); a prefix that never had it set is at 96.
lunavista_prefix_dpi() {
    local hex
    hex=$(awk '/^\[/ { desktop = index($0, "[Control Panel\\\\Desktop]") == 1 }
               desktop && /^"LogPixels"=dword:/ { sub(/^"LogPixels"=dword:/, ""); print; exit }' \
              "$WINEPREFIX/user.reg" 2>/dev/null || true)
    if [[ "$hex" =~ ^[0-9a-fA-F]{8}$ ]]; then
        echo $((16#$hex))
    else
        echo 96
    fi
}

# Sets the prefix's scale (lunavista_set_dpi <dpi>). Wine reads LogPixels when its server starts:
# this ends the prefix's server and every program in it, so call it while none of them is
# wanted. Returns non-zero when the prefix does not have the scale afterwards.
lunavista_set_dpi() {
    local dpi=$1
    [ "$(lunavista_prefix_dpi)" == "$dpi" ] && return 0
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' \
        "$dpi" | lunavista_import_registry
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    [ "$(lunavista_prefix_dpi)" == "$dpi" ]
}
