#!/bin/sh
# Times Disc, Add in the main window (offscreen) against `orlenta-cli add --files --no-sizes --no-save` (both names only) on
# the same synthetic directory trees, in the same hyperfine run, warm cache. See README.md.
#
#   bench/window.sh                     100k and 1M files
#   SIZES="10000 100000" bench/window.sh
#   TREES=/some/dir bench/window.sh     where the trees are (default: as bench/reading.sh)
#   BUILD=build/other bench/window.sh   another Release build tree (GUI on)
#
# Five commands per tree:
#   cli-read      orlenta-cli add CAT TREE --files --no-sizes --no-save
#   window-read   orlenta-bench-window-read TREE --no-rebuild   (dialog, walk, progress window)
#   window-add    orlenta-bench-window-read TREE                (the same, then the tree rebuilt)
#   cli-none      orlenta-cli add CAT --no-save                 (a virtual disc: start-up only)
#   window-none   orlenta-bench-window-read --virtual           (start-up, window, dialog, rebuild)
# Results: bench/out/window-summary.txt, hyperfine's figures in bench/out/window-times-N.csv and
# the driver's own split of one run in bench/out/window-inside-N.txt.
set -eu
cd "$(dirname "$0")/.."
. bench/common.sh
SIZES="${SIZES:-100000 1000000}"
export QT_QPA_PLATFORM=offscreen

bench_tools
bench_build "${BUILD:-build/window-rel}" ON orlenta-bench-window-read
bench_trees
WINDOW="$BUILD/bench/orlenta-bench-window-read"

mkdir -p "$OUT"
SUMMARY="$OUT/window-summary.txt"
: >"$SUMMARY.tmp"

for n in $SIZES; do
    tree="$TREES/tree-$n"
    [ -d "$tree" ] || "$GENERATE" tree "$tree" --files "$n"
    work="$OUT/window-work-$n"
    mkdir -p "$work"
    cd "$work"
    # Ten runs even at 1M files: the two sides differ by a few per cent, on a shared machine.
    runs=10
    csv="$OUT/window-times-$n.csv"
    hyperfine --style basic --shell=none --warmup 2 --runs "$runs" --export-csv "$csv" \
        -n cli-read "$CLI add disc.olx $tree --files --no-sizes --no-save" \
        -n window-read "$WINDOW $tree --no-rebuild" \
        -n window-add "$WINDOW $tree" \
        -n cli-none "$CLI add disc.olx --no-save" \
        -n window-none "$WINDOW --virtual"
    # The driver's own view of one run: the walk and what follows it, without start-up.
    "$WINDOW" "$tree" 2>&1 | grep -E ' files: |destroyed' >"$OUT/window-inside-$n.txt"
    cd "$ROOT"

    echo "$n $(awk -F, 'NR > 1 { printf "%s %s ", $4, $5 + $6 }' "$csv")" \
        "$(tr '\n' ' ' <"$OUT/window-inside-$n.txt" | sed 's/.*command \([0-9]*\) ms = dialog and walk \([0-9]*\) ms + tree rebuild \([0-9]*\) ms.* in \([0-9]*\) ms.*/\1 \2 \3 \4/')" \
        >>"$SUMMARY.tmp"
done

# Columns of summary.tmp: files, then for cli-read, window-read, window-add, cli-none and
# window-none in turn the median wall-clock seconds and the mean CPU seconds (user + system),
# then the driver's own milliseconds of one run: the whole command, dialog and walk, rebuild,
# destroying the window.
awk '
function show(label, window, cli, windowCpu, cliCpu) {
    printf "  %-22s %.3f s / %.3f s = %.2fx wall   %.3f s / %.3f s = %.2fx CPU\n", \
        label, window, cli, window / cli, windowCpu, cliCpu, windowCpu / cliCpu
}
{
    n = $1; cliRead = $2; cliReadCpu = $3; read = $4; readCpu = $5; add = $6; addCpu = $7
    cliNone = $8; cliNoneCpu = $9; none = $10; noneCpu = $11
    printf "%d files: orlenta-cli add --files --no-save %.3f s wall, %.3f s CPU\n", n, cliRead, cliReadCpu
    show("window reading", read, cliRead, readCpu, cliReadCpu)
    show("window with rebuild", add, cliRead, addCpu, cliReadCpu)
    show("reading, start-up out", read - none, cliRead - cliNone, readCpu - noneCpu, cliReadCpu - cliNoneCpu)
    show("rebuild, start-up out", add - none, cliRead - cliNone, addCpu - noneCpu, cliReadCpu - cliNoneCpu)
    printf "  start-up: window %.3f s, orlenta-cli %.3f s; inside one window run: command %d ms = " \
        "dialog and walk %d ms + tree rebuild %d ms; window destroyed in %d ms\n", \
        none, cliNone, $12, $13, $14, $15
}' "$SUMMARY.tmp" >"$SUMMARY"
rm -f "$SUMMARY.tmp"
echo
cat "$SUMMARY"
