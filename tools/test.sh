#!/usr/bin/env bash
# Builds and runs every test: the portable core natively, then the Windows build under Wine in
# its own Xvfb display. Installs what it needs first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/install-deps.sh test

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows build (mingw-w64) and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
session=build/windows/wine-session
tools/wine/session start "$session"
trap 'tools/wine/session stop "$session"' EXIT
ctest --preset windows
