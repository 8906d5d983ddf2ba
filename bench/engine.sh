#!/usr/bin/env bash
# PPTX -> PDF throughput: Slidemill's conversion step on its engine (offices kept warm, driven over
# UNO; the pool of offices and, for comparison, a single office) against plain soffice, one
# process per file and one process for all files.
# Usage: bench/engine.sh [BUILD_DIR] [DECKS] [REPETITIONS] [OFFICES]
#   BUILD_DIR    a build with the targets slidemill_make_decks and slidemill_bench_engine
#                (default: <repo>/build)
#   DECKS        how many generated decks of 1-30 slides (default 20)
#   REPETITIONS  timed runs of each way; the best counts (default 3)
#   OFFICES      offices of the pool (default 0: as many as the engine chooses for this machine)
# Everything happens in a temporary folder, removed afterwards. Each way has its own profile,
# created and warmed before timing, so no run pays for a first start and none shares a profile.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build"}
decks=${2:-20}
reps=${3:-3}
offices=${4:-0}
make_decks="$build/tools/slidemill_make_decks"
bench="$build/bench/slidemill_bench_engine"
# shellcheck source=bench/common.sh
source "$repo/bench/common.sh"
require_programs "$build" "$make_decks" "$bench"
require_tools soffice pdfinfo

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-engine-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "making $decks decks in $work ..."
make_pptx_decks "$make_decks" "$work" "$decks" 1 30 2024
slides=$(awk '{ s += $2 } END { print s }' "$work/fodp/decks.tsv")
mapfile -t files < <(ls "$work"/in/*.pptx)
echo "files: ${#files[@]}, slides: $slides"
check() { check_pdfs "$work/fodp/decks.tsv" "$@"; } # OUTDIR LABEL

# Warm-up: each profile is created and used once on the first deck.
office "$work/profile-b" --convert-to pdf --outdir "$work/warm" "${files[0]}"
office "$work/profile-c" --convert-to pdf --outdir "$work/warm" "${files[0]}"
mkdir -p "$work/warm-decks" && cp "${files[0]}" "${files[1]:-${files[0]}}" "$work/warm-decks/"
warm_decks=("$work"/warm-decks/*.pptx)
"$bench" "$work/profile-a" "$work/warm" "$offices" "${warm_decks[@]}" >/dev/null
"$bench" "$work/profile-a1" "$work/warm" 1 "${warm_decks[@]}" >/dev/null

best_a=""; best_a_warm=""; best_a1=""; best_b=""; best_c=""; pool=""
keep_best() { # VARIABLE VALUE
    if [[ -z ${!1} || $2 -lt ${!1} ]]; then printf -v "$1" '%s' "$2"; fi
}
for rep in $(seq "$reps"); do
    # (a) the engine: one process, the conversion step over one wildcard task, the office pool
    rm -rf "$work/out-a" && mkdir "$work/out-a"
    start=$(now_ms)
    line=$("$bench" "$work/profile-a" "$work/out-a" "$offices" "${files[@]}")
    stop=$(now_ms)
    warm=$(sed -n 's/.*convert_ms=\([0-9]*\).*/\1/p' <<<"$line")
    pool=$(sed -n 's/.*offices=\([0-9]*\).*/\1/p' <<<"$line")
    keep_best best_a $((stop - start))
    keep_best best_a_warm "$warm"
    check "$work/out-a" engine

    # (a1) the same with a single office
    rm -rf "$work/out-a1" && mkdir "$work/out-a1"
    start=$(now_ms)
    "$bench" "$work/profile-a1" "$work/out-a1" 1 "${files[@]}" >/dev/null
    stop=$(now_ms)
    keep_best best_a1 $((stop - start))
    check "$work/out-a1" "engine, one office"

    # (b) one soffice process per file
    rm -rf "$work/out-b" && mkdir "$work/out-b"
    start=$(now_ms)
    for f in "${files[@]}"; do
        office "$work/profile-b" --convert-to pdf --outdir "$work/out-b" "$f"
    done
    stop=$(now_ms)
    keep_best best_b $((stop - start))
    check "$work/out-b" "soffice per file"

    # (c) one soffice process for all files
    rm -rf "$work/out-c" && mkdir "$work/out-c"
    start=$(now_ms)
    office "$work/profile-c" --convert-to pdf --outdir "$work/out-c" "${files[@]}"
    stop=$(now_ms)
    keep_best best_c $((stop - start))
    check "$work/out-c" "soffice for all"
    echo "run $rep: engine ${best_a} ms with $pool offices (${best_a_warm} ms after the first start), one office ${best_a1} ms, per file ${best_b} ms, all at once ${best_c} ms (best so far)"
done

awk -v n="${#files[@]}" -v a="$best_a" -v aw="$best_a_warm" -v a1="$best_a1" -v b="$best_b" -v c="$best_c" \
    -v reps="$reps" -v pool="$pool" -v cores="$(nproc)" 'BEGIN {
    fa = n * 1000 / a; faw = n * 1000 / aw; fa1 = n * 1000 / a1; fb = n * 1000 / b; fc = n * 1000 / c
    printf "best of %d runs, %d files, %d cores\n", reps, n, cores
    printf "(a)  Slidemill, pool of %d offices:       %6.2f files/s  (%d ms, start-up included)\n", pool, fa, a
    printf "     the same after the first start:      %6.2f files/s  (%d ms)\n", faw, aw
    printf "(a1) Slidemill, one office:               %6.2f files/s  (%d ms, start-up included)\n", fa1, a1
    printf "(b)  soffice --convert-to, one per file:  %6.2f files/s  (%d ms)\n", fb, b
    printf "(c)  soffice --convert-to, all at once:   %6.2f files/s  (%d ms)\n", fc, c
    printf "a/c %.2f (goal >= 1.10)   a/b %.2f (goal >= 3.50)\n", fa / fc, fa / fb
    printf "one office: a1/c %.2f   a1/b %.2f\n", fa1 / fc, fa1 / fb
}'
