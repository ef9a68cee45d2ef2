#!/bin/sh
# Times reading a disc (orlenta-cli add --files) on synthetic directory trees against find on the
# same tree in the same run, warm cache, names only and with sizes and dates, and records peak
# memory against the size of the XML text the disc becomes.
#
#   bench/reading.sh                     10k, 100k and 1M files
#   SIZES="10000 100000" bench/reading.sh
#   TREES=/some/dir bench/reading.sh     where the trees are made (default: a tmpfs when there is one)
#
# Commands per tree:
#   find            find TREE -printf '%y %p\n' >/dev/null                  (names only)
#   find-stat       find TREE -printf '%y %s %T@ %p\n' >/dev/null           (a stat per entry too)
#   read            orlenta-cli add CAT TREE --files --no-sizes --no-save    (walk and elements)
#   read-sizes      orlenta-cli add CAT TREE --files --no-save               (the same with sizes)
#   add             orlenta-cli add CAT TREE --files --no-sizes              (read, then the save)
#   add-sizes       orlenta-cli add CAT TREE --files                         (the same with sizes)
# Results: bench/out/reading-summary.txt, hyperfine's figures in bench/out/reading-times-N.csv.
set -eu
cd "$(dirname "$0")/.."
. bench/common.sh
SIZES="${SIZES:-10000 100000 1000000}"

bench_tools
bench_build build/reading-rel OFF
bench_trees
mkdir -p "$OUT"
SUMMARY="$OUT/reading-summary.txt"
: >"$SUMMARY.tmp"


for n in $SIZES; do
    tree="$TREES/tree-$n"
    [ -d "$tree" ] || "$GENERATE" tree "$tree" --files "$n"
    work="$OUT/reading-work-$n"
    mkdir -p "$work"
    cd "$work"
    runs=10
    [ "$n" -ge 1000000 ] && runs=5
    csv="$OUT/reading-times-$n.csv"
    # The save writes a fresh catalogue each run, as adding the first disc to a new file does.
    hyperfine --warmup 2 --runs "$runs" --export-csv "$csv" \
        -n find "find '$tree' -printf '%y %p\n' >/dev/null" \
        -n find-stat "find '$tree' -printf '%y %s %T@ %p\n' >/dev/null" \
        -n read "'$CLI' add disc.olx '$tree' --files --no-sizes --no-save" \
        -n read-sizes "'$CLI' add disc.olx '$tree' --files --no-save" \
        -n add --prepare "rm -f disc.olx" "'$CLI' add disc.olx '$tree' --files --no-sizes" \
        -n add-sizes --prepare "rm -f disc.olx" "'$CLI' add disc.olx '$tree' --files"

    rm -f disc.olx
    /usr/bin/time -v "$CLI" add disc.olx "$tree" --files 2>time.txt
    peak_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' time.txt)
    xml_bytes=$("$CLI" xml disc.olx | wc -c)
    cd "$ROOT"

    awk -v n="$n" -v find="$(mean "$csv" 1)" -v findStat="$(mean "$csv" 2)" \
        -v read="$(mean "$csv" 3)" -v readSizes="$(mean "$csv" 4)" \
        -v add="$(mean "$csv" 5)" -v addSizes="$(mean "$csv" 6)" \
        -v peak="$peak_kb" -v xml="$xml_bytes" 'BEGIN {
        printf "%8d files  names: find %7.3f s  read %7.3f s (%.2fx)  add %7.3f s (%.2fx)\n",
               n, find, read, read / find, add, add / find
        printf "%8s        sizes: find %7.3f s  read %7.3f s (%.2fx)  add %7.3f s (%.2fx)  " \
               "peak %7.1f MB  XML %7.1f MB  peak/XML %.2f\n",
               "", findStat, readSizes, readSizes / findStat, addSizes, addSizes / findStat,
               peak / 1024, xml / 1048576, peak * 1024 / xml
    }' >>"$SUMMARY.tmp"
done
mv "$SUMMARY.tmp" "$SUMMARY"
cat "$SUMMARY"
