# Two drawings picked in the open dialog by typing their names: the list marks them, Build
# writes them in list order (asc chosen with the keyboard) and DefaultFile.txt remembers the folder.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings" "$WORK/jobs"
touch "$WORK/jobs/A-101.dwg" "$WORK/jobs/A-102.dwg" "$WORK/jobs/c-301.Dwg"
jobs=$(winpath "$WORK/jobs")
printf 'zoom' > "$WORK/settings/Setup1.txt"

start_display
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')

keys "$main" alt+f d
dialog=$(wait_window '^Drawing Files$')
type_text "$dialog" "$jobs\\"
keys "$dialog" Return
sleep 1
type_text "$dialog" '"A-101.dwg" "c-301.Dwg"'
keys "$dialog" Return
wait_no_window '^Drawing Files$'

# The window marks the picks and then remembers the folder, after the dialog has gone.
printf '%s' "$jobs" > "$WORK/expected-default.txt"
expect_file "$WORK/settings/DefaultFile.txt" "$WORK/expected-default.txt"

# Shift+Tab from the list goes round to the option group, onto the selected "dsc"; Down picks "asc".
keys "$main" shift+Tab Down
keys "$main" alt+t b
box=$(wait_window '^Inkrun$')
keys "$box" Return
wait_no_window '^Inkrun$'
expected_script "$jobs" '\' zoom A-101.dwg c-301.Dwg > "$WORK/expected.scr"
expect_file "$WORK/jobs/Inkrun.scr" "$WORK/expected.scr"
echo "PASS: two drawings picked by typing their names"
