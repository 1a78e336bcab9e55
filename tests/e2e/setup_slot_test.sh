# The first start shows the built-in template; a person edits it, saves it as Setup1 through the
# Save As dialog, and after a restart slot 1 brings it back.
source "$(dirname "$0")/lib.sh"

settings="$WORK/settings"
mkdir -p "$settings"
touch "$settings/A.dwg"

start_display
start_inkrun "$settings"
main=$(wait_window '^Inkrun Script Builder$')
menu_height=$(( $(xwininfo -id "$main" | awk '/Height:/ {print $2}') - 477 ))

build_first_drawing() {
    keys "$main" ctrl+a
    keys "$main" alt+t b
    local box
    box=$(wait_window '^Inkrun$')
    keys "$box" Return
    wait_no_window '^Inkrun$'
}

# No Setup1.txt: the template is the setup.
build_first_drawing
grep -q 'HP Laserjet 5000 series PCL 6.pc3 SET PRNTR SETUP TO USE' "$settings/Inkrun.scr" ||
    fail "the first start did not build with the built-in template"

# Replace the setup by typing, then File > Save Script Setup As, named Setup1.
xdotool mousemove --window "$main" 470 $((250 + menu_height)) click 1
keys "$main" ctrl+a Delete
type_text "$main" "zoom"
keys "$main" Return
type_text "$main" "extents"
keys "$main" alt+f e
dialog=$(wait_window '^Script Files$')
keys "$dialog" ctrl+a
type_text "$dialog" "Setup1"
keys "$dialog" Return
wait_no_window '^Script Files$'
printf 'zoom\r\nextents' > "$WORK/expected-setup.txt"
expect_file "$settings/Setup1.txt" "$WORK/expected-setup.txt"

keys "$main" alt+f x
wait_exit "$INKRUN_PID"

# The next start loads slot 1.
start_inkrun "$settings" second
main=$(wait_window '^Inkrun Script Builder$')
build_first_drawing
expected_script "$settings" / $'zoom\r\nextents' A.dwg > "$WORK/expected.scr"
expect_file "$settings/Inkrun.scr" "$WORK/expected.scr"

keys "$main" alt+f x
wait_exit "$INKRUN_PID"
echo "PASS: template, Save As Setup1, slot 1 after a restart"
