#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, window (offscreen) and
# end-to-end (the real program under Xvfb), then the Windows window under Wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root"
# The unit tests that ask X windows to close need a display; end-to-end tests start their own.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    ctest --test-dir build --output-on-failure -j2 --timeout 300
# The Windows window and its installer: cross-built and tested under Wine.
"$root/scripts/test-win32-window.sh"
