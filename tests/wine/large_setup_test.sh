# A 10 MB setup at start: a progress box titled "Inkrun" says what the window is doing while the
# setup box takes it in pieces, then the whole setup is in the box. Prints how long it took.
source "$(dirname "$0")/lib.sh"
title='Inkrun Script Builder'

mkdir -p "$WORK/settings"
line=$'-layer set 0 ; a typical setup line\r\n'
for _ in $(seq 1 9); do line+="$line"; done  # 512 lines
: > "$WORK/settings/Setup1.txt"
for _ in $(seq 1 560); do printf '%s' "$line" >> "$WORK/settings/Setup1.txt"; done
printf 'zoom' >> "$WORK/settings/Setup1.txt"

start_display
started=$(date +%s%N)
start_inkrun "$WORK/settings"
wait_window '^Inkrun$' 60 >/dev/null
text=$(box_text Inkrun)
[ "$text" = $'Loading the script setup\u2026' ] || fail "the progress box says: $text"
main=$(wait_window "^$title\$" 120)
wait_no_window '^Inkrun$' 120
echo "the window showed the $(stat -c %s "$WORK/settings/Setup1.txt")-byte setup after $((($(date +%s%N) - started) / 1000000)) ms"

# The edit boxes' texts: the directory, then the setup, whole and in order.
window_state edits "$title" | sed 1d > "$WORK/shown.txt"
{ tr -d '\r' < "$WORK/settings/Setup1.txt"; echo; } > "$WORK/expected.txt"
cmp -s "$WORK/shown.txt" "$WORK/expected.txt" || fail "the setup box does not hold the setup as loaded"
keys "$main" alt+f x
wait_exit "$INKRUN_PID" 60
echo "PASS: a 10 MB setup loads behind a progress box"
