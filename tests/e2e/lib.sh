# Shared steps of the end-to-end tests: a private X display, the real program started in a
# settings directory, and waiting for its windows as a person would see them.
set -euo pipefail

INKRUN=$(realpath "${1:?usage: $0 path/to/inkrun}")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/inkrun-e2e-XXXXXX")
PIDS=()

cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    # What the screen showed, for whoever reads the failure.
    if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        local shot="${TMPDIR:-/tmp}/inkrun-e2e-failure-$(basename "$0" .sh).png"
        import -window root "$shot" 2>/dev/null && echo "screen: $shot" >&2
    fi
    for log in "$WORK"/*.log; do [ -f "$log" ] && { echo "--- $log" >&2; tail -20 "$log" >&2; }; done
    exit 1
}

# Each test gets its own Xvfb, so tests never see each other's windows.
start_display() {
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$WORK/display" 2>"$WORK/xvfb.log" &
    PIDS+=($!)
    local i
    for i in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
    [ -s "$WORK/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$WORK/display")"
}

# Starts the program in a settings directory; sets INKRUN_PID.
start_inkrun() {
    local settings=$1 log=${2:-inkrun}
    (cd "$settings" && exec "$INKRUN") >"$WORK/$log.log" 2>&1 &
    INKRUN_PID=$!
    PIDS+=("$INKRUN_PID")
}

# Runs a check until it succeeds, for at most `seconds`; the test fails with `what` otherwise.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local end=$((SECONDS + seconds))
    while [ $SECONDS -lt $end ]; do
        "$@" && return 0
        sleep 0.1
    done
    fail "$what after ${seconds}s"
}

window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
no_window() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
not_running() { ! kill -0 "$1" 2>/dev/null; }

# Prints the id of the visible window whose title matches the regular expression, waiting for it.
wait_window() {
    wait_for "${2:-20}" "no window titled '$1'" window_id "$1" >/dev/null
    window_id "$1"
}
wait_no_window() { wait_for "${2:-20}" "window titled '$1' still open" no_window "$1"; }
wait_exit() { wait_for "${2:-20}" "process $1 still running" not_running "$1"; }

focus_window() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    sleep 0.2
}

# Presses keys in a window, or types text into it, the way a person at the keyboard would.
keys() {
    focus_window "$1"
    shift
    xdotool key --clearmodifiers --delay 120 "$@"
}
type_text() {
    focus_window "$1"
    xdotool type --clearmodifiers --delay 40 "$2"
}

expect_file() {
    local path=$1 expected=$2
    [ -f "$path" ] || fail "$path was not written"
    cmp -s "$path" "$expected" || { od -c "$path" | head -20 >&2; fail "$path differs from what was expected"; }
}
