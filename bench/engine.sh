#!/usr/bin/env bash
# PPTX -> PDF throughput: Slidemill's engine (one warm office over UNO) against plain soffice,
# one process per file and one process for all files.
# Usage: bench/engine.sh [BUILD_DIR] [DECKS] [REPETITIONS]
#   BUILD_DIR    a build with the targets slidemill_make_decks and slidemill_bench_engine
#                (default: <repo>/build)
#   DECKS        how many generated decks of 1-30 slides (default 20)
#   REPETITIONS  timed runs of each way; the best counts (default 3)
# Everything happens in a temporary folder, removed afterwards. Each way has its own profile,
# created and warmed before timing, so no run pays for a first start and none shares a profile.
set -euo pipefail

build=${1:-"$(cd "$(dirname "$0")/.." && pwd)/build"}
decks=${2:-20}
reps=${3:-3}
make_decks="$build/tools/slidemill_make_decks"
bench="$build/bench/slidemill_bench_engine"
for program in "$make_decks" "$bench"; do
    if [[ ! -x $program ]]; then
        echo "build $(basename "$program") in $build first" >&2
        exit 2
    fi
done
for tool in soffice pdfinfo; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-engine-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
office() { # PROFILE_DIR ARGS...: the soffice launcher, headless, in its own profile
    local profile=$1
    shift
    soffice --headless --norestore --nologo "-env:UserInstallation=file://$profile" "$@" >/dev/null 2>&1 ||
        { echo "soffice failed: $*" >&2; return 1; }
}

echo "making $decks decks in $work ..."
"$make_decks" "$work/fodp" "$decks" 1 30 2024 >/dev/null
slides=$(awk '{ s += $2 } END { print s }' "$work/fodp/decks.tsv")
office "$work/profile-prep" --convert-to pptx --outdir "$work/pptx" "$work"/fodp/*.fodp
mapfile -t files < <(ls "$work"/pptx/*.pptx)
if [[ ${#files[@]} -ne $decks ]]; then
    echo "only ${#files[@]} of $decks decks became PPTX" >&2
    exit 1
fi
echo "files: ${#files[@]}, slides: $slides"

# Every way must give every deck with all its slides, or its speed means nothing.
check_pdfs() { # OUTDIR LABEL
    local name count pages
    while read -r name count; do
        pages=$(pdfinfo "$1/${name%.fodp}.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
        if [[ $pages != "$count" ]]; then
            echo "$2: ${name%.fodp}.pdf has '${pages}' pages, expected $count" >&2
            exit 1
        fi
    done <"$work/fodp/decks.tsv"
}

# Warm-up: each profile is created and used once on the first deck.
office "$work/profile-b" --convert-to pdf --outdir "$work/warm" "${files[0]}"
office "$work/profile-c" --convert-to pdf --outdir "$work/warm" "${files[0]}"
"$bench" "$work/profile-a" "$work/warm" "${files[0]}" >/dev/null

best_a=""; best_a_warm=""; best_b=""; best_c=""
keep_best() { # VARIABLE VALUE
    if [[ -z ${!1} || $2 -lt ${!1} ]]; then printf -v "$1" '%s' "$2"; fi
}
for rep in $(seq "$reps"); do
    # (a) the engine: one process, one office, through the conversion component
    rm -rf "$work/out-a" && mkdir "$work/out-a"
    start=$(now_ms)
    line=$("$bench" "$work/profile-a" "$work/out-a" "${files[@]}")
    stop=$(now_ms)
    warm=$(sed -n 's/.*convert_ms=\([0-9]*\).*/\1/p' <<<"$line")
    keep_best best_a $((stop - start))
    keep_best best_a_warm "$warm"
    check_pdfs "$work/out-a" engine

    # (b) one soffice process per file
    rm -rf "$work/out-b" && mkdir "$work/out-b"
    start=$(now_ms)
    for f in "${files[@]}"; do
        office "$work/profile-b" --convert-to pdf --outdir "$work/out-b" "$f"
    done
    stop=$(now_ms)
    keep_best best_b $((stop - start))
    check_pdfs "$work/out-b" "soffice per file"

    # (c) one soffice process for all files
    rm -rf "$work/out-c" && mkdir "$work/out-c"
    start=$(now_ms)
    office "$work/profile-c" --convert-to pdf --outdir "$work/out-c" "${files[@]}"
    stop=$(now_ms)
    keep_best best_c $((stop - start))
    check_pdfs "$work/out-c" "soffice for all"
    echo "run $rep: engine ${best_a} ms (${best_a_warm} ms without start-up), per file ${best_b} ms, all at once ${best_c} ms (best so far)"
done

awk -v n="${#files[@]}" -v a="$best_a" -v aw="$best_a_warm" -v b="$best_b" -v c="$best_c" -v reps="$reps" 'BEGIN {
    fa = n * 1000 / a; faw = n * 1000 / aw; fb = n * 1000 / b; fc = n * 1000 / c
    printf "best of %d runs, %d files\n", reps, n
    printf "(a) Slidemill engine, one warm office:   %6.2f files/s  (%d ms, start-up included)\n", fa, a
    printf "    the same without the office start-up: %6.2f files/s  (%d ms)\n", faw, aw
    printf "(b) soffice --convert-to, one per file:  %6.2f files/s  (%d ms)\n", fb, b
    printf "(c) soffice --convert-to, all at once:   %6.2f files/s  (%d ms)\n", fc, c
    printf "a/c %.2f (goal >= 1.10)   a/b %.2f (goal >= 3.50)\n", fa / fc, fa / fb
    printf "without start-up: a/c %.2f   a/b %.2f\n", faw / fc, faw / fb
}'
