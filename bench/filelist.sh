#!/usr/bin/env bash
# Compares listing a 100,000-file tree (10 % *.pptx, three folder levels) with `find`.
# Usage: bench/filelist.sh [BUILD_DIR] [REPETITIONS]
# The tree is made in a temporary folder and removed afterwards.
set -euo pipefail

build=${1:-"$(cd "$(dirname "$0")/.." && pwd)/build"}
reps=${2:-5}
bench="$build/bench/slidemill_bench_filelist"
if [[ ! -x $bench ]]; then
    echo "build the target slidemill_bench_filelist in $build first" >&2
    exit 2
fi

tree=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-filelist-XXXXXX")
trap 'rm -rf "$tree"' EXIT

# 10 x 10 x 10 folders; every level holds files: 100,000 in all, 10,000 of them *.pptx.
echo "making the tree in $tree ..."
made=0
for a in $(seq -w 0 9); do
    for b in $(seq -w 0 9); do
        for c in $(seq -w 0 9); do
            d="$tree/a$a/b$b/c$c"
            mkdir -p "$d"
            (cd "$d" && touch deck{0..8}.pptx notes{0..39}.txt slides{0..19}.ppt doc{0..20}.pdf)
            made=$((made + 90))
        done
        (cd "$tree/a$a/b$b" && touch top{0..9}.pptx other{0..88}.txt)
        made=$((made + 99))
    done
    (cd "$tree/a$a" && touch x{0..9}.txt)
    made=$((made + 10))
done
echo "files: $made"

# Warm the cache for both.
find "$tree" -name '*.pptx' >/dev/null
"$bench" "$tree" '*.pptx' 1 >/dev/null

best_find=""
for _ in $(seq "$reps"); do
    start=$(date +%s%N)
    find "$tree" -name '*.pptx' >/dev/null
    stop=$(date +%s%N)
    ms=$(( (stop - start) / 1000 ))
    if [[ -z $best_find || $ms -lt $best_find ]]; then best_find=$ms; fi
done
find_count=$(find "$tree" -name '*.pptx' | wc -l)

read -r list_ms list_count < <("$bench" "$tree" '*.pptx' "$reps")

find_ms=$(awk -v us="$best_find" 'BEGIN { printf "%.2f", us / 1000 }')
echo "find:          ${find_ms} ms, ${find_count} files (best of $reps)"
echo "BuildFileList: ${list_ms} ms, ${list_count} files (best of $reps)"
awk -v a="$list_ms" -v b="$find_ms" 'BEGIN { printf "ratio BuildFileList / find: %.2f\n", a / b }'
if [[ $find_count != "$list_count" ]]; then
    echo "the two listings differ in size" >&2
    exit 1
fi
