# The window's program on the command line: --help and --version answer on the terminal without a
# display; they and a refused argument start no window and close no running copy.
source "$(dirname "$0")/lib.sh"
: "${INKRUN_VERSION:?the version of the project}"

mkdir -p "$WORK/settings"
cd "$WORK/settings"

# Runs the program without any display; sets STATUS, OUT and ERR.
run_bare() {
    STATUS=0
    env -u DISPLAY -u WAYLAND_DISPLAY "$INKRUN" "$@" >"$WORK/out" 2>"$WORK/err" || STATUS=$?
    OUT=$(cat "$WORK/out")
    ERR=$(cat "$WORK/err")
}

run_bare --help
[ "$STATUS" -eq 0 ] && [ -z "$ERR" ] || fail "--help: status $STATUS, $ERR"
[[ "$OUT" == "Usage: inkrun [--help | --version]"* ]] || fail "--help said: $OUT"
run_bare -V
first=${OUT%%$'\n'*}
[ "$STATUS" -eq 0 ] && [ "${first%% *}" = inkrun ] && [ "${first##* }" = "$INKRUN_VERSION" ] ||
    fail "-V: status $STATUS, $OUT"
# The copyright is the licence's own line, not a copy of it.
copyright=$(sed -n 2p <<<"$OUT")
grep -qxF "${copyright/(C)/(c)}" "$INKRUN_SOURCE_DIR/LICENSE" || fail "-V states '$copyright', unlike LICENSE"
pass "help and version without a display"

for refused in --bogus "-platform offscreen" "--version extra" file.dwg; do
    # shellcheck disable=SC2086  # each word an argument
    run_bare $refused
    [ "$STATUS" -eq 2 ] && [ -z "$OUT" ] || fail "'$refused': status $STATUS, $OUT"
    [[ "$ERR" == "inkrun: unknown argument '"*"'; the window was not started"* ]] || fail "'$refused' said: $ERR"
done
STATUS=0
env -u DISPLAY "$INKRUN" --help >/dev/full 2>/dev/null || STATUS=$?
[ "$STATUS" -eq 1 ] || fail "help that could not be written: status $STATUS"
pass "other arguments refused, lost output failed"

# Beside a running copy nothing of this closes it.
start_display
start_inkrun "$WORK/settings" running
wait_window '^Inkrun Script Builder$' >/dev/null
"$INKRUN" --version >/dev/null || fail "--version beside a running copy"
"$INKRUN" --bogus 2>/dev/null && fail "--bogus was taken"
sleep 1
kill -0 "$INKRUN_PID" 2>/dev/null || fail "the running copy was closed"
window_id '^Inkrun Script Builder$' >/dev/null || fail "the running copy's window is gone"
echo "PASS: the command line answers without a display and closes nothing"
