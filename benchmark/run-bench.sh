#!/usr/bin/env bash
# The benchmark behind ./bench: see the usage there.
set -euo pipefail
cd -- "$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")/.."
# shellcheck source=scripts/setup.sh
source scripts/setup.sh

# Single rounds of the 10k trees stray by some 15 % on a shared machine, while
# the program's walk is held to 3 % of the bare walk's: 12 of them, a few
# seconds each, keep the median's own error near 2 %, and 12 rounds take every
# order of the designs below (for 2 and 4 approaches) equally often.
rounds="${TAMSAEK_BENCH_ROUNDS:-12}"
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { tamsaek_error "TAMSAEK_BENCH_ROUNDS must be a positive number"; exit 2; }
# A round of the 100k trees takes some three minutes here and strays by some
# 8 %: 8 of them (every order of 4 approaches twice) keep a full run near 35
# minutes on a quiet machine of two cores.
big_rounds="${TAMSAEK_BENCH_BIG_ROUNDS:-8}"
[[ "$big_rounds" =~ ^[1-9][0-9]*$ ]] || { tamsaek_error "TAMSAEK_BENCH_BIG_ROUNDS must be a positive number"; exit 2; }
sizes="${TAMSAEK_BENCH_SIZES-10k 100k}"
# Wine resolves every component of a path each time a folder is opened, so a
# walk of 100 chains 1,000 deep costs about 30 times a walk of as many folders
# in other shapes (a quarter of an hour here): only when asked for.
deep_100k="${TAMSAEK_BENCH_DEEP_100K:-0}"
# About 1.1 million folders (fan-out 10, six levels): start-up against the bare
# walk, memory, a jump, the root collapsed and opened, closing; on the PE32+ and,
# where 32-bit code runs natively, on the PE32. Some 30 minutes more.
million="${TAMSAEK_BENCH_MILLION:-0}"

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
# TAMSAEK_BENCH_KEEP=1 adds to the results of an interrupted run.
[[ "${TAMSAEK_BENCH_KEEP:-0}" == 1 ]] || rm -rf -- "$results"
mkdir -p -- "$results"
started=$SECONDS

# The trees are made once and kept; only the one measured sits on drive C.
count_of() { case "$1" in 10k) echo 10000 ;; 100k) echo 100000 ;; esac; }
for size in $sizes; do
    for shape in fanout wide chains; do
        [[ "$shape-$size" == chains-100k && "$deep_100k" != 1 ]] && continue
        [[ -d "$trees/$shape-$size" ]] || {
            tamsaek_log "making the $shape tree of $size folders"
            python3 benchmark/make-tree.py --shape "$shape" "$trees/$shape-$size" "$(count_of "$size")"
        }
    done
done
[[ -d "$trees/files-20k" ]] || { tamsaek_log "making the folder of 20,000 files"; python3 benchmark/make-tree.py --files "$trees/files-20k" 20000; }

placed=()
put_back() {
    local item
    for item in "${placed[@]}"; do
        [[ -e "$drive_c/${item%%:*}" ]] && mv -- "$drive_c/${item%%:*}" "$trees/${item##*:}"
    done
    placed=()
}
monitor_pid=""
stop_monitor() {
    [[ -n "$monitor_pid" ]] || return 0
    touch "$drive_c/bench-monitor.stop"
    wait "$monitor_pid" 2>/dev/null || true
    rm -f -- "$drive_c/bench-monitor.stop"
    monitor_pid=""
}
tamsaek_on_exit put_back
tamsaek_on_exit stop_monitor
place() { # NAME_ON_C TREE
    mv -- "$trees/$2" "$drive_c/$1"
    placed+=("$1:$2")
}

