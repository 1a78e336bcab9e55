#!/usr/bin/env bash
# Builds the Debian package from debian/ with dpkg-buildpackage, and the source package beside it
# for lintian, into build-deb/; prints the binary package's path, the last line.
# dpkg-buildpackage writes its packages beside the tree it builds, and this tree's parent is not
# ours: it builds a copy, build-deb/inkrun-VERSION/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" linux-build deb-package
out="$root/build-deb"
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
copy="$out/inkrun-$version"
deb="$out/inkrun_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).deb"

# A fresh copy of the sources every time, keeping the files' times, which the build goes by. Its
# build folder (obj-*) is kept and the package built without cleaning first, so an unchanged tree
# builds again in seconds; from an empty build-deb/ it is a clean build.
mkdir -p "$copy"
find "$out" -mindepth 1 -maxdepth 1 -type d -name 'inkrun-*' ! -name "inkrun-$version" -exec rm -rf {} +
find "$copy" -mindepth 1 -maxdepth 1 ! -name 'obj-*' -exec rm -rf {} +
# Not copied: the build folders, and what dpkg-buildpackage leaves when run in the tree itself.
not_sources=(.git build 'build-*' 'obj-*' debian/.debhelper debian/inkrun debian/tmp debian/files
    'debian/*.substvars' debian/debhelper-build-stamp)
tar -C "$root" "${not_sources[@]/#/--exclude=./}" -cf - . | tar -C "$copy" -xf -

rm -f "$deb"
echo "Building $(basename "$deb") (log: $out/build.log)"
(
    cd "$out"
    dpkg-source --tar-ignore='obj-*' -b "inkrun-$version"
    cd "$copy"
    dpkg-buildpackage -b -us -uc --no-pre-clean -jauto
) >"$out/build.log" 2>&1 || {
    tail -n 40 "$out/build.log" >&2
    echo "The package build failed; the whole log is $out/build.log" >&2
    exit 1
}
ls "$deb"
