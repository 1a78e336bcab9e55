#!/usr/bin/env bash
# Installs the Debian packages the build, the program and its tests need, when any is missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libgl-dev libx11-dev
    libgtest-dev libbenchmark-dev
    librsvg2-bin icoutils dpkg-dev fakeroot desktop-file-utils appstream man-db file
    xvfb xauth xdotool x11-utils fonts-dejavu-core xdg-utils time
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
