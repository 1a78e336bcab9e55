# A setup typed in and saved as Setup1.txt by typing its name in Save As; after a restart slot 1
# loads it, which the next script shows.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings" "$WORK/jobs"
touch "$WORK/jobs/A-101.dwg"
settings=$(winpath "$WORK/settings")
printf '%s' "$(winpath "$WORK/jobs")" > "$WORK/settings/DefaultFile.txt"

start_display
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')

# Tools > Clear Setup File; then Tab three times reaches the setup editor.
choose_menu_entry "$main" "Clear Setup File"
keys "$main" Tab Tab Tab
type_text "$main" "zoom"
keys "$main" Return
type_text "$main" "extents"
keys "$main" alt+f e
dialog=$(wait_window '^Script Files$')
# The file types box shows the filter's text as it stands, as the Linux window's does.
types=$(window_state combos 'Script Files' | grep -F 'Text Files')
[ "$types" = "Text Files" ] || fail "the file types box shows '$types'"
keys "$dialog" ctrl+a
type_text "$dialog" "$settings\\Setup1.txt"
keys "$dialog" Return
wait_no_window '^Script Files$'
printf 'zoom\r\nextents' > "$WORK/expected-setup.txt"
expect_file "$WORK/settings/Setup1.txt" "$WORK/expected-setup.txt"

keys "$main" alt+f x
wait_exit "$INKRUN_PID"

start_inkrun "$WORK/settings" second
main=$(wait_window '^Inkrun Script Builder$')
keys "$main" Home shift+End alt+t b
box=$(wait_window '^Inkrun$')
keys "$box" Return
expected_script "$(winpath "$WORK/jobs")" '\' $'zoom\r\nextents' A-101.dwg > "$WORK/expected.scr"
expect_file "$WORK/jobs/Inkrun.scr" "$WORK/expected.scr"
echo "PASS: Save As Setup1.txt, restart, slot 1 loads it"
