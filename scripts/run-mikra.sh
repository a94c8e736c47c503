#!/usr/bin/env bash
# The main job: prepares the machine, builds the Windows binaries and starts
# Mikra.exe under Wine. On a desktop it uses $DISPLAY; without one it starts
# a virtual display and says how to take a screenshot of it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Mikra

session=$root/build/win64/run-session
scripts/wine-session.sh start "$session" >/dev/null
trap 'scripts/wine-session.sh stop "$session" >/dev/null' EXIT
if [ -n "${DISPLAY:-}" ]; then
    echo "$DISPLAY" >"$session/display"
else
    echo "Mikra runs on the virtual display $(cat "$session/display")."
    echo "Screenshot: xwd -root -display $(cat "$session/display") | convert xwd:- mikra.png"
fi
exec_args=("$root/build/win64/bin/Mikra.exe" "$@")
scripts/wine-run.sh "$session" "${exec_args[@]}"
