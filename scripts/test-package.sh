#!/usr/bin/env bash
# Builds the Debian package and checks it as Debian's tools and a user would meet it: lintian on
# the packages and the debian/ directory, the licence stated alike, the hardening of both
# programs; then installed with dpkg into clean roots: the files, the validators, and the window
# started the way the menu entry starts it, with the help page kept current in ~/Inkrun and How To
# finding it, also where /usr/share/doc is left out; last, installed on this machine, the
# package's own tests (debian/tests) under autopkgtest.
set -euo pipefail
root_dir="$(cd "$(dirname "$0")/.." && pwd)"
source "$root_dir/scripts/lib/packages.sh"
require_packages linux-run x-session deb-test
deb=$("$root_dir/scripts/package-deb.sh" | tail -n 1)
app_id=invalid.inkrun.ScriptBuilder
GUI_TEST_NAME=package
source "$root_dir/tests/support/window_driver.sh"
work=$WORK
version=$(dpkg-deb -f "$deb" Version)
out=$(dirname "$deb")

# The binary packages and the build record (.changes), and the source package, which carries
# debian/: no error and no warning; an override stands with its reason in debian/.
lintian --fail-on error,warning --info "$out/inkrun_${version}_$(dpkg-deb -f "$deb" Architecture).changes" \
    "$out/inkrun_$version.dsc" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log" >&2; fail "lintian finds faults"; }
grep -E '^[EW]: ' "$work/lintian.log" >&2 && fail "lintian reports errors or warnings"
grep -E '^[A-Z]: ' "$work/lintian.log" | sed 's/^/  lintian /' || true
pass "lintian: no errors or warnings"

# On a fresh machine scripts/package-deb.sh installs the build's packages from the lists alone.
build_depends=$(perl -MDpkg::Control::Info -e \
    'print Dpkg::Control::Info->new("'"$root_dir"'/debian/control")->get_source->{"Build-Depends"}')
listed=$(packages_of linux-build deb-package)
for dep in $(echo "$build_depends" | sed 's/([^)]*)//g; s/\[[^]]*\]//g; s/,/ /g'); do
    [ "$dep" = debhelper-compat ] && dep=debhelper
    grep -qx "$dep" <<<"$listed" || fail "debian/control's Build-Depends names $dep, which no package list installs"
done
pass "every build dependency is in the package lists"

# A clean root with an empty package database; the dependencies are checked against this machine.
install_root() {
    local root=$1
    shift
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
    touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
    dpkg --root="$root" --force-depends --force-script-chrootless "$@" -i "$deb" >"$work/dpkg.log" 2>&1 \
        || { cat "$work/dpkg.log" >&2; fail "dpkg could not install $deb into $root"; }
}
root="$work/root"
start=$(date +%s%N)
install_root "$root"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, $(dpkg-deb -f "$deb" Installed-Size) kB installed;" \
    "installed in $((($(date +%s%N) - start) / 1000000)) ms"

expected=(
    usr/bin/inkrun usr/bin/inkrun-build usr/bin/inkrun-desktop
    "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml"
    usr/share/inkrun/readme.htm usr/share/doc/inkrun/readme.htm
    usr/share/doc/inkrun/copyright usr/share/doc/inkrun/changelog.gz
    usr/share/man/man1/inkrun.1.gz usr/share/man/man1/inkrun-build.1.gz usr/share/man/man1/inkrun-desktop.1.gz
    usr/share/bash-completion/completions/inkrun-build
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

# The licence is stated twice, in LICENSE and, as Debian wants it, in the copyright file.
copyright="$root/usr/share/doc/inkrun/copyright"
[ "$(awk '/^License: Expat$/ { text = ""; inside = 1; next } inside { sub(/^ /, ""); sub(/^\.$/, ""); text = text $0 "\n" }
          END { printf "%s", text }' "$copyright")" = "$(sed -n '/^Permission is hereby granted/,$p' "$root_dir/LICENSE")" ] \
    || fail "the licence text in debian/copyright is not LICENSE's"
[ "$(sed -n 's/^Copyright: //p' "$copyright")" = "$(sed -n 's/^Copyright (c) //p' "$root_dir/LICENSE")" ] \
    || fail "the copyright holder in debian/copyright is not LICENSE's"
pass "debian/copyright states LICENSE's licence and holder"

# Every protection hardening-check knows, in both programs. It recognises stack clash protection
# only by the probe loop of a stack allocation of variable size, which this code makes none of;
# there the page probes of large fixed frames (sub rsp,0x1000, then or [rsp],0x0), which no
# program built without the protection has, stand as the evidence.
page_probes() {
    objdump -d --no-show-raw-insn -M intel "$1" | awk '
        /sub +rsp,0x1000$/ { sub_seen = 1; next }
        sub_seen && /or +QWORD PTR \[rsp\],0x0$/ { found = 1 }
        { sub_seen = 0 }
        END { exit !found }'
}
for program in inkrun inkrun-build; do
    hardening-check "$root/usr/bin/$program" >"$work/hardening.log" 2>&1 || true
    while IFS= read -r line; do
        case $line in
            *": yes"*) ;;
            " Stack clash protection: unknown, no -fstack-clash-protection instructions found")
                page_probes "$root/usr/bin/$program" || { cat "$work/hardening.log" >&2; fail "$program has no stack clash protection"; } ;;
            *) cat "$work/hardening.log" >&2; fail "hardening-check: $program lacks$line" ;;
        esac
    done < <(tail -n +2 "$work/hardening.log")
    [ "$(tail -n +2 "$work/hardening.log" | wc -l)" -ge 7 ] || { cat "$work/hardening.log" >&2; fail "hardening-check gave no full report on $program"; }
