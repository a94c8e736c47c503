#!/usr/bin/env bash
# The main job: prepares the machine, builds the Windows binaries and starts
# Mikra.exe under Wine with simulated cameras. On a desktop it uses $DISPLAY;
# without one it starts a virtual display and says how to take a screenshot.
#
# Mikra runs from build/win64/run, where the simulated-camera build of
# KQCMOSu.dll sits beside it with KQSimCam.ini (kept once there, so edit it
# to choose the cameras); build/win64/bin keeps the product DLL.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Mikra KQCMOSu_simcam

bin=$root/build/win64/bin
run=$root/build/win64/run
mkdir -p "$run"
cp -u "$bin/Mikra.exe" "$bin"/Lan_*.dll "$bin/Xuprop.dll" "$bin/kqmk.ico" "$bin/simcam/KQCMOSu.dll" "$run/"
[ -f "$run/KQSimCam.ini" ] || cp "$root/sdk/usb/simcam/KQSimCam.ini" "$run/"

session=$root/build/win64/run-session
scripts/wine-session.sh start "$session" >/dev/null
trap 'scripts/wine-session.sh stop "$session" >/dev/null' EXIT
if [ -n "${DISPLAY:-}" ]; then
    echo "$DISPLAY" >"$session/display"
else
    echo "Mikra runs on the virtual display $(cat "$session/display")."
    echo "Screenshot: import -window root -display $(cat "$session/display") mikra.png"
fi
exec_args=("$run/Mikra.exe" "$@")
VIZCAM_WINE_WATCHDOG=0 scripts/wine-run.sh "$session" "${exec_args[@]}"
