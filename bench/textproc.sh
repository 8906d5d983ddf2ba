#!/usr/bin/env bash
# Native search-and-replace against `sed 's/quick/slow/g'` and remove-empty-lines against
# `grep -v '^[[:space:]]*$'` on a generated text file (100 MB by default), checking that the
# outputs are byte-for-byte the same, and printing times, ratios and peak memory. Peak memory
# is also measured on a file a tenth of the size, to show that it does not grow with the file.
# Usage: bench/textproc.sh [BUILD_DIR] [MEGABYTES] [REPETITIONS]
set -euo pipefail

build=${1:-"$(cd "$(dirname "$0")/.." && pwd)/build"}
megabytes=${2:-100}
reps=${3:-3}
bench="$build/bench/slidemill_bench_textproc"
if [[ ! -x $bench ]]; then
    echo "build the target slidemill_bench_textproc in $build first" >&2
    exit 2
fi
export LC_ALL=C # the fastest setting for sed and grep

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-textproc-XXXXXX")
trap 'rm -rf "$work"' EXIT

# Lines of words, every fifth one empty or blank, some with CR LF ends.
generate() { # megabytes file
    awk -v bytes=$(($1 * 1024 * 1024)) 'BEGIN {
        srand(42)
        split("the quick brown fox jumps over a lazy dog while quickly typing text", w, " ")
        blanks[0] = ""; blanks[1] = "  "; blanks[2] = "\t \r"; blanks[3] = " \t"
        total = 0; n = 0
        while (total < bytes) {
            n++
            if (n % 5 == 0) { line = blanks[int(rand() * 4)] }
            else {
                line = ""; k = 3 + int(rand() * 12)
                for (i = 0; i < k; i++) line = line w[1 + int(rand() * 13)] " "
                if (n % 7 == 0) line = line "\r"
            }
            print line; total += length(line) + 1
        }
    }' > "$2"
}

# Best wall time of REPETITIONS runs of a command; the command's output goes to $work/out.
best_time() {
    local best=""
    for _ in $(seq "$reps"); do
        local start stop ms
        start=$(date +%s%N)
        "$@" > "$work/out"
        stop=$(date +%s%N)
        ms=$(((stop - start) / 1000000))
        if [[ -z $best || $ms -lt $best ]]; then best=$ms; fi
    done
    echo "$best"
}

peak_kb() { # command...: peak resident memory in kB
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1
    else
        echo "?"
    fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

echo "generating ${megabytes} MB of text in $work ..."
generate "$megabytes" "$work/big.txt"
generate $((megabytes / 10 > 0 ? megabytes / 10 : 1)) "$work/small.txt"
cat "$work/big.txt" > /dev/null

# Search and replace: "quick" cannot overlap itself, so sed's left-to-right result is ours too.
sed_ms=$(best_time sed 's/quick/slow/g' "$work/big.txt")
cp "$work/out" "$work/sed.out"
ours_ms=$(best_time "$bench" replace "$work/big.txt" "$work/ours.out" quick slow)
cmp -s "$work/sed.out" "$work/ours.out" && same_replace=yes || same_replace=NO
peak_big=$(peak_kb "$bench" replace "$work/big.txt" "$work/ours.out" quick slow)
peak_small=$(peak_kb "$bench" replace "$work/small.txt" "$work/ours.out" quick slow)
peak_sed=$(peak_kb sed 's/quick/slow/g' "$work/big.txt")
printf 'search and replace  sed %6d ms  slidemill %6d ms  ratio %s  same output: %s\n' \
    "$sed_ms" "$ours_ms" "$(ratio "$ours_ms" "$sed_ms")" "$same_replace"
printf '                    peak memory: slidemill %s kB (%s MB file), %s kB (%s MB file); sed %s kB\n' \
    "$peak_big" "$megabytes" "$peak_small" $((megabytes / 10 > 0 ? megabytes / 10 : 1)) "$peak_sed"

grep_ms=$(best_time grep -v '^[[:space:]]*$' "$work/big.txt")
cp "$work/out" "$work/grep.out"
ours_ms=$(best_time "$bench" lines "$work/big.txt" "$work/ours.out")
cmp -s "$work/grep.out" "$work/ours.out" && same_lines=yes || same_lines=NO
peak_big=$(peak_kb "$bench" lines "$work/big.txt" "$work/ours.out")
peak_small=$(peak_kb "$bench" lines "$work/small.txt" "$work/ours.out")
peak_grep=$(peak_kb grep -v '^[[:space:]]*$' "$work/big.txt")
printf 'remove empty lines  grep %5d ms  slidemill %6d ms  ratio %s  same output: %s\n' \
    "$grep_ms" "$ours_ms" "$(ratio "$ours_ms" "$grep_ms")" "$same_lines"
printf '                    peak memory: slidemill %s kB (%s MB file), %s kB (%s MB file); grep %s kB\n' \
    "$peak_big" "$megabytes" "$peak_small" $((megabytes / 10 > 0 ? megabytes / 10 : 1)) "$peak_grep"
echo "goal: ratio <= 1.5 for each (times include writing the target and flushing it to disk)"
[[ $same_replace == yes && $same_lines == yes ]]
