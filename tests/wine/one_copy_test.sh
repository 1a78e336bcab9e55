# A second copy asks the first to close: the first ends, the second stays open. Another program's
# window with the same title (an Explorer window open on the install folder carries it) stays.
source "$(dirname "$0")/lib.sh"
: "${INKRUN_FOREIGN_WINDOW:?a window of another class, tests/support/win32_window}"

mkdir -p "$WORK/settings"
start_display
start_inkrun "$WORK/settings" first
first=$INKRUN_PID
wait_window '^Inkrun Script Builder$' >/dev/null
wine "$INKRUN_FOREIGN_WINDOW" "Inkrun Script Builder" >"$WORK/foreign.log" 2>&1 &
foreign=$!
PIDS+=("$foreign")
windows() { [ "$(xdotool search --onlyvisible --name '^Inkrun Script Builder$' | wc -l)" -eq "$1" ]; }
wait_for 40 "the other program's window did not come" windows 2
start_inkrun "$WORK/settings" second
wait_exit "$first" 30
wait_for 40 "not one window of ours beside the other program's" windows 2
kill -0 "$INKRUN_PID" || fail "the second copy ended too"
kill -0 "$foreign" 2>/dev/null || fail "the other program's window was closed"
echo "PASS: a second copy closes the first and no other program's window"
