#!/usr/bin/env bash
# Builds and runs every test: the portable core natively, again under the sanitizers with the
# fuzz targets' bounded runs, then the Windows build and its tests under Wine in their own Xvfb
# display, with the static analysis running beside those tests at low priority. Every build
# treats a warning in the project's code as an error. Installs what it needs first. Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/install-deps.sh test

echo "== native build and tests (at ${SECONDS} s)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# --- analysis: the portable code and lunavista-cli under AddressSanitizer and UBSan (clang), the
#     fuzz targets' bounded runs, then clang-tidy and cppcheck (tools/analysis/static.sh)
echo "== sanitizer build (clang, ASan + UBSan), its tests and bounded fuzz runs (at ${SECONDS} s)"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

echo "== Windows build (mingw-w64) and tests under Wine (at ${SECONDS} s)"
cmake --preset windows >/dev/null
cmake --build --preset windows
session=build/windows/wine-session

# --- Static analysis reads only the asan build's compile commands. It runs in the background at
#     the lowest priority while the Wine tests run (they wait on Wine and the X server much
#     of the time); its report follows theirs.
#     It stays in this session: the scheduler weighs nice values only within one session.
analysis_log=$(mktemp)
set -m  # a process group of its own, to end all of it if the script stops early
nice -n 19 tools/analysis/static.sh >"$analysis_log" 2>&1 &
analysis=$!
set +m
cleanup() {
    kill -- -"$analysis" 2>/dev/null || true
    rm -f "$analysis_log"
    tools/wine/session stop "$session"
}
trap cleanup EXIT
echo "== static analysis: started in the background, reported after the Windows tests"
# --- end of analysis

tools/wine/session start "$session"
ctest --preset windows

# --- analysis
echo "== static analysis (at ${SECONDS} s)"
analysis_status=0
wait "$analysis" || analysis_status=$?
cat "$analysis_log"
exit "$analysis_status"
# --- end of analysis
