# The Wine prefix of the cross build, shared by the Windows core's tests and the window's:
#   wine_prefix BUILD_DIR   exports WINEPREFIX (BUILD_DIR/wineprefix) and the settings every run
#                           uses, and makes the prefix when there is none yet
wine_prefix() {
    export WINEPREFIX="$1/wineprefix" WINEDEBUG=-all
    # No Mono or Gecko installers asked for; nothing here uses .NET or HTML.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # Wine turns Windows names into Unix ones in the locale's character set: in the C locale of
    # a fresh root login no "café" could be made.
    [ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
    mkdir -p "$1"
    [ -d "$WINEPREFIX/drive_c" ] || wineboot --init >/dev/null 2>&1 || true
}

# A temporary folder for a script's Wine run. When the script ends, the prefix's server, the X
# session (scripts/lib/x_session.sh) and the folder go:   wine_work NAME   sets WINE_WORK
wine_work() {
    WINE_WORK="$(mktemp -d "${TMPDIR:-/tmp}/inkrun-$1-XXXXXX")"
    trap 'wineserver -k 2>/dev/null || true; x_session_stop; rm -rf "$WINE_WORK"' EXIT
}
