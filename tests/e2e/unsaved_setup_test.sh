# A setup typed and never saved outlives the window: a second copy closing it, and the end of the
# session (SIGTERM, as a logout sends it, even behind a message box) keep it, each under a name of
# its own, in the setup file format; the next start tells of it once. A setup as it was loaded
# keeps nothing.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
printf 'zoom\r\n' >"$WORK/settings/Setup1.txt"
start_display

# The box a start shows when setups were kept: dismissed as a person would, after a look.
dismiss_notice() {
    local box
    box=$(wait_window '^Inkrun$')
    [ -z "${NOTICE_SHOT:-}" ] || x_session_screenshot "$NOTICE_SHOT"
    keys "$box" Return
    wait_no_window '^Inkrun$'
}
dated_kept() { find "$WORK/settings" -name 'Setup.unsaved_*.txt' | sort; }

# Nothing typed: a second copy closes the first, which keeps nothing.
start_inkrun "$WORK/settings" first
first=$INKRUN_PID
wait_window '^Inkrun Script Builder$' >/dev/null
start_inkrun "$WORK/settings" second
second=$INKRUN_PID
wait_exit "$first"
[ ! -e "$WORK/settings/Setup.unsaved.txt" ] || fail "a setup as loaded was kept"
pass "an unchanged setup keeps nothing"

# Typed into, then a third copy started: the second keeps what was typed as it closes, and the
# third says so.
type_into_setup "$(wait_window '^Inkrun Script Builder$')" "_plot"
start_inkrun "$WORK/settings" third
third=$INKRUN_PID
wait_exit "$second"
expect_file_holds "$WORK/settings/Setup.unsaved.txt" 'zoom\r\n_plot'
dismiss_notice
pass "a second copy's start keeps the first copy's typing and tells of it"

# SIGTERM while a message box shows: the box goes, the typing is kept beside the first, the
# program ends.
main=$(wait_window '^Inkrun Script Builder$')
type_into_setup "$main" "_purge"
keys "$main" alt+t b  # Build with nothing selected: the "No Files" box
wait_window '^No Files$' >/dev/null
kill -TERM "$third"
wait_exit "$third"
wait_for 10 "the typing was not kept beside the first" test -n "$(dated_kept)"
expect_file_holds "$(dated_kept)" 'zoom\r\n_purge'
expect_file_holds "$WORK/settings/Setup.unsaved.txt" 'zoom\r\n_plot'
pass "SIGTERM keeps the typing, behind a message box too, beside what was kept before"

# The next start tells of it; the one after that tells nothing: its first box is the one asked for.
start_inkrun "$WORK/settings" fourth
fourth=$INKRUN_PID
dismiss_notice
main=$(wait_window '^Inkrun Script Builder$')
keys "$main" alt+f x
wait_exit "$fourth"
start_inkrun "$WORK/settings" fifth
main=$(wait_window '^Inkrun Script Builder$')
keys "$main" alt+t b
wait_window '^No Files$' >/dev/null
no_window '^Inkrun$' || fail "a start told of kept setups a second time"
pass "each kept setup is told of once"
echo "PASS: unsaved setups are kept when the window closes"
