#!/usr/bin/env bash
# Runs one suite of the system tests in the Wine environment that wine_env.sh started in
# ENV_DIR, on the screen SCREEN ("WxH [MONITOR...]", see wine_env.sh screen) at DPI dots per
# inch, with the Wine loader LOADER (wine for the 32-bit build,
# wine64 for the 64-bit one) against the program SAVER_SCR. A failing test leaves a
# screenshot (turned into a PNG here) in ARTIFACTS_DIR.
# Exits with the suite's status, or with 77 (skipped) when this machine cannot execute the
# loader's code. SUITE may name several suites, separated by colons.
# Usage: run_suite.sh ENV_DIR ARTIFACTS_DIR SCREEN DPI LOADER SAVER_SCR TESTS_EXE SUITE
set -uo pipefail
[ $# -eq 8 ] || { sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | grep -v '^set' >&2; exit 2; }
env_dir=$1 artifacts=$2 dpi=$4 loader=$5 saver=$6 tests=$7
read -ra screen <<<"$3"
# A suite's own tests and its parameterised ones.
filter=""
IFS=: read -ra suites <<<"$8"
for suite in "${suites[@]}"; do filter+="$suite.*:*/$suite.*:"; done
wine_env=$(dirname "$0")/../../tools/lib/wine_env.sh

windows_path() { echo "Z:${1//\//\\}"; }

[ -x "$loader" ] || { echo "run_suite.sh: no Wine loader at $loader (see tools/lib/deps.sh)" >&2; exit 1; }
if ! "$loader" --version >/dev/null 2>&1; then
    echo "SKIPPED: this machine cannot execute $loader (a 32-bit loader needs the kernel's" \
        "IA32 emulation)"
    exit 77
fi

"$wine_env" screen "$env_dir" "${screen[@]}" || exit 1
"$wine_env" dpi "$env_dir" "$dpi" || exit 1
rm -rf "$artifacts"
mkdir -p "$artifacts" || exit 1
VQ_SAVER_SCR=$(windows_path "$saver") VQ_ARTIFACTS_DIR=$(windows_path "$artifacts") \
    "$wine_env" exec "$env_dir" "$loader" "$tests" "--gtest_filter=${filter%:}"
status=$?

# The real ImageMagick, by its path: another convert may come first on PATH.
for bmp in "$artifacts"/*.bmp; do
    [ -e "$bmp" ] || continue
    /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
rmdir "$artifacts" 2>/dev/null  # left only when something failed
exit $status
