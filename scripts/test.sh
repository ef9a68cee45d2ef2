#!/bin/sh
# Installs the dependencies and runs every test: a Debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer, then core and the command-line tool built without Qt, which proves
# that core needs no Qt.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
JOBS="$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLENTA_SANITIZE=ON >/dev/null
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS"

cmake -S . -B build/core-only -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLENTA_GUI=OFF >/dev/null
cmake --build build/core-only -j "$JOBS"
ctest --test-dir build/core-only --output-on-failure -j "$JOBS"
