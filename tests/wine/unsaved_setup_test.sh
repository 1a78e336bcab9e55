# A setup typed and never saved outlives the Windows window: its close box (WM_CLOSE), a second
# copy, and the end of the session (WM_QUERYENDSESSION and WM_ENDSESSION, from wineboot) keep it in
# Setup.unsaved.txt, in the setup file format.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
printf 'zoom\r\n' >"$WORK/settings/Setup1.txt"
start_display

# Types at the end of the setup editor, reached from the drawing list as a person would: Tab to
# the hammer, the directory box, then the editor.
type_into_setup() {
    keys "$1" Tab Tab Tab ctrl+End
    type_text "$1" "$2"
}
expect_kept() {
    printf '%b' "$1" >"$WORK/expected"
    expect_file "$WORK/settings/Setup.unsaved.txt" "$WORK/expected"
}

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
