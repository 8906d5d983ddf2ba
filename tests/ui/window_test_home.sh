# Sourced by the window's end-to-end scripts: a fresh HOME (and XDG folders) for the program under
# test, the check counter, polling, and the processes started from that home.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
       XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
settings_folder="$XDG_CONFIG_HOME/Lumenware, Inc/Slidemill"

failures=0
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# The names of the processes started from this test's home: the program and any office it started.
processes_of_this_home() {
    local pid
    for pid in $(pgrep -u "$(id -u)" 2>/dev/null); do
        [ "$pid" = "$$" ] && continue
        if { tr "\0" "\n" <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "HOME=$HOME"; then
            cat "/proc/$pid/comm" 2>/dev/null
        fi
    done | grep -vxE 'bash|tr|cat|grep|sleep|timeout'  # the scripts' own helpers
}

wait_for() { # seconds, command...: polls every 0.2 s
    local tries=$(($1 * 5)); shift
    until "$@"; do
        tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1
        sleep 0.2
    done
}

# The scripts that drive the window on a display: they need one, and xdotool for its keys.
need_display() {
    [ -n "${DISPLAY:-}" ] || { echo "FAIL no X display: run this under xvfb-run"; exit 1; }
    command -v xdotool >/dev/null || { echo "FAIL xdotool is not installed (scripts/setup installs it)"; exit 1; }
}
