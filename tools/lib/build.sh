#!/usr/bin/env bash
# Configures and builds the given presets (default: all three).
# Usage: tools/lib/build.sh [native] [win32] [win64]
set -euo pipefail
cd "$(dirname "$0")/../.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64 native)
for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
