#!/usr/bin/env bash
# End-to-end runs of the built program with the real engine, the way a script would call it.
# Usage: command_line.sh SLIDEMILL_BINARY DEMO_DATA_FOLDER CORPUS_FOLDER
set -uo pipefail
bin=$1 data=$2 corpus=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-e2e-XXXXXX")
trap 'rm -rf "$work"' EXIT
# Never touch the real user's settings, documents or office profile.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_DOCUMENTS_DIR="$work/home/Documents"
mkdir -p "$HOME"

failures=0
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ {print $2}'; }
run() { # expected exit code, arguments...
    local expected=$1; shift
    "$bin" "$@" >"$work/stdout" 2>"$work/stderr"
    local code=$?
    [ "$code" -eq "$expected" ] || { echo "     exit code $code, expected $expected: $*"; cat "$work/stderr"; return 1; }
}

# One file.
check "single file converts, exit 0" run 0 /S "$data/Sales Review.pptx" /T "$work/one/sales.pdf" /C 32 /L "$work/one.log"
check "single file has every slide" test "$(pages "$work/one/sales.pdf")" = 3
check "log says the conversion succeeded" grep -q "Conversion Successful" "$work/one.log"

# A folder with its subfolders, mirrored under the target.
check "wildcard with /R, exit 0" run 0 /S "$data/*.*" /R /T "$work/tree/*.pdf" /C 32 /L "$work/tree.log"
check "every presentation converted" test "$(find "$work/tree" -name '*.pdf' | wc -l)" = 4
check "the subfolder is mirrored" test -s "$work/tree/Archive/Team Update.pdf"

# A name pattern: only the matching decks of the folder.
check "a name pattern converts, exit 0" run 0 /S "$data/sales*.PPTX" /T "$work/named/*.pdf" /C 32
check "only the matching deck was converted" test "$(ls "$work/named")" = "Sales Review.pdf"

# Beside the sources.
mkdir -p "$work/beside" && cp "$data"/*.pptx "$work/beside/"
check "/G writes beside the sources" run 0 /S "$work/beside/*.pptx" /G /C 32 /L "$work/beside.log"
check "targets stand beside their sources" test -s "$work/beside/Sales Review.pdf" -a -s "$work/beside/Product Launch.pdf"

# A job file with one file that cannot convert: the log names it, the exit code says so,
# and /B saves just the failure as a job that can be run again.
if [ -d "$corpus" ]; then
    bad="$corpus/bad/poi_Password_Protected-hello.ppt"
    printf 'A,0,0\t1\tC\t%s\t3\t\t%s\t32\tpdf\t\t\r\nA,0,0\t2\tC\t%s\t3\t\t%s\t32\tpdf\t\t\r\n\t*\t\t\t\t\t\t\t\t\t\r\n' \
        "$data/Sales Review.pptx" "$work/job/sales.pdf" "$bad" "$work/job/bad.pdf" >"$work/job.MJB"
    check "/J job with a failing file exits 1" run 1 /J "$work/job.MJB" /L "$work/job.log" /B "$work/failed.MJB"
    check "the good file of the job converted" test -s "$work/job/sales.pdf"
    check "the failing file is logged as a Job # line" grep -q "Job # .*poi_Password_Protected-hello.ppt" "$work/job.log"
    check "no output for the failing file" test ! -e "$work/job/bad.pdf"
    check "/B saved the failure as a job" grep -q "poi_Password_Protected-hello.ppt" "$work/failed.MJB"
    check "the saved job runs again and fails again" run 1 /J "$work/failed.MJB" /L "$work/rerun.log"
    check "the rerun only retried the failed file" test "$(grep -c 'Job # ' "$work/rerun.log")" = 1
else
    echo "skip job-file cases: no corpus at $corpus"
fi

# Two decks of one name in one folder, with delete-after-processing on: the first listed
# converts and goes, the other fails on its own and is kept; nothing is overwritten.
check "the corpus is there" test -d "$corpus/good"
settings="$XDG_CONFIG_HOME/Lumenware, Inc/Slidemill/SLML_SearchHistory.INI"
mkdir -p "$(dirname "$settings")" && touch "$settings" && cp "$settings" "$work/settings.saved"
printf '[frmMain]\r\nbDeleteOriginalFileAfterProcessing=TRUE\r\n' >>"$settings"
mkdir -p "$work/pair" "$work/sibling"
for folder in pair sibling; do
    cp "$corpus/good/poi_SampleShow.ppt" "$work/$folder/deck.ppt"      # 2 slides
    cp "$corpus/good/pptx_tbl-cell.pptx" "$work/$folder/deck.pptx"     # 3 slides
done
check "two sources of one target exit 1" run 1 /S "$work/pair/*.*" /T "$work/pairout/*.pdf" /C 32 /L "$work/pair.log"
kept=$(ls "$work/pair")
check "exactly one source of the pair is kept" test "$(ls "$work/pair" | wc -l)" = 1
check "the log names the kept deck and why" grep -q "Job # 1  Error 23: .* - $work/pair/$kept\$" "$work/pair.log"
check "the target holds the converted deck" test "$(pages "$work/pairout/deck.pdf")" = "$([ "$kept" = deck.ppt ] && echo 3 || echo 2)"
check "beside the sources onto a sibling exits 1" run 1 /S "$work/sibling/*.*" /G /T "*.pptx" /C 24 /L "$work/sibling.log"
check "the sibling deck is not overwritten" cmp -s "$work/sibling/deck.pptx" "$corpus/good/pptx_tbl-cell.pptx"
check "the deck that would have overwritten it is kept" cmp -s "$work/sibling/deck.ppt" "$corpus/good/poi_SampleShow.ppt"
check "the log names both decks" grep -q "Error 24: .*(.*deck.ppt -> .*deck.pptx)" "$work/sibling.log"
cp "$work/settings.saved" "$settings"

# A line that does not parse: exit code 2 and the reason in the log.
check "an unknown switch exits 2" run 2 /S "$data/Sales Review.pptx" /X /L "$work/bad.log"
check "the log gives the reason" grep -q "Missing required or invalid command line argument(s)" "$work/bad.log"

# Eight processes appending to one log at once: no line lost or torn.
for i in 1 2 3 4 5 6 7 8; do
    "$bin" /S "$work/missing-$i.pptx" /T "$work/x/*.pdf" /C 32 /L "$work/shared.log" >/dev/null 2>&1 &
done
wait
headers=$(grep -c '^---------- ' "$work/shared.log")
refusals=$(grep -c 'Missing required or invalid command line argument(s)' "$work/shared.log")
check "eight runs logged eight headers" test "$headers" = 8
check "eight runs logged eight refusals" test "$refusals" = 8
check "every missing file is named once" test "$(grep -o 'missing-[1-8]\.pptx' "$work/shared.log" | sort -u | wc -l)" = 8

# No office outlives the runs.
sleep 0.5
check "no office process is left behind" test -z "$(pgrep -f "UserInstallation=file://$XDG_CACHE_HOME" || true)"

if [ "$failures" -eq 0 ]; then echo "all end-to-end checks passed"; exit 0; fi
echo "$failures end-to-end checks failed"; exit 1
