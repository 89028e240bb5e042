#!/usr/bin/env bash
# The release as a user gets it: tools/package builds the installer and the archive from the
# two given builds; the archive must hold exactly the read-me and the two screen savers. The
# installer, a 32-bit program as on every Windows, runs silently in two fresh Wine
# environments: on 64-bit Windows (a 64-bit prefix) it must install the 64-bit saver, on
# 32-bit Windows (a 32-bit prefix) the 32-bit one; each time into the Windows folder, made
# the active saver, with its uninstaller registered. The installed saver starts with /s and
# ends on a key; the silent uninstaller removes the file, the settings and both registry
# entries, and keeps another screen saver the user made active. Exits 77 (skipped) when this
# machine cannot execute 32-bit code.
# Usage: package_test.sh SCR32 SCR64 WORK_DIR
set -uo pipefail
[ $# -eq 3 ] || { sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | grep -v '^set' >&2; exit 2; }
scr32=$1 scr64=$2 work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/lib/xvfb.sh
. "$root/tools/lib/xvfb.sh"
wine_env=$root/tools/lib/wine_env.sh
version=$(sed -n 's/^project(VQSaver VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
# The installer and its uninstaller are 32-bit programs.
wine32=/usr/lib/wine/wine
if ! "$wine32" --version >/dev/null 2>&1; then
    echo "SKIPPED: this machine cannot execute $wine32, which runs the 32-bit installer" \
        "(it needs the kernel's IA32 emulation)"
    exit 77
fi

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
check() {  # DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

rm -rf "$work"
mkdir -p "$work"
"$root/tools/package" --dist "$work/dist" --scr32 "$scr32" --scr64 "$scr64" ||
    { echo "FAILED: tools/package" >&2; exit 1; }
zip=$work/dist/VQSaver-$version.zip
setup=$work/dist/VQSaver-$version-setup.exe
check "the release installer is built" test -s "$setup"

# The archive.
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
check "the archive holds the read-me and both builds (it holds: $listing)" \
    test "$listing" = "README-Windows.txt x64/VQSaver.scr x86/VQSaver.scr "
check "the archive's x86 saver is the 32-bit build" cmp -s <(unzip -p "$zip" x86/VQSaver.scr) "$scr32"
check "the archive's x64 saver is the 64-bit build" cmp -s <(unzip -p "$zip" x64/VQSaver.scr) "$scr64"
check "the read-me has Windows line ends" bash -c "unzip -p '$zip' README-Windows.txt | grep -q $'\r$'"

# Install, run, uninstall on Windows of the kind ARCH (win64 or win32), where the installer
# must put the saver EXPECTED into the Windows folder.
reg_value() {  # KEY NAME: the value's data, or nothing
    "$wine32" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VQSaver'
install_run_uninstall() {
    local arch=$1 expected=$2
    echo "-- on $arch Windows"
    env_dir=$work/env-$arch
    WINE_ENV_ARCH=$arch "$wine_env" start "$env_dir" >/dev/null ||
        { fail "no $arch Wine environment"; return; }
    trap '"$wine_env" stop "$env_dir" >/dev/null' EXIT
    # shellcheck source=/dev/null
    source "$env_dir/env"
    # The prefix's own loader runs what Windows runs natively: cmd and the installed saver.
    # The registry is read and written as the 32-bit installer sees it: on 64-bit Windows its
    # uninstall entry lies in the 32-bit view, where Add/Remove Programs finds it too.
    wine=$WINE_ENV_WINE
    installed=$WINEPREFIX/drive_c/windows/VQSaver.scr

    check "the installer runs silently" "$wine32" "$setup" /S
    # Under load Wine can return before the installer's files are all written.
    check "the $arch saver is in the Windows folder" poll_until 30 cmp -s "$installed" "$expected"
    check "it is the active screen saver" \
        test "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = 'C:\windows\VQSaver.scr'
    uninstaller=$(reg_value "$uninstall_key" QuietUninstallString)
    check "the uninstaller is registered (as: $uninstaller)" test -n "$uninstaller"

    "$wine" 'C:\windows\VQSaver.scr' /s &
    saver=$!
    # Keys go to the saver once its window shows.
    check "the installed saver shows its window with /s" \
        timeout 20 xdotool search --sync --onlyvisible --name '^VQ ScreenSaver' >/dev/null
    xdotool key space
    ended=false
    poll_until 10 process_gone "$saver" && ended=true
    check "the installed saver ends on a key" $ended
    $ended || kill "$saver"
    wait "$saver"
    check "the installed saver ends normally" test $? -eq 0

    # Settings the saver's user made, which the uninstaller takes away with the rest.
    "$wine32" reg add 'HKCU\Software\VQ_Saver\Config' /v Type /t REG_SZ /d 1 /f >/dev/null 2>&1
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
    check "the settings are gone" bash -c "! '$wine32' reg query 'HKCU\\Software\\VQ_Saver' >/dev/null 2>&1"
    check "the uninstall entry is gone" bash -c "! '$wine32' reg query '$uninstall_key' >/dev/null 2>&1"

    # Again, as Add/Remove Programs runs it, after the user chose another screen saver: that
    # choice stays, and the uninstaller takes itself and its folder away.
    check "the installer runs silently again" "$wine32" "$setup" /S
    other_saver='C:\windows\system32\other.scr'
    "$wine32" reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /t REG_SZ /d "$other_saver" /f \
        >/dev/null 2>&1
    check "the registered uninstaller runs silently" "$wine32" "$uninstall_dir\\uninstall.exe" /S
    poll_until 20 test ! -e "$uninstaller_file"
    check "the uninstaller removes itself and its folder" test ! -e "$(dirname "$uninstaller_file")"
    check "the saver is gone again" test ! -e "$installed"
    check "the other screen saver stays the active one" \
        test "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = "$other_saver"
    "$wine_env" stop "$env_dir" >/dev/null
    trap - EXIT
}

install_run_uninstall win64 "$scr64"
install_run_uninstall win32 "$scr32"

[ $failures -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "package: every check passed"
