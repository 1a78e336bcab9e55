# Every drawing selected with the keyboard, the script built through Alt+T B and the message
# confirmed: the script on disk is compared byte for byte. Then the keyboard rules the Linux
# window has too: Ctrl+Tab leaves the setup editor without typing a tab, Enter presses the
# focused picture button, a directory pasted into the one-line box loses its line breaks (and
# only them), and Ctrl+S is the Save command's shortcut.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings" "$WORK/jobs/sub"
touch "$WORK/jobs/A-101.dwg" "$WORK/jobs/A-102.dwg" "$WORK/jobs/B-201.dwg" "$WORK/jobs/notes.txt"
jobs=$(winpath "$WORK/jobs")
settings=$(winpath "$WORK/settings")
printf '%s' "$jobs" > "$WORK/settings/DefaultFile.txt"
printf 'zoom\r\nextents' > "$WORK/settings/Setup1.txt"

start_display
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')

# The list has the focus at start: all of it, then Tools > Build.
keys "$main" Home shift+End
keys "$main" alt+t b
box=$(wait_window '^Inkrun$')
text=$(box_text Inkrun)
case "$text" in *"File saved as: Inkrun.scr"*"File located: $jobs"*) ;; *) fail "message was: $text" ;; esac
keys "$box" Return
wait_no_window '^Inkrun$'

expected_script "$jobs" '\' $'zoom\r\nextents' B-201.dwg A-102.dwg A-101.dwg > "$WORK/expected.scr"
expect_file "$WORK/jobs/Inkrun.scr" "$WORK/expected.scr"

# Three Tabs on from the list, past the hammer and the directory box, is the setup editor.
keys "$main" Tab Tab Tab ctrl+End Return
type_text "$main" "x"
# Ctrl+Tab goes on to the diskettes, where Enter presses Save. (Wine's multi-line edit moves on
# with Ctrl+Tab by itself, as measured with the rule taken out; Windows' own types a tab.)
# Save shows the system save dialog's own title: "Save" under Wine ("Save As" on Windows).
keys "$main" ctrl+Tab Return
dialog=$(wait_window '^Save( As)?$')
keys "$dialog" ctrl+a
type_text "$dialog" "$settings\\Saved.txt"
keys "$dialog" Return
wait_no_window '^Save( As)?$'
wait_for 10 "Saved.txt was not written" test -f "$WORK/settings/Saved.txt"
printf 'zoom\r\nextents\r\nx' > "$WORK/expected-setup.txt"
expect_file "$WORK/settings/Saved.txt" "$WORK/expected-setup.txt"

# Back in the editor: two more lines, and the last two of them copied, line break and all.
keys "$main" shift+Tab ctrl+End Return
type_text "$main" '\su'
keys "$main" Return
type_text "$main" "b"
keys "$main" shift+Home shift+Up ctrl+c
# Shift+Tab goes back to the directory box; the paste lands at its end.
keys "$main" shift+Tab End ctrl+v
keys "$main" alt+t b
box=$(wait_window '^Inkrun$')
text=$(box_text Inkrun)
case "$text" in *"File located: $jobs\\sub") ;; *) fail "message was: $text" ;; esac
keys "$box" Return
wait_no_window '^Inkrun$'
[ -f "$WORK/jobs/sub/Inkrun.scr" ] || fail "no script in the pasted directory"

keys "$main" ctrl+s
dialog=$(wait_window '^Save( As)?$')
keys "$dialog" Escape
wait_no_window '^Save( As)?$'

# Exit through the File menu ends the program.
keys "$main" alt+f x
wait_exit "$INKRUN_PID"
echo "PASS: every drawing built through Alt+T B; Ctrl+Tab, Enter on a button, a pasted directory, Ctrl+S"
