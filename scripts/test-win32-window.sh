#!/usr/bin/env bash
# Cross-builds the Windows window and its installer into build-win/ and tests them under Wine
# inside Xvfb. The Wine prefix lives in the build folder, so nothing fills the home folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh" windows-build windows-installer wine x-session

source "$root/scripts/lib/wine.sh"
build="$root/build-win"
wine_prefix "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DINKRUN_BUILD_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2
(cd "$build" && cpack -G NSIS >/dev/null)
ctest --test-dir "$build" --output-on-failure -R '^wine\.' --timeout 300
