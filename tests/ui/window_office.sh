#!/usr/bin/env bash
# The window program on a real display with the real engine: the demo job opened with /O runs
# to the end from F5 and its pass marks are saved; then, opened again, SIGTERM while the office
# converts ends the program with exit code 0 and no office left behind. Run under xvfb-run;
# HOME is a fresh folder, so the demo folders are installed there at the first start.
# Usage: xvfb-run -a window_office.sh SLIDEMILL_BINARY
set -u
bin=$1
[ -x "$bin" ] || { echo "FAIL no program at $bin"; exit 1; }
source "$(dirname "$0")/window_test_home.sh"
need_display
unset QT_QPA_PLATFORM
job="$settings_folder/Demo Conversion Jobs/Convert Demo Data to PDF.MJB"
office_running() { processes_of_this_home | grep -q soffice; }

# The first start installs the demo folders; the job names its decks under them.
"$bin" /? >/dev/null 2>&1
check "the demo job was installed" test -f "$job"

# The whole demo job from the window: F5 converts every deck, then Ctrl+S stores the job with the
# pass mark of each task, which is how a user keeps what ran.
output="$HOME/Documents/Slidemill Demo Output/PDF"
pdf_count() { find "$output" -name '*.pdf' 2>/dev/null | wc -l; }
all_decks_converted() { [ "$(pdf_count)" -ge 4 ]; }
marks_saved() {
    xdotool key --clearmodifiers ctrl+s
    sleep 1
    [ "$(grep -c "$(printf '\t+\t')" "$job")" -eq 3 ]
}
"$bin" /J "$job" /O >"$work/stdout" 2>"$work/full-run.stderr" &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name "Convert Demo Data to PDF" 2>/dev/null | head -1)
if [ -n "$window" ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key --clearmodifiers F5
fi
check "F5 converts every deck of the demo job (found $(wait_for 240 all_decks_converted; pdf_count))" \
    all_decks_converted
check "the saved job has a pass mark on each of its three tasks" wait_for 60 marks_saved
kill -TERM "$pid" 2>/dev/null
wait_for 90 eval '! kill -0 "$pid" 2>/dev/null'
kill -KILL "$pid" 2>/dev/null
wait "$pid"
code=$?
check "SIGTERM after the run ends the program with exit code 0 (got $code)" test "$code" -eq 0
# The next start converts again: the marks go, the outputs stay for the second run to replace.
sed -i "s/$(printf '\t+\t')/$(printf '\t\t')/" "$job"

"$bin" /J "$job" /O >"$work/stdout" 2>"$work/stderr" &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name "Convert Demo Data to PDF" 2>/dev/null | head -1)
check "the window shows the job's name in its title" test -n "$window"
if [ -n "$window" ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key --clearmodifiers F5
fi
check "F5 starts the run on an office" wait_for 90 office_running
kill -TERM "$pid" 2>/dev/null
wait_for 90 eval '! kill -0 "$pid" 2>/dev/null'
if kill -0 "$pid" 2>/dev/null; then
    echo "     still running 90 s after SIGTERM"
    kill -KILL "$pid"
fi
wait "$pid"
code=$?
check "SIGTERM during the run ends the program with exit code 0 (got $code)" test "$code" -eq 0
wait_for 10 eval '[ -z "$(processes_of_this_home)" ]'
left=$(processes_of_this_home | tr '\n' ' ')
check "no office or other process of this run is left (found: ${left:-none})" test -z "$left"
check "the frame placement was saved" grep -q '^\[frmMainMDI\]' "$settings_folder/SLML_SearchHistory.INI"
grep "^$(basename "$bin"):" "$work/stderr"
# A failure shows what the program said (a sanitizer's report among it).
[ "$failures" -eq 0 ] || tail -n 60 "$work/full-run.stderr" "$work/stderr"

if [ "$failures" -eq 0 ]; then echo "all window office checks passed"; exit 0; fi
echo "$failures window office checks failed"; exit 1
