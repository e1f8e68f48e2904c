#!/usr/bin/env bash
# Static analysis; exits non-zero on any finding.
#   clang-format  every C and C++ file git tracks follows .clang-format
#   clang-tidy  the portable code (astro/, events/, app/'s portable part, cli/) and the fuzz
#               targets, natively, with the compile commands of the asan preset and the checks
#               in .clang-tidy
#   cppcheck    the whole tree: once with _WIN32 defined and the Windows API known (the program,
#               the drawing code, the Win32 tests), once without it (the portable code's other
#               branches); the findings in .cppcheck-suppressions are accepted, with reasons
# LUNAVISTA_ASAN_BUILD names another build folder than build/asan for the compile commands.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
root=$PWD

tools/install-deps.sh analysis
build=${LUNAVISTA_ASAN_BUILD:-build/asan}
cmake --preset asan -B "$build" >/dev/null
jobs=$(nproc)
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

echo "== clang-format"
mapfile -t tracked < <(git ls-files '*.cpp' '*.hpp' '*.h' '*.c')
if ! clang-format --dry-run --Werror "${tracked[@]}"; then
    echo "clang-format: the files above differ from .clang-format (clang-format -i FILE mends them)" >&2
    failed=1
fi
echo "${#tracked[@]} files"

echo "== clang-tidy"
mapfile -t sources < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
    grep -E "^$root/(astro|events|app|cli|tests/fuzz)/" | sort -u)
if [ ${#sources[@]} -eq 0 ]; then
    echo "no sources in $build/compile_commands.json" >&2
    exit 1
fi
if ! printf '%s\n' "${sources[@]}" |
    xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet >"$log" 2>/dev/null; then
    failed=1
fi
# clang-tidy prints each finding of a header once per file that includes it.
grep -E '^[^ ].*: (warning|error): ' "$log" | sort -u || true
echo "${#sources[@]} files"

echo "== cppcheck"
cppcheck_run() {
    cppcheck -q -j "$jobs" --std=c++20 --enable=warning,style,performance,portability \
        --suppressions-list=.cppcheck-suppressions --error-exitcode=1 \
        --template='{file}:{line}: {severity}: {message} [{id}]' \
        -I . '-DLUNAVISTA_VERSION="0"' --library=googletest "$@"
}
cppcheck_run -D_WIN32 --library=windows app astro cli display events tools tests || failed=1
cppcheck_run -U_WIN32 astro events/*.cpp app/stored_value.cpp cli tools/bench \
    tests/astro tests/events tests/cli tests/app/portable tests/fuzz || failed=1

if [ "$failed" -ne 0 ]; then
    echo "static analysis: findings above" >&2
    exit 1
fi
echo "static analysis: no findings"
