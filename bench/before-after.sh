#!/bin/sh
# Compares this tree with an earlier commit in the same session: loading, saving and adding a
# disc with each build, side by side, in alternating rounds of hyperfine, with the data files,
# the working directory and the directory trees on the disk that holds bench/out (not a tmpfs).
#
#   REF=4d21417 bench/before-after.sh
#   REF=4d21417 SIZES="100000 1000000" ROUNDS=5 RUNS=5 bench/before-after.sh
#
# Results: bench/out/compare/summary.txt; every run's time in bench/out/compare/*.json.
set -eu
cd "$(dirname "$0")/.."
. bench/common.sh
REF="${REF:?name the commit to compare with: REF=<commit> bench/before-after.sh}"
SIZES="${SIZES:-10000 100000 1000000}"
ROUNDS="${ROUNDS:-3}"
RUNS="${RUNS:-5}"
DIR="$OUT/compare"
TREES="${TREES:-$OUT/trees}"

bench_tools
# The earlier commit, exported and built beside this tree's build.
before_src="$ROOT/build/before-src"
rm -rf "$before_src"
mkdir -p "$before_src"
git archive "$REF" | tar -x -C "$before_src"
cmake -S "$before_src" -B "$ROOT/build/before-rel" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DORLENTA_GUI=OFF -DORLENTA_TESTS=OFF >/dev/null
cmake --build "$ROOT/build/before-rel" -j 2 --target orlenta-cli orlenta-bench-generate
OLD="$ROOT/build/before-rel/orlenta-cli"
OLD_GENERATE="$ROOT/build/before-rel/bench/orlenta-bench-generate"
bench_build build/bench OFF orlenta-bench-baseline
NEW="$CLI"
BASELINE="$BUILD/bench/orlenta-bench-baseline"

mkdir -p "$DIR" "$TREES"
SUMMARY="$DIR/summary.txt"
: >"$SUMMARY"

# run_rounds NAME COMMANDS: ROUNDS rounds over COMMANDS, one a line as
# "name|prepare|command" (prepare may be empty), each round a hyperfine of RUNS runs per command,
# the order reversed every other round; every run lands in NAME-ROUND-COMMAND.json.
run_rounds() {
    name="$1"
    commands="$2"
    round=1
    while [ "$round" -le "$ROUNDS" ]; do
        if [ $((round % 2)) -eq 0 ]; then order=$(printf '%s\n' "$commands" | tac); else order="$commands"; fi
        printf '%s\n' "$order" | while IFS='|' read -r command prepare line; do
            [ -n "$command" ] || continue
            hyperfine --style none --shell=none --warmup 1 --runs "$RUNS" \
                ${prepare:+--prepare "$prepare"} -n "$command" "$line" \
                --export-json "$DIR/$name-$round-$command.json"
        done
        round=$((round + 1))
    done
}

# figure NAME COMMAND: the median wall-clock seconds of every run of COMMAND in NAME-*.json, and
# the median over its rounds of the mean CPU seconds (user + system).
figure() {
    python3 - "$DIR" "$1" "$2" <<'EOF'
import glob, json, statistics, sys
directory, name, command = sys.argv[1:4]
times, cpu = [], []
for path in glob.glob(f"{directory}/{name}-*.json"):
    for result in json.load(open(path))["results"]:
        if result["command"] == command:
            times += result["times"]
            cpu.append(result["user"] + result["system"])
print(f"{statistics.median(times):.4f} {statistics.median(cpu):.4f}")
EOF
}

# Peak resident memory in KiB: the median of three runs.
peak() {
    for i in 1 2 3; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; done |
        sort -n | sed -n 2p
}

for n in $SIZES; do
    # A catalogue as the earlier build writes it: what users have on disk today.
    catalogue="$DIR/catalogue-$n.olx"
    [ -f "$catalogue" ] || "$OLD_GENERATE" catalogue "$catalogue" --files "$n" >/dev/null
    work="$DIR/work-$n"
    mkdir -p "$work"
    cd "$work"
    cp "$catalogue" old.olx
    cp "$catalogue" new.olx
    "$NEW" set new.olx --title Measured # from now on written by this tree's build
    rm -f "$DIR/files-$n-"*.json "$DIR/add-$n-"*.json

    # A load of today's file by each build; a load of each build's own file; a load and a save.
    run_rounds "files-$n" "info-old||$OLD info $catalogue
