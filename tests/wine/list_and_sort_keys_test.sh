# The keyboard of the drawing list, the Sort group and the directory box, as the Linux window has
# it: Ctrl+A marks every drawing; the arrow keys move between "dsc" and "asc" only, never onto the
# "Sort" frame where nothing would show the focus; the directory box shows no highlight once the
# focus has left it, so only one control looks focused.
source "$(dirname "$0")/lib.sh"
title='Inkrun Script Builder'

mkdir -p "$WORK/settings" "$WORK/jobs"
touch "$WORK/jobs/A-101.dwg" "$WORK/jobs/A-102.dwg" "$WORK/jobs/B-201.dwg"
# A short directory, wholly shown in its box: selecting it scrolls nothing.
map_drive Q "$WORK/jobs"
printf 'Q:' > "$WORK/settings/DefaultFile.txt"
printf 'zoom' > "$WORK/settings/Setup1.txt"

start_display
start_inkrun "$WORK/settings"
main=$(wait_window "^$title\$")
expect_focus() {
    local focused
    focused=$(window_state focus "$title")
    [ "$focused" = "$1" ] || fail "after $2 the focus is on '$focused', not '$1'"
}

# The list has the focus at start.
keys "$main" ctrl+a
marked=$(window_state marked "$title")
[ "$marked" = "3 of 3" ] || fail "Ctrl+A marked $marked drawings"

keys "$main" shift+Tab
expect_focus 'Button dsc' 'Shift+Tab from the list'
for step in Down:asc Down:dsc Up:asc Up:dsc Right:asc Left:dsc; do
    keys "$main" "${step%%:*}"
    expect_focus "Button ${step#*:}" "${step%%:*}"
done

# The directory box before it ever had the focus, with it (its text selected by Tab) and after
# Tab has left it.
place=$(window_state place "$title")
pixels() { import -window root -crop "$place" rgb:-; }
keys "$main" Tab
pixels > "$WORK/before"
keys "$main" Tab Tab
expect_focus 'Edit Q:' 'Tab to the directory box'
pixels > "$WORK/focused"
keys "$main" Tab
pixels > "$WORK/after"
cmp -s "$WORK/before" "$WORK/focused" && fail "the focused directory box shows no selection"
cmp -s "$WORK/before" "$WORK/after" || fail "the directory box keeps its highlight without the focus"

keys "$main" alt+f x
wait_exit "$INKRUN_PID"
echo "PASS: Ctrl+A, the Sort arrows and the directory box's highlight"
