#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one .exe under Wine in the session that
# tools/wine/session started for this build tree.
#   emulator.sh <session dir> <program.exe> [arguments...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
session=$1
shift
if [ ! -f "$session/env" ]; then
    echo "No Wine session in $session: run '$here/session start $session' first" \
         "(tools/test.sh does this)." >&2
    exit 1
fi
# shellcheck disable=SC1091
. "$session/env"
exec wine "$@"