info-new||$NEW info $catalogue
info-new-own||$NEW info new.olx
set-old||$OLD set old.olx --title Measured
set-new||$NEW set new.olx --title Measured"

    # Reading a tree into a new catalogue and saving it, against find on the same tree.
    tree="$TREES/tree-$n"
    [ -d "$tree" ] || "$GENERATE" tree "$tree" --files "$n" >/dev/null
    run_rounds "add-$n" "find||find $tree -printf '%y %p\\n'
add-old|rm -f disc.olx|$OLD add disc.olx $tree --files
add-new|rm -f disc.olx|$NEW add disc.olx $tree --files"

    info_old=$(figure "files-$n" info-old)
    info_new=$(figure "files-$n" info-new)
    info_own=$(figure "files-$n" info-new-own)
    set_old=$(figure "files-$n" set-old)
    set_new=$(figure "files-$n" set-new)
    find=$(figure "add-$n" find)
    add_old=$(figure "add-$n" add-old)
    add_new=$(figure "add-$n" add-new)
    size_old=$(wc -c <old.olx)
    size_new=$(wc -c <new.olx)
    xml=$("$NEW" xml new.olx | wc -c)
    peak_info_old=$(peak "$OLD" info old.olx)
    peak_info_new=$(peak "$NEW" info old.olx)
    peak_set_old=$(peak "$OLD" set old.olx --title Measured)
    peak_set_new=$(peak "$NEW" set new.olx --title Measured)
    cd "$ROOT"

    # Each timing is "wall CPU"; every ratio is given on both.
    echo "$n $info_old $info_new $info_own $set_old $set_new $find $add_old $add_new" \
        "$size_old $size_new $xml $peak_info_old $peak_info_new $peak_set_old $peak_set_new" |
        awk '{
        n = $1; x = $20
        printf "%d files, XML %.1f MB; seconds: median wall-clock of every run / median CPU of the rounds\n", n, x / 1e6
        printf "  load (info)        before %.3f / %.3f  after %.3f / %.3f  = %.2fx / %.2fx   (after, its own file: %.3f / %.3f)\n", \
            $2, $3, $4, $5, $4 / $2, $5 / $3, $6, $7
        printf "  save (set - info)  before %.3f / %.3f  after %.3f / %.3f  = %.2fx / %.2fx   (after: %.2f us per file)\n", \
            $8 - $2, $9 - $3, $10 - $6, $11 - $7, ($10 - $6) / ($8 - $2), ($11 - $7) / ($9 - $3), ($10 - $6) / n * 1e6
        printf "  load + save (set)  before %.3f / %.3f  after %.3f / %.3f  = %.2fx / %.2fx\n", $8, $9, $10, $11, $10 / $8, $11 / $9
        printf "  data file          before %.2f MB  after %.2f MB  = %.2fx   (of the XML: %.3f / %.3f)\n", $18 / 1e6, $19 / 1e6, $19 / $18, $18 / x, $19 / x
        printf "  peak memory        info before %.1f MB, after %.1f MB (%.2fx XML); set before %.1f MB, after %.1f MB\n", \
            $21 / 1024, $22 / 1024, $22 * 1024 / x, $23 / 1024, $24 / 1024
        printf "  add --files        find %.3f / %.3f  before %.3f / %.3f (%.2fx / %.2fx find)  after %.3f / %.3f (%.2fx / %.2fx find; %.2f us per file)\n", \
            $12, $13, $14, $15, $14 / $12, $15 / $13, $16, $17, $16 / $12, $17 / $13, $16 / n * 1e6
    }' >>"$SUMMARY"
done

# The choice of library and level, on the XML of the largest catalogue, in memory.
largest=$(echo "$SIZES" | tr ' ' '\n' | sort -n | tail -n 1)
"$NEW" xml "$DIR/catalogue-$largest.olx" >"$DIR/levels.xml"
"$BASELINE" levels "$DIR/levels.xml" 5 >>"$SUMMARY"
rm -f "$DIR/levels.xml"
cat "$SUMMARY"
