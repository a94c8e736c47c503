#!/usr/bin/env bash
# Starts the built Mikra.exe in its own Wine session on a virtual display
# and saves a screenshot of the display:
#   scripts/screenshot-mikra.sh [out.png] [seconds to wait, default 6]
# Needs a win64 build (cmake --build --preset win64). Config.ini beside the
# program is used as it is.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-$root/build/win64/mikra.png}")
wait_seconds=${2:-6}
exe=$root/build/win64/bin/Mikra.exe
[ -f "$exe" ] || { echo "screenshot-mikra: build first ($exe missing)" >&2; exit 2; }

session=$root/build/win64/screenshot-session
"$root/scripts/wine-session.sh" start "$session" >/dev/null
mikra_pid=
cleanup() {
    [ -n "$mikra_pid" ] && kill "$mikra_pid" 2>/dev/null || true
    "$root/scripts/wine-session.sh" stop "$session" >/dev/null
}
trap cleanup EXIT

"$root/scripts/wine-run.sh" "$session" "$exe" &
mikra_pid=$!
sleep "$wait_seconds"
import -window root -display "$(cat "$session/display")" "$out"
echo "saved $out"
