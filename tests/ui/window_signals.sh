#!/usr/bin/env bash
# The window program ended by SIGTERM (how a desktop session ends its programs): it closes as its
# close box does without asking, exits 0, writes the frame placement to the settings file and
# leaves no office running; without a display it refuses with exit code 2. Runs offscreen with
# HOME in a fresh folder.
# Usage: window_signals.sh SLIDEMILL_BINARY DEMO_JOB
set -u
bin=$1
job=$2
[ -x "$bin" ] || { echo "FAIL no program at $bin"; exit 1; }
[ -f "$job" ] || { echo "FAIL no demo job at $job"; exit 1; }
source "$(dirname "$0")/window_test_home.sh"
export QT_QPA_PLATFORM=offscreen
not_grep() { ! grep -q "$@" || { grep "$@"; return 1; }; }

# Whether the process catches SIGTERM (bit 15 of its caught-signal mask): the window program
# installs its handler just before it builds the window.
catches_sigterm() {
    local mask
    mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null) || return 1
    [ -n "$mask" ] && (( (16#$mask >> 14) & 1 ))
}

run_and_terminate() { # signal, arguments...
    local signal=$1; shift
    "$bin" "$@" >"$work/stdout" 2>"$work/stderr" &
    local pid=$! waited=0
    until catches_sigterm "$pid"; do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1; waited=$((waited + 1))
        [ "$waited" -lt 300 ] || break
    done
    # Let the window come up and the job load before the session ends.
    sleep 2
    kill "-$signal" "$pid" 2>/dev/null
    waited=0
    while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt 300 ]; do sleep 0.1; waited=$((waited + 1)); done
    if kill -0 "$pid" 2>/dev/null; then
        echo "     still running 30 s after SIG$signal"
        kill -KILL "$pid"
    fi
    wait "$pid"
}

run_and_terminate TERM /J "$job" /O
code=$?
check "SIGTERM ends the window program with exit code 0 (got $code)" test "$code" -eq 0
# Qt's own notes (the offscreen platform's) may appear; the program itself has nothing to say.
check "the program reported nothing on standard error" not_grep "^$(basename "$bin"):" "$work/stderr"
settings="$settings_folder/SLML_SearchHistory.INI"
check "the settings file was written" test -s "$settings"
check "the frame placement is in the settings file" grep -q '^\[frmMainMDI\]' "${settings:-/dev/null}"
for key in WindowState Left Top Width Height; do
    check "frmMainMDI has $key" grep -q "^$key=" "${settings:-/dev/null}"
done
sleep 0.5
left=$(processes_of_this_home)
check "no process of this run is left (found: ${left:-none})" test -z "$left"

# SIGINT (Ctrl+C in the terminal that started it) and SIGHUP (the terminal closed) likewise.
for signal in INT HUP; do
    run_and_terminate "$signal"
    code=$?
    check "SIG$signal ends the window program with exit code 0 (got $code)" test "$code" -eq 0
done

# Without any display the window cannot start: a readable error and exit code 2, not an abort.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin" >"$work/stdout" 2>"$work/stderr"
code=$?
check "without a display the program exits 2 (got $code)" test "$code" -eq 2
check "and says there is no display" grep -q "no display" "$work/stderr"

if [ "$failures" -eq 0 ]; then echo "all window signal checks passed"; exit 0; fi
echo "$failures window signal checks failed"; exit 1
