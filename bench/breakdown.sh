#!/usr/bin/env bash
# Where one small deck's PPTX -> PDF time goes: the office's load and export, our own work in the
# engine (checks, staging and renaming the output), following the office's progress, the
# conversion step's work per file (naming, claims, status, logging), listing the folder, and
# starting and stopping an office. Beside it, soffice's own figures from one `soffice
# --convert-to` for one file and for all files: its start-up and its cost per further file.
# Usage: bench/breakdown.sh [BUILD_DIR] [DECKS]
#   BUILD_DIR  a build with slidemill_bench_breakdown and slidemill_make_decks
#              (default: <repo>/build/default)
#   DECKS      how many generated decks of 1-12 slides (default 16)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build/default"}
decks=${2:-16}
bench="$build/bench/slidemill_bench_breakdown"
make_decks="$build/tools/slidemill_make_decks"
# shellcheck source=bench/common.sh
source "$repo/bench/common.sh"
require_programs "$build" "$bench" "$make_decks"
require_tools soffice

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-breakdown-XXXXXX")
trap 'rm -rf "$work"' EXIT

make_pptx_decks "$make_decks" "$work" "$decks" 1 12 1601
mapfile -t files < <(find "$work/in" -name '*.pptx' | sort)
echo "decks: $decks, slides: $(awk '{ s += $2 } END { print s }' "$work/fodp/decks.tsv"), cores: $(nproc)"

# Ours first: its first start creates and marks the profile, which the timed starts reuse.
line=$("$bench" "$work/profiles" "$work/out" "${files[@]}")
declare -A v
for pair in $line; do v[${pair%%=*}]=${pair#*=}; done

# soffice: one file and all files, best of three each, on a warm profile left as soffice
# leaves it, and on one marked the way ours is.
office "$work/profile-soffice" --convert-to pdf --outdir "$work/warm" "${files[0]}"
cp -a "$work/profile-soffice" "$work/profile-marked"
mark_profile "$work/profile-marked"
soffice_times() { # PROFILE -> "one all" in ms
    local one="" all="" t start
    for _ in 1 2 3; do
        rm -rf "$work/so" && start=$(now_ms)
        office "$1" --convert-to pdf --outdir "$work/so" "${files[0]}"
        t=$(($(now_ms) - start)) && { [[ -z $one || $t -lt $one ]] && one=$t; }
        rm -rf "$work/so" && start=$(now_ms)
        office "$1" --convert-to pdf --outdir "$work/so" "${files[@]}"
        t=$(($(now_ms) - start)) && { [[ -z $all || $t -lt $all ]] && all=$t; }
    done
    [[ $(find "$work/so" -name '*.pdf' | wc -l) -eq $decks ]] || { echo "soffice missed files" >&2; exit 1; }
    echo "$one $all"
}
read -r plain_one plain_all < <(soffice_times "$work/profile-soffice")
read -r marked_one marked_all < <(soffice_times "$work/profile-marked")

awk -v n="$decks" -v po="$plain_one" -v pa="$plain_all" -v mo="$marked_one" -v ma="$marked_all" \
    -v load="${v[convert_load]}" -v inspect="${v[convert_inspect]}" -v write="${v[convert_write]}" \
    -v closing="${v[convert_close]}" -v ours="${v[convert_ours]}" -v total="${v[convert_total]}" \
    -v ftotal="${v[follow_total]}" -v list="${v[list_per_file]}" -v listing="${v[listing]}" \
    -v start="${v[office_start]}" -v stop="${v[office_stop]}" 'BEGIN {
    printf "\none small deck on a warm office, ms per file (mean of %d)\n", n
    printf "  office: load                              %7.1f\n", load
    printf "  office: is it a presentation, slide count %7.1f\n", inspect
    printf "  office: export to PDF                     %7.1f\n", write
    printf "  office: close                             %7.1f\n", closing
    printf "  ours in the engine: checks, staging, rename %5.1f\n", ours
    printf "  = engine, nobody following progress       %7.1f\n", total
    printf "  following the office'"'"'s progress           %7.1f\n", ftotal - total
    printf "  the step per file: naming, claims, status %7.1f\n", list - ftotal
    printf "  listing the folder                        %7.1f\n", listing / n
    printf "once per office\n"
    printf "  start (warm, marked profile)              %7.1f\n", start
    printf "  stop                                      %7.1f\n", stop
    sp = (pa - po) / (n - 1); mp = (ma - mo) / (n - 1)
    printf "soffice --convert-to, best of 3\n"
    printf "  per further file, profile as left:        %7.1f\n", sp
    printf "  per further file, profile marked:         %7.1f\n", mp
    printf "  one file (start-up, one file, quit), as left: %5d\n", po
    printf "  one file, profile marked:                 %7d\n", mo
}'
