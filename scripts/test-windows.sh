#!/usr/bin/env bash
# Cross-builds the core, inkrun-build.exe and the unit tests for 64-bit Windows with MinGW-w64
# and runs the tests under Wine, headless, with a Wine prefix of their own in build-win/. The
# folder is shared with the Windows window's script: the same build type, so neither rebuilds the other.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${INKRUN_WINDOWS_BUILD:-$root/build-win}"

"$root/scripts/install-deps.sh" windows-build wine x-session
source "$root/scripts/lib/x_session.sh"
source "$root/scripts/lib/wine.sh"

# Set before anything runs under Wine: test discovery at build time starts the test program.
wine_prefix "$build"
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

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DINKRUN_BUILD_QT=OFF -DINKRUN_BUILD_BENCH=OFF -DBUILD_TESTING=ON -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null
cmake --build "$build" -j2

# The window-closing tests make Wine windows: they get a display of their own.
wine_work wine-core
x_session_start "$WINE_WORK"

status=0
# The window's Wine tests share this build; its own script runs them after the installer is made.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300 -E '^wine\.' || status=$?
exit "$status"
