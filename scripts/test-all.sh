#!/usr/bin/env bash
# The project's test command: prepares the machine (scripts/setup.sh), builds
# the presets and runs every test. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh

presets=(native tsan win64)
status=0
for preset in "${presets[@]}"; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
for preset in "${presets[@]}"; do
    echo "=== $preset: tests"
    ctest --preset "$preset" || status=1
done
exit "$status"
