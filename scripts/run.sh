#!/bin/sh
# Installs the dependencies, builds a Release build and starts Orlenta (arguments are passed on).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORLENTA_TESTS=OFF >/dev/null
cmake --build build/release
if [ -x build/release/orlenta ]; then
    exec build/release/orlenta "$@"
fi
exec build/release/orlenta-cli --help
