# The About window at a larger desktop font, 12 and 14 pt: every line whole in its place and the
# window grown to hold them; Escape closes it. (Wine reads the desktop's font once for each
# program, so each size gets a program of its own; Windows tells a running one of a change.)
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
# The desktop's font lives in the prefix, which every test shares: back to 8 pt before it ends.
CLEANUP_STEPS=("window_state message-font 8" "${CLEANUP_STEPS[@]}")
start_display
width() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'; }
narrower=0
for points in 12 14; do
    window_state message-font "$points" || fail "the desktop's font could not be set"
    start_inkrun "$WORK/settings" "inkrun-$points"
    main=$(wait_window '^Inkrun Script Builder$')
    choose_menu_entry "$main" "About"
    about=$(wait_window '^About$')
    cut=$(window_state cut About)
    [ -z "$cut" ] || fail "at $points pt the About window cuts: $cut"
    [ "$(width "$about")" -gt "$narrower" ] || fail "the About window is no wider at $points pt"
    narrower=$(width "$about")
    pass "every line whole at $points pt, $narrower pixels wide"

    keys "$about" Escape
    wait_no_window '^About$'
    kill -0 "$INKRUN_PID" || fail "the program ended"
    keys "$main" alt+f x
    wait_exit "$INKRUN_PID"
done
echo "PASS: the About window at 12 and 14 pt, and Escape"