start_display
start_wineserver
bench_exe="$build/tamsaek_bench.exe"
# Processor time of every process named $1 so far, in clock ticks.
cpu_ticks() {
    local pid total=0 stat
    for pid in $(pgrep -x "$1" || true); do
        stat="$(cat "/proc/$pid/stat" 2>/dev/null)" || continue
        stat="${stat##*) }" # the fields after the command name
        read -r -a fields <<<"$stat"
        total=$((total + fields[11] + fields[12])) # utime, stime
    done
    echo "$total"
}
tick_hz="$(getconf CLK_TCK)"
# The platform's share of a measurement: Wine's server, which serves every
# file opening and window request of the program one at a time, and the X
# server that draws its windows.
platform_ticks() { echo "$(($(cpu_ticks wineserver) + $(cpu_ticks wineserver64))) $(cpu_ticks Xvfb)"; }
measure() { # OUTPUT MODE [ARGS...]
    local out="$1" before after
    shift
    before="$(platform_ticks)"
    scripts/wine-run "$bench_exe" "$@" >"$results/$out.out" 2>"$results/$out.err" </dev/null \
        || { tamsaek_error "tamsaek_bench $* failed: $(tail -n 3 "$results/$out.err")"; exit 1; }
    after="$(platform_ticks)"
    read -r server0 x0 <<<"$before"
    read -r server1 x1 <<<"$after"
    awk -v s=$((server1 - server0)) -v x=$((x1 - x0)) -v hz="$tick_hz" \
        'BEGIN { printf "server_cpu_s=%.2f\nxvfb_cpu_s=%.2f\n", s / hz, x / hz }' >>"$results/$out.out"
}

