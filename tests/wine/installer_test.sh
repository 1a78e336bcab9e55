# The installer, run silently under Wine: both programs, the help page, the licence, a Start-menu
# shortcut, the settings folder with readme.htm; the program starts in that folder; the
# uninstaller removes the programs and keeps the settings.
source "$(dirname "$0")/lib.sh"
INSTALLER=$(realpath "${3:?usage: $0 inkrun.exe box_text.exe installer.exe}")

start_display
drive_c="$WINEPREFIX/drive_c"
target="$drive_c/InkrunTest"
rm -rf "$target"
wine "$INSTALLER" /S '/D=C:\InkrunTest' >"$WORK/install.log" 2>&1 || fail "the installer failed"
for file in bin/inkrun.exe bin/inkrun-build.exe readme.htm LICENSE.txt Uninstall.exe; do
    [ -f "$target/$file" ] || fail "$file was not installed"
done
shortcut=$(find "$drive_c" -path '*Start Menu*' -name 'Inkrun Script Builder.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
grep -aq 'Inkrun' "$shortcut" || fail "the shortcut names no settings folder"
settings=$(find "$drive_c/users" -maxdepth 4 -type d -path '*Documents/Inkrun' | head -n 1)
[ -n "$settings" ] || fail "no Documents\\Inkrun settings folder"
[ -f "$settings/readme.htm" ] || fail "no readme.htm in the settings folder"
wine "$target/bin/inkrun-build.exe" --version >"$WORK/version.log" 2>&1 || fail "inkrun-build --version failed"

# Started as the shortcut starts it, in the settings folder.
(cd "$settings" && exec wine "$target/bin/inkrun.exe") >"$WORK/inkrun.log" 2>&1 &
INKRUN_PID=$!
PIDS+=("$INKRUN_PID")
main=$(wait_window '^Inkrun Script Builder$')
keys "$main" alt+f x
wait_exit "$INKRUN_PID"

wine "$target/Uninstall.exe" /S >"$WORK/uninstall.log" 2>&1 || fail "the uninstaller failed"
wait_for 30 "inkrun.exe still installed" test ! -f "$target/bin/inkrun.exe"
[ -f "$settings/readme.htm" ] || fail "the uninstaller removed the settings folder"
rm -rf "$settings" "$target"
echo "PASS: installed, started from the settings folder, uninstalled"