done
pass "hardening-check: PIE, stack protector, fortify, relro, bind-now, stack clash and control flow protection in inkrun and inkrun-build"

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
# Its screenshots are published from docs/screenshots: each one it names is there.
metainfo_images=$(sed -n 's|.*<image>\(.*\)</image>.*|\1|p' "$root/usr/share/metainfo/$app_id.metainfo.xml")
[ -n "$metainfo_images" ] || fail "the metainfo names no screenshot"
for image in $metainfo_images; do
    [ -f "$root_dir/docs/screenshots/$(basename "$image")" ] || fail "the metainfo's screenshot $image is not in docs/screenshots"
done
for page in inkrun inkrun-build inkrun-desktop; do
    man -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null | grep . && fail "$page.1 has roff errors"
done
# The manual's synopsis reads as --help's usage line, spaces and all.
usage=$("$root/usr/bin/inkrun-build" --help | sed -n 's/^Usage: //p')
manual=$(LC_ALL=C MANWIDTH=200 man -l "$root/usr/share/man/man1/inkrun-build.1.gz" 2>/dev/null | sed 's/^ *//')
grep -qxF "$usage" <<<"$manual" || fail "the synopsis of inkrun-build.1 is not '$usage'"
pass "desktop entry, metainfo (its screenshots in docs/screenshots) and man pages validate"

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
    local root=$1 home=$2
    (cd / && HOME="$home" PATH="$work/bin:$PATH" exec "$root$exec_line") >"$work/inkrun.log" 2>&1 &
    menu_pid=$!
    PIDS+=("$menu_pid")
    wait_window '^Inkrun Script Builder$' >/dev/null
}
stop_menu_entry() { kill "$menu_pid" 2>/dev/null || true; wait "$menu_pid" 2>/dev/null || true; }
# One start and stop of the window from the menu.
menu_start() { start_menu_entry "$@" && stop_menu_entry; }

# The help page in ~/Inkrun follows the installed one while the user leaves it alone. A newer
# program is stood in for by a changed page in the root.
page="$root/usr/share/inkrun/readme.htm"
home="$work/home"
copy="$home/Inkrun/readme.htm"
mkdir -p "$home"
start_menu_entry "$root" "$home"
[ "$(readlink -f "/proc/$menu_pid/cwd")" = "$home/Inkrun" ] || fail "the window does not run in ~/Inkrun"
stop_menu_entry
cmp -s "$copy" "$page" || fail "the first start did not put the installed page into ~/Inkrun"
[ "$(LC_ALL=C ls -A "$home/Inkrun" | tr '\n' ' ')" = ".readme.htm.sha256 readme.htm " ] \
    || fail "~/Inkrun holds more than the page and its hidden record: $(ls -A "$home/Inkrun")"
echo "<p>a newer page</p>" >>"$page"
menu_start "$root" "$home"
cmp -s "$copy" "$page" || fail "a newer installed page did not replace the unchanged copy"
echo "<p>my notes</p>" >>"$copy"
cp "$copy" "$work/changed.htm"
echo "<p>a newer page still</p>" >>"$page"
menu_start "$root" "$home"
cmp -s "$copy" "$work/changed.htm" || fail "a newer installed page replaced the copy the user changed"
pass "menu start: ~/Inkrun made with the page; a newer page replaces an unchanged copy, a changed copy is kept"

