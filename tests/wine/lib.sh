# Shared steps of the Wine tests: a private X display, the real inkrun.exe started under Wine in
# a settings directory, and waiting for its windows as a person would see them.
set -euo pipefail

INKRUN=$(realpath "${1:?usage: $0 path/to/inkrun.exe path/to/box_text.exe}")
BOX_TEXT=$(realpath "${2:?usage: $0 path/to/inkrun.exe path/to/box_text.exe}")
: "${WINEPREFIX:?the Wine prefix of the cross build}"
export WINEPREFIX WINEDEBUG=-all
WORK=$(mktemp -d "${TMPDIR:-/tmp}/inkrun-wine-XXXXXX")
PIDS=()

cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    # The prefix's server ends with its last program; wait for it so the next test starts clean.
    wineserver -w 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        local shot="${TMPDIR:-/tmp}/inkrun-wine-failure-$(basename "$0" .sh).png"
        import -window root "$shot" 2>/dev/null && echo "screen: $shot" >&2
    fi
    exit 1
}

start_display() {
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$WORK/display" 2>"$WORK/xvfb.log" &
    PIDS+=($!)
    local i
    for i in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
    [ -s "$WORK/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$WORK/display")"
}

# The Windows name of a path here: Wine maps the root to drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Starts inkrun.exe in a settings directory; sets INKRUN_PID.
start_inkrun() {
    local settings=$1 log=${2:-inkrun}
    (cd "$settings" && exec wine "$INKRUN") >"$WORK/$log.log" 2>&1 &
    INKRUN_PID=$!
    PIDS+=("$INKRUN_PID")
}

wait_for() {
    local seconds=$1 what=$2
    shift 2
    local end=$((SECONDS + seconds))
    while [ $SECONDS -lt $end ]; do
        "$@" && return 0
        sleep 0.2
    done
    fail "$what after ${seconds}s"
}

window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
no_window() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
not_running() { ! kill -0 "$1" 2>/dev/null; }
wait_window() {
    wait_for "${2:-40}" "no window titled '$1'" window_id "$1" >/dev/null
    window_id "$1"
}
wait_no_window() { wait_for "${2:-20}" "window titled '$1' still open" no_window "$1"; }
wait_exit() { wait_for "${2:-20}" "process $1 still running" not_running "$1"; }

# With no window manager nothing gets the keyboard by itself: a click on the title-less top
# edge of the client area gives it, as a person's first click would.
focus_window() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true
    sleep 0.3
}
keys() {
    focus_window "$1"
    shift
    xdotool key --clearmodifiers --delay 150 "$@"
}
type_text() {
    focus_window "$1"
    xdotool type --clearmodifiers --delay 50 "$2"
}

# The text of the message box titled `title`, read through Wine.
box_text() { wine "$BOX_TEXT" "$1" 2>/dev/null | tr -d '\r'; }

expect_file() {
    local path=$1 expected=$2
    [ -f "$path" ] || fail "$path was not written"
    cmp -s "$path" "$expected" || { od -c "$path" | head -20 >&2; fail "$path differs from what was expected"; }
}
