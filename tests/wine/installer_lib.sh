# Shared steps of the installer tests: the installer of this build, run silently under Wine, and
# what it leaves in the prefix's registry and folders.
#   tests/wine/installer_*.sh inkrun.exe window_state.exe installer.exe
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
INSTALLER=$(realpath "${3:?usage: $0 inkrun.exe window_state.exe installer.exe}")
DRIVE_C="$WINEPREFIX/drive_c"
UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\Inkrun Script Builder'
MACHINE_ENVIRONMENT='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
USER_ENVIRONMENT='HKCU\Environment'

# Each test starts with no install registered, whatever an earlier one left, and leaves none.
forget_installs() {
    wine reg delete "HKLM\\$UNINSTALL_KEY" /f >/dev/null 2>&1 || true
    wine reg delete "HKCU\\$UNINSTALL_KEY" /f >/dev/null 2>&1 || true
}
forget_installs
CLEANUP_STEPS+=(forget_installs)

# Runs the installer silently with the switches given (/D= last); its exit status is the installer's.
run_installer() { wine "$INSTALLER" /S "$@" >"$WORK/install.log" 2>&1; }
install_silently() { run_installer "$@" || fail "the installer failed with $*"; }

# The data of value NAME in registry key KEY, or nothing.
reg_value() {
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' | sed -n "s/^ *$2 \{4\}REG_[A-Z_]* \{4\}//Ip"
}
# Whether the PATH in KEY holds FOLDER as one of its entries, in any letter case.
path_holds() { reg_value "$1" PATH | tr ';' '\n' | grep -qixF -- "$2"; }

# The Unix path of a Windows path in the prefix, as the prefix's folders spell it.
unix_path() { realpath -m "$(winepath -u "$1" 2>/dev/null)"; }

# Uninstalls as Settings > Apps does unattended, with the QuietUninstallString of the entry in
# ROOT (HKLM or HKCU), and waits until the install folder is gone. The uninstaller runs a copy of
# itself from the temporary folder and returns at once.
uninstall_quietly() {
    local command folder
    command=$(reg_value "$1\\$UNINSTALL_KEY" QuietUninstallString)
    folder=$(unix_path "$(reg_value "$1\\$UNINSTALL_KEY" InstallLocation)")
    [[ $command =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "no QuietUninstallString in $1: '$command'"
    # shellcheck disable=SC2086 # the switches are separate words
    wine "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} >"$WORK/uninstall.log" 2>&1 || fail "the uninstaller failed"
    wait_for 30 "the uninstaller left $folder" test ! -e "$folder"
}

# A Start-menu or desktop shortcut of the program under the prefix folder DIR.
shortcut_in() { find "$1" -name 'Inkrun Script Builder.lnk' 2>/dev/null | grep -q .; }
