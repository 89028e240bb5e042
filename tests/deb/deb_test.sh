#!/usr/bin/env bash
# The Debian package as a user gets it: tools/lib/deb.sh builds it from the given program;
# lintian reports no error in it; it holds the program, its GTK half, its link on PATH, the
# options file, the manual page and the copyright file where they belong; it depends on a
# font with Arial's metrics; and the real xscreensaver daemon and settings panel run it from
# a temporary root (xscreensaver_test.py).
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
for entry in "-rwxr-xr-x ./usr/libexec/xscreensaver/vqsaver" \
    "-rwxr-xr-x ./usr/libexec/xscreensaver/vqsaver-gtk" \
    "lrwxrwxrwx ./usr/bin/vqsaver" \
    "-rw-r--r-- ./usr/share/xscreensaver/config/vqsaver.xml" \
    "-rw-r--r-- ./usr/share/man/man6/vqsaver.6.gz" \
    "-rw-r--r-- ./usr/share/doc/vqsaver/copyright"; do
    if grep -qxF -- "$entry" <<< "$contents"; then echo "ok: the package holds $entry"
    else fail "the package does not hold $entry"; fi
done

depends=$(dpkg-deb -f "$deb" Depends)
if grep -qE '(^|, )fonts-liberation \| fonts-liberation2(,|$)' <<< "$depends"; then
    echo "ok: the package depends on a font with Arial's metrics"
else
    fail "the package does not depend on fonts-liberation: Depends: $depends"
fi

/usr/bin/python3 -B "$root/tests/deb/xscreensaver_test.py" "$deb" "$work" || fail "xscreensaver_test.py"
[ "$failures" -eq 0 ] || { echo "$failures failed" >&2; exit 1; }
