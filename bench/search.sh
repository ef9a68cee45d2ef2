#!/bin/sh
# Times `orlenta-cli search` over all five fields against `orlenta-cli info` (a load alone) on the
# synthetic catalogues of bench/catalogue.sh, in the same hyperfine run. See README.md.
#
#   bench/search.sh                     100k and 1M files
#   SIZES="10000 100000" bench/search.sh
#   BUILD=build/other bench/search.sh   another Release build tree
#   FEW=word MANY=word bench/search.sh  other keywords
#
# Three commands per catalogue (the listing goes to /dev/null):
#   info          orlenta-cli info CAT
#   search-few    orlenta-cli search CAT "$FEW"    (a few dozen hits on 1M files)
#   search-many   orlenta-cli search CAT "$MANY"   (hits in most file names)
# Results: bench/out/search-summary.txt, hyperfine's figures in bench/out/search-times-N.csv.
set -eu
cd "$(dirname "$0")/.."
. bench/common.sh
SIZES="${SIZES:-100000 1000000}"
FEW="${FEW:-Lecture_install}"
MANY="${MANY:-a}"

bench_tools
bench_build "${BUILD:-build/bench}" OFF

mkdir -p "$OUT"
SUMMARY="$OUT/search-summary.txt"
: >"$SUMMARY.tmp"

for n in $SIZES; do
    catalogue="$OUT/catalogue-$n.olx"
    [ -f "$catalogue" ] || "$GENERATE" catalogue "$catalogue" --files "$n"
    # Loads put their temporary file in the working directory.
    work="$OUT/search-work-$n"
    mkdir -p "$work"
    cd "$work"
    csv="$OUT/search-times-$n.csv"
    hyperfine --style basic --shell=none --warmup 2 --runs 20 --export-csv "$csv" \
        -n info "$CLI info $catalogue" \
        -n search-few "$CLI search $catalogue $FEW" \
        -n search-many "$CLI search $catalogue $MANY"
    few=$("$CLI" search "$catalogue" "$FEW" | wc -l)
    many=$("$CLI" search "$catalogue" "$MANY" | wc -l)
    cd "$ROOT"
    echo "$n $few $many $(awk -F, 'NR > 1 { printf "%s %s ", $4, $5 + $6 }' "$csv")" >>"$SUMMARY.tmp"
done

# Columns of summary.tmp: files, hits of the two keywords, then for info, search-few and
# search-many in turn the median wall-clock seconds and the mean CPU seconds (user + system).
awk -v few="$FEW" -v many="$MANY" '
function show(label, search, info, searchCpu, infoCpu) {
    printf "  %-24s %.3f s / %.3f s = %.2fx wall   %.3f s / %.3f s = %.2fx CPU\n", \
        label, search, info, search / info, searchCpu, infoCpu, searchCpu / infoCpu
}
{
    printf "%d files: orlenta-cli info %.3f s wall, %.3f s CPU\n", $1, $4, $5
    show(sprintf("search %s (%d hits)", few, $2), $6, $4, $7, $5)
    show(sprintf("search %s (%d hits)", many, $3), $8, $4, $9, $5)
}' "$SUMMARY.tmp" >"$SUMMARY"
rm -f "$SUMMARY.tmp"
echo
cat "$SUMMARY"
