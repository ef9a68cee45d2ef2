#!/bin/sh
# Times orlenta-cli duplicates and overlap against orlenta-cli info (the load alone) on a
# catalogue with sizes, in the same hyperfine run. See README.md.
#
#   bench/duplicates.sh                          /work/benchdata/c1m-sizes.olx
#   CATALOGUE=other.olx bench/duplicates.sh
#   BUILD=build/release bench/duplicates.sh      an existing Release build tree
#   SAME_NAME=500000 bench/duplicates.sh         also overlap where one name stands N times
#
# Results: bench/out/duplicates-times.csv and bench/out/duplicates-summary.txt.
set -eu
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
CATALOGUE="${CATALOGUE:-/work/benchdata/c1m-sizes.olx}"
BUILD="${BUILD:-build/bench}"
RUNS="${RUNS:-10}"
if [ ! -x "$BUILD/orlenta-cli" ]; then
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORLENTA_GUI=OFF >/dev/null
    cmake --build "$BUILD" --target orlenta-cli
fi
CLI="$ROOT/$BUILD/orlenta-cli"
OUT="$ROOT/bench/out"
mkdir -p "$OUT/duplicates-work"
# The load puts its temporary file in the working directory.
cd "$OUT/duplicates-work"
# Two discs of N files all named Thumbs.db, one to a folder, all of one size (made once): each
# file of one disc meets every file of the other by name.
set --
if [ -n "${SAME_NAME:-}" ]; then
    SAME="$OUT/same-name-$SAME_NAME.olx"
    if [ ! -f "$SAME" ]; then
        awk -v n="$SAME_NAME" 'BEGIN { for (i = 0; i < n; i++)
            printf "f 4096 1700000000.0 /disc/f%d/Thumbs.db\n", i }' >same-name.list
        "$CLI" import "$SAME" same-name.list --title A >/dev/null
        "$CLI" import "$SAME" same-name.list --title B >/dev/null
    fi
    set -- -n overlap-same-name "'$CLI' overlap '$SAME' 0 >/dev/null"
fi
hyperfine --warmup 2 --runs "$RUNS" --export-csv "$OUT/duplicates-times.csv" \
    -n info "'$CLI' info '$CATALOGUE'" \
    -n duplicates "'$CLI' duplicates '$CATALOGUE' >/dev/null" \
    -n overlap "'$CLI' overlap '$CATALOGUE' 0 >/dev/null" "$@" | tee "$OUT/duplicates-summary.txt"
