#!/usr/bin/env bash
# One command line over 40 generated decks, run whole and as a 4-task Slurm array on a one-node
# cluster of this machine (the array tasks run as many at a time as there are CPUs, one office
# each; the whole run gets one office per CPU). Prints both times and the array's overhead per
# shard: what splitting costs where it cannot gain, as every shard starts its own office and
# lists the folder again.
# sbatch --wait polls the controller with a growing pause, so the wall-clock figure includes
# up to half a minute of waiting for the answer; the figure from slurmctld's own record of the
# tasks does not.
# Usage: bench/shard.sh [BUILD_DIR] [DECKS] [SHARDS]   (as root: it starts munged, slurmctld and slurmd)
#   BUILD_DIR  a build with slidemill and slidemill_make_decks (default: <repo>/build/default)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build/default"}
decks=${2:-40}
shards=${3:-4}
bin="$build/slidemill"
make_decks="$build/tools/slidemill_make_decks"
for program in "$bin" "$make_decks"; do
    [[ -x $program ]] || { echo "build $(basename "$program") in $build first" >&2; exit 2; }
done
source "$repo/tests/e2e/slurm_cluster.sh"
problems=$(slurm_cluster_missing)
[ -z "$problems" ] || { echo "$problems" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-shard-bench-XXXXXX")
chmod 755 "$work"
trap 'slurm_cluster_stop; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_DOCUMENTS_DIR="$work/home/Documents"
mkdir -p "$HOME" "$work/logs"
cpus=$(nproc)
"$make_decks" "$work/in" "$decks" 1 6 19 >/dev/null

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

# A first run creates the office profiles (an extra office start), which no timed run pays.
SLIDEMILL_OFFICES=$cpus "$bin" /S "$work/in/deck001.fodp" /T "$work/warm/a.pdf" /C 32 >/dev/null

start=$(seconds)
SLIDEMILL_OFFICES=$cpus "$bin" /S "$work/in/*.fodp" /T "$work/whole/*.pdf" /C 32 /L "$work/whole.log"
whole=$(elapsed "$start" "$(seconds)")

slurm_cluster_start "$work/cluster" >/dev/null
start=$(seconds)
SLIDEMILL="$bin" SLIDEMILL_SHARDS=$shards SLIDEMILL_OFFICES=1 \
    bash "$repo/scripts/slurm/slidemill-array.sbatch" --wait --output="$work/task-%a.out" --chdir="$work" -- \
    /S "$work/in/*.fodp" /T "$work/array/*.pdf" /C 32 /L "$work/logs/run_[SHARD].log" >/dev/null
array=$(elapsed "$start" "$(seconds)")
slurm_cluster_stop
# Where the array's time went, from slurmctld's record of each task (whole seconds): the span
# from the first task's start to the last one's end, and the time before the first start.
times=$(sed -n 's/.* SubmitTime=\([^ ]*\) .*/\1/p' "$work/cluster/log/jobcomp.txt" | sort | head -n1)
first=$(sed -n 's/.* StartTime=\([^ ]*\) .*/\1/p' "$work/cluster/log/jobcomp.txt" | sort | head -n1)
last=$(sed -n 's/.* EndTime=\([^ ]*\) .*/\1/p' "$work/cluster/log/jobcomp.txt" | sort | tail -n1)
span=$(($(date -d "$last" +%s) - $(date -d "$first" +%s)))
queued=$(($(date -d "$first" +%s) - $(date -d "$times" +%s)))

converted=$(find "$work/array" -name '*.pdf' | wc -l)
[ "$converted" -eq "$decks" ] || { echo "the array converted $converted of $decks decks" >&2; exit 1; }
echo "decks: $decks, CPUs: $cpus"
echo "one run, $cpus offices:                     $whole s"
echo "$shards-task Slurm array, 1 office a task:   $array s ($cpus tasks at a time)"
echo "  tasks ran from first start to last end in $span s; queued $queued s before the first start;"
echo "  the rest is sbatch --wait noticing the end"
for log in "$work"/logs/run_*.log; do
    echo "  $(tail -n1 "$log"), $(grep -o 'Time to complete job: .*' "$log" | tail -n1)"
done
awk -v w="$whole" -v a="$array" -v s="$((span + queued))" -v n="$shards" 'BEGIN {
    printf "overhead per shard: %.1f s by the clock ((array - one run) / %d),\n", (a - w) / n, n
    printf "                    %.1f s from submission to the last task'"'"'s end\n", (s - w) / n }'
