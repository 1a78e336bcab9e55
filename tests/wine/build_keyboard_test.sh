# Every drawing selected with the keyboard, the script built through Alt+T B and the message
# confirmed: the script on disk is compared byte for byte.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings" "$WORK/jobs"
touch "$WORK/jobs/A-101.dwg" "$WORK/jobs/A-102.dwg" "$WORK/jobs/B-201.dwg" "$WORK/jobs/notes.txt"
jobs=$(winpath "$WORK/jobs")
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

{
    for name in B-201.dwg A-102.dwg A-101.dwg; do printf '_open\r\n"%s\\%s"\r\nzoom\r\nextents\r\n' "$jobs" "$name"; done
} > "$WORK/expected.scr"
expect_file "$WORK/jobs/Inkrun.scr" "$WORK/expected.scr"

# Exit through the File menu ends the program.
keys "$main" alt+f x
wait_exit "$INKRUN_PID"
echo "PASS: every drawing built through Alt+T B"
