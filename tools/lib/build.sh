#!/usr/bin/env bash
# Configures and builds the given presets (default: all four).
# Usage: tools/lib/build.sh [--programs] [native] [win32] [win64] [linux]
#   --programs   the programs alone, without the tests (so without the test packages)
set -euo pipefail
cd "$(dirname "$0")/../.."
tests=ON
if [ "${1-}" = --programs ]; then
    tests=OFF
    shift
fi
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64 native linux)
for preset in "${presets[@]}"; do
    cmake --preset "$preset" -DVQ_TESTS=$tests >/dev/null
    cmake --build --preset "$preset"
done
