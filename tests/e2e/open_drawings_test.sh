# A person opens the drawing dialog from the folder button, types the directory and two names,
# confirms and builds with the hammer button: the script holds exactly those drawings and the
# directory is remembered.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings" "$WORK/other" "$WORK/jobs"
touch "$WORK/jobs/A-101.dwg" "$WORK/jobs/A-102.dwg" "$WORK/jobs/A-103.dwg" "$WORK/other/X.dwg"
printf '%s' "$WORK/other" > "$WORK/settings/DefaultFile.txt"
printf 'close\r\ny\r\n' > "$WORK/settings/Setup1.txt"

start_display
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')

# The buttons sit where the layout puts them, below the menu bar.
menu_height=$(( $(xwininfo -id "$main" | awk '/Height:/ {print $2}') - 477 ))
click_at() {
    xdotool mousemove --window "$main" "$1" $(( $2 + menu_height )) click 1
}

click_at 28 124  # the closed folder
dialog=$(wait_window '^Drawing Files$')
type_text "$dialog" "$WORK/jobs/"
keys "$dialog" Return
sleep 0.5
type_text "$dialog" '"A-103.dwg" "A-101.dwg"'
keys "$dialog" Return
wait_no_window '^Drawing Files$'

click_at 284 116  # the hammer
box=$(wait_window '^Inkrun$')
keys "$box" Return

expected_script "$WORK/jobs" / $'close\r\ny\r\n' A-103.dwg A-101.dwg > "$WORK/expected.scr"
expect_file "$WORK/jobs/Inkrun.scr" "$WORK/expected.scr"
printf '%s' "$WORK/jobs" > "$WORK/expected-default.txt"
expect_file "$WORK/settings/DefaultFile.txt" "$WORK/expected-default.txt"

keys "$main" alt+f x
wait_exit "$INKRUN_PID"
echo "PASS: drawings picked in the dialog"
