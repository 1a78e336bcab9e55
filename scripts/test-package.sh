#!/usr/bin/env bash
# Builds the Debian package, installs it with dpkg into a clean root, and checks it as a user
# would meet it: the files, the validators, inkrun-build from the installed path, and the window
# started the way the menu entry starts it, with How To finding its help page.
set -euo pipefail
root_dir="$(cd "$(dirname "$0")/.." && pwd)"
source "$root_dir/scripts/lib/packages.sh"
require_packages linux-run x-session deb-test
deb=$("$root_dir/scripts/package-deb.sh" | tail -n 1)
app_id=invalid.inkrun.ScriptBuilder
GUI_TEST_NAME=package
source "$root_dir/tests/support/window_driver.sh"
work=$WORK

# A clean root with an empty package database; the dependencies are checked against this machine.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
start=$(date +%s%N)
dpkg --root="$root" --force-depends --force-script-chrootless -i "$deb" >"$work/dpkg.log" 2>&1 \
    || { cat "$work/dpkg.log" >&2; fail "dpkg could not install $deb"; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes; installed in $((($(date +%s%N) - start) / 1000000)) ms"

expected=(
    usr/bin/inkrun usr/bin/inkrun-build usr/bin/inkrun-desktop
    "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml"
    usr/share/doc/inkrun/readme.htm usr/share/doc/inkrun/LICENSE
    usr/share/man/man1/inkrun.1 usr/share/man/man1/inkrun-build.1
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
)
for size in 16 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x$size/apps/$app_id.png"); done
for file in "${expected[@]}"; do
    dpkg --root="$root" -S "/$file" >/dev/null 2>&1 || fail "the package does not own /$file"
    [ -s "$root/$file" ] || fail "/$file is missing or empty"
done
for size in 16 32 48 64 128 256; do
    file "$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png" | grep -q "PNG image data, $size x $size" \
        || fail "the ${size}x$size icon is not a $size pixel PNG"
done
pass "${#expected[@]} files in place, icons at their sizes"

depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q libqt6widgets6 || fail "Depends lacks the Qt libraries: $depends"
for dep in $(echo "$depends" | sed 's/([^)]*)//g; s/,/ /g'); do
    dpkg-query -W -f='${Status}' "$dep" 2>/dev/null | grep -q "install ok installed" \
        || fail "dependency $dep is not a package installed here"
done
pass "dependencies: $depends"

desktop="$root/usr/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the metainfo"; }
man -l "$root/usr/share/man/man1/inkrun-build.1" 2>&1 >/dev/null | grep . && fail "inkrun-build.1 has roff errors"
pass "desktop entry, metainfo and man pages validate"

version=$(dpkg-deb -f "$deb" Version)
[ "$("$root/usr/bin/inkrun-build" --version)" = "inkrun-build $version" ] || fail "installed inkrun-build --version"
pass "installed inkrun-build --version: $version, the package's"

# The window, started as the menu does: the Exec line, with the root put in front of its path.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = /usr/bin/inkrun-desktop ] || fail "unexpected Exec line: $exec_line"
start_display 1024x768x24
# How To hands the page to xdg-open; this one records what it was given.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

window() { window_id "^$1\$"; }

start_menu_entry() {
    local home=$1
    (cd / && HOME="$home" PATH="$work/bin:$PATH" exec "$root$exec_line") >"$work/inkrun.log" 2>&1 &
    menu_pid=$!
    PIDS+=("$menu_pid")
    wait_window '^Inkrun Script Builder$' >/dev/null
}
stop_menu_entry() { kill "$menu_pid" 2>/dev/null || true; wait "$menu_pid" 2>/dev/null || true; }

home="$work/home"
mkdir -p "$home"
start_menu_entry "$home"
[ -d "$home/Inkrun" ] || fail "the menu start did not create ~/Inkrun"
cmp -s "$home/Inkrun/readme.htm" "$root/usr/share/doc/inkrun/readme.htm" || fail "~/Inkrun/readme.htm is not the installed page"
[ "$(readlink -f "/proc/$menu_pid/cwd")" = "$home/Inkrun" ] || fail "the window does not run in ~/Inkrun"
win=$(window "Inkrun Script Builder")
xdotool mousemove --window "$win" 300 200 click 1
xdotool key --window "$win" alt+h
sleep 0.3
xdotool key Return
wait_for 10 "How To did not hand readme.htm to the opener" grep -qsx "$home/Inkrun/readme.htm" "$work/opened"
sleep 0.5
window "Inkrun" >/dev/null && fail "How To showed a message box"
pass "menu start: ~/Inkrun made, readme.htm put there, How To opens it"
stop_menu_entry

# A user's own files in the folder stay as they are.
home2="$work/home2"
mkdir -p "$home2/Inkrun"
echo "my notes" >"$home2/Inkrun/readme.htm"
echo "C:/jobs" >"$home2/Inkrun/DefaultFile.txt"
start_menu_entry "$home2"
stop_menu_entry
[ "$(cat "$home2/Inkrun/readme.htm")" = "my notes" ] || fail "the menu start overwrote the user's readme.htm"
[ "$(cat "$home2/Inkrun/DefaultFile.txt")" = "C:/jobs" ] || fail "the menu start changed DefaultFile.txt"
[ -z "$(ls -A "$home2/Inkrun" | grep -v -e '^readme.htm$' -e '^DefaultFile.txt$')" ] || fail "the menu start left stray files"
pass "a user's own readme.htm kept"
echo "package test passed"
