#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The program keeps its settings
# (remembered directory, setup slots, help) in the directory it starts in: ~/Inkrun by default.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# build/ is configured with its tests, as scripts/test.sh uses it; only the window is built.
"$root/scripts/install-deps.sh" linux-build linux-tests linux-run
"$root/scripts/build.sh" inkrun
settings="${INKRUN_SETTINGS:-$HOME/Inkrun}"
mkdir -p "$settings"
cp -f "$root/docs/readme.htm" "$settings/readme.htm"  # How To opens the copy beside the settings
cd "$settings"
exec "$root/build/bin/inkrun"
