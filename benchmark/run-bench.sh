#!/usr/bin/env bash
# The benchmark behind ./bench: see the usage there.
set -euo pipefail
cd -- "$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")/.."
# shellcheck source=scripts/setup.sh
source scripts/setup.sh

rounds="${TAMSAEK_BENCH_ROUNDS:-5}"
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { tamsaek_error "TAMSAEK_BENCH_ROUNDS must be a positive number"; exit 2; }

TAMSAEK_PACKAGES+=(python3 gnuplot-nox)
tamsaek_install_deps
# The PE32+ build: it runs natively on every x86-64 machine, while the PE32 may
# run under emulation here, where timings mean nothing.
export TAMSAEK_WINE_ARCH=win64
build="$(tamsaek_build_dir win64)"
tamsaek_configure_build win64
cmake -S . -B "$build" >/dev/null # makes the benchmark target known to an older build folder
tamsaek_build win64 --target tamsaek_bench
tamsaek_log "benchmarking the 64-bit build (PE32+): $(file -b "$build/tamsaek_bench.exe")"

export TAMSAEK_WINEPREFIX="$build/benchprefix"
tamsaek_make_prefix
drive_c="$TAMSAEK_WINEPREFIX/drive_c"
trees="$build/bench-trees"
results="$build/bench-results"
mkdir -p -- "$trees"
rm -rf -- "$results"
mkdir -p -- "$results"

# The trees are made once and kept; only the one measured sits on drive C.
for sized in 10k:10000 100k:100000; do
    name="${sized%%:*}"
    [[ -d "$trees/tree-$name" ]] || { tamsaek_log "making the $name tree"; python3 benchmark/make-tree.py "$trees/tree-$name" "${sized##*:}"; }
done
[[ -d "$trees/files-100k" ]] || { tamsaek_log "making the folder of 100,000 files"; python3 benchmark/make-tree.py --files "$trees/files-100k" 100000; }

placed=()
put_back() {
    local item
    for item in "${placed[@]}"; do
        [[ -e "$drive_c/${item%%:*}" ]] && mv -- "$drive_c/${item%%:*}" "$trees/${item##*:}"
    done
    placed=()
}
tamsaek_on_exit put_back
place() { # NAME_ON_C TREE
    mv -- "$trees/$2" "$drive_c/$1"
    placed+=("$1:$2")
}

start_display
start_wineserver
bench_exe="$build/tamsaek_bench.exe"
measure() { # OUTPUT MODE [ARGS...]
    local out="$1"
    shift
    scripts/wine-run "$bench_exe" "$@" >"$results/$out.out" 2>"$results/$out.err" </dev/null \
        || { tamsaek_error "tamsaek_bench $* failed: $(tail -n 3 "$results/$out.err")"; exit 1; }
}

for name in 10k 100k; do
    place bench "tree-$name"
    for ((round = 1; round <= rounds; round++)); do
        tamsaek_log "$name folders, round $round of $rounds"
        measure "walk-$name.$round" walk
        measure "startup-$name.$round" startup bench 'C:\bench\d0\d0\d0\d0'
        measure "straight-$name.$round" straight
        if [[ "$name" == 10k ]]; then
            # How far two searchers get on this machine: two whole walks at
            # once, on two threads of one process and in two processes.
            measure "pair-threads-$name.$round" walk2
            start_at=$(($(date +%s%3N) + 2000))
            measure "pair-process-a-$name.$round" walk "$start_at" &
            measure "pair-process-b-$name.$round" walk "$start_at"
            wait $! || exit 1
        fi
    done
    put_back
done

place benchfiles files-100k
for ((round = 1; round <= rounds; round++)); do
    tamsaek_log "100,000 files, round $round of $rounds"
    measure "enum.$round" enum 'C:\benchfiles\'
    measure "list.$round" list 'C:\benchfiles\'
done
put_back

mkdir -p docs
python3 benchmark/report.py "$results" docs "./bench"
