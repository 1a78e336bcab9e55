# Shared steps of the Wine tests: the real inkrun.exe started under Wine in a settings directory,
# on a display of its own (tests/support/window_driver.sh).
INKRUN=$(realpath "${1:?usage: $0 path/to/inkrun.exe path/to/box_text.exe}")
BOX_TEXT=$(realpath "${2:?usage: $0 path/to/inkrun.exe path/to/box_text.exe}")
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

# The text of the message box titled `title`, read through Wine.
box_text() { wine "$BOX_TEXT" "$1" 2>/dev/null | tr -d '\r'; }
