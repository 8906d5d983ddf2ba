#!/usr/bin/env bash
# The bash completion offers the switches, the format codes, and job files after /J.
# usage: completion.sh <completion file>
set -uo pipefail
completion=$1
# shellcheck source=/dev/null
source "$completion" || { echo "FAIL: cannot source $completion"; exit 1; }
shopt -s extglob

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/jobs/Old jobs"
touch "$work/jobs/Nightly.MJB" "$work/jobs/lower case.mjb" "$work/jobs/Deck.pptx" "$work/jobs/notes.txt"

failures=0
# complete <expected replies, one per line, sorted> <words...>: the last word is the one completed.
complete_line() {
  local expected=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _slidemill
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | LC_ALL=C sort)
  if [ "$got" != "$(printf '%s' "$expected" | LC_ALL=C sort)" ]; then
    echo "FAIL: completing '$*'"
    echo "  expected: $(echo "$expected" | tr '\n' ' ')"
    echo "  got:      $(echo "$got" | tr '\n' ' ')"
    failures=$((failures + 1))
  fi
}

all_switches=$'/S\n/F\n/T\n/C\n/Y\n/Z\n/E\n/R\n/G\n/V\n/L\n/B\n/J\n/O\n/?'
complete_line "$all_switches" slidemill ""
complete_line "$all_switches" slidemill /S "/data/in/*.pptx" ""
complete_line "/C" slidemill /c
complete_line "/J" slidemill /J
complete_line $'--automation\n--version' slidemill --
complete_line "--idle-timeout" slidemill --automation --id
complete_line $'32\n35\n300' slidemill /S x /C 3
complete_line "106" slidemill /C 10

# After /J (in either case) only job files and folders, whatever the case of their extension.
jobs=$(printf '%s\n' "$work/jobs/Nightly.MJB" "$work/jobs/lower case.mjb" "$work/jobs/Old jobs")
complete_line "$jobs" slidemill /J "$work/jobs/"
complete_line "$jobs" slidemill /j "$work/jobs/"
complete_line "$work/jobs/Nightly.MJB" slidemill /J "$work/jobs/N"
# After /S every file is a candidate.
complete_line "$work/jobs/Deck.pptx" slidemill /S "$work/jobs/De"

if [ "$failures" -ne 0 ]; then
  echo "$failures completion case(s) failed"
  exit 1
fi
echo "every completion case passed"