# The order of the approaches in round ROUND (from 1): a Williams design, in
# which over the rounds every approach comes in every place and right after
# every other one equally often, so that an approach that leaves the machine
# faster or slower for the next favours none of them. When the order merely
# reversed from round to round, the bare walk with 2 threads came right after
# the one with 1 thread in every other round, and in those rounds it came out
# some 20 % faster than in the others.
round_order() { # COUNT ROUND -> the indexes of the approaches, in order
    local n="$1" round="$2" first=(0) low=1 high=$(($1 - 1)) rows row index order=()
    while ((${#first[@]} < n)); do
        first+=("$low")
        low=$((low + 1))
        if ((${#first[@]} < n)); then
            first+=("$high")
            high=$((high - 1))
        fi
    done
    rows=$n
    ((n % 2 == 0)) || rows=$((2 * n)) # an odd count needs each row reversed as well
    row=$(((round - 1) % rows))
    for index in "${first[@]}"; do order+=($(((index + row) % n))); done
    if ((row >= n)); then
        for ((index = n - 1; index >= 0; index--)); do echo -n "${order[index]} "; done
    else
        echo -n "${order[*]}"
    fi
}

# A warm-up (WARMUP, an approach) fills the caches and is thrown away; then
# the rounds take the approaches in the orders above.
run_rounds() { # COUNT NAME WARMUP APPROACH...   (an approach is OUTPUT:MODE[:ARG])
    local count="$1" name="$2" warmup="$3" round approach out mode arg list index
    shift 3
    local approaches=("$@")
    for ((round = 0; round <= count; round++)); do
        tamsaek_log "$name, round $round of $count$( ((round)) || echo ' (warm-up)')"
        if ((round == 0)); then
            list=("$warmup")
        else
            list=()
            for index in $(round_order ${#approaches[@]} "$round"); do list+=("${approaches[index]}"); done
        fi
        for approach in "${list[@]}"; do
            IFS=: read -r out mode arg <<<"$approach"
            if ((round == 0)); then out="warmup-$out"; else out="$out.$round"; fi
            if [[ -n "$arg" ]]; then measure "$out" "$mode" $arg; else measure "$out" "$mode"; fi
        done
    done
}

# Drive C with no benchmark tree: what a start-up costs whatever the drive
# holds (the prefix's own folders, the window, the first listing), so that
# the growth from 10k to 100k folders can be told apart from it.
run_rounds "$rounds" "drive C without a benchmark tree" "startup-empty:startup" "startup-empty:startup" \
    "walk2-empty:walk:2"

for size in $sizes; do
    count=$rounds
    [[ "$size" == 100k ]] && count=$big_rounds
    for shape in fanout wide chains; do
        [[ "$shape-$size" == chains-100k && "$deep_100k" != 1 ]] && continue
        place bench "$shape-$size"
        # The bare walk with one thread only where a goal needs it.
        approaches=("walk2-$shape-$size:walk:2" "startup-$shape-$size:startup")
        # The program's own walk without a window tells the walk's share of a
        # gap from the window's.
        case "$shape" in
        fanout) approaches=("walk1-$shape-$size:walk:1" "${approaches[@]}" "productwalk-$shape-$size:productwalk") ;;
        wide) approaches+=("productwalk-$shape-$size:productwalk" "expand-$size:expand:bench" "jump-$size:jump:bench") ;;
        esac
        run_rounds "$count" "$shape tree of $size folders" "${approaches[0]}" "${approaches[@]}"
        # Sampling the heaps slows a walk down a lot: at 100k only for fan-out 10.
        [[ "$size" == 10k || "$shape" == fanout ]] && measure "memory-$shape-$size" memory
        put_back
    done
done

place benchfiles files-20k
run_rounds "$rounds" "20,000 files" "list:list:C:\\benchfiles\\" "enum:enum:C:\\benchfiles\\" "list:list:C:\\benchfiles\\"
# The same listing while a monitor listens, in a process of its own.
rm -f -- "$drive_c/bench-monitor.stop"
scripts/wine-run "$bench_exe" monitor 'C:\bench-monitor.stop' >"$results/monitor.log" 2>&1 </dev/null &
monitor_pid=$!
for ((i = 0; i < 100; i++)); do grep -q '^ready=1' "$results/monitor.log" 2>/dev/null && break; sleep 0.1; done
run_rounds "$rounds" "20,000 files with a monitor listening" "monitored:list:C:\\benchfiles\\" \
    "monitored:list:C:\\benchfiles\\"
stop_monitor
put_back

if [[ "$million" == 1 ]]; then
    [[ -d "$trees/fanout-1m" ]] || {
        tamsaek_log "making the fan-out tree of 1,111,110 folders (some minutes)"
        python3 benchmark/make-tree.py --shape fanout "$trees/fanout-1m" 1111110
    }
    # The deepest last folder: six levels of the last of ten.
    deepest='C:\bench\d9\d9\d9\d9\d9\d9'
    million_lane() { # ARCH
        place bench fanout-1m
        tamsaek_log "1,111,110 folders on the $1 build: bare walk with 2 threads, start-up and after, memory"
        measure "million-walk2-$1" walk 2
        measure "million-$1" million "$deepest"
        measure "million-memory-$1" memory
        put_back
    }
    million_lane win64
    if [[ "$(_tamsaek_emulation_text)" == natively ]] && _tamsaek_runs_i386; then
        stop_wineserver
        export TAMSAEK_WINE_ARCH=win32
        build32="$(tamsaek_build_dir win32)"
        tamsaek_configure_build win32
        cmake -S . -B "$build32" >/dev/null
        tamsaek_build win32 --target tamsaek_bench
        export TAMSAEK_WINEPREFIX="$build32/benchprefix"
        tamsaek_make_prefix
        drive_c="$TAMSAEK_WINEPREFIX/drive_c"
        bench_exe="$build32/tamsaek_bench.exe"
        start_wineserver
        million_lane win32
    else
        if _tamsaek_runs_i386; then
            echo "32-bit code runs $(_tamsaek_emulation_text) here, where timings mean nothing"
        else
            echo "32-bit code does not run here"
        fi >"$results/million-win32.skipped"
        tamsaek_log "32-bit code does not run natively here: the PE32 is not measured on a million folders"
    fi
fi

mkdir -p docs
python3 benchmark/report.py "$results" docs "./bench" "$((SECONDS - started))"
