# The installer for everyone, run silently under Wine, through an upgrade: both programs, the help
# page (also beside inkrun.exe), the licence; shortcuts that start the program in the settings
# folder, Public Documents\Inkrun; the uninstall entry. /ADDTOPATH and /DESKTOPICON, and an upgrade
# without them keeps both. The help page there is refreshed while unchanged and kept once changed.
# The uninstaller takes the folder off every PATH, removes the shortcuts and the install folder
# whole, and keeps the settings folder. The files carry their version resources, manifests and
# the large icon.
source "$(dirname "$0")/installer_lib.sh"
version=${INSTALLER##*/inkrun-}
version=${version%-win64.exe}

# What Explorer shows of each file, read here with icoutils' wrestool.
manifest() { wrestool -x --raw -t 24 "$1"; }
version_strings() { wrestool -x --raw -t 16 "$1" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' '\n'; }
for file in "$INSTALLER" "$(dirname "$INKRUN")/inkrun-build.exe" "$INKRUN"; do
    # The installer's manifest is the installer tool's.
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
target="$DRIVE_C/InkrunTest"
settings="$DRIVE_C/users/Public/Documents/Inkrun"
start_menu="$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs"
desktop="$DRIVE_C/users/Public/Desktop"
entry="HKLM\\$UNINSTALL_KEY"
rm -rf "$target" "$settings"
on_path() { path_holds "$MACHINE_ENVIRONMENT" 'C:\InkrunTest\bin'; }

install_silently /AllUsers /ADDTOPATH /DESKTOPICON '/D=C:\InkrunTest'
for file in bin/inkrun.exe bin/inkrun-build.exe bin/readme.htm readme.htm LICENSE.txt Uninstall.exe; do
    [ -f "$target/$file" ] || fail "$file was not installed"
done
on_path || fail "/ADDTOPATH left PATH as it was: $(reg_value "$MACHINE_ENVIRONMENT" PATH)"
shortcut_in "$desktop" || fail "/DESKTOPICON made no desktop icon"
# The shortcut's working folder is the settings folder: the program's settings directory.
x86_64-w64-mingw32-strings -el "$start_menu/Inkrun Script Builder.lnk" | grep -q 'C:\\users\\Public\\Documents\\Inkrun$' ||
    fail "the Start-menu shortcut does not start the program in Public Documents\\Inkrun"
cmp -s "$settings/readme.htm" "$target/readme.htm" || fail "no readme.htm in the settings folder"
[ "$(reg_value "$entry" InstallLocation)" = 'C:\InkrunTest' ] || fail "the uninstall entry has no InstallLocation"
[ "$(reg_value "$entry" DisplayIcon)" = 'C:\InkrunTest\bin\inkrun.exe' ] || fail "the uninstall entry has no DisplayIcon"
size=$(find "$target" -type f -printf '%s\n' | awk '{ sum += $1 } END { print int(sum / 1024) }')
[ "$(($(reg_value "$entry" EstimatedSize)))" -eq "$size" ] || fail "EstimatedSize is not the folder's $size KB"
# The installer's name carries the version the installed program reports.
[ "$(wine "$target/bin/inkrun-build.exe" --version 2>/dev/null | tr -d '\r' | head -n 1 | awk '{print $NF}')" = "$version" ] ||
    fail "the installed inkrun-build does not report version $version"
pass "installed for everyone with PATH and a desktop icon"

# Upgrades, as far as the installer knows, without switches. A page it put there is refreshed: one
# the record names, and one that is the page the replaced install shipped (older installers kept
# no record). A page the user changed stays.
reinstall() { install_silently '/D=C:\InkrunTest'; }
printf 'older page' | tee "$settings/readme.htm" | sha256sum | sed 's/ .*/\r/' >"$settings/.readme.htm.sha256"
reinstall
on_path || fail "an upgrade without /ADDTOPATH took the folder off PATH"
shortcut_in "$desktop" || fail "an upgrade without /DESKTOPICON removed the desktop icon"
cmp -s "$settings/readme.htm" "$target/readme.htm" || fail "an unchanged help page was not refreshed"
printf 'older page' | tee "$settings/readme.htm" >"$target/readme.htm"
rm "$settings/.readme.htm.sha256"
reinstall
cmp -s "$settings/readme.htm" "$target/readme.htm" || fail "the older installer's unchanged page was not refreshed"
printf 'my notes' >"$settings/readme.htm"
reinstall
[ "$(cat "$settings/readme.htm")" = 'my notes' ] || fail "the installer replaced the user's readme.htm"
pass "upgrades keep PATH and the desktop icon, refresh the help page and keep a changed one"

# An installer before this one could put the folder on the installing user's PATH as well.
wine reg add "$USER_ENVIRONMENT" /v PATH /t REG_EXPAND_SZ /d 'C:\Tools;C:\InkrunTest\bin' /f >/dev/null 2>&1
uninstall_quietly HKLM
on_path && fail "the uninstaller left the folder on the machine's PATH"
[ "$(reg_value "$USER_ENVIRONMENT" PATH)" = 'C:\Tools' ] || fail "the uninstaller left the user's PATH at $(reg_value "$USER_ENVIRONMENT" PATH)"
shortcut_in "$desktop" || shortcut_in "$start_menu" && fail "the uninstaller left a shortcut"
[ -z "$(reg_value "$entry" DisplayName)" ] || fail "the uninstaller left its entry"
[ "$(cat "$settings/readme.htm")" = 'my notes' ] || fail "the uninstaller removed the settings folder"
wine reg delete "$USER_ENVIRONMENT" /v PATH /f >/dev/null 2>&1
rm -rf "$settings"
echo "PASS: installed for everyone, upgraded, uninstalled"
