# Shared steps of the tests that drive a real window, sourced by tests/e2e/lib.sh, tests/wine/lib.sh
# and scripts/test-package.sh: a work folder, a private X display, and waiting for windows and
# files as a person would see them, never for a fixed moment.
# Set before sourcing, or take the defaults: GUI_TEST_NAME (names the failure's screenshot),
# GUI_WINDOW_WAIT (seconds for a window to appear), GUI_FOCUS_PAUSE (seconds after focusing),
# GUI_KEY_DELAY and GUI_TYPE_DELAY (ms between keys).
# A caller adds its own clean-up to CLEANUP_STEPS.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/expected_script.sh"

GUI_TEST_NAME=${GUI_TEST_NAME:-$(basename "$0" .sh)}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/inkrun-$GUI_TEST_NAME-XXXXXX")
PIDS=()
CLEANUP_STEPS=()

cleanup() {
    local pid step
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for step in "${CLEANUP_STEPS[@]}"; do eval "$step" || true; done
    x_session_stop
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# What the screen showed and what the programs said, for whoever reads the failure.
fail() {
    echo "FAIL: $*" >&2
    x_session_screenshot "${TMPDIR:-/tmp}/inkrun-failure-$GUI_TEST_NAME.png"
    local log
    for log in "$WORK"/*.log; do [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }; done
    exit 1
}
pass() { echo "ok: $*"; }

# Each test gets its own display, so tests never see each other's windows.
start_display() { x_session_start "$WORK" "${1:-1280x1024x24}" || fail "no X display"; }

# Starts the program under test, INKRUN_COMMAND, in a settings directory; sets INKRUN_PID. The
# person's own data folder, where a setup goes when the settings directory cannot keep it, is the
# test's own.
start_inkrun() {
    local settings=$1 log=${2:-inkrun}
    (cd "$settings" && XDG_DATA_HOME="$WORK/data" exec "${INKRUN_COMMAND[@]}") >"$WORK/$log.log" 2>&1 &
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
    wait_for "${2:-${GUI_WINDOW_WAIT:-20}}" "no window titled '$1'" window_id "$1" >/dev/null
    window_id "$1"
}
wait_no_window() { wait_for "${2:-20}" "window titled '$1' still open" no_window "$1"; }
wait_exit() { wait_for "${2:-20}" "process $1 still running" not_running "$1"; }

# With no window manager nothing gets the keyboard by itself.
focus_window() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true
    sleep "${GUI_FOCUS_PAUSE:-0.2}"
}

# Presses keys in a window, or types text into it, the way a person at the keyboard would.
keys() {
    focus_window "$1"
    shift
    xdotool key --clearmodifiers --delay "${GUI_KEY_DELAY:-120}" "$@"
}
type_text() {
    focus_window "$1"
    xdotool type --clearmodifiers --delay "${GUI_TYPE_DELAY:-40}" "$2"
}

# Types at the end of the main window's setup editor, reached from the drawing list as a person
# would: Tab to the hammer, the directory box, then the editor.
type_into_setup() {
    keys "$1" Tab Tab Tab ctrl+End
    type_text "$1" "$2"
}

# A program writes its files after the window that asked for them has closed: the bytes are
# awaited, as a person would look again, and shown when they never come.
same_bytes() { [ -f "$1" ] && cmp -s "$1" "$2"; }
expect_file() {
    local path=$1 expected=$2 end=$((SECONDS + 10))
    while [ $SECONDS -lt $end ]; do
        same_bytes "$path" "$expected" && return 0
        sleep 0.1
    done
    [ -f "$path" ] || fail "$path was not written"
    od -c "$path" | head -20 >&2
    fail "$path differs from what was expected"
}
# The same, with the bytes given as printf's %b reads them ('zoom\r\n').
expect_file_holds() {
    printf '%b' "$2" >"$WORK/expected-bytes"
    expect_file "$1" "$WORK/expected-bytes"
}
