#!/usr/bin/env bash
# Builds and runs every test: the portable core natively, again under the sanitizers with the
# fuzz targets' bounded runs, static analysis, then the Windows build under Wine in its own Xvfb
# display. Every build treats a warning in the project's code as an error. Installs what it needs
# first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/install-deps.sh test

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# --- analysis: the portable code and lunavista-cli under AddressSanitizer and UBSan (clang), the
#     fuzz targets' bounded runs, then clang-tidy and cppcheck (tools/analysis/static.sh)
echo "== sanitizer build (clang, ASan + UBSan), its tests and bounded fuzz runs"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

echo "== static analysis"
tools/analysis/static.sh
# --- end of analysis

echo "== Windows build (mingw-w64) and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
session=build/windows/wine-session
tools/wine/session start "$session"
trap 'tools/wine/session stop "$session"' EXIT
ctest --preset windows
