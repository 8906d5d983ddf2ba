#!/usr/bin/env bash
# Command lines the built program must refuse before any conversion starts, with the reason on
# standard error (also without /L) and exit code 2. Needs no engine start.
# Usage: refusals.sh SLIDEMILL_BINARY
set -uo pipefail
bin=$1
[ -x "$bin" ] || { echo "FAIL no program at $bin"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/slidemill-refusals-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_DOCUMENTS_DIR="$work/home/Documents"
mkdir -p "$HOME" "$work/in"
echo deck >"$work/in/a.pptx"
echo deck >"$work/in/b.pptx"

failures=0
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
refused() { # arguments...: exit code 2 and something on standard error
    "$bin" "$@" >"$work/stdout" 2>"$work/stderr"
    local code=$?
    [ "$code" -eq 2 ] || { echo "     exit code $code, expected 2: $*"; cat "$work/stderr"; return 1; }
}
says() { grep -qF -- "$1" "$work/stderr" || { echo "     standard error lacks: $1"; cat "$work/stderr"; return 1; }; }

check "a missing source without /L is refused" refused /S "$work/in/none.pptx" /T "$work/out/none.pdf" /C 32
check "standard error names the missing file" says "Original File $work/in/none.pptx does not exist."

# The shell expands the unquoted pattern into the two decks before the program starts.
check "a pattern the shell expanded is refused" refused /S $work/in/*.pptx /T "$work/out/*.pdf" /C 32
check "standard error says the shell expanded it" says "/S was followed by 2 paths"
check "standard error shows how to quote it" says "/S \"$work/in/*.pptx\""
check "nothing was created for the expanded list" test ! -e "$work/out"

check "a wildcard in a folder name is refused" refused /S "$work/i*/a.pptx" /T "$work/out/*.pdf" /C 32
check "standard error says where wildcards work" says "has a wildcard (* or ?) in a folder name"

# A shard that names no shard, or that no array job around it gives, runs nothing.
check "--shard 4/4 is refused" refused --shard 4/4 /S "$work/in/*.pptx" /T "$work/out/*.pdf" /C 32
check "standard error says shards count from 0" says "counted from 0"
no_array() { env -u SLURM_ARRAY_TASK_ID -u JOB_COMPLETION_INDEX -u AWS_BATCH_JOB_ARRAY_INDEX "$bin" "$@" >"$work/stdout" 2>"$work/stderr"; [ $? -eq 2 ]; }
check "--shard auto outside an array job is refused" no_array --shard auto /S "$work/in/*.pptx" /T "$work/out/*.pdf" /C 32
check "standard error names the variables it looked for" says "SLURM_ARRAY_TASK_ID"
check "--shard with nothing to split is refused" refused --shard 0/2
check "nothing was created for the refused shards" test ! -e "$work/out"

# No arguments asks for the window. Without a display (or in a build without the window) the
# program must say so and exit 2, never abort or wait.
no_window() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 "$bin" >"$work/stdout" 2>"$work/stderr"; [ $? -eq 2 ]; }
check "the window without a display is refused with exit code 2" no_window
check "standard error says why there is no window" says "window"

if [ "$failures" -eq 0 ]; then echo "all refusal checks passed"; exit 0; fi
echo "$failures refusal checks failed"; exit 1
