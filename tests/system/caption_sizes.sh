#!/usr/bin/env bash
# Lays out the same captions (every dialog caption, the Still & Quote texts, access-key marks)
# with the Win32 build under Wine and with the X11 build, both on the Xvfb of the Wine
# environment in ENV_DIR, and with the Linux build's GTK half on a headless sway when sway
# and the GTK half are there, at 96, 120, 144 and 192 dpi, and compares each with Win32's:
#   - every caption is measured by each;
#   - heights are equal (the same font height, line spacing and number of lines);
#   - X11's widths are Win32's to the pixel: GDI and Xft both round each glyph's advance in
#     the same face (Liberation Sans answers Arial for both) to whole pixels, and both
#     backends break lines by the toolkit's rules;
#   - GTK's widths are within 1 pixel or 1 % of Win32's: Pango places glyphs at fractions
#     of a pixel, which at some sizes (22 px) comes out a pixel or three short on a long line.
# Exits 77 (skipped) when there is no X11 build or the loader cannot run here.
# sway refuses to run as root: as root it runs as nobody, in a private runtime folder.
# Usage: caption_sizes.sh ENV_DIR LOADER SAVER_SCR LINUX_PROGRAM
set -uo pipefail
[ $# -eq 4 ] || { sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | grep -v '^set' >&2; exit 2; }
env_dir=$1 loader=$2 saver=$3 linux_program=$4
wine_env=$(dirname "$0")/../../tools/lib/wine_env.sh

[ -x "$linux_program" ] || { echo "SKIPPED: no X11 build at $linux_program"; exit 77; }
"$loader" --version >/dev/null 2>&1 || { echo "SKIPPED: this machine cannot execute $loader"; exit 77; }
"$wine_env" screen "$env_dir" 800x600 || exit 1
"$wine_env" dpi "$env_dir" 96 || exit 1

work=$(mktemp -d) || exit 1
run=""
trap 'rm -rf "$work" ${run:+"$run"}' EXIT
"$wine_env" exec "$env_dir" "$loader" "$saver" --measure >"$work/win32" || {
    echo "VQSaver.scr --measure failed"; exit 1; }
"$wine_env" exec "$env_dir" "$linux_program" --x11 --measure >"$work/x11" || {
    echo "vqsaver --measure failed"; exit 1; }
[ -s "$work/win32" ] && [ -s "$work/x11" ] || { echo "a backend measured nothing"; exit 1; }
status=0

# The GTK half on a headless sway of its own, stopped by its process id.
measure_gtk() {
    command -v sway >/dev/null && [ -x "${linux_program%/*}/vqsaver-gtk" ] || return 77
    local as=() pid status
    # Its own folder, not inside the private work folder, which nobody could not enter.
    run=$(mktemp -d) || return 1
    printf 'xwayland disable\ndefault_border none\noutput HEADLESS-1 mode 800x600\n' >"$run/config"
    if [ "$(id -u)" -eq 0 ]; then
        chown -R 65534:65534 "$run"
        as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    env -i PATH=/usr/bin:/bin HOME="$run" XDG_RUNTIME_DIR="$run" WLR_BACKENDS=headless \
        WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 "${as[@]}" sway -c "$run/config" \
        >"$run/log" 2>&1 &
    pid=$!
    for _ in $(seq 200); do
        [ -S "$run/wayland-1" ] || ! kill -0 "$pid" 2>/dev/null && break
        sleep 0.05
    done
    env -u DISPLAY XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=wayland-1 \
        "$linux_program" --wayland --measure >"$work/gtk"
    status=$?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return $status
}

# Each backend's sizes against Win32's, widths within TOLERANCE pixels or percent.
compare() {
    local other=$1 tolerance=$2
    echo "caption dpi: win32 width height | $other width height | wrap"
    awk -v other="$other" -v tolerance="$tolerance" '
    FNR == NR { w[$1 " " $2] = $3; h[$1 " " $2] = $4; wrap[$1 " " $2] = $5; next }
    {
        key = $1 " " $2; seen[key] = 1
        if (!(key in w)) { print "only on " other ": " key; bad++; next }
        dw = w[key] - $3; if (dw < 0) dw = -dw
        fault = ""
        if (h[key] != $4) fault = "heights differ"
        else if (dw > tolerance && dw > $3 * tolerance / 100) fault = "widths differ"
        line = key ": " w[key] " " h[key] " | " $3 " " $4 " | " wrap[key]
        if (fault != "") { print line "  <- " fault; bad++ }
        else if (key ~ /^(frmAbout.lblTitle|StillQuote.studio1|AccessKeys)/) print line
    }
    END {
        for (key in w) if (!(key in seen)) { print "only on Win32: " key; bad++ }
        print (bad ? bad " differences" : "no differences")
        exit bad > 0
    }' "$work/win32" "$work/$other"
}

compare x11 0 || status=1
measure_gtk
case $? in
    0) compare gtk 1 || status=1 ;;
    77) echo "(no GTK half or no sway: the GTK backend is not compared)" ;;
    *) echo "vqsaver --wayland --measure failed"; status=1 ;;
esac
exit $status
