# A setup typed and never saved outlives the window: a second copy closing it, and the end of the
# session (SIGTERM, as a logout sends it, even behind a message box) keep it in Setup.unsaved.txt,
# in the setup file format. A setup as it was loaded keeps nothing.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
printf 'zoom\r\n' >"$WORK/settings/Setup1.txt"
start_display

expect_kept() { expect_file_holds "$WORK/settings/Setup.unsaved.txt" "$1"; }

# Nothing typed: a second copy closes the first, which keeps nothing.
start_inkrun "$WORK/settings" first
first=$INKRUN_PID
wait_window '^Inkrun Script Builder$' >/dev/null
start_inkrun "$WORK/settings" second
second=$INKRUN_PID
wait_exit "$first"
[ ! -e "$WORK/settings/Setup.unsaved.txt" ] || fail "a setup as loaded was kept"
pass "an unchanged setup keeps nothing"

# Typed into, then a third copy started: the second keeps what was typed as it closes.
type_into_setup "$(wait_window '^Inkrun Script Builder$')" "_plot"
start_inkrun "$WORK/settings" third
third=$INKRUN_PID
wait_exit "$second"
expect_kept 'zoom\r\n_plot'
pass "a second copy's start keeps the first copy's typing"

# SIGTERM while a message box shows: the box goes, the typing is kept, the program ends.
main=$(wait_window '^Inkrun Script Builder$')
type_into_setup "$main" "_purge"
keys "$main" alt+t b  # Build with nothing selected: the "No Files" box
wait_window '^No Files$' >/dev/null
kill -TERM "$third"
wait_exit "$third"
expect_kept 'zoom\r\n_purge'
pass "SIGTERM keeps the typing, behind a message box too"
echo "PASS: unsaved setups are kept when the window closes"
