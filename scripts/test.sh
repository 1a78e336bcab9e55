#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, window (offscreen) and end-to-end
# (the real program under Xvfb); the Debian package, built and installed; the Windows window and
# its installer, and the core's unit tests with inkrun-build, cross-built and tested under Wine.
# Every stage runs; any failure fails the whole.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" || exit 1
source "$root/scripts/lib/x_session.sh"
"$root/scripts/build.sh" || exit 1

failed=()
stage() {
    local name="$1"
    shift
    echo "=== $name"
    "$@" || failed+=("$name")
}

# The unit tests that ask X windows to close need a display; end-to-end tests start their own.
stage "Linux tests" with_x_session ctest --test-dir build --output-on-failure -j2 --timeout 300
stage "Debian package" "$root/scripts/test-package.sh"
stage "Windows core under Wine" "$root/scripts/test-windows.sh"
stage "Windows window and installer" "$root/scripts/test-win32-window.sh"

if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]}"
    exit 1
fi
echo "Every stage passed."
