#!/usr/bin/env bash
# Builds the Debian package into build-deb/ (installed under /usr) and prints its path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" linux-build deb-package
cd "$root"
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF -DINKRUN_BUILD_BENCH=OFF >/dev/null
cmake --build build-deb -j2
(cd build-deb && cpack -G DEB >/dev/null)
# The package of this version, not one an older build left beside it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-deb/CMakeCache.txt)
ls "$root"/build-deb/inkrun_"$version"_*.deb
