#!/usr/bin/env bash
# Soak: a file list converted while its offices are killed. Every INTERVAL seconds one
# soffice.bin of the run, chosen at random, gets SIGKILL. A killed office costs a file only when
# the office retrying that file is killed too; every other file must come out whole.
# Usage: bench/office-kill-soak.sh [BUILD_DIR] [FILES] [INTERVAL] [OFFICES]
#   BUILD_DIR  a build with slidemill_make_decks and slidemill_bench_engine
#              (default: <repo>/build/default)
#   FILES      generated decks of 1-6 slides (default 200)
#   INTERVAL   seconds between kills (default 2)
#   OFFICES    offices of the pool (default 0: as many as the engine chooses)
# Prints: files, kills, files failed (and how many of those failed because an office died
# under them), files with missing pages, elapsed. Exit code 1 when a file failed for another
# reason than a dead office, or a PDF written lacks pages.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build/default"}
count=${2:-200}
interval=${3:-2}
offices=${4:-0}
make_decks="$build/tools/slidemill_make_decks"
bench="$build/bench/slidemill_bench_engine"
# shellcheck source=bench/common.sh
source "$repo/bench/common.sh"
require_programs "$build" "$make_decks" "$bench"
require_tools soffice pdfinfo pgrep

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-kill-soak-XXXXXX")
bench_pid=""
cleanup() {
    if [[ -n $bench_pid ]] && kill -0 "$bench_pid" 2>/dev/null; then
        kill "$bench_pid" 2>/dev/null || true
        wait "$bench_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

echo "making $count decks (and 10 spare) in $work ..."
# A few spare decks: now and then the office cannot make one of them into PPTX.
"$make_decks" "$work/fodp" $((count + 10)) 1 6 4242 >/dev/null
office "$work/profile-prep" --convert-to pptx --outdir "$work/in" "$work"/fodp/*.fodp
mapfile -t files < <(ls "$work"/in/*.pptx | head -n "$count")
if [[ ${#files[@]} -ne $count ]]; then
    echo "only ${#files[@]} of $count decks became PPTX" >&2
    exit 1
fi
mkdir -p "$work/spare"
for file in "$work"/in/*.pptx; do
    if [[ ! " ${files[*]} " =~ " $file " ]]; then
        mv "$file" "$work/spare/"
    fi
done

mkdir -p "$work/out"
start=$(date +%s%N)
"$bench" "$work/profiles" "$work/out" "$offices" "${files[@]}" >"$work/result.txt" 2>"$work/failures.txt" &
bench_pid=$!

kills=0
while kill -0 "$bench_pid" 2>/dev/null; do
    sleep "$interval"
    mapfile -t running < <(pgrep -P "$bench_pid" -x soffice.bin || true)
    if [[ ${#running[@]} -gt 0 ]]; then
        victim=${running[RANDOM % ${#running[@]}]}
        if kill -KILL "$victim" 2>/dev/null; then
            kills=$((kills + 1))
        fi
    fi
done
set +e
wait "$bench_pid"
bench_status=$?
set -e
bench_pid=""
elapsed_ms=$((($(date +%s%N) - start) / 1000000))

failed=$(grep -c . "$work/failures.txt" || true)
crashed=$(grep -c "stopped working" "$work/failures.txt" || true)
short=0
while read -r name slides; do
    pdf="$work/out/${name%.fodp}.pdf"
    [[ -e $pdf ]] || continue
    pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
    if [[ $pages != "$slides" ]]; then
        echo "${pdf##*/}: '$pages' pages, expected $slides" >&2
        short=$((short + 1))
    fi
done <"$work/fodp/decks.tsv"
written=$(find "$work/out" -maxdepth 1 -name '*.pdf' | wc -l)
leftovers=$(find "$work/out" -mindepth 1 ! -name '*.pdf' | wc -l)

echo "engine: $(cat "$work/result.txt")"
if [[ -s $work/failures.txt ]]; then
    echo "failures:"
    sed 's/^/  /' "$work/failures.txt"
fi
echo "files: $count"
echo "kills: $kills (every ${interval} s)"
echo "files failed: $failed ($crashed because a second office died under them)"
echo "files written: $written, with missing pages: $short, other entries left in the output: $leftovers"
echo "elapsed: $((elapsed_ms / 1000)).$(printf '%03d' $((elapsed_ms % 1000))) s (bench exit status $bench_status)"
if [[ $((failed - crashed)) -ne 0 || $short -ne 0 || $leftovers -ne 0 || $((written + failed)) -ne $count ]]; then
    exit 1
fi
