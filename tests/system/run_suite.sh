#!/usr/bin/env bash
# Runs one suite of the system tests in the Wine environment that wine_env.sh started in
# ENV_DIR, against the program SAVER_SCR. A failing test leaves a screenshot (turned into a
# PNG here) and the exit codes of its runs in ARTIFACTS_DIR/SUITE. Exits with the suite's
# status.
# Usage: run_suite.sh ENV_DIR ARTIFACTS_DIR SAVER_SCR TESTS_EXE SUITE
set -uo pipefail
[ $# -eq 5 ] || { sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | grep -v '^set' >&2; exit 2; }
env_dir=$1 saver=$3 tests=$4 suite=$5
artifacts=$2/$suite
wine_env=$(dirname "$0")/../../tools/lib/wine_env.sh

windows_path() { echo "Z:${1//\//\\}"; }

rm -rf "$artifacts"
mkdir -p "$artifacts" || exit 1
VQ_SAVER_SCR=$(windows_path "$saver") VQ_ARTIFACTS_DIR=$(windows_path "$artifacts") \
    "$wine_env" exec "$env_dir" /usr/lib/wine/wine64 "$tests" "--gtest_filter=$suite.*:*/$suite.*"
status=$?

# The real ImageMagick, by its path: another convert may come first on PATH.
for bmp in "$artifacts"/*.bmp; do
    [ -e "$bmp" ] || continue
    /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
rmdir "$artifacts" 2>/dev/null  # left only when something failed
exit $status
