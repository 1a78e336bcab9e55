# The directory DefaultFile.txt remembers, read alike by the window and inkrun-build.exe: a drive
# letter alone ("Q:", as the window writes it after a pick in a drive root) is that drive's root,
# and a relative path is read in the settings folder, so the window shows, and the scripts hold,
# full paths.
source "$(dirname "$0")/lib.sh"
BUILD="$(dirname "$INKRUN")/inkrun-build.exe"

mkdir -p "$WORK/settings" "$WORK/q" "$WORK/settings/jobs"
touch "$WORK/q/A-1.dwg" "$WORK/q/b-2.dwg" "$WORK/settings/settings.dwg" "$WORK/settings/jobs/J-1.dwg"
printf 'zoom' > "$WORK/settings/Setup1.txt"
map_drive Q "$WORK/q"
# The display first: the prefix's desktop, started with the first program, must have one.
start_display

printf 'Q:' > "$WORK/settings/DefaultFile.txt"
(cd "$WORK/settings" && wine "$BUILD" --all --quiet) >"$WORK/build.log" 2>&1 || fail "inkrun-build: $(cat "$WORK/build.log")"
expected_script 'Q:' '\' zoom b-2.dwg A-1.dwg > "$WORK/expected.scr"
expect_file "$WORK/q/Inkrun.scr" "$WORK/expected.scr"
[ ! -e "$WORK/settings/Inkrun.scr" ] || fail "inkrun-build wrote a script of the settings folder"

printf 'jobs' > "$WORK/settings/DefaultFile.txt"
start_inkrun "$WORK/settings"
main=$(wait_window '^Inkrun Script Builder$')
shown=$(window_state edits 'Inkrun Script Builder' | head -n 1)
[ "$shown" = "$(winpath "$WORK/settings/jobs")" ] || fail "the directory box shows '$shown'"
keys "$main" alt+f x
wait_exit "$INKRUN_PID"
echo "PASS: a bare drive is its root, a relative directory a full path"
