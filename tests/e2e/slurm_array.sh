#!/usr/bin/env bash
# A real one-node Slurm cluster, started for this test and ended with it: munged, slurmctld and
# slurmd run as children of this script from a temporary folder, a 4-task array converts 40
# generated decks with one command line through scripts/slurm/slidemill-array.sbatch, and the
# results are checked: every PDF with its page count, every deck in exactly one shard's log,
# every array task ended with exit code 0, and nothing left running afterwards.
# Usage: slurm_array.sh SLIDEMILL_BINARY MAKE_DECKS_BINARY SBATCH_SCRIPT
# Needs root (slurmd starts the tasks as the submitting user) and the Debian packages munge,
# slurmctld, slurmd and slurm-client; without them it fails.
set -uo pipefail
bin=$1 make_decks=$2 array_script=$3
decks=40 shards=4

fail() { echo "FAIL $*"; exit 1; }
source "$(dirname "$0")/slurm_cluster.sh"
problems=$(slurm_cluster_missing)
command -v pdfinfo >/dev/null || problems+=$'\n'"pdfinfo is missing: run scripts/setup (package poppler-utils)"
[ -z "$problems" ] || fail "$problems"
[ -x "$bin" ] && [ -x "$make_decks" ] && [ -f "$array_script" ] || fail "missing program: $bin $make_decks $array_script"

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-slurm-XXXXXX")
chmod 755 "$work"
cleanup() {
    slurm_cluster_stop
    # Whatever a task started (an office) has our folder in its command line.
    local stray
    stray=$(pgrep -f -- "$work" 2>/dev/null | grep -vx "$$" || true)
    [ -n "$stray" ] && kill -KILL $stray 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

mkdir -p "$work"/{home,in,out,logs}
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_DOCUMENTS_DIR="$work/home/Documents"
slurm_cluster_start "$work/cluster" || fail "the one-node cluster did not start"
echo "ok   one-node cluster up ($SLURM_CLUSTER_DESCRIPTION)"

# 40 decks of 1 to 6 slides, half of them in a subfolder so that the mirrored tree shows.
"$make_decks" "$work/in" "$decks" 1 6 19 >/dev/null || fail "the deck generator failed"
mkdir -p "$work/in/part two"
for n in $(seq 21 "$decks"); do mv "$work/in/deck$(printf %03d "$n").fodp" "$work/in/part two/"; done

# One office per task, two tasks at a time on two CPUs; the wrapper submits itself.
started=$(date +%s)
SLIDEMILL="$bin" SLIDEMILL_SHARDS=$shards SLIDEMILL_OFFICES=1 timeout 900 \
    bash "$array_script" --wait --output="$work/cluster/log/task-%a.out" --chdir="$work" -- \
    /S "$work/in/*.fodp" /R /T "$work/out/*.pdf" /C 32 /L "$work/logs/run_[SHARD].log" \
    >"$work/cluster/log/sbatch.out" 2>&1
submitted=$?
echo "     the array ran in $(($(date +%s) - started)) s"
check "sbatch --wait: the array ended with exit code 0" test "$submitted" -eq 0
[ "$submitted" -eq 0 ] || cat "$work/cluster/log/sbatch.out" "$work/cluster"/log/task-*.out 2>/dev/null
job_id=$(sed -n 's/^Submitted batch job \([0-9]*\).*/\1/p' "$work/cluster/log/sbatch.out")
check "the array was submitted" test -n "$job_id"

# Every task's own record: the completion log of slurmctld (no accounting database here).
for k in $(seq 0 $((shards - 1))); do
    record=$(grep -E "ArrayJobId=$job_id ArrayTaskId=$k( |$)" "$work/cluster/log/jobcomp.txt" 2>/dev/null | tail -n1)
    check "array task $k completed with exit code 0" \
        bash -c '[[ "$1" == *"JobState=COMPLETED"* && "$1" == *" ExitCode=0:0"* ]]' _ "$record"
    check "array task $k ran with 1 office on 1 CPU" grep -q ", 1 offices" "$work/cluster/log/task-$k.out"
done
check "every array task is in the completion log" \
    test "$(grep -c "ArrayJobId=$job_id " "$work/cluster/log/jobcomp.txt" 2>/dev/null)" -eq "$shards"

# Every deck converted into the mirrored tree, with one page a slide.
pdfs=$(find "$work/out" -name '*.pdf' | wc -l)
check "$decks PDFs" test "$pdfs" -eq "$decks"
wrong_pages=0
while IFS=$'\t' read -r file slides; do
    [ "$file" = "file" ] && continue
    name=${file%.fodp}
    number=${name#deck}
    folder=""
    [ "$((10#$number))" -gt 20 ] && folder="part two/"
    pages=$(pdfinfo "$work/out/$folder$name.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
    if [ "$pages" != "$slides" ]; then
        echo "     $folder$name.pdf: ${pages:-no} pages, $slides slides"
        wrong_pages=$((wrong_pages + 1))
    fi
done <"$work/in/decks.tsv"
check "every PDF has one page per slide" test "$wrong_pages" -eq 0

# Every deck in exactly one shard's log, and the logs' counts add up.
total=0
for k in $(seq 0 $((shards - 1))); do
    log="$work/logs/run_$k-of-$shards.log"
    check "shard $k wrote its own log" test -s "$log"
    check "shard $k's log names it in its header" grep -qx "Shard $k of $shards" "$log"
    count=$(sed -n "s/^Shard $k of $shards: \([0-9]*\) files\?$/\1/p" "$log" | tail -n1)
    check "shard $k's log ends with its count" test -n "$count"
    check "shard $k did some of the work" test "${count:-0}" -gt 0
    total=$((total + ${count:-0}))
done
check "the shards' counts add up to $decks" test "$total" -eq "$decks"
misplaced=0
while IFS= read -r deck; do
    in_logs=$(cat "$work"/logs/run_*.log | grep -cxF -e "$(for k in $(seq 0 $((shards - 1))); do echo "Shard $k of $shards file: $deck"; done)")
    [ "$in_logs" -eq 1 ] || { echo "     $deck is in $in_logs shard logs"; misplaced=$((misplaced + 1)); }
done < <(find "$work/in" -name '*.fodp' | sort)
check "every deck is in exactly one shard's log" test "$misplaced" -eq 0

# Nothing of the cluster or of the conversion outlives the test.
slurm_cluster_stop
left=0
for pid in "${SLURM_CLUSTER_ENDED[@]}"; do kill -0 "$pid" 2>/dev/null && left=$((left + 1)); done
check "munged, slurmctld and slurmd have ended" test "$left" -eq 0
sleep 0.5
stray=$(pgrep -f -- "$work" | grep -vx "$$" || true)
check "no office or task is left running" test -z "$stray"
[ -z "$stray" ] || ps -o pid,args -p $stray

if [ "$failures" -ne 0 ]; then
    echo "--- slurmctld/slurmd logs (last lines)"
    tail -n 15 "$work/cluster/log/slurmctld.log" "$work/cluster/log/slurmd.log" 2>/dev/null
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
