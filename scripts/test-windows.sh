#!/usr/bin/env bash
# Cross-builds the core, inkrun-build.exe and the unit tests for 64-bit Windows with MinGW-w64
# and runs the tests under Wine, headless, with a Wine prefix of their own in build-win/. The
# folder is shared with the Windows window's script: the same build type, so neither rebuilds the other.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${INKRUN_WINDOWS_BUILD:-$root/build-win}"

packages=(g++-mingw-w64-x86-64-posix wine wine64 cmake ninja-build googletest xvfb)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$build"
# Set before anything runs under Wine: test discovery at build time starts the test program.
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
toolchain="$root/cmake/mingw-w64-x86_64.cmake"

# GoogleTest from the source Debian ships, built once for MinGW.
gtest="$build/googletest-install"
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF \
        -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
    cmake --build "$build/googletest" -j2 >/dev/null
    cmake --install "$build/googletest" >/dev/null
fi

[ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1 || true

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DINKRUN_BUILD_QT=OFF -DINKRUN_BUILD_BENCH=OFF -DBUILD_TESTING=ON -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null
cmake --build "$build" -j2

# The window-closing tests make Wine windows: they get a display of their own, which the
# server picks (another run may hold any number we could guess).
displayfile="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
done
[ -s "$displayfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$displayfile")"

status=0
# The window's Wine tests share this build; its own script runs them after the installer is made.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300 -E '^wine\.' || status=$?
exit "$status"
