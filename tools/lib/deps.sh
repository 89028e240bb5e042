#!/usr/bin/env bash
# Installs, with apt, whichever of the packages the given targets need are missing.
# Usage: tools/lib/deps.sh [--dry-run] TARGET...
#   linux      build vqsaver, the program on Linux (the linux preset without its tests)
#   headless   run it on a private display and take a screenshot (tools/run without one)
#   windows    cross-build VQSaver.scr and its installer, and run them under Wine
#   native     build and run the unit tests and the fuzz test (the native preset)
#   test       everything the system tests, the package tests and the benchmark use
# --dry-run prints the missing packages, one a line, and installs nothing.
#
# Names are the distribution's unversioned ones wherever one exists. A package for another
# architecture (wine32:i386 runs the 32-bit build) adds that architecture first.
set -euo pipefail

# One list per target; tools name the targets they need.
declare -A deps=(
    [linux]="cmake ninja-build g++ pkg-config libx11-dev libxft-dev libxrandr-dev
        libxinerama-dev libxrender-dev libpng-dev fonts-liberation libgtk-3-dev libgtk-layer-shell-dev"
    [headless]="xvfb imagemagick"
    [windows]="cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix nsis zip
        wine64 wine wine32:i386"
    [native]="cmake ninja-build g++ googletest libgtest-dev clang libclang-rt-dev"
    [test]="googletest libgtest-dev libxtst-dev libxfixes-dev libxres-dev xvfb xdotool x11-utils
        x11-xserver-utils imagemagick unzip xscreensaver xscreensaver-data lintian python3
        fonts-dejavu-core sway grim wtype swayidle weston libwayland-dev libwayland-bin
        libxkbcommon-dev
        python3-gi gir1.2-gtk-3.0 python3-pyatspi at-spi2-core dbus desktop-file-utils file"
)

dry_run=false
if [ "${1-}" = --dry-run ]; then
    dry_run=true
    shift
fi
[ $# -gt 0 ] || { sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2; exit 2; }

packages=()
for target in "$@"; do
    [ -n "$target" ] && [ -n "${deps[$target]+set}" ] || { echo "deps.sh: no target '$target'" >&2; exit 2; }
    read -r -d '' -a listed <<<"${deps[$target]}" || true
    packages+=("${listed[@]}")
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if $dry_run; then
    [ ${#missing[@]} -eq 0 ] || printf '%s\n' "${missing[@]}"
    exit 0
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*:\(.*\)/\1/p' | sort -u); do
    if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
        "${sudo_cmd[@]}" dpkg --add-architecture "$arch"
    fi
done
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
