#!/usr/bin/env bash
# Many single files, one at a time: 20 one-slide decks converted to PDF by one-shot `gdbus call`s
# to a warm automation service, against one `slidemill` command line per file and one
# `soffice --convert-to` per file. Prints the per-file latency of each way.
# Usage: bench/automation.sh [BUILD_DIR] [DECKS]
#   BUILD_DIR  a build with slidemill and slidemill_make_decks (default: <repo>/build/default)
#   DECKS      how many one-slide decks (default 20)
# Everything happens in a temporary folder with its own home (settings, office profiles) and
# its own session bus, all removed afterwards. Every way is warmed once before it is timed, so
# no way pays for a first profile.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build/default"}
decks=${2:-20}
slidemill="$build/slidemill"
make_decks="$build/tools/slidemill_make_decks"
# shellcheck source=bench/common.sh
source "$repo/bench/common.sh"
require_programs "$build" "$slidemill" "$make_decks"
require_tools soffice pdfinfo gdbus dbus-daemon

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-automation-bench-XXXXXX")
cleanup() {
    stop_automation || true
    rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_DOCUMENTS_DIR="$work/home/Documents"
mkdir -p "$HOME"

check() { check_pdfs "$work/fodp/decks.tsv" "$@"; } # OUTDIR LABEL
per_file() { # TOTAL_MS: milliseconds per file as seconds with three decimals
    awk -v t="$1" -v n="${#files[@]}" 'BEGIN { printf "%.3f", t / n / 1000 }'
}

echo "making $decks one-slide decks in $work ..."
make_pptx_decks "$make_decks" "$work" "$decks" 1 1 2026
mapfile -t files < <(ls "$work"/in/*.pptx)
cp "${files[0]}" "$work/warm.pptx"

# (a) one-shot gdbus calls to a warm service on a bus of our own
start_automation "$slidemill" "$work/service.log"
[[ $(automation_call "/S \"$work/warm.pptx\" /T \"$work/warm/warm.pdf\" /C 32") == "(0,)" ]] ||
    { echo "the service did not convert the warm-up deck" >&2; cat "$work/service.log" >&2; exit 1; }
mkdir -p "$work/out-a"
start=$(now_ms)
for file in "${files[@]}"; do
    answer=$(automation_call "/S \"$file\" /T \"$work/out-a/$(basename "$file" .pptx).pdf\" /C 32")
    [[ $answer == "(0,)" ]] || { echo "gdbus call answered $answer for $file" >&2; exit 1; }
done
time_a=$(( $(now_ms) - start ))
check "$work/out-a" "warm service"
stop_automation || { echo "the service did not end cleanly on SIGTERM" >&2; exit 1; }

# (b) one command line per file
"$slidemill" /S "$work/warm.pptx" /T "$work/warm/cli.pdf" /C 32 >/dev/null 2>&1
mkdir -p "$work/out-b"
start=$(now_ms)
for file in "${files[@]}"; do
    "$slidemill" /S "$file" /T "$work/out-b/$(basename "$file" .pptx).pdf" /C 32 >/dev/null 2>&1 ||
        { echo "slidemill failed on $file" >&2; exit 1; }
done
time_b=$(( $(now_ms) - start ))
check "$work/out-b" "command line"

# (c) one soffice --convert-to per file, its profile warmed first
office "$work/profile-c" --convert-to pdf --outdir "$work/warm" "$work/warm.pptx"
mkdir -p "$work/out-c"
start=$(now_ms)
for file in "${files[@]}"; do
    office "$work/profile-c" --convert-to pdf --outdir "$work/out-c" "$file"
done
time_c=$(( $(now_ms) - start ))
check "$work/out-c" "soffice"

echo
printf '%-44s %9s %12s\n' "way (${#files[@]} one-slide PPTX -> PDF, one at a time)" "total s" "s per file"
printf '%-44s %9.2f %12s\n' "gdbus call to a warm slidemill --automation" "$(awk -v t=$time_a 'BEGIN{print t/1000}')" "$(per_file $time_a)"
printf '%-44s %9.2f %12s\n' "slidemill command line" "$(awk -v t=$time_b 'BEGIN{print t/1000}')" "$(per_file $time_b)"
printf '%-44s %9.2f %12s\n' "soffice --convert-to" "$(awk -v t=$time_c 'BEGIN{print t/1000}')" "$(per_file $time_c)"
