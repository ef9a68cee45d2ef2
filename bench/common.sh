# Sourced by the benchmark scripts from the repository's top directory: where results go, the
# tools the timings need, the Release build, and where directory trees live.

ROOT="$(pwd)"
OUT="${OUT:-$ROOT/bench/out}"

# Installs hyperfine and GNU time when either is missing.
bench_tools() {
    if ! command -v hyperfine >/dev/null || [ ! -x /usr/bin/time ]; then
        sudo=""
        if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
        $sudo apt-get install -y -qq --no-install-recommends hyperfine time >/dev/null
    fi
}

# bench_build DIR GUI [TARGET...]: a Release build in DIR (relative to the repository or
# absolute) with the window ON or OFF, building orlenta-cli, the generator and the targets
# named; sets BUILD, CLI and GENERATE.
bench_build() {
    BUILD="$1"
    case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
    gui="$2"
    shift 2
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORLENTA_GUI="$gui" \
        -DORLENTA_TESTS=OFF >/dev/null
    cmake --build "$BUILD" -j 2 --target orlenta-cli orlenta-bench-generate "$@"
    CLI="$BUILD/orlenta-cli"
    GENERATE="$BUILD/bench/orlenta-bench-generate"
}

# Sets TREES, where the synthetic directory trees are made: a tmpfs when there is one.
bench_trees() {
    if [ -z "${TREES:-}" ]; then
        if [ -d /dev/shm ] && [ -w /dev/shm ]; then
            TREES=/dev/shm/orlenta-bench-trees
        else
            TREES="$OUT/trees"
        fi
    fi
    mkdir -p "$TREES"
}

# Seconds of one command in a hyperfine CSV (its mean): mean CSV ROW.
mean() { awk -F, -v row="$2" 'NR == row + 1 { print $2 }' "$1"; }
