#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The program keeps its settings
# (remembered directory, setup slots, help) in the directory it starts in: ~/Inkrun by default.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" inkrun  # only what it starts
settings="${INKRUN_SETTINGS:-$HOME/Inkrun}"
mkdir -p "$settings"
cp -f "$root/docs/readme.htm" "$settings/readme.htm"  # How To opens the copy beside the settings
cd "$settings"
exec "$root/build/bin/inkrun"
