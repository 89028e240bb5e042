#!/usr/bin/env bash
# Installs, with apt, whichever of the packages the build and the tests need are missing.
# Wine's 32-bit loader (wine32:i386), which runs the 32-bit build, needs the i386
# architecture, added here first.
# Usage: tools/lib/deps.sh
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest libgtest-dev clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    wine64 wine wine32:i386 xvfb fonts-liberation
    xdotool x11-utils x11-xserver-utils imagemagick icoutils
    nsis zip unzip
    pkg-config libx11-dev libxft-dev libxrandr-dev libxinerama-dev libxtst-dev libxfixes-dev
    xscreensaver xscreensaver-data lintian python3
    libgtk-3-dev libgtk-layer-shell-dev
    libpng-dev desktop-file-utils file python3-pyatspi at-spi2-core dbus
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
