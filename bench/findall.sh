#!/bin/sh
# Times Find all in core (orlenta-bench-findall) on the synthetic catalogues of
# bench/catalogue.sh: building the name index after a load, its memory against the names' own
# bytes, and a search per keyword against the walk over the document. See README.md.
#
#   bench/findall.sh                       100k and 1M files
#   SIZES=1000000 bench/findall.sh
#   BUILD=build/other bench/findall.sh     another Release build tree
#   KEYWORDS="word '*.pdf'" bench/findall.sh  other keywords (patterns quoted)
#   RUNS=50 bench/findall.sh               more runs per figure (median)
#
# Results: bench/out/findall-summary.txt.
set -eu
cd "$(dirname "$0")/.."
. bench/common.sh
SIZES="${SIZES:-100000 1000000}"
# A few dozen hits, hits in most names, and three patterns: an extension, a class, every name.
KEYWORDS="${KEYWORDS:-Lecture_install a '*.pdf' 'IMG_[0-9]*' '*'}"
RUNS="${RUNS:-20}"

bench_build "${BUILD:-build/bench}" OFF orlenta-bench-findall
FINDALL="$BUILD/bench/orlenta-bench-findall"

mkdir -p "$OUT"
SUMMARY="$OUT/findall-summary.txt"
: >"$SUMMARY.tmp"

for n in $SIZES; do
    catalogue="$OUT/catalogue-$n.olx"
    [ -f "$catalogue" ] || "$GENERATE" catalogue "$catalogue" --files "$n"
    # The load puts its temporary file in the working directory.
    work="$OUT/findall-work-$n"
    mkdir -p "$work"
    cd "$work"
    echo "$n files:" >>"$SUMMARY.tmp"
    eval "\"$FINDALL\" \"$catalogue\" --runs $RUNS $KEYWORDS" | sed 's/^/  /' >>"$SUMMARY.tmp"
    cd "$ROOT"
done

mv "$SUMMARY.tmp" "$SUMMARY"
echo
cat "$SUMMARY"
