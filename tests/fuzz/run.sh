#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for a while (default 20 s), starting from
# the seeds in corpus/<name> (or corpus/<first word of the name>). Exits non-zero on a finding.
# Usage: tests/fuzz/run.sh [SECONDS] [BUILD_DIR]
set -euo pipefail

seconds=${1:-20}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${2:-"$root/build-fuzz"}

if ! command -v clang++ >/dev/null; then
    echo "clang++ is not installed (packages clang, libclang-rt-14-dev)" >&2
    exit 2
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DSLIDEMILL_FUZZ=ON -DSLIDEMILL_GUI=OFF -DSLIDEMILL_ENGINE=OFF \
    -DSLIDEMILL_TESTS=OFF >/dev/null
targets=()
for source in "$here"/*Fuzz.cpp; do
    stem=$(basename "$source" Fuzz.cpp | sed -E 's/([a-z0-9])([A-Z])/\1_\2/g' | tr 'A-Z' 'a-z')
    targets+=("fuzz_$stem")
done
cmake --build "$build" -j2 --target "${targets[@]}"

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    seeds="$here/corpus/$name"
    [[ -d $seeds ]] || seeds="$here/corpus/${name%%_*}"
    mkdir -p "$work/$name"
    [[ -d $seeds ]] && cp -r "$seeds"/. "$work/$name"/
    echo "== $target for ${seconds}s"
    if ! (cd "$work" && "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=4096 \
        "$work/$name" >"$work/$name.log" 2>&1); then
        tail -40 "$work/$name.log"
        cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$build/" 2>/dev/null || true
        echo "$target found a fault (input saved in $build)" >&2
        status=1
    else
        grep -E '^(#[0-9]+ +DONE|Done)' "$work/$name.log" | tail -1
    fi
done
exit $status
