#!/usr/bin/env bash
# Screenshots of the window and the About window under a window manager, at scale 1 and 2,
# for the README, and at 1.5 for looking at the look (in the temporary folder). Not a test: run
# it by hand after a build.
#   bash tests/e2e/screenshots.sh build/bin/inkrun docs/screenshots
source "$(dirname "$0")/../../scripts/lib/packages.sh"
require_packages x-session screenshots
source "$(dirname "$0")/lib.sh"
OUT=$(realpath "${2:-docs/screenshots}")
mkdir -p "$OUT" "$WORK/settings"
start_display
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
sleep 1

shoot() {  # window title, file
    local id
    id=$(wait_window "$1")
    sleep 1
    import -window root -crop "$(xdotool getwindowgeometry --shell "$id" | awk -F= '/WIDTH/{w=$2}/HEIGHT/{h=$2}/^X/{x=$2}/^Y/{y=$2}END{printf "%dx%d+%d+%d", w+20, h+50, (x>10?x-10:0), (y>40?y-40:0)}')" "$2"
}

start_inkrun "$WORK/settings" scale1
main=$(wait_window '^Inkrun Script Builder$')
shoot '^Inkrun Script Builder$' "$OUT/qt-main.png"
keys "$main" alt+h a
shoot '^About$' "$OUT/qt-about.png"
kill "$INKRUN_PID"; wait_exit "$INKRUN_PID"

export QT_SCALE_FACTOR=1.5
start_inkrun "$WORK/settings" scale1_5
main=$(wait_window '^Inkrun Script Builder$')
shoot '^Inkrun Script Builder$' "${TMPDIR:-/tmp}/inkrun-main-scale1.5.png"
keys "$main" alt+h a
shoot '^About$' "${TMPDIR:-/tmp}/inkrun-about-scale1.5.png"
kill "$INKRUN_PID"; wait_exit "$INKRUN_PID"

export QT_SCALE_FACTOR=2
start_inkrun "$WORK/settings" scale2
main=$(wait_window '^Inkrun Script Builder$')
shoot '^Inkrun Script Builder$' "$OUT/qt-main-scale2.png"
keys "$main" alt+h a
shoot '^About$' "$WORK/about-scale2.png"
cp "$WORK/about-scale2.png" "${TMPDIR:-/tmp}/inkrun-about-scale2.png"
echo "screenshots in $OUT"
