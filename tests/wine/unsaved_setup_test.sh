# A setup typed and never saved outlives the Windows window: its close box (WM_CLOSE), a second
# copy, and the end of the session (WM_QUERYENDSESSION and WM_ENDSESSION, from wineboot) keep it in
# Setup.unsaved.txt, in the setup file format.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
printf 'zoom\r\n' >"$WORK/settings/Setup1.txt"
start_display

expect_kept() { expect_file_holds "$WORK/settings/Setup.unsaved.txt" "$1"; }

start_inkrun "$WORK/settings" first
first=$INKRUN_PID
type_into_setup "$(wait_window '^Inkrun Script Builder$')" "_plot"
start_inkrun "$WORK/settings" second
second=$INKRUN_PID
wait_exit "$first" 30
expect_kept 'zoom\r\n_plot'
pass "a second copy's start keeps the first copy's typing"

main=$(wait_window '^Inkrun Script Builder$')
type_into_setup "$main" "_purge"
keys "$main" alt+F4
wait_exit "$second" 30
expect_kept 'zoom\r\n_purge'
pass "the close box keeps the typing"

start_inkrun "$WORK/settings" third
third=$INKRUN_PID
type_into_setup "$(wait_window '^Inkrun Script Builder$')" "_quit"
wine wineboot --end-session --kill >"$WORK/wineboot.log" 2>&1 || true
wait_exit "$third" 30
expect_kept 'zoom\r\n_quit'
pass "the session's end keeps the typing"
echo "PASS: unsaved setups are kept when the Windows window closes"
