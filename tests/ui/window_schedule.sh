#!/usr/bin/env bash
# The window program on a real display with the real engine and a stored schedule: a time-based
# schedule saved with "restart on program load" starts again when the program starts, counts
# down in the window title, runs the demo job on time (its PDFs appear), and SIGTERM then ends
# the program with exit code 0, leaving the schedule stored for the next start.
# Usage: xvfb-run -a window_schedule.sh SLIDEMILL_BINARY
set -u
bin=$1
[ -x "$bin" ] || { echo "FAIL no program at $bin"; exit 1; }
source "$(dirname "$0")/window_test_home.sh"
need_display
unset QT_QPA_PLATFORM
job="$settings_folder/Demo Conversion Jobs/Convert Demo Data to PDF.MJB"
ini="$settings_folder/SLML_SearchHistory.INI"

# The first start installs the demo folders and the settings file.
"$bin" /? >/dev/null 2>&1
check "the demo job was installed" test -f "$job"

# Every 20 seconds, restarted on program load, the demo job as the newest scheduled job file.
cat >>"$ini" <<INI
[frmScheduler]
optTimeBased=True
optCalendarBased=False
txtHours=0
txtMinutes=0
txtSeconds=20
optImmediately=False
optSkip=True
chkPersistRunning=1
[mruScheduleSource]
mruScheduleSource1=$job
INI

output="$HOME/Documents/Slidemill Demo Output/PDF"
pdf_count() { find "$output" -name '*.pdf' 2>/dev/null | wc -l; }
all_decks_converted() { [ "$(pdf_count)" -ge 4 ]; }
check "no output exists before the schedule runs" test "$(pdf_count)" -eq 0

started=$(date +%s)
"$bin" >"$work/stdout" 2>"$work/stderr" &
pid=$!
counting=$(timeout 60 xdotool search --sync --onlyvisible --name "before next run" 2>/dev/null | head -1)
check "the restarted schedule counts down in the window title" test -n "$counting"
sleep 5
check "nothing runs before the interval has passed" test "$(pdf_count)" -eq 0
check "the scheduled run converts every deck of the demo job (found $(wait_for 240 all_decks_converted; pdf_count))" \
    all_decks_converted
first=$(find "$output" -name '*.pdf' -printf '%T@\n' 2>/dev/null | sort -n | head -1)
first=${first%.*}
check "the run began no earlier than the interval after the start ($((${first:-0} - started)) s)" \
    test "${first:-0}" -ge $((started + 19))

kill -TERM "$pid" 2>/dev/null
wait_for 90 eval '! kill -0 "$pid" 2>/dev/null'
if kill -0 "$pid" 2>/dev/null; then
    echo "     still running 90 s after SIGTERM"
    kill -KILL "$pid"
fi
wait "$pid"
code=$?
check "SIGTERM ends the scheduled program with exit code 0 (got $code)" test "$code" -eq 0
check "the schedule is still stored to restart at the next start" grep -qx 'chkPersistRunning=1' "$ini"
check "the scheduled job file is still the newest of its list" grep -qxF "mruScheduleSource1=$job" "$ini"
wait_for 10 eval '[ -z "$(processes_of_this_home)" ]'
left=$(processes_of_this_home | tr '\n' ' ')
check "no office or other process of this run is left (found: ${left:-none})" test -z "$left"
[ "$failures" -eq 0 ] || tail -n 60 "$work/stderr"

if [ "$failures" -eq 0 ]; then echo "all window schedule checks passed"; exit 0; fi
echo "$failures window schedule checks failed"; exit 1
