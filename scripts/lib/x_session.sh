# A private X display for tests and scripts. Xvfb picks a free display number itself
# (-displayfd), so runs side by side never meet, and no number is guessed. It never resets
# (-noreset): a reset when the last client leaves refuses a program that connects meanwhile
# ("could not connect to display"), measured in 5 of 300 back-to-back starts.
#   x_session_start DIR [WxHxD]   starts Xvfb (its log and display file in DIR), exports DISPLAY
#   x_session_stop                stops it
#   x_session_screenshot FILE     the whole screen as PNG, when a display is up
#   with_x_session COMMAND...     runs COMMAND on a display of its own; a screenshot if it fails

x_session_start() {
    local dir=$1 screen=${2:-1280x1024x24} _
    Xvfb -displayfd 9 -screen 0 "$screen" -nolisten tcp -noreset 9>"$dir/display" 2>"$dir/xvfb.log" &
    X_SESSION_PID=$!
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        kill -0 "$X_SESSION_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$dir/display" ]; then
        echo "Xvfb did not start:" >&2
        tail -n 5 "$dir/xvfb.log" >&2
        x_session_stop
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$dir/display")"
}

x_session_stop() {
    [ -n "${X_SESSION_PID:-}" ] || return 0
    kill "$X_SESSION_PID" 2>/dev/null || true
    wait "$X_SESSION_PID" 2>/dev/null || true
    X_SESSION_PID=
}

# Prints where the picture went.
x_session_screenshot() {
    [ -n "${DISPLAY:-}" ] && command -v import >/dev/null || return 0
    import -window root "$1" 2>/dev/null && echo "screen: $1" >&2
}

with_x_session() (
    dir=$(mktemp -d "${TMPDIR:-/tmp}/inkrun-x-XXXXXX")
    trap 'x_session_stop; rm -rf "$dir"' EXIT
    x_session_start "$dir" || exit 1
    status=0
    "$@" || status=$?
    [ $status -eq 0 ] || x_session_screenshot "${TMPDIR:-/tmp}/inkrun-failure-$(basename "$1").png"
    exit $status
)
