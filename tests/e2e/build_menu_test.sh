# A person selects drawings with the keyboard, builds through the menu's access keys and
# confirms the message: the script on disk is compared byte for byte.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings" "$WORK/jobs"
touch "$WORK/jobs/A-101.dwg" "$WORK/jobs/A-102.dwg" "$WORK/jobs/A-103.dwg" "$WORK/jobs/notes.txt"
printf '%s' "$WORK/jobs" > "$WORK/settings/DefaultFile.txt"
printf 'zoom\r\nextents' > "$WORK/settings/Setup1.txt"

start_display
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')

# The list has the focus at start: the first two drawings, then Tools > Build.
keys "$main" Home shift+Down
keys "$main" alt+t b
box=$(wait_window '^Inkrun$')
keys "$box" Return
wait_no_window '^Inkrun$'

expected_script "$WORK/jobs" / $'zoom\r\nextents' A-102.dwg A-101.dwg > "$WORK/expected.scr"
expect_file "$WORK/jobs/Inkrun.scr" "$WORK/expected.scr"

# Exit through the File menu ends the program.
keys "$main" alt+f x
wait_exit "$INKRUN_PID"
echo "PASS: build through the menu"
