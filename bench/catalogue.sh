#!/bin/sh
# Times loading (orlenta-cli info) and loading + saving (orlenta-cli set) of synthetic catalogues
# against the same steps done by ISA-L and pugixml alone, and records peak memory. See README.md.
#
#   bench/catalogue.sh                  10k, 100k and 1M files
#   SIZES="10000 100000" bench/catalogue.sh
#
# Results: bench/out/summary.txt, and hyperfine's figures in bench/out/times-N.csv.
set -eu
cd "$(dirname "$0")/.."
. bench/common.sh
SIZES="${SIZES:-10000 100000 1000000}"

bench_tools
bench_build build/bench OFF orlenta-bench-baseline
BASELINE="$BUILD/bench/orlenta-bench-baseline"

mkdir -p "$OUT"
SUMMARY="$OUT/summary.txt"
: >"$SUMMARY.tmp"

for n in $SIZES; do
    catalogue="$OUT/catalogue-$n.olx"
    if [ ! -f "$catalogue" ]; then
        "$GENERATE" catalogue "$catalogue" --files "$n"
    fi
    # Every run works in here: the temporary file of loads and saves lands in this directory.
    work="$OUT/work-$n"
    mkdir -p "$work"
    cd "$work"
    "$BASELINE" inflate "$catalogue" catalogue.xml
    cp "$catalogue" set.olx

    hyperfine --style basic --shell=none --warmup 2 --export-csv "$OUT/times-$n.csv" \
        -n inflate "$BASELINE inflate $catalogue inflated.xml" \
        -n parse "$BASELINE parse catalogue.xml" \
        -n write "$BASELINE write catalogue.xml written.xml" \
        -n deflate "$BASELINE deflate catalogue.xml deflated.olx" \
        -n info "$CLI info $catalogue" \
        -n set "$CLI set set.olx --title Measured"

    # Peak resident memory in KiB, one run each.
    rss() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
    xml_bytes=$(wc -c <catalogue.xml)
    olx_bytes=$(wc -c <"$catalogue")
    echo "$n $xml_bytes $olx_bytes $(rss "$BASELINE" parse catalogue.xml)" \
        "$(rss "$CLI" info "$catalogue") $(rss "$CLI" set set.olx --title Measured)" \
        "$(awk -F, 'NR > 1 { printf "%s %s ", $4, $5 + $6 }' "$OUT/times-$n.csv")" >>"$SUMMARY.tmp"
    cd "$ROOT"
done

# Columns of summary.tmp: files, XML bytes, data file bytes, peak KiB of parse, info and set,
# then for inflate, parse, write (parse included), deflate, info and set in turn: the median
# wall-clock seconds and the mean CPU seconds (user + system). On a machine shared with other
# work the CPU figures are the steadier ones.
awk '
function show(label, core, base, coreCpu, baseCpu) {
    printf "  %-11s %.3f s / %.3f s = %.2fx wall   %.3f s / %.3f s = %.2fx CPU   %.2f us per file\n", \
        label, core, base, core / base, coreCpu, baseCpu, coreCpu / baseCpu, core / n * 1e6
}
{
    n = $1; xml = $2; olx = $3; rssParse = $4; rssInfo = $5; rssSet = $6
    inflate = $7; inflateCpu = $8; parse = $9; parseCpu = $10; write = $11; writeCpu = $12
    deflate = $13; deflateCpu = $14; info = $15; infoCpu = $16; set = $17; setCpu = $18
    printf "%d files: XML %.1f MB, data file %.1f MB\n", n, xml / 1e6, olx / 1e6
    printf "  baselines   inflate %.3f s  parse %.3f s  write %.3f s  deflate %.3f s (wall)\n", \
        inflate, parse, write - parse, deflate
    show("load", info, inflate + parse, infoCpu, inflateCpu + parseCpu)
    show("save", set - info, write - parse + deflate, setCpu - infoCpu, writeCpu - parseCpu + deflateCpu)
    show("load+save", set, inflate + write + deflate, setCpu, inflateCpu + writeCpu + deflateCpu)
    printf "  peak memory info %.1f MB (%.2fx XML), set %.1f MB (%.2fx XML), bare parse %.1f MB (%.2fx XML)\n", \
        rssInfo * 1024 / 1e6, rssInfo * 1024 / xml, rssSet * 1024 / 1e6, rssSet * 1024 / xml, \
        rssParse * 1024 / 1e6, rssParse * 1024 / xml
}' "$SUMMARY.tmp" >"$SUMMARY"
rm -f "$SUMMARY.tmp"
echo
cat "$SUMMARY"
