#!/bin/sh
# Installs the dependencies and runs every test: first the layout check of every C++ file; then
# a Debug build with AddressSanitizer and UndefinedBehaviorSanitizer; core and the command-line
# tool built without Qt, which proves that core needs no Qt; and the Release build with its
# tests, so that a warning only the optimizer gives cannot hide. Warnings are errors in all three.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
JOBS="$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

build_and_test() {
    dir="$1"
    shift
    cmake -S . -B "$dir" -G Ninja -DORLENTA_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
    ctest --test-dir "$dir" --output-on-failure -j "$JOBS"
}

build_and_test build/test -DCMAKE_BUILD_TYPE=Debug -DORLENTA_SANITIZE=ON
build_and_test build/core-only -DCMAKE_BUILD_TYPE=Debug -DORLENTA_GUI=OFF
build_and_test build/release-test -DCMAKE_BUILD_TYPE=Release
