# An install for one user, chosen with /CurrentUser, needs no administrator rights. Under Wine
# everyone is an administrator, so the test shows what such an install touches: the installer
# (and the uninstaller it writes) asks Windows for no elevation, and a silent install writes
# nothing in the machine's part of the registry and no file outside the user's profile. It goes to
# AppData\Local\Programs, with the user's own PATH, uninstall entry, shortcut and settings folder
# Documents\Inkrun; its uninstaller takes the folder off the user's PATH and keeps the rest.
source "$(dirname "$0")/installer_lib.sh"

requested_level() { wrestool -x --raw -t 24 "$1" | grep -o 'requestedExecutionLevel level="[A-Za-z]*"'; }
[ "$(requested_level "$INSTALLER")" = 'requestedExecutionLevel level="asInvoker"' ] ||
    fail "the installer asks for $(requested_level "$INSTALLER")"

start_display
profile=$(unix_path "$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r')")
[ -d "$profile" ] || fail "no user profile in the prefix"
wine reg add "$USER_ENVIRONMENT" /v PATH /t REG_EXPAND_SZ /d 'C:\Tools' /f >/dev/null 2>&1

# The machine's part of the registry as Wine stores it, once the prefix's server has saved it: one
# line per value, behind its key. Left out are the records of devices and drivers, which Wine
# writes anew whenever a program starts.
machine_registry() {
    wineserver -w
    awk '/^\[/ { key = $0; sub(/ [0-9]+$/, "", key); next } /^[^#]/ && NF { print key "\t" $0 }' "$WINEPREFIX/system.reg" |
        grep -v -e '^\[System\\\\CurrentControlSet\\\\Enum\\\\' -e '^\[System\\\\CurrentControlSet\\\\Control\\\\Class\\\\' | sort
}
machine_registry >"$WORK/machine-before.reg"
touch "$WORK/before-install"
install_silently /CurrentUser /ADDTOPATH
machine_registry >"$WORK/machine-after.reg"
written=$(comm -13 "$WORK/machine-before.reg" "$WORK/machine-after.reg")
[ -z "$written" ] || fail "the install for one user wrote to the machine's registry: $written"
outside=$(find "$DRIVE_C" -newer "$WORK/before-install" -not -path "$profile" -not -path "$profile/*")
[ -z "$outside" ] || fail "the install for one user wrote outside the user's profile: $outside"

location=$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)
[ "$(unix_path "$location")" = "$profile/AppData/Local/Programs/Inkrun Script Builder" ] ||
    fail "installed in '$location', not in the user's AppData\\Local\\Programs"
[ -f "$(unix_path "$location")/bin/inkrun.exe" ] || fail "no inkrun.exe in $location"
[ "$(requested_level "$(unix_path "$location")/Uninstall.exe")" = "$(requested_level "$INSTALLER")" ] ||
    fail "the uninstaller asks for other rights than the installer"
path_holds "$USER_ENVIRONMENT" "$location\\bin" || fail "/ADDTOPATH left the user's PATH at '$(reg_value "$USER_ENVIRONMENT" PATH)'"
shortcut_in "$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" || fail "no Start-menu shortcut of the user"
[ -f "$profile/Documents/Inkrun/readme.htm" ] || fail "no help page in the user's Documents\\Inkrun"
pass "installed for one user, in the user's profile and registry alone"

uninstall_quietly HKCU
[ "$(reg_value "$USER_ENVIRONMENT" PATH)" = 'C:\Tools' ] || fail "the uninstaller left the user's PATH at '$(reg_value "$USER_ENVIRONMENT" PATH)'"
[ -z "$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)" ] || fail "the uninstaller left its entry"
wine reg delete "$USER_ENVIRONMENT" /v PATH /f >/dev/null 2>&1
rm -rf "$profile/Documents/Inkrun"
echo "PASS: an install for one user needs no rights and leaves nothing behind"
