#!/usr/bin/env bash
# Builds the Debian package of the Linux saver with dpkg-deb alone: the program in
# /usr/libexec/xscreensaver (where xscreensaver looks first) with its GTK half for Wayland
# and the settings dialogs beside it (vqsaver-gtk, from the same folder as PROGRAM), a link to
# it on PATH (/usr/bin/vqsaver), its options file for xscreensaver's settings panel, the
# desktop entry of the settings dialogs with the icon in every size of the hicolor theme
# (made beside PROGRAM by the build, in icons/), its manual page, the copyright file and a
# changelog. The dependencies come from the shared libraries each
# executable links, through the shlibs files of the packages that hold them: the version a
# library's symbols file gives the newest symbol version the executable needs (what
# dpkg-shlibdeps would find), else its shlibs line.
#
# Usage: tools/lib/deb.sh PROGRAM OUT_DIR   (writes OUT_DIR/vqsaver_VERSION_ARCH.deb)
set -euo pipefail
[ $# -eq 2 ] || { sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | grep -v '^set' >&2; exit 2; }
program=$1 out=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
files=$root/installer/linux
maintainer="Tobin Akersley <tobin.akersley@vqsaver.org>"

fail() { echo "deb.sh: $*" >&2; exit 1; }
[ -x "$program" ] || fail "$program is not a program"
gtk_half=$(dirname "$program")/vqsaver-gtk
[ -x "$gtk_half" ] || fail "$gtk_half (the GTK half) is not a program"
icons=$(dirname "$program")/icons/hicolor
[ -d "$icons" ] || fail "no icons beside $program (the build writes them to $icons)"
version=$(sed -n 's/^project(VQSaver VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt"
arch=$(dpkg --print-architecture)

# The package a shared library comes from, by the library's path (usr-merged or not).
owner() {
    local path=$1 found
    for candidate in "$path" "$(readlink -f "$path")" "${path#/usr}" "/usr${path}"; do
        found=$(dpkg -S "$candidate" 2>/dev/null | head -n1) || continue
        [ -n "$found" ] && { echo "${found%%:*}"; return 0; }
    done
    return 1
}

# The symbol versions (GLIBC_2.34, GLIBCXX_3.4.29...) an executable needs from one soname.
needed_versions() {
    objdump -p "$2" | awk -v lib="$1" '
        /^  required from / { from = ($3 == lib ":") ; next }
        /^  [^ ]/ { from = 0 }
        from && NF == 4 { print $4 }'
}

# The newest package version that brings one of those symbol versions, from the package's
# symbols file; nothing when it has none or names none of them.
symbols_minimum() {
    local soname=$1 package=$2 executable=$3 symbols=/var/lib/dpkg/info/$2:$arch.symbols best=""
    local tag version
    [ -f "$symbols" ] || symbols=/var/lib/dpkg/info/$package.symbols
    [ -f "$symbols" ] || return 0
    for tag in $(needed_versions "$soname" "$executable"); do
        version=$(awk -v want="$tag@$tag" '$1 == want { print $2; exit }' "$symbols")
        [ -n "$version" ] || continue
        if [ -z "$best" ] || dpkg --compare-versions "$version" gt "$best"; then best=$version; fi
    done
    echo "$best"
}

# "pkg (>= version)" for one soname of an executable.
dependency() {
    local soname=$1 executable=$2 path name number package shlibs minimum line
    path=$(ldd "$executable" | awk -v lib="$soname" '$1 == lib { print $3 }')
    [ -n "$path" ] || fail "$soname is not found on this machine"
    package=$(owner "$path") || fail "no package holds $path"
    minimum=$(symbols_minimum "$soname" "$package" "$executable")
    [ -z "$minimum" ] || { echo "$package (>= $minimum)"; return 0; }
    name=${soname%%.so*} number=${soname#*.so.}
    for shlibs in "/var/lib/dpkg/info/$package:$arch.shlibs" "/var/lib/dpkg/info/$package.shlibs"; do
        [ -f "$shlibs" ] || continue
        line=$(awk -v n="$name" -v v="$number" \
            '$1 == n && $2 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print; exit }' "$shlibs")
        [ -z "$line" ] || { echo "$line"; return 0; }
    done
    echo "$package"
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
chmod 0755 "$stage"
install -d -m 0755 "$stage/DEBIAN" "$stage/usr/libexec/xscreensaver" "$stage/usr/bin" \
    "$stage/usr/share/xscreensaver/config" "$stage/usr/share/man/man6" \
    "$stage/usr/share/doc/vqsaver" "$stage/usr/share/applications"
install -m 0755 "$program" "$stage/usr/libexec/xscreensaver/vqsaver"
install -m 0755 "$gtk_half" "$stage/usr/libexec/xscreensaver/vqsaver-gtk"
install -m 0644 "$files/vqsaver-settings.desktop" "$stage/usr/share/applications/"
for png in "$icons"/*/apps/vqsaver.png; do
    dims=$(basename "$(dirname "$(dirname "$png")")")
    install -D -m 0644 "$png" "$stage/usr/share/icons/hicolor/$dims/apps/vqsaver.png"
done
strip --strip-unneeded --remove-section=.comment --remove-section=.note \
    "$stage/usr/libexec/xscreensaver/vqsaver" "$stage/usr/libexec/xscreensaver/vqsaver-gtk"
# On PATH for idle daemons and users; the program finds its GTK half through its own path.
ln -s ../libexec/xscreensaver/vqsaver "$stage/usr/bin/vqsaver"
install -m 0644 "$files/vqsaver.xml" "$stage/usr/share/xscreensaver/config/vqsaver.xml"
sed "s/^\(\.TH vqsaver 6 \)\"[^\"]*\"/\1\"$version\"/" "$files/vqsaver.6" |
    gzip -9n > "$stage/usr/share/man/man6/vqsaver.6.gz"
install -m 0644 "$files/copyright" "$stage/usr/share/doc/vqsaver/copyright"
# The changelog of a native package: one entry, dated by the last commit, so that the same
# tree gives the same package.
date=$(git -C "$root" log -1 --format=%cD 2>/dev/null || date -R)
printf 'vqsaver (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
    "$version" "$version" "$maintainer" "$date" | gzip -9n > "$stage/usr/share/doc/vqsaver/changelog.gz"
chmod 0644 "$stage/usr/share/man/man6/vqsaver.6.gz" "$stage/usr/share/doc/vqsaver/changelog.gz"

# One entry a package (libc.so.6 and libm.so.6 both come from libc6, and both halves link
# libc): the newest version.
declare -A wanted=()
for executable in "$program" "$gtk_half"; do
    for soname in $(objdump -p "$executable" | awk '$1 == "NEEDED" { print $2 }'); do
        entry=$(dependency "$soname" "$executable")  # one it cannot place stops the build
        read -r package relation <<< "$entry"
        old=${wanted[$package]-}
        if [ -z "$old" ] || { [ -n "$relation" ] && dpkg --compare-versions \
            "$(tr -d '()>=' <<< "$relation" | xargs)" gt "$(tr -d '()>=' <<< "$old" | xargs)"; }; then
            wanted[$package]=${relation:- }
        fi
    done
done
[ ${#wanted[@]} -gt 0 ] || fail "no dependencies found"
# Its captions are laid out for Arial's metrics: fontconfig answers Arial with Liberation Sans
# when one of these is installed, and with a face of other metrics (captions overflow) when not.
wanted["fonts-liberation | fonts-liberation2"]=" "
depends=$(for package in "${!wanted[@]}"; do echo "$package ${wanted[$package]}"; done |
    sed 's/ *$//' | sort | paste -sd, - | sed 's/,/, /g')
size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
cat > "$stage/DEBIAN/control" <<CONTROL
Package: vqsaver
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $size
Depends: $depends
Recommends: xscreensaver, swayidle
Section: x11
Priority: optional
Description: screen saver: a drifting portrait, captioned film stills, flashes
 Three screen savers in one, all showing pictures of the screen actor Velmarr
 on a black screen: Drifter, a chosen portrait drifting across the screen;
 Still & Quote, ten film stills with their captions; and Flasher, pictures
 flashing up at random places. On X11 it is a display mode of xscreensaver,
 whose settings panel chooses the mode and its options; on Wayland desktops
 with the layer shell (sway, Hyprland, KDE Plasma and others) an idle daemon
 such as swayidle starts it over every output, and "VQ Saver Settings" in the
 application menu (vqsaver --config) sets its options. It never locks the
 session. Every picture and text is compiled in.
CONTROL
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$stage/DEBIAN/md5sums"
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

mkdir -p "$out"
deb=$out/vqsaver_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "deb.sh: $deb"