# A user's own page is kept. One that is the installed page, as the launcher of 2.2.3 left it with
# no record, is taken as a copy and follows the installed page from then on.
home2="$work/home2"
mkdir -p "$home2/Inkrun"
echo "my own page" >"$home2/Inkrun/readme.htm"
echo "C:/jobs" >"$home2/Inkrun/DefaultFile.txt"
menu_start "$root" "$home2"
[ "$(cat "$home2/Inkrun/readme.htm")" = "my own page" ] || fail "the menu start overwrote the user's readme.htm"
[ "$(cat "$home2/Inkrun/DefaultFile.txt")" = "C:/jobs" ] || fail "the menu start changed DefaultFile.txt"
[ "$(LC_ALL=C ls -A "$home2/Inkrun" | tr '\n' ' ')" = "DefaultFile.txt readme.htm " ] || fail "the menu start left stray files"
cp "$page" "$home2/Inkrun/readme.htm"
menu_start "$root" "$home2"
echo "<p>the next page</p>" >>"$page"
menu_start "$root" "$home2"
cmp -s "$home2/Inkrun/readme.htm" "$page" || fail "an unrecorded copy of the installed page was not refreshed"
pass "a user's own readme.htm kept; an earlier copy of the installed page refreshed"

# Installed with /usr/share/doc left out, as dpkg's path-exclude does on slim systems: the menu
# start still gives the user the page, and How To opens it.
lean="$work/lean"
install_root "$lean" --path-exclude='/usr/share/doc/*'
[ -e "$lean/usr/share/doc/inkrun/copyright" ] && fail "the path-exclude did not leave /usr/share/doc out"
home3="$work/home3"
mkdir -p "$home3"
start_menu_entry "$lean" "$home3"
cmp -s "$home3/Inkrun/readme.htm" "$lean/usr/share/inkrun/readme.htm" || fail "no help page in ~/Inkrun without /usr/share/doc"
win=$(window "Inkrun Script Builder")
xdotool mousemove --window "$win" 300 200 click 1
xdotool key --window "$win" alt+h
sleep 0.3
xdotool key Return
wait_for 10 "How To did not hand readme.htm to the opener" grep -qsx "$home3/Inkrun/readme.htm" "$work/opened"
sleep 0.5
window "Inkrun" >/dev/null && fail "How To showed a message box"
stop_menu_entry
pass "installed without /usr/share/doc: ~/Inkrun has the page, How To opens it"

# The package's own tests, debian/tests, as the archive's CI runs them: autopkgtest installs the
# package on this machine (the null testbed) with apt, with what the tests depend on, and runs
# each against the installed programs. The source package is the tree they run in. One run on a
# machine at a time, since it changes the machine's apt sources while it runs; the package is
# removed afterwards unless it was installed before.
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
exec 8>/run/lock/inkrun-autopkgtest.lock
flock -n 8 || { echo "Waiting for another autopkgtest run on this machine to end (at most 15 minutes)"; flock -w 900 8; } \
    || fail "another autopkgtest run held the machine for 15 minutes"
was_installed=false
dpkg-query -W -f='${Status}' inkrun 2>/dev/null | grep -q "install ok installed" && was_installed=true
status=0
"${as_root[@]}" autopkgtest --output-dir "$work/autopkgtest" "$deb" "$out/inkrun_$version.dsc" -- null \
    >"$work/autopkgtest.log" 2>&1 || status=$?
$was_installed || "${as_root[@]}" dpkg --purge inkrun >"$work/purge.log" 2>&1 || fail "could not remove the tested package"
exec 8>&-
[ $status -eq 0 ] || { tail -n 60 "$work/autopkgtest.log" >&2; fail "autopkgtest exited with $status"; }
sed 's/^/  autopkgtest /' "$work/autopkgtest/summary"
tests=$(sed -n 's/^Tests://p' "$root_dir/debian/tests/control" | tr ', ' '\n\n' | grep -c .)
[ "$(grep -c ' PASS' "$work/autopkgtest/summary")" -eq "$tests" ] \
    || fail "autopkgtest did not pass all $tests tests of debian/tests/control"
$was_installed && echo "  the tested package replaced the inkrun installed before"
pass "autopkgtest: debian/tests pass on the installed package"
echo "package test passed"
