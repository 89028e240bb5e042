#!/usr/bin/env bash
# Lays out the same captions (every dialog caption, the Still & Quote texts, access-key marks)
# with the Win32 build under Wine and with the X11 build, both on the Xvfb of the Wine
# environment in ENV_DIR, at 96, 120, 144 and 192 dpi, and compares the sizes:
#   - every caption is measured by both;
#   - heights are equal (the same font height, line spacing and number of lines);
#   - a caption that does not wrap is as wide on both, within 1 pixel or 1 %: GDI and Xft
#     take the same glyph advances from the same font (Liberation Sans answers Arial for
#     both) but round them on their own paths;
#   - a caption that wraps stays within its wrap width on both: where a line just fits, the
#     two may break it one word apart, which changes the widest line but not the line count.
# Exits 77 (skipped) when there is no X11 build or the loader cannot run here.
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
trap 'rm -rf "$work"' EXIT
"$wine_env" exec "$env_dir" "$loader" "$saver" --measure >"$work/win32" || {
    echo "VQSaver.scr --measure failed"; exit 1; }
"$wine_env" exec "$env_dir" "$linux_program" --measure >"$work/x11" || {
    echo "vqsaver --measure failed"; exit 1; }
[ -s "$work/win32" ] && [ -s "$work/x11" ] || { echo "a backend measured nothing"; exit 1; }

echo "caption dpi: win32 width height | x11 width height | wrap"
awk '
    FNR == NR { w[$1 " " $2] = $3; h[$1 " " $2] = $4; wrap[$1 " " $2] = $5; next }
    {
        key = $1 " " $2; seen[key] = 1
        if (!(key in w)) { print "only on X11: " key; bad++; next }
        dw = w[key] - $3; if (dw < 0) dw = -dw
        fault = ""
        if (h[key] != $4) fault = "heights differ"
        else if (wrap[key] == 0 && dw > 1 && dw > $3 / 100) fault = "widths differ"
        else if (wrap[key] > 0 && (w[key] > wrap[key] || $3 > wrap[key])) fault = "wider than its wrap"
        line = key ": " w[key] " " h[key] " | " $3 " " $4 " | " wrap[key]
        if (fault != "") { print line "  <- " fault; bad++ }
        else if (key ~ /^(frmAbout.lblTitle|StillQuote.studio1|AccessKeys)/) print line
    }
    END {
        for (key in w) if (!(key in seen)) { print "only on Win32: " key; bad++ }
        print (bad ? bad " differences" : "no differences")
        exit bad > 0
    }' "$work/win32" "$work/x11"
