# 10,000 drawings picked at once in Open Drawing Files with the keyboard (Ctrl+A in the dialog's
# list): the window marks every one and stays up; the dialog's answer has no buffer a pick could
# outgrow. Prints how long the pick took from the dialog's Open to all marked.
source "$(dirname "$0")/lib.sh"
title='Inkrun Script Builder'
count=10000

mkdir -p "$WORK/settings" "$WORK/jobs"
(cd "$WORK/jobs" && seq -f 'D-%05g.dwg' 1 "$count" | xargs touch)
printf 'zoom' > "$WORK/settings/Setup1.txt"
# The dialog opens in the remembered folder, so only the list need be reached.
printf '%s' "$(winpath "$WORK/jobs")" > "$WORK/settings/DefaultFile.txt"

start_display
start_inkrun "$WORK/settings"
main=$(wait_window "^$title\$")
listed() { [ "$(window_state marked "$title")" = "0 of $count" ]; }
wait_for 120 "the window does not list the $count drawings" listed
keys "$main" alt+f d
dialog=$(wait_window '^Drawing Files$')
sleep 5  # the folder's 10,000 entries are listed
# From the file name box back to the list, where Ctrl+A picks everything it shows.
keys "$dialog" shift+Tab ctrl+a
sleep 5
started=$(date +%s%N)
keys "$dialog" alt+o
wait_no_window '^Drawing Files$' 300
all_marked() { [ "$(window_state marked "$title")" = "$count of $count" ]; }
wait_for 300 "not every drawing is marked" all_marked
echo "picked and marked $count drawings in $((($(date +%s%N) - started) / 1000000)) ms"

kill -0 "$INKRUN_PID" || fail "the window ended"
keys "$main" alt+f x
wait_exit "$INKRUN_PID" 60
echo "PASS: $count drawings picked with the keyboard, all marked"
