# A second copy asks the first to close: the first ends, the second stays open.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/settings"
start_display
start_inkrun "$WORK/settings" first
first=$INKRUN_PID
wait_window '^Inkrun Script Builder$' >/dev/null
start_inkrun "$WORK/settings" second
wait_exit "$first" 30
wait_window '^Inkrun Script Builder$' >/dev/null
[ "$(xdotool search --onlyvisible --name '^Inkrun Script Builder$' | wc -l)" -eq 1 ] || fail "two main windows"
kill -0 "$INKRUN_PID" || fail "the second copy ended too"
echo "PASS: a second copy closes the first"
