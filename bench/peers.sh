#!/usr/bin/env bash
# PPTX -> PDF against the usual ways of batch converting on Linux:
#   soffice   one `soffice --convert-to pdf` for all files of a batch
#   unoconv   Debian's unoconv (on the system Python) against a listener started beforehand
#   slidemill one command line, /S "<folder>/*.pptx" /T "<out>/*.pdf" /C 32
#   service   the same line in one `gdbus call` to a warm `slidemill --automation`: the like of
#             unoconv's warm listener, as neither starts an office for the batch
# on 16 and 32 small decks (1-12 slides), 200 mixed decks (1-40 slides) and one deck run cold
# (a fresh process of each way on its warm profile). Every way must write every PDF with all its
# pages, or its time means nothing. Prints each time, the ratios, and the peak resident memory
# of the Slidemill run on 200 decks (the program and its offices together).
#
# soffice runs twice on each batch: with its profile as soffice leaves it, and with the profile
# marked as having seen the office's release, as Slidemill marks its own. Until a profile is
# marked, the office runs a graphics self-test at every start, which only a desktop window
# marks as done; a server that only ever runs soffice headless pays it at every start.
#
# Usage: bench/peers.sh [BUILD_DIR] [REPETITIONS] [DECKS_DIR]
#   BUILD_DIR    a build with slidemill and slidemill_make_decks (default: <repo>/build/default)
#   REPETITIONS  timed runs of each way on each batch; the best counts (default 1)
#   DECKS_DIR    keeps the decks there for the next run (making them takes minutes); default:
#                made in the temporary folder and removed with it
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build/default"}
reps=${2:-1}
decks_dir=${3:-}
bin="$build/slidemill"
make_decks="$build/tools/slidemill_make_decks"
# shellcheck source=bench/common.sh
source "$repo/bench/common.sh"
require_programs "$build" "$bin" "$make_decks"
require_tools soffice pdfinfo /usr/bin/python3 unoconv gdbus dbus-daemon
# unoconv needs the Python that has the office's bridge: the system one, whatever else is first.
export PATH="/usr/bin:$PATH"
/usr/bin/python3 -c 'import uno' 2>/dev/null || { echo "python3-uno is not installed" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-peers-XXXXXX")
listener=""
cleanup() {
    if [[ -n $listener ]]; then kill "$listener" 2>/dev/null && wait "$listener" 2>/dev/null; fi || true
    stop_automation || true
    pkill -f "UserInstallation=file://$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# Everything of ours and of the offices' lives in the work folder.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_DOCUMENTS_DIR="$work/home/Documents"
mkdir -p "$HOME"

now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }

decks=${decks_dir:-$work/decks}
# make_batch NAME COUNT MIN MAX SEED: PPTX decks in $decks/NAME/in, their slide counts in
# NAME/fodp/decks.tsv; a batch made before is kept.
make_batch() {
    local name=$1 made=0
    [[ -d $decks/$name/in ]] && made=$(find "$decks/$name/in" -name '*.pptx' | wc -l)
    if [[ $made -ne $2 || ! -f $decks/$name/fodp/decks.tsv ]]; then
        rm -rf "${decks:?}/$name"
        make_pptx_decks "$make_decks" "$decks/$name" "$2" "$3" "$4" "$5"
    fi
}
# check OUTDIR BATCH LABEL: every deck of the batch is a PDF with all its slides
check() { check_pdfs "$decks/$2/fodp/decks.tsv" "$1" "$3 on $2"; }

# Peak resident memory of a process and its children (Slidemill's offices are its children),
# sampled every 0.2 s, in KiB. Cheap on purpose, but it runs apart from the timed runs anyway.
peak_tree_rss() { # PID
    local peak=0 sum pid children page
    page=$(($(getconf PAGESIZE) / 1024))
    while kill -0 "$1" 2>/dev/null; do
        sum=0
        children=$(cat /proc/"$1"/task/*/children 2>/dev/null || true)
        for pid in $1 $children; do
            read -r _ resident _ </proc/"$pid"/statm 2>/dev/null && sum=$((sum + resident * page))
        done
        if ((sum > peak)); then peak=$sum; fi
        sleep 0.2
    done
    echo "$peak"
}

declare -A best
keep_best() { # KEY SECONDS
    if [[ -z ${best[$1]:-} ]] || awk -v a="$2" -v b="${best[$1]}" 'BEGIN { exit !(a < b) }'; then
        best[$1]=$2
    fi
}

echo "making the decks in $decks ..."
make_batch small16 16 1 12 1601
make_batch small32 32 1 12 3201
make_batch mixed200 200 1 40 20001
make_batch cold 1 8 8 101
for batch in small16 small32 mixed200 cold; do
    echo "$batch: $(wc -l <"$decks/$batch/fodp/decks.tsv") decks, $(awk '{ s += $2 } END { print s }' "$decks/$batch/fodp/decks.tsv") slides"
done

# Warm profiles: each way has converted once before any timed run.
warm=$decks/small16/in/deck001.pptx
office "$work/profile-soffice" --convert-to pdf --outdir "$work/warm" "$warm"
office "$work/profile-marked" --convert-to pdf --outdir "$work/warm" "$warm"
mark_profile "$work/profile-marked"
# Over a list, so that every office of the pool has made its profile.
"$bin" /S "$decks/small16/in/*.pptx" /T "$work/warm/slidemill/*.pdf" /C 32 >/dev/null
# The listener's office uses the default profile of its HOME; made first, as an office started
# on a fresh profile quits once after making it, which would end the listener.
HOME="$work/unoconv-home" soffice --headless --convert-to pdf --outdir "$work/warm-made" "$warm" >/dev/null 2>&1
port=$((20000 + RANDOM % 20000))
HOME="$work/unoconv-home" unoconv --listener --port="$port" >"$work/listener.log" 2>&1 &
listener=$!
# Given one file, unoconv takes -o for the output's name (a folder gives "<folder>/.pdf").
mkdir -p "$work/warm-unoconv"
for _ in $(seq 120); do
    HOME="$work/unoconv-home" unoconv --no-launch --port="$port" -f pdf -o "$work/warm-unoconv/deck001.pdf" "$warm" \
        >/dev/null 2>&1 && break
    sleep 0.5
done
[[ -f $work/warm-unoconv/deck001.pdf ]] || {
    echo "the unoconv listener did not answer:" >&2
    cat "$work/listener.log" >&2
    exit 1
}

# The service's offices are warm after a list as well.
start_automation "$bin" "$work/service.log"
[[ $(automation_call "/S \"$decks/small16/in/*.pptx\" /T \"$work/warm/service/*.pdf\" /C 32") == "(0,)" ]] ||
    { echo "the automation service did not convert the warm-up list:" >&2; cat "$work/service.log" >&2; exit 1; }

for rep in $(seq "$reps"); do
    for batch in small16 small32 mixed200 cold; do
        in=$decks/$batch/in
        mapfile -t files < <(find "$in" -name '*.pptx' | sort)

        out=$work/out/$batch-soffice && rm -rf "$out"
        start=$(now)
        office "$work/profile-soffice" --convert-to pdf --outdir "$out" "${files[@]}"
        keep_best "$batch soffice" "$(seconds_since "$start")"
        check "$out" "$batch" soffice

        out=$work/out/$batch-marked && rm -rf "$out"
        start=$(now)
        office "$work/profile-marked" --convert-to pdf --outdir "$out" "${files[@]}"
        keep_best "$batch marked" "$(seconds_since "$start")"
        check "$out" "$batch" "soffice, marked profile"

        if [[ $batch != cold ]]; then
            out=$work/out/$batch-unoconv && rm -rf "$out" && mkdir -p "$out"
            start=$(now)
            HOME="$work/unoconv-home" unoconv --no-launch --port="$port" -f pdf -o "$out/" "${files[@]}" >/dev/null 2>&1
            keep_best "$batch unoconv" "$(seconds_since "$start")"
            check "$out" "$batch" unoconv
        fi

        if [[ $batch != cold ]]; then
            out=$work/out/$batch-service && rm -rf "$out"
            start=$(now)
            answer=$(automation_call "/S \"$in/*.pptx\" /T \"$out/*.pdf\" /C 32")
            keep_best "$batch service" "$(seconds_since "$start")"
            [[ $answer == "(0,)" ]] ||
                { echo "the service answered $answer on $batch:" >&2; cat "$work/service.log" >&2; exit 1; }
            check "$out" "$batch" "slidemill service"
        fi

        out=$work/out/$batch-slidemill && rm -rf "$out"
        start=$(now)
        "$bin" /S "$in/*.pptx" /T "$out/*.pdf" /C 32 /L "$work/$batch-slidemill.log" >/dev/null ||
            { echo "slidemill failed on $batch:" >&2; cat "$work/$batch-slidemill.log" >&2; exit 1; }
        keep_best "$batch slidemill" "$(seconds_since "$start")"
        check "$out" "$batch" slidemill
    done
    echo "run $rep of $reps done"
done

# Memory on its own run, so that sampling it slows no timed run.
rm -rf "$work/out/memory"
"$bin" /S "$decks/mixed200/in/*.pptx" /T "$work/out/memory/*.pdf" /C 32 >/dev/null &
run=$!
best[peak]=$(peak_tree_rss "$run")
wait "$run" || { echo "slidemill failed on the memory run" >&2; exit 1; }
check "$work/out/memory" mixed200 "slidemill, memory run"

echo
echo "PPTX -> PDF, $(nproc) cores, $(soffice --version | head -n1 | cut -d' ' -f1-2), best of $reps"
printf '%-9s %8s %8s %8s %9s %8s  %s\n' batch soffice marked unoconv slidemill service \
    "slidemill / soffice, / marked, / unoconv; service / unoconv"
for batch in small16 small32 mixed200 cold; do
    s=${best[$batch soffice]} m=${best[$batch marked]} u=${best[$batch unoconv]:-} t=${best[$batch slidemill]}
    w=${best[$batch service]:-}
    awk -v b="$batch" -v s="$s" -v m="$m" -v u="$u" -v t="$t" -v w="$w" 'BEGIN {
        ratios = sprintf("%.2fx, %.2fx", s / t, m / t)
        ratios = ratios (u == "" ? ", -" : sprintf(", %.2fx; %.2fx", u / t, u / w))
        printf "%-9s %7.2fs %7.2fs %8s %8.2fs %8s  %s\n", b, s, m, (u == "" ? "-" : sprintf("%.2fs", u)), t,
            (w == "" ? "-" : sprintf("%.2fs", w)), ratios }'
done
echo "peak resident memory of the Slidemill run on 200 decks (program and offices): $((best[peak] / 1024)) MiB"
