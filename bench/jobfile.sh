#!/usr/bin/env bash
# Loads a job of 1,000,000 tasks slice by slice (loader + reload dispatch, no conversions) and
# compares it with `wc -l` on the same file; then saves one slice of 30,000 tasks.
# Goal: loading takes at most 3 x the time of wc -l. Wall times on a busy machine vary a lot, so
# the processor time (user + system) of both is printed too.
# Usage: bench/jobfile.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail

build=${1:-"$(cd "$(dirname "$0")/.." && pwd)/build"}
reps=${2:-3}
bench="$build/bench/slidemill_bench_jobfile"
if [[ ! -x $bench ]]; then
    echo "build the target slidemill_bench_jobfile in $build first" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-jobfile-XXXXXX")
trap 'rm -rf "$work"' EXIT
job="$work/million.MJB"
"$bench" write "$job" 1000000
echo "job file: $(wc -l <"$job") lines, $(($(stat -c %s "$job") / 1048576)) MiB"
cat "$job" >/dev/null # both read it from the page cache

best() { sort -g | head -1; }
now() { date +%s.%N; }

wc_times=()
for _ in $(seq "$reps"); do
    t0=$(now)
    wc -l "$job" >/dev/null
    t1=$(now)
    wc_times+=("$(echo "$t1 - $t0" | bc -l)")
done
wc_best=$(printf '%s\n' "${wc_times[@]}" | best)
# Processor time of wc: ten runs under one clock, as one run is below the clock's resolution.
wc_cpu=$( { /usr/bin/time -f '%U %S' bash -c "for i in 1 2 3 4 5 6 7 8 9 10; do wc -l '$job' >/dev/null; done" ; } 2>&1 |
    awk '{printf "%.4f", ($1 + $2) / 10}')

load_times=()
load_cpus=()
for _ in $(seq "$reps"); do
    line=$("$bench" load "$job")
    tasks=${line%% tasks*}
    if [[ $tasks != 1000000 ]]; then
        echo "loaded $tasks tasks instead of 1000000: $line" >&2
        exit 1
    fi
    load_times+=("$(echo "$line" | awk '{print $5}')")
    load_cpus+=("$(echo "$line" | awk '{print $8}')")
done
load_best=$(printf '%s\n' "${load_times[@]}" | best)
load_cpu=$(printf '%s\n' "${load_cpus[@]}" | best)
echo "load: $line"

save_times=()
for _ in $(seq "$reps"); do
    save_times+=("$("$bench" save "$work/slice.MJB" 30000 | awk '{print $1}')")
done
save_best=$(printf '%s\n' "${save_times[@]}" | best)

printf '                   wall       cpu\n'
printf 'wc -l            %8.3f s %8.3f s\n' "$wc_best" "$wc_cpu"
printf 'load 1,000,000   %8.3f s %8.3f s  (slice by slice, best of %s)\n' "$load_best" "$load_cpu" "$reps"
printf 'ratio load/wc    %8.2f   %8.2f    (goal <= 3)\n' "$(echo "$load_best / $wc_best" | bc -l)" \
    "$(echo "$load_cpu / $wc_cpu" | bc -l)"
printf 'save 30,000      %8.3f s\n' "$save_best"
