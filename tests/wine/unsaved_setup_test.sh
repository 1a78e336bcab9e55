# A setup typed and never saved outlives the Windows window: a second copy, its close box (WM_CLOSE)
# and the end of the session (WM_QUERYENDSESSION and WM_ENDSESSION, from wineboot) keep it, each
# under a name of its own, in the setup file format, and the next start tells of it once, in a box
# titled as the program's other messages. The session's end while a large setup loads keeps what was
# typed before, never a part of the file.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
printf 'zoom\r\n' >"$WORK/settings/Setup1.txt"
start_display

kept() { find "$WORK/settings" -name 'Setup.unsaved*.txt' | sort; }
newest_kept() { kept | tail -n 1; }
# The box a start shows when setups were kept, read as a person reads it, then dismissed.
expect_notice() {
    local box text
    box=$(wait_window '^Inkrun$')
    text=$(box_text Inkrun)
    [[ "$text" == "The setup you typed and did not save was kept:"*"$1"* ]] || fail "the start said: $text"
    [ -z "${NOTICE_SHOT:-}" ] || x_session_screenshot "$NOTICE_SHOT"
    keys "$box" Return
    wait_no_window '^Inkrun$'
}

start_inkrun "$WORK/settings" first
first=$INKRUN_PID
type_into_setup "$(wait_window '^Inkrun Script Builder$')" "_plot"
start_inkrun "$WORK/settings" second
second=$INKRUN_PID
wait_exit "$first" 30
expect_file_holds "$WORK/settings/Setup.unsaved.txt" 'zoom\r\n_plot'
expect_notice 'Setup.unsaved.txt'
pass "a second copy's start keeps the first copy's typing and tells of it"

main=$(wait_window '^Inkrun Script Builder$')
type_into_setup "$main" "_purge"
keys "$main" alt+F4
wait_exit "$second" 30
[ "$(kept | wc -l)" -eq 2 ] || fail "the close box's typing was not kept beside the first: $(kept)"
expect_file_holds "$(newest_kept)" 'zoom\r\n_purge'
pass "the close box keeps the typing beside what was kept before"

start_inkrun "$WORK/settings" third
third=$INKRUN_PID
expect_notice "$(basename "$(newest_kept)")"
type_into_setup "$(wait_window '^Inkrun Script Builder$')" "_quit"
wine wineboot --end-session --kill >"$WORK/wineboot.log" 2>&1 || true
wait_exit "$third" 30
[ "$(kept | wc -l)" -eq 3 ] || fail "the session's end kept nothing new: $(kept)"
expect_file_holds "$(newest_kept)" 'zoom\r\n_quit'
pass "the session's end keeps the typing"

# Typed, then slot 2's 10 MB loaded, and the session ends while the progress box shows.
line=$'-layer set 0 ; a typical setup line\r\n'
for _ in $(seq 1 9); do line+="$line"; done  # 512 lines
for _ in $(seq 1 560); do printf '%s' "$line"; done >"$WORK/settings/Setup2.txt"
start_inkrun "$WORK/settings" fourth
fourth=$INKRUN_PID
expect_notice "$(basename "$(newest_kept)")"
main=$(wait_window '^Inkrun Script Builder$')
type_into_setup "$main" "_typed"
choose_menu_entry "$main" "Load Script Setup 2"
loading() { [ "$(box_text Inkrun)" = $'Loading the script setup\u2026' ]; }
wait_for 60 "no progress box" loading
wine wineboot --end-session --kill >"$WORK/wineboot.log" 2>&1 || true
wait_exit "$fourth" 60
[ "$(kept | wc -l)" -eq 4 ] || fail "not one setup more was kept: $(kept)"
expect_file_holds "$(newest_kept)" 'zoom\r\n_typed'
expect_file_holds "$WORK/settings/Setup.unsaved.txt" 'zoom\r\n_plot'
pass "the session's end during a load keeps what was typed, and nothing of the file"
echo "PASS: unsaved setups are kept when the Windows window closes"
