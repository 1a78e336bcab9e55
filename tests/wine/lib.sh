# Shared steps of the Wine tests: the real inkrun.exe started under Wine in a settings directory,
# on a display of its own (tests/support/window_driver.sh).
INKRUN=$(realpath "${1:?usage: $0 path/to/inkrun.exe path/to/window_state.exe}")
WINDOW_STATE=$(realpath "${2:?usage: $0 path/to/inkrun.exe path/to/window_state.exe}")
: "${WINEPREFIX:?the Wine prefix of the cross build}"
export WINEPREFIX WINEDEBUG=-all
INKRUN_COMMAND=(wine "$INKRUN")
# Wine's windows are slower to appear and to take the keyboard.
GUI_WINDOW_WAIT=40 GUI_FOCUS_PAUSE=0.3 GUI_KEY_DELAY=150 GUI_TYPE_DELAY=50
source "$(dirname "${BASH_SOURCE[0]}")/../support/window_driver.sh"
# The prefix's server ends with its last program; wait for it so the next test starts clean.
CLEANUP_STEPS+=("wineserver -w 2>/dev/null")

# The Windows name of a path here: Wine maps the root to drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Makes drive LETTER of the prefix a drive whose root is DIR, for this test only.
map_drive() {
    local drive="$WINEPREFIX/dosdevices/${1,,}:"
    [ ! -e "$drive" ] || fail "drive $1: is taken in this prefix"
    ln -s "$2" "$drive"
    CLEANUP_STEPS+=("rm -f '$drive'")
}

# What a person reads in the Wine window titled TITLE (tests/wine/window_state.cpp):
#   box_text TITLE     a message box's text
#   window_state WHAT TITLE   statics, combos, edits, focus, place or marked
window_state() { wine "$WINDOW_STATE" "$1" "$2" 2>/dev/null | tr -d '\r'; }
box_text() { window_state statics "$1"; }
# Chooses an entry of the main window's menus by its caption as shown, with the keys a person
# presses (tests/wine/menu_keys.cpp): choose_menu_entry WINDOW CAPTION
choose_menu_entry() {
    local steps
    steps=$(wine "${INKRUN_MENU_KEYS:?the menu_keys helper}" "$2" 2>/dev/null | tr -d '\r')
    [ -n "$steps" ] || fail "no menu entry is captioned '$2'"
    read -ra steps <<<"$steps"
    keys "$1" "${steps[@]}"
}
# Puts the text of FILE on the clipboard, as a person's copy does.
put_on_clipboard() { wine "$WINDOW_STATE" clipboard "$(winpath "$1")" >/dev/null 2>&1; }
