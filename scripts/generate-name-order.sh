#!/usr/bin/env bash
# Measures under Wine how Windows orders drawing names, and writes what it found:
#   platform/name_order_en_us.inc         the sort key of each Windows-1252 character (en-US), the
#                                         table that orders the drawing list where Windows is not
#   tests/unit/name_order/list_box_order.txt   the order a sorted list box shows the probe's names
# Both are checked in; run this again (and review the difference) after a change of the probe.
# Needs the MinGW-w64 compiler, Wine and Xvfb (scripts/test-windows.sh installs them).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/inkrun-name-order-XXXXXX")"
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The probe refuses any other user locale than en-US; Wine takes it from the environment.
export LANG=en_US.UTF-8 LC_ALL=

xvfb=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -static -DUNICODE -D_UNICODE \
    -I "$root" -I "$root/tests" \
    "$root/tests/unit/name_order/name_order_probe.cpp" "$root/tests/support/sorted_list_box.cpp" \
    -o "$work/name_order_probe.exe" -luser32

# A list box is a window: Wine needs a display for it.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

wineboot -i >/dev/null 2>&1 || true
wine "$work/name_order_probe.exe" 'Z:'"${work//\//\\}"'\table.inc' 'Z:'"${work//\//\\}"'\order.txt'
cp "$work/table.inc" "$root/platform/name_order_en_us.inc"
cp "$work/order.txt" "$root/tests/unit/name_order/list_box_order.txt"
echo "Written: platform/name_order_en_us.inc, tests/unit/name_order/list_box_order.txt"
