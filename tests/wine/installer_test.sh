# The installer, run silently under Wine: both programs, the help page, the licence, a Start-menu
# shortcut, the settings folder with readme.htm; the program starts in that folder; the
# uninstaller removes the programs and keeps the settings.
source "$(dirname "$0")/lib.sh"
INSTALLER=$(realpath "${3:?usage: $0 inkrun.exe window_state.exe installer.exe}")

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
# The installer's name carries the version the installed program reports.
version=${INSTALLER##*/inkrun-}
version=${version%-win64.exe}
[ "$(wine "$target/bin/inkrun-build.exe" --version 2>/dev/null | tr -d '\r')" = "inkrun-build $version" ] ||
    fail "the installed inkrun-build does not report version $version"

# Started as the shortcut starts it, in the settings folder.
INKRUN_COMMAND=(wine "$target/bin/inkrun.exe")
start_inkrun "$settings"
main=$(wait_window '^Inkrun Script Builder$')
keys "$main" alt+f x
wait_exit "$INKRUN_PID"

wine "$target/Uninstall.exe" /S >"$WORK/uninstall.log" 2>&1 || fail "the uninstaller failed"
wait_for 30 "inkrun.exe still installed" test ! -f "$target/bin/inkrun.exe"
[ -f "$settings/readme.htm" ] || fail "the uninstaller removed the settings folder"
rm -rf "$settings" "$target"
echo "PASS: installed, started from the settings folder, uninstalled"
