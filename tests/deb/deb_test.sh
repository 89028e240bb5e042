#!/usr/bin/env bash
# The Debian package as a user gets it: tools/lib/deb.sh builds it from the given program;
# lintian reports no error in it; it holds the program, its GTK half, its link on PATH, the
# options file, the settings dialogs' desktop entry (desktop-file-validate finds nothing in
# it) with its icon in every size, the manual page and the copyright file where they belong;
# it depends on a font with Arial's metrics; and the real xscreensaver daemon and settings
# panel run it from a temporary root (xscreensaver_test.py).
# Usage: deb_test.sh PROGRAM WORK_DIR
set -uo pipefail
[ $# -eq 2 ] || { sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | grep -v '^set' >&2; exit 2; }
program=$1 work=$2
root=$(cd "$(dirname "$0")/../.." && pwd)

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
"$root/tools/lib/deb.sh" "$program" "$work/dist" || { echo "FAILED: tools/lib/deb.sh" >&2; exit 1; }
deb=$(echo "$work"/dist/vqsaver_*.deb)

if lintian --fail-on error "$deb" > "$work/lintian.txt" 2>&1; then
    echo "ok: lintian reports no error"
else
    cat "$work/lintian.txt" >&2
    fail "lintian reports errors"
fi

contents=$(dpkg-deb -c "$deb" | awk '{ print $1, $6 }')
icons=()
for n in 16 22 24 32 48 64 128 256; do
    icons+=("-rw-r--r-- ./usr/share/icons/hicolor/${n}x${n}/apps/vqsaver.png")
done
for entry in "-rwxr-xr-x ./usr/libexec/xscreensaver/vqsaver" \
    "-rwxr-xr-x ./usr/libexec/xscreensaver/vqsaver-gtk" \
    "lrwxrwxrwx ./usr/bin/vqsaver" \
    "-rw-r--r-- ./usr/share/xscreensaver/config/vqsaver.xml" \
    "-rw-r--r-- ./usr/share/man/man6/vqsaver.6.gz" \
    "-rw-r--r-- ./usr/share/doc/vqsaver/copyright" \
    "-rw-r--r-- ./usr/share/applications/vqsaver-settings.desktop" "${icons[@]}"; do
    if grep -qxF -- "$entry" <<< "$contents"; then echo "ok: the package holds $entry"
    else fail "the package does not hold $entry"; fi
done

depends=$(dpkg-deb -f "$deb" Depends)
if grep -qE '(^|, )fonts-liberation \| fonts-liberation2(,|$)' <<< "$depends"; then
    echo "ok: the package depends on a font with Arial's metrics"
else
    fail "the package does not depend on fonts-liberation: Depends: $depends"
fi

# The entry and the icons as a desktop reads them.
mkdir -p "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
entry=$work/unpacked/usr/share/applications/vqsaver-settings.desktop
if desktop-file-validate "$entry" > "$work/desktop.txt" 2>&1 && [ ! -s "$work/desktop.txt" ]; then
    echo "ok: desktop-file-validate finds nothing in the desktop entry"
else
    cat "$work/desktop.txt" >&2
    fail "desktop-file-validate reports on the desktop entry"
fi
for key in "Name=VQ Saver Settings" "Exec=vqsaver --config" "Icon=vqsaver"; do
    if grep -qxF "$key" "$entry"; then echo "ok: the desktop entry has $key"
    else fail "the desktop entry lacks $key"; fi
done
for png in "$work"/unpacked/usr/share/icons/hicolor/*/apps/vqsaver.png; do
    dims=$(basename "$(dirname "$(dirname "$png")")")
    seen=$(file -b "$png" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p')
    if [ "$seen" = "$dims" ]; then echo "ok: the $dims icon is a $seen PNG"
    else fail "the $dims icon is \"$(file -b "$png")\""; fi
done

/usr/bin/python3 -B "$root/tests/deb/xscreensaver_test.py" "$deb" "$work" || fail "xscreensaver_test.py"
[ "$failures" -eq 0 ] || { echo "$failures failed" >&2; exit 1; }
