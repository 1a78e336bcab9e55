#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The program keeps its settings
# (remembered directory, setup slots, help) in the directory it starts in: ~/Inkrun by default.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
settings="${INKRUN_SETTINGS:-$HOME/Inkrun}"
mkdir -p "$settings"
[ -f "$root/docs/readme.htm" ] && cp -n "$root/docs/readme.htm" "$settings/" 2>/dev/null || true
cd "$settings"
exec "$root/build/bin/inkrun"
