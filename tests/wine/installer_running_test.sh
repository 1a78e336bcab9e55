# An upgrade and an uninstall while the installed program runs: the installer asks it to close as
# a second copy would, so the setup typed in it is kept (Setup.unsaved.txt), and only then
# replaces or removes its files; the uninstaller removes the install folder whole.
source "$(dirname "$0")/installer_lib.sh"

start_display
target="$DRIVE_C/InkrunRunning"
settings="$DRIVE_C/users/Public/Documents/Inkrun"
rm -rf "$target" "$settings"
install_silently /AllUsers '/D=C:\InkrunRunning'
INKRUN_COMMAND=(wine "$target/bin/inkrun.exe")

# Starts the installed program as its shortcut does and types LINE into its setup.
start_and_type() {
    start_inkrun "$settings" "$1"
    type_into_setup "$(wait_window '^Inkrun Script Builder$')" "$1"
}
kept() { cat "$settings"/Setup.unsaved*.txt 2>/dev/null | grep -q "$1"; }

start_and_type _upgrade
install_silently /AllUsers '/D=C:\InkrunRunning'
# The program wrote its typing before it ended, and the installer waited for its end.
kept _upgrade || fail "the installer went on before the program had closed and kept its typing"
wait_exit "$INKRUN_PID" 10
[ -f "$target/bin/inkrun.exe" ] || fail "the upgrade left no inkrun.exe"
pass "an upgrade closes the running program, which keeps its typing"
# Told of at no start: the next one begins as a first.
rm -f "$settings"/Setup.unsaved*.txt "$settings/.Setup.unsaved.told"

start_and_type _uninstall
uninstall_quietly HKLM
kept _uninstall || fail "the uninstaller went on before the program had closed and kept its typing"
wait_exit "$INKRUN_PID" 10
rm -rf "$settings"
echo "PASS: the installer and the uninstaller close the running program first"
