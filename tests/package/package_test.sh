#!/usr/bin/env bash
# The release as a user gets it: tools/package builds the installer and the archive from the
# two given builds; the archive must hold exactly the read-me and the two screen savers; the
# installer (its 64-bit test copy: these machines cannot run 32-bit code) runs silently in a
# fresh Wine environment, puts the 64-bit saver into the Windows folder, makes it the active
# saver and registers its uninstaller; the installed saver starts with /s and ends on a key;
# the silent uninstaller removes the file, the settings and both registry entries, and keeps
# another screen saver the user made active.
# Usage: package_test.sh SCR32 SCR64 WORK_DIR
set -uo pipefail
[ $# -eq 3 ] || { sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | grep -v '^set' >&2; exit 2; }
scr32=$1 scr64=$2 work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_env=$root/tools/lib/wine_env.sh
version=$(sed -n 's/^project(VQSaver VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
check() {  # DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

rm -rf "$work"
mkdir -p "$work"
"$root/tools/package" --dist "$work/dist" --scr32 "$scr32" --scr64 "$scr64" \
    --amd64-test-installer || { echo "FAILED: tools/package" >&2; exit 1; }
zip=$work/dist/VQSaver-$version.zip
setup=$work/dist/VQSaver-$version-setup-amd64-test.exe
check "the release installer is built" test -s "$work/dist/VQSaver-$version-setup.exe"

# The archive.
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
check "the archive holds the read-me and both builds (it holds: $listing)" \
    test "$listing" = "README-Windows.txt x64/VQSaver.scr x86/VQSaver.scr "
check "the archive's x86 saver is the 32-bit build" cmp -s <(unzip -p "$zip" x86/VQSaver.scr) "$scr32"
check "the archive's x64 saver is the 64-bit build" cmp -s <(unzip -p "$zip" x64/VQSaver.scr) "$scr64"
check "the read-me has Windows line ends" bash -c "unzip -p '$zip' README-Windows.txt | grep -q $'\r$'"

# Install, run, uninstall.
env_dir=$work/env
"$wine_env" start "$env_dir" >/dev/null || { echo "FAILED: no Wine environment" >&2; exit 1; }
trap '"$wine_env" stop "$env_dir" >/dev/null' EXIT
# shellcheck source=/dev/null
source "$env_dir/env"
wine=/usr/lib/wine/wine64
reg_value() {  # KEY NAME: the value's data, or nothing
    "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
installed=$WINEPREFIX/drive_c/windows/VQSaver.scr
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VQSaver'

check "the installer runs silently" "$wine" "$setup" /S
check "the 64-bit saver is in the Windows folder" cmp -s "$installed" "$scr64"
check "it is the active screen saver" \
    test "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = 'C:\windows\VQSaver.scr'
uninstaller=$(reg_value "$uninstall_key" QuietUninstallString)
check "the uninstaller is registered (as: $uninstaller)" test -n "$uninstaller"

"$wine" 'C:\windows\VQSaver.scr' /s &
saver=$!
sleep 3
check "the installed saver runs with /s" kill -0 "$saver"
xdotool key space
ended=false
for _ in $(seq 50); do
    kill -0 "$saver" 2>/dev/null || { ended=true; break; }
    sleep 0.2
done
check "the installed saver ends on a key" $ended
$ended || kill "$saver"
wait "$saver"
check "the installed saver ends normally" test $? -eq 0

# Settings the saver's user made, which the uninstaller takes away with the rest.
"$wine" reg add 'HKCU\Software\VQ_Saver\Config' /v Type /t REG_SZ /d 1 /f >/dev/null 2>&1
uninstall_dir=$(reg_value "$uninstall_key" InstallLocation)
uninstaller_file=$WINEPREFIX/drive_c/${uninstall_dir#C:\\}/uninstall.exe
uninstaller_file=${uninstaller_file//\\//}
check "the uninstaller is in its folder" test -f "$uninstaller_file"
# _?= runs the uninstaller where it is, so that it returns when it has finished instead of
# when it has handed over to a copy of itself in the temporary folder. It takes the rest of
# the command line as the folder, quotes and all, so it goes unquoted through a batch file,
# which also waits for it.
printf '@"%s\\uninstall.exe" /S _?=%s\r\n' "$uninstall_dir" "$uninstall_dir" \
    > "$WINEPREFIX/drive_c/uninstall.bat"
check "the uninstaller runs silently" "$wine" cmd /c 'C:\uninstall.bat'
check "the saver is gone from the Windows folder" test ! -e "$installed"
check "it is no longer the active screen saver" \
    test -z "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)"
check "the settings are gone" bash -c "! '$wine' reg query 'HKCU\\Software\\VQ_Saver' >/dev/null 2>&1"
check "the uninstall entry is gone" bash -c "! '$wine' reg query '$uninstall_key' >/dev/null 2>&1"

# Again, as Add/Remove Programs runs it, after the user chose another screen saver: that
# choice stays, and the uninstaller takes itself and its folder away.
check "the installer runs silently again" "$wine" "$setup" /S
other_saver='C:\windows\system32\other.scr'
"$wine" reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /t REG_SZ /d "$other_saver" /f \
    >/dev/null 2>&1
check "the registered uninstaller runs silently" "$wine" "$uninstall_dir\\uninstall.exe" /S
for _ in $(seq 100); do
    [ -e "$uninstaller_file" ] || break
    sleep 0.2
done
check "the uninstaller removes itself and its folder" test ! -e "$(dirname "$uninstaller_file")"
check "the saver is gone again" test ! -e "$installed"
check "the other screen saver stays the active one" \
    test "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = "$other_saver"

[ $failures -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "package: every check passed"
