# Shared helpers of the end-to-end tests: start Lunavista.exe under Wine at a chosen clock reading
# and time zone, talk to it through the driver, compare with lunavista-cli.
#
# Expects in the environment (CTest sets them): LV_SESSION (the Wine session directory),
# LV_EXE (Lunavista.exe), LV_DRIVER (lvdriver.exe), LV_CLI (lunavista-cli.exe).
set -u

# shellcheck disable=SC1091
. "$LV_SESSION/env"

FAKETIME_LIB=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
failures=0
app_pid=""
work=$(mktemp -d "${TMPDIR:-/tmp}/lunavista-e2e.XXXXXX")
cp "$LV_EXE" "$work/Lunavista.exe"

# The driver runs for the whole script (in the session the program runs in) and answers one
# line per command.
start_driver() {
    coproc DRIVER { wine "$LV_DRIVER" 2>/dev/null; }
}
stop_driver() {
    if [ -n "${DRIVER_PID:-}" ]; then
        echo quit >&"${DRIVER[1]}" 2>/dev/null || true
        wait "$DRIVER_PID" 2>/dev/null || true
    fi
}
start_driver

# The display scale of the program: 96 dpi in the test session; use_dpi <dpi> moves the script
# into a session of its own whose prefix has that scale (Wine takes it from the prefix only),
# made as a copy of the test session's prefix.
dpi=96
scaled_session=""
use_dpi() {
    stop_app
    stop_driver
    dpi=$1
    scaled_session="$LV_SESSION-dpi$dpi"
    "$(dirname "${BASH_SOURCE[0]}")/../../../tools/wine/session" start "$scaled_session" \
        --dpi "$dpi" --copy-of "$LV_SESSION" >/dev/null 2>&1 || { echo "FAIL: no Wine session at $dpi dpi" >&2; exit 1; }
    # shellcheck disable=SC1091
    . "$scaled_session/env"
    start_driver
}

# sc <96-dpi length>: the length at the script's scale, to the nearest pixel (ties to even).
sc() {
    awk -v n="$1" -v d="$dpi" 'BEGIN {
        v = n * d / 96; f = int(v); r = v - f
        if (r > 0.5 || (r == 0.5 && f % 2 == 1)) f++
        print f }'
}

cleanup() {
    stop_app
    stop_driver
    if [ -n "$scaled_session" ]; then
        "$(dirname "${BASH_SOURCE[0]}")/../../../tools/wine/session" stop "$scaled_session" \
            >/dev/null 2>&1
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# drv <command...>: sends one command, prints the answer without its "ok " prefix; returns 1 on
# an error answer.
drv() {
    local line
    echo "$*" >&"${DRIVER[1]}"
    if ! IFS= read -r -t 60 line <&"${DRIVER[0]}"; then
        echo "driver did not answer: $*" >&2
        return 1
    fi
    line=${line%$'\r'}
    case "$line" in
        ok) return 0 ;;
        "ok "*) printf '%s\n' "${line#ok }" ;;
        *) printf '%s\n' "$line" >&2; return 1 ;;
    esac
}

# start_app <faketime setting or ""> [time zone] [folder]: starts the program (from $work unless a
# folder is given). "@YYYY-MM-DD HH:MM:SS" starts a ticking clock there; "YYYY-MM-DD HH:MM:SS"
# freezes it (timers still fire).
# The Unix locale of the program (LC_ALL) sets Wine's ANSI code page: ru_RU.UTF-8 gives 1251.
app_locale=""
start_app() {
    local fake=$1 tz=${2:-Europe/Berlin} folder=${3:-$work}
    local locale=()
    [ -n "$app_locale" ] && locale=("LC_ALL=$app_locale")
    if [ -n "$fake" ]; then
        ( cd "$folder" && exec env "${locale[@]}" TZ="$tz" LD_PRELOAD=$FAKETIME_LIB FAKETIME="$fake" \
              NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1 wine Lunavista.exe \
              </dev/null >/dev/null 2>&1 ) &
    else
        ( cd "$folder" && exec env "${locale[@]}" TZ="$tz" wine Lunavista.exe \
              </dev/null >/dev/null 2>&1 ) &
    fi
    app_pid=$!
    drv wait 20000 >/dev/null || { fail "the window did not appear"; return 1; }
}

# Waits until the program has ended by itself; fails after the timeout (seconds).
wait_app_end() {
    local timeout=${1:-10} i
    for i in $(seq 1 $((timeout * 20))); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            wait "$app_pid" 2>/dev/null
            app_status=$?
            app_pid=""
            return 0
        fi
        sleep 0.05
    done
    return 1
}

stop_app() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        drv command 4095 >/dev/null 2>&1 || true
        wait_app_end 5 || { kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; }
    fi
    app_pid=""
}

# snapshot_page <page> <file>: opens the page by its command and copies the snapshot Ctrl+F2
# writes of it to the file.
snapshot_page() {
    local page=$1
    rm -f "$work/Lunavista_00$page.bmp"
    drv command $((4090 + page)) >/dev/null
    sleep 0.6
    drv key ctrl+f2 >/dev/null
    for _ in $(seq 1 60); do [ -s "$work/Lunavista_00$page.bmp" ] && break; sleep 0.05; done
    sleep 0.2
    cp "$work/Lunavista_00$page.bmp" "$2" 2>/dev/null || fail "no snapshot of page $page"
}

cli() {
    wine "$LV_CLI" "$@" </dev/null 2>/dev/null | tr -d '\r'
}

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

pass() {
    echo "ok: $*"
}

# expect_eq <what> <expected> <actual>
expect_eq() {
    if [ "$2" == "$3" ]; then
        pass "$1"
    else
        fail "$1: expected [$2], got [$3]"
    fi
}

finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
    exit 0
}
