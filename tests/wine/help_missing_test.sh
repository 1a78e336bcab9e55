# How To with no readme.htm in the settings directory says "File not found" and where it looked,
# in a box titled "Inkrun"; the window goes on.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
start_display
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')
choose_menu_entry "$main" "How To"
box=$(wait_window '^Inkrun$')
text=$(box_text Inkrun)
[ "$text" = "File not found
$(winpath "$WORK/settings")\readme.htm" ] || fail "message was: $text"
keys "$box" Return
wait_no_window '^Inkrun$'
kill -0 "$INKRUN_PID" || fail "the program ended"
echo "PASS: How To without readme.htm"
