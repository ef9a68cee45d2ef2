#!/bin/sh
# Reading a disc of archives: orlenta-cli add --archives against the archive tool listing the
# same archives one after another plus a reading of the tree without --archives; and the reading
# without --archives of the same tree, which must cost what it did before archives were read.
#
#   bench/archives.sh /work/benchdata-archives        # data made there once, then kept
#   RUNS=5 bench/archives.sh DIR
#
# Data: DIR/tree holds 1,000 zip files of 100 entries each and 20 .tar.gz of about 10 MB each
# (incompressible data, so that the stream has to be decompressed to be skipped). Put DIR on a
# real disk. Results: DIR/summary.txt, hyperfine's figures in DIR/times.csv.
set -eu
cd "$(dirname "$0")/.."
. bench/common.sh
DATA="${1:?name the folder for the bench data: bench/archives.sh DIR}"
RUNS="${RUNS:-5}"
TREE="$DATA/tree"

bench_tools
command -v bsdtar >/dev/null || {
    echo "bsdtar is needed (Debian: libarchive-tools)" >&2
    exit 1
}
bench_build build/bench OFF

if [ ! -f "$DATA/.made" ]; then
    rm -rf "$TREE"
    mkdir -p "$TREE"
    python3 - "$TREE" <<'PY'
import io, os, sys, tarfile, zipfile
tree = sys.argv[1]
for z in range(1000):
    folder = os.path.join(tree, "zips", "%02d" % (z % 50))
    os.makedirs(folder, exist_ok=True)
    with zipfile.ZipFile(os.path.join(folder, "a%04d.zip" % z), "w", zipfile.ZIP_DEFLATED) as out:
        for e in range(100):
            out.writestr("dir%d/file%03d.txt" % (e % 5, e), ("line %d of %d\n" % (e, z)) * 20)
os.makedirs(os.path.join(tree, "tars"), exist_ok=True)
for t in range(20):
    with tarfile.open(os.path.join(tree, "tars", "b%02d.tar.gz" % t), "w:gz") as out:
        for e in range(100):
            data = os.urandom(100 * 1024)
            info = tarfile.TarInfo("part%d/blob%03d.bin" % (e % 4, e))
            info.size = len(data)
            out.addfile(info, io.BytesIO(data))
PY
    touch "$DATA/.made"
fi

LIST="$DATA/archives.txt"
find "$TREE" -type f \( -name '*.zip' -o -name '*.tar.gz' \) | sort >"$LIST"
# The archive tool over every archive, one process each, as a user would run it.
cat >"$DATA/list-all.sh" <<SH
#!/bin/sh
while read -r f; do bsdtar -tf "\$f" >/dev/null; done <"$LIST"
SH
chmod +x "$DATA/list-all.sh"

CSV="$DATA/times.csv"
# BEFORE_CLI: an orlenta-cli built before archives were read, to show that without --archives
# the reading costs what it did.
set -- -n archives "$CLI add $DATA/a.olx $TREE --files --archives --no-save" \
    -n plain "$CLI add $DATA/p.olx $TREE --files --no-save" \
    -n bsdtar "$DATA/list-all.sh"
if [ -n "${BEFORE_CLI:-}" ]; then
    set -- "$@" -n plain-before "$BEFORE_CLI add $DATA/p.olx $TREE --files --no-save"
fi
# The page cache holds the tree for every command: the figures are CPU costs, not disk speed.
hyperfine --warmup 1 --runs "$RUNS" --export-csv "$CSV" "$@"

archives=$(mean "$CSV" 1)
plain=$(mean "$CSV" 2)
tool=$(mean "$CSV" 3)
{
    echo "archives (add --files --archives): $archives s"
    echo "plain (add --files):               $plain s"
    echo "bsdtar -tf over every archive:     $tool s"
    awk -v a="$archives" -v p="$plain" -v t="$tool" \
        'BEGIN { printf "ratio archives / (bsdtar + plain): %.2f (target at most 1.2)\n", a / (t + p) }'
    if [ -n "${BEFORE_CLI:-}" ]; then
        before=$(mean "$CSV" 4)
        echo "plain, built before:               $before s"
        awk -v p="$plain" -v b="$before" 'BEGIN { printf "ratio plain / plain before: %.2f\n", p / b }'
    fi
} | tee "$DATA/summary.txt"
