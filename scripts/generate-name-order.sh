#!/usr/bin/env bash
# Measures under Wine how Windows orders drawing names, and writes down what it found:
#   platform/name_order_en_us.inc               the sort key of each Windows-1252 character in
#                                               en-US: the table that orders the drawing list
#                                               where there is no Windows to ask
#   platform/name_order_LOCALE.inc              for each locale that orders those names otherwise
#                                               (da-DK, sv-SE, ...), what differs from en-US
#   platform/name_order_locales.inc             which locale orders by which table
#   tests/unit/name_order/list_box_order.txt    the order in which a real sorted list box shows
#                                               the probe's names, which the tests compare with
# All are checked in; after a change of the probe or of Wine, run this and review the difference.
#   bash scripts/generate-name-order.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh" windows-build wine x-session
source "$root/scripts/lib/x_session.sh"
source "$root/scripts/lib/wine.sh"

wine_work name-order
work=$WINE_WORK

# A prefix of its own; the probe names the locale of every measurement itself.
wine_prefix "$work"

x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -static -DUNICODE -D_UNICODE \
    -I "$root" -I "$root/tests" \
    "$root/tests/unit/name_order/name_order_probe.cpp" "$root/tests/support/sorted_list_box.cpp" \
    -o "$work/name_order_probe.exe"

# A list box is a window: Wine needs a display for it.
x_session_start "$work" 640x480x24
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
mkdir "$work/out"
wine "$work/name_order_probe.exe" "$(windows_path "$work/out")"

# Tables of locales that no longer differ go.
rm -f "$root"/platform/name_order_*.inc
cp "$work"/out/name_order_*.inc "$root/platform/"
cp "$work/out/list_box_order.txt" "$root/tests/unit/name_order/list_box_order.txt"
echo "Written: $(cd "$work/out" && ls name_order_*.inc | sed 's|^|platform/|' | tr '\n' ' ')"
echo "and tests/unit/name_order/list_box_order.txt"
