# Starting a second copy asks the first to close (which runs its own shutdown, closing the help
# window too), even behind a message box; the close box closes the help window, Exit leaves it open.
# Another program's window that carries the same title stays.
source "$(dirname "$0")/lib.sh"
BIN=$INKRUN_BIN_DIR
HELP_TITLE="INKRUN - Microsoft Internet Explorer"

mkdir -p "$WORK/settings"
start_display

start_help() {
    "$BIN/titled_window" "$HELP_TITLE" "$WORK/help-closed.txt" >"$WORK/help.log" 2>&1 &
    HELP_PID=$!
    PIDS+=("$HELP_PID")
    wait_window "^$HELP_TITLE\$" >/dev/null
}

# A first copy with a help window beside it.
start_help
start_inkrun "$WORK/settings" first
first=$INKRUN_PID
wait_window '^Inkrun Script Builder$' >/dev/null

# The second copy: the first one goes, and closes the help window on its way out.
start_inkrun "$WORK/settings" second
second=$INKRUN_PID
wait_exit "$first"
wait_exit "$HELP_PID"
grep -q closed "$WORK/help-closed.txt" || fail "the first copy did not close the help window"
main=$(wait_window '^Inkrun Script Builder$')
[ "$(xdotool search --onlyvisible --name '^Inkrun Script Builder$' | wc -l)" -eq 1 ] || fail "two main windows"
kill -0 "$second" || fail "the second copy is not running"

# A first copy showing a message box goes too: the box is dismissed, its own shutdown runs.
rm -f "$WORK/help-closed.txt"
start_help
keys "$main" alt+t b  # Build with nothing selected: the "No Files" box
wait_window '^No Files$' >/dev/null
start_inkrun "$WORK/settings" fourth
fourth=$INKRUN_PID
wait_exit "$second"
wait_exit "$HELP_PID"
grep -q closed "$WORK/help-closed.txt" || fail "the copy behind a message box did not run its shutdown"
wait_no_window '^No Files$'
main=$(wait_window '^Inkrun Script Builder$')
[ "$(xdotool search --onlyvisible --name '^Inkrun Script Builder$' | wc -l)" -eq 1 ] || fail "two main windows"
second=$fourth

# The close box: the help window is asked to close as well.
rm -f "$WORK/help-closed.txt"
start_help
"$BIN/close_window" "Inkrun Script Builder" || fail "could not press the close box"
wait_exit "$second"
wait_exit "$HELP_PID"
grep -q closed "$WORK/help-closed.txt" || fail "the close box did not close the help window"

# Exit ends the program at once: the help window stays.
rm -f "$WORK/help-closed.txt"
start_help
start_inkrun "$WORK/settings" third
main=$(wait_window '^Inkrun Script Builder$')
keys "$main" alt+f x
wait_exit "$INKRUN_PID"
sleep 0.5
kill -0 "$HELP_PID" || fail "Exit closed the help window"
[ ! -e "$WORK/help-closed.txt" ] || fail "Exit asked the help window to close"

# Another program's window with the same title is not ours to close: a copy starting beside it,
# and a second copy after that, leave it open.
rm -f "$WORK/impostor-closed.txt"
"$BIN/titled_window" "Inkrun Script Builder" "$WORK/impostor-closed.txt" >"$WORK/impostor.log" 2>&1 &
IMPOSTOR_PID=$!
PIDS+=("$IMPOSTOR_PID")
wait_window '^Inkrun Script Builder$' >/dev/null
start_inkrun "$WORK/settings" fifth
fifth=$INKRUN_PID
two_windows() { [ "$(xdotool search --onlyvisible --name '^Inkrun Script Builder$' | wc -l)" -eq 2 ]; }
wait_for 20 "no second window titled 'Inkrun Script Builder'" two_windows
start_inkrun "$WORK/settings" sixth
wait_exit "$fifth"
wait_for 20 "the sixth copy's window did not come" two_windows
kill -0 "$IMPOSTOR_PID" 2>/dev/null || fail "another program's window was closed"
[ ! -e "$WORK/impostor-closed.txt" ] || fail "another program's window was asked to close"
echo "PASS: one running copy, close box and Exit; another program's window stays"
