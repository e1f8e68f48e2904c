#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages a task needs, only those that are missing.
#   install-deps.sh build   native build: compiler, CMake, GoogleTest, Google Benchmark
#   install-deps.sh test    build + the mingw-w64 cross compiler, Wine, Xvfb and tools for tests
#                           (python3-icalendar reads the companion's calendar files), clang
#                           with sanitizers and libFuzzer, clang-tidy, cppcheck, and the
#                           distribution's checks of the Debian package
#   install-deps.sh run     the cross compiler, Wine and Xvfb to build and show the program
#   install-deps.sh package build + the cross compiler and Debian's packaging tools, to make the
#                           Debian package (tools/package/make-deb.sh)
#   install-deps.sh analysis  build + clang with sanitizers and libFuzzer, clang-tidy, clang-format,
#                           cppcheck
set -euo pipefail

base=(g++ make cmake libgtest-dev googletest libbenchmark-dev tzdata)
windows=(g++-mingw-w64-x86-64-posix wine wine64 fonts-wine fonts-liberation xvfb xauth zip)
testing=(faketime imagemagick zip unzip binutils-mingw-w64-x86-64 x11-utils x11-xserver-utils
    python3-icalendar)
# --- the Debian package: dpkg-deb and dpkg-shlibdeps to make it, then the distribution's checks
debian=(dpkg-dev python3 git)
debian_checks=(lintian desktop-file-utils appstream man-db bash-completion)
# --- analysis (tools/analysis/, the asan preset): clang with its sanitizer and libFuzzer
#     runtimes, clang-tidy and cppcheck
analysis=(clang libclang-rt-dev clang-tidy clang-format cppcheck)
# --- end of analysis

case "${1:-}" in
    build) wanted=("${base[@]}") ;;
    test) wanted=("${base[@]}" "${windows[@]}" "${testing[@]}" "${analysis[@]}" "${debian[@]}"
                  "${debian_checks[@]}") ;;
    run) wanted=(make cmake "${windows[@]}" imagemagick x11-utils x11-xserver-utils) ;;
    package) wanted=("${base[@]}" g++-mingw-w64-x86-64-posix "${debian[@]}") ;;
    analysis) wanted=("${base[@]}" "${analysis[@]}") ;;
    *) echo "usage: $0 build|test|run|package|analysis" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "Missing packages (${missing[*]}), and neither root nor sudo to install them." >&2
    exit 1
fi

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
