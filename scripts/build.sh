#!/usr/bin/env bash
# Configures build/ (once, warnings as errors) and builds the given targets, or everything when none is given.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
jobs=$(nproc)
if [ $# -gt 0 ]; then
    cmake --build build -j"$jobs" --target "$@"
else
    cmake --build build -j"$jobs"
fi
