# shellcheck shell=bash
# What the benchmark scripts share: sourced by them, not run on its own. The decks, profiles
# and outputs stay in the calling script's work folder, $work.

now_ms() { echo $(($(date +%s%N) / 1000000)); }

require_programs() { # BUILD_DIR PROGRAM...: each must have been built
    local build=$1 program
    shift
    for program in "$@"; do
        [[ -x $program ]] || { echo "build $(basename "$program") in $build first" >&2; exit 2; }
    done
}

require_tools() { # TOOL...: each must be on the PATH
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup installs it)" >&2; exit 2; }
    done
}

office() { # PROFILE ARGS...: the soffice launcher, headless, in a profile of its own
    local profile=$1
    shift
    soffice --headless --norestore --nologo "-env:UserInstallation=file://$profile" "$@" >/dev/null 2>&1 ||
        { echo "soffice failed: $*" >&2; return 1; }
}

# Records the office's release as seen, as Slidemill does to its own profiles. Until a profile
# says so, every start of the office runs a graphics self-test that only a desktop window ever
# marks as done.
mark_profile() { # PROFILE (one the office has already made)
    local release registry=$1/user/registrymodifications.xcu
    release=$(soffice --version | sed -n 's/^LibreOffice \([0-9]*\.[0-9]*\).*/\1/p')
    [[ -f $registry && -n $release ]] || { echo "cannot mark the profile $1" >&2; exit 1; }
    sed -i "s#</oor:items>#<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" oor:op=\"fuse\"><value>$release</value></prop></item>\n</oor:items>#" \
        "$registry"
}

# Generated decks as PPTX: FOLDER/fodp holds the generated decks and decks.tsv (name, slides),
# FOLDER/in the PPTX the office made of them, all of them or the script stops.
make_pptx_decks() { # MAKE_DECKS FOLDER COUNT MIN_SLIDES MAX_SLIDES SEED
    local made
    "$1" "$2/fodp" "$3" "$4" "$5" "$6" >/dev/null
    office "${work:?}/profile-prep" --convert-to pptx --outdir "$2/in" "$2"/fodp/*.fodp
    made=$(find "$2/in" -name '*.pptx' | wc -l)
    [[ $made -eq $3 ]] || { echo "only $made of $3 decks became PPTX" >&2; exit 1; }
}

# Every deck listed must be a PDF in OUTDIR with all its slides, or a time means nothing.
check_pdfs() { # DECKS_TSV OUTDIR LABEL
    local name count pages
    while read -r name count; do
        pages=$(pdfinfo "$2/${name%.fodp}.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
        if [[ $pages != "$count" ]]; then
            echo "$3: ${name%.fodp}.pdf has '${pages}' pages, expected $count" >&2
            exit 1
        fi
    done <"$1"
}

# Slidemill's automation service on a session bus of the script's own, as a script would call
# it. stop_automation ends both; the script's exit trap calls it too.
bus_pid="" service_pid=""
start_automation() { # SLIDEMILL LOG
    local address
    address=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"${work:?}/bus.pid")
    bus_pid=$(cat "$work/bus.pid")
    export DBUS_SESSION_BUS_ADDRESS=$address
    # Its offices get profiles of their own: a command line run beside it then finds its own
    # profiles free, and as warm as it left them.
    XDG_CACHE_HOME="$work/service-cache" "$1" --automation --idle-timeout 3600 2>"$2" &
    service_pid=$!
    for _ in $(seq 100); do
        gdbus introspect --session --dest org.slidemill.Slidemill --object-path /Slidemill >/dev/null 2>&1 &&
            return 0
        sleep 0.1
    done
    echo "the automation service did not come up:" >&2
    cat "$2" >&2
    exit 1
}

automation_call() { # LINE: one one-shot call; prints the answer, "(0,)" when the line ran
    gdbus call --session --timeout 3600 --dest org.slidemill.Slidemill --object-path /Slidemill \
        --method org.slidemill.Automation.DoCommandLine "$1"
}

stop_automation() { # false when the service did not end cleanly on SIGTERM
    local clean=0
    if [[ -n $service_pid ]]; then
        kill "$service_pid" 2>/dev/null || true
        wait "$service_pid" 2>/dev/null || clean=1
        service_pid=""
    fi
    if [[ -n $bus_pid ]]; then
        kill "$bus_pid" 2>/dev/null || true
        bus_pid=""
    fi
    return $clean
}
