# The installer, run silently under Wine: both programs, the help page (also beside inkrun.exe),
# the licence, a Start-menu shortcut, the settings folder with readme.htm; the program starts in
# that folder; the uninstaller removes the programs and keeps the settings. /ADDTOPATH puts the
# programs' folder on PATH and the uninstaller takes it off; a reinstall keeps a user's readme.htm.
# The files carry their version resources, manifests and the large icon.
source "$(dirname "$0")/lib.sh"
INSTALLER=$(realpath "${3:?usage: $0 inkrun.exe window_state.exe installer.exe}")
version=${INSTALLER##*/inkrun-}
version=${version%-win64.exe}

# What Explorer shows of each file, read here with icoutils' wrestool.
manifest() { wrestool -x --raw -t 24 "$1"; }
version_strings() { wrestool -x --raw -t 16 "$1" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' '\n'; }
for file in "$INSTALLER" "$(dirname "$INKRUN")/inkrun-build.exe" "$INKRUN"; do
    # The installer's manifest is the installer tool's (see cmake/InkrunWindowsInstaller.cmake).
    [ "$file" = "$INSTALLER" ] || manifest "$file" | grep -q 'name="Inkrun\.ScriptBuilder' ||
        fail "${file##*/}: the manifest has another name"
    manifest "$file" | grep -q '<dpiAware[^>]*>true' || fail "${file##*/}: the manifest is not DPI-aware"
    strings=$(version_strings "$file")
    for value in "Inkrun Script Builder" "The Inkrun Script Builder contributors"; do
        grep -qx "$value" <<<"$strings" || fail "${file##*/}: no '$value' in the version resource"
    done
done
wrestool -x -t 14 "$INKRUN" > "$WORK/program.ico"
icotool -l "$WORK/program.ico" | grep -q -- '--width=256 --height=256' || fail "the program icon has no 256 px image"

start_display
drive_c="$WINEPREFIX/drive_c"
target="$drive_c/InkrunTest"
rm -rf "$target"
# /D= must come last.
install() { wine "$INSTALLER" /S "$@" '/D=C:\InkrunTest' >"$WORK/install.log" 2>&1 || fail "the installer failed"; }
uninstall() {
    wine "$target/Uninstall.exe" /S >"$WORK/uninstall.log" 2>&1 || fail "the uninstaller failed"
    wait_for 30 "inkrun.exe still installed" test ! -f "$target/bin/inkrun.exe"
}
system_path() {
    wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH 2>/dev/null | tr -d '\r'
}
on_path() { system_path | grep -qi 'C:\\InkrunTest\\bin'; }

install /ADDTOPATH
for file in bin/inkrun.exe bin/inkrun-build.exe bin/readme.htm readme.htm LICENSE.txt Uninstall.exe; do
    [ -f "$target/$file" ] || fail "$file was not installed"
done
on_path || fail "/ADDTOPATH left PATH as it was: $(system_path)"
shortcut=$(find "$drive_c" -path '*Start Menu*' -name 'Inkrun Script Builder.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
grep -aq 'Inkrun' "$shortcut" || fail "the shortcut names no settings folder"
settings=$(find "$drive_c/users" -maxdepth 4 -type d -path '*Documents/Inkrun' | head -n 1)
[ -n "$settings" ] || fail "no Documents\\Inkrun settings folder"
cmp -s "$settings/readme.htm" "$target/readme.htm" || fail "no readme.htm in the settings folder"
# The installer's name carries the version the installed program reports.
[ "$(wine "$target/bin/inkrun-build.exe" --version 2>/dev/null | tr -d '\r')" = "inkrun-build $version" ] ||
    fail "the installed inkrun-build does not report version $version"
uninstall
on_path && fail "the uninstaller left the programs' folder on PATH"
[ -f "$settings/readme.htm" ] || fail "the uninstaller removed the settings folder"

# Installed again over a help page the user changed: it stays; PATH is left alone by default.
printf 'my notes' > "$settings/readme.htm"
install
[ "$(cat "$settings/readme.htm")" = 'my notes' ] || fail "the installer replaced the user's readme.htm"
on_path && fail "PATH changed without /ADDTOPATH"

# Started as the shortcut starts it, in the settings folder.
INKRUN_COMMAND=(wine "$target/bin/inkrun.exe")
start_inkrun "$settings"
main=$(wait_window '^Inkrun Script Builder$')
keys "$main" alt+f x
wait_exit "$INKRUN_PID"

uninstall
rm -rf "$settings" "$target"
echo "PASS: installed with and without PATH, started from the settings folder, uninstalled"
