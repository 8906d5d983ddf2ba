#!/usr/bin/env bash
# The desktop files pass their validators, a job file is recognised by its name, the file manager's
# entry hands the program a line it opens in the window, and the man page and the completion list
# every switch of the help page.
# usage: desktop_integration.sh <source dir> <built slidemill> <configured metainfo> <nogui|gui>
set -uo pipefail
source_dir=$1
program=$2
metainfo=$3
window=$4
packaging=$source_dir/packaging

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
need() {
  command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (scripts/setup installs it)"; exit 1; }
}
need desktop-file-validate
need appstreamcli
need update-mime-database
need xdg-mime
need mimetype
need man

# Validators: any error fails; hints are advice.
for entry in "$packaging"/org.slidemill.Slidemill.desktop "$packaging"/org.slidemill.Slidemill.Job.desktop; do
  if ! out=$(desktop-file-validate "$entry" 2>&1) || grep -qE ': (error|warning):' <<<"$out"; then
    fail "desktop-file-validate $(basename "$entry"): $out"
  fi
done
if ! out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
  fail "appstreamcli validate: $out"
fi
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$packaging/$launchable" ] || fail "the AppStream data launches '$launchable', which is not shipped"

# The menu entry starts the window without arguments; the job entry opens the file it is given.
entry_value() { sed -n "s/^$2=//p" "$packaging/$1"; }
[ "$(entry_value org.slidemill.Slidemill.desktop Exec)" = slidemill ] ||
  fail "the menu entry must run plain slidemill (a field code would leave \"/J /O\" behind)"
[ "$(entry_value org.slidemill.Slidemill.Job.desktop Exec)" = "slidemill /J %f /O" ] ||
  fail "the job entry must run slidemill /J %f /O"
grep -qx 'MimeType=application/x-slidemill-job;' "$packaging/org.slidemill.Slidemill.Job.desktop" ||
  fail "the job entry does not claim application/x-slidemill-job"
[ "$(entry_value org.slidemill.Slidemill.Job.desktop Icon)" = org.slidemill.Slidemill ] ||
  fail "the job entry's icon is not the program's"

# The job type, from a MIME database holding only ours: both cases of the extension; other files not.
mkdir -p "$work/share/mime/packages"
cp "$packaging/slidemill-job.xml" "$work/share/mime/packages/slidemill.xml"
XDG_DATA_HOME="$work/share" update-mime-database "$work/share/mime" || fail "update-mime-database refused the job type"
mkdir -p "$work/files"
cp "$source_dir/demo/Demo Conversion Jobs/Demo Slides to PNG.MJB" "$work/files/upper case.MJB"
cp "$source_dir/demo/Demo Conversion Jobs/Demo Slides to PNG.MJB" "$work/files/lower.mjb"
printf 'plain notes\n' >"$work/files/notes.txt"
mime_of() { XDG_DATA_HOME="$work/share" XDG_DATA_DIRS="$work/share:/usr/share" xdg-mime query filetype "$1"; }
for job in "$work/files/upper case.MJB" "$work/files/lower.mjb"; do
  got=$(mime_of "$job")
  [ "$got" = application/x-slidemill-job ] || fail "$(basename "$job") reads as '$got'"
done
got=$(mime_of "$work/files/notes.txt")
[ "$got" = text/plain ] || fail "notes.txt reads as '$got', not text/plain"

# The line the job entry gives (a path with spaces as one argument) opens the job for the window;
# without a display the program says the window cannot be shown rather than refusing the line.
# The lone path, which the entry avoids, is refused.
if [ "$window" = gui ]; then
  job="$work/files/upper case.MJB"
  run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" "$program" "$@" 2>&1; }
  mkdir -p "$work/home"
  out=$(run /J "$job" /O)
  status=$?
  if [ $status -ne 2 ] || ! grep -q 'no display to show the window on' <<<"$out"; then
    fail "slidemill /J <job> /O did not ask for the window (exit $status): $out"
  fi
  out=$(run "$job")
  status=$?
  if [ $status -ne 2 ] || grep -q 'no display to show the window on' <<<"$out"; then
    fail "a lone job path was expected to be refused as a command line (exit $status): $out"
  fi
fi

# Every switch of the help page has its entry in the man page and a place in the completion.
switches=$(grep -oE '<code>/[A-Z?]( |&lt;|</code>)' "$source_dir/demo/help/command-line.html" |
  sed -E 's:<code>(/[A-Z?]).*:\1:' | sort -u)
[ "$(wc -l <<<"$switches")" -ge 15 ] || fail "found only $(wc -l <<<"$switches") switches in the help page"
manual=$(MANWIDTH=100 man -l "$packaging/slidemill.1" 2>/dev/null)
warnings=$(LC_ALL=C.UTF-8 man --warnings -l -Tutf8 -Z "$packaging/slidemill.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the man page has troff warnings: $warnings"
for switch in $switches --automation --idle-timeout --version; do
  grep -qE "^ {7}$(sed 's/?/\\?/' <<<"$switch")( |$)" <<<"$manual" || fail "the man page has no entry for $switch"
  grep -qF -- "$switch" "$packaging/slidemill.bash-completion" || fail "the completion does not offer $switch"
done
for section in 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES; do
  grep -qx "$section" <<<"$manual" || fail "the man page has no $section section"
done
grep -q SLIDEMILL_OFFICES <<<"$manual" || fail "the man page does not tell of SLIDEMILL_OFFICES"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "every desktop integration check passed"
