# The About window at a larger desktop font, 12 and then 14 pt: every line whole in its place and
# the window grown to hold them, also when the font changes while it is open; Escape closes it.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
# The desktop's font lives in the prefix, which every test shares: back to 8 pt before it ends.
CLEANUP_STEPS=("window_state message-font 8" "${CLEANUP_STEPS[@]}")
window_state message-font 12 || fail "the desktop's font could not be set"
start_display
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')
choose_menu_entry "$main" "About"
about=$(wait_window '^About$')
width() { xdotool getwindowgeometry --shell "$about" | sed -n 's/^WIDTH=//p'; }
at12=$(width)
cut=$(window_state cut About)
[ -z "$cut" ] || fail "at 12 pt the About window cuts: $cut"
pass "every line whole at 12 pt, $at12 pixels wide"

window_state message-font 14 || fail "the desktop's font could not be set"
grown() { [ "$(width)" -gt "$at12" ]; }
wait_for 20 "the About window did not grow for 14 pt" grown
cut=$(window_state cut About)
[ -z "$cut" ] || fail "at 14 pt the About window cuts: $cut"
pass "grown to $(width) pixels and every line whole at 14 pt, while open"

keys "$about" Escape
wait_no_window '^About$'
kill -0 "$INKRUN_PID" || fail "the program ended"
echo "PASS: the About window at 12 and 14 pt, and Escape"
