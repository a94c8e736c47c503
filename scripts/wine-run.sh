#!/usr/bin/env bash
# Runs a Windows program inside the Wine session of DIR (see wine-session.sh):
#   wine-run.sh DIR program.exe [args...]
# CTest uses it as the emulator of every win64 test.
set -euo pipefail
dir=$(cd "${1:?session folder}" && pwd)
shift
if [ ! -f "$dir/display" ]; then
    echo "wine-run: no Wine session in $dir (run: scripts/wine-session.sh start $dir)" >&2
    exit 2
fi
export WINEPREFIX=$dir/prefix
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
DISPLAY=$(cat "$dir/display")
export DISPLAY
# Wine's helper processes (services, desktop) may outlive the program; they
# must not hold the caller's pipes, so the output goes through a file.
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$out"' EXIT
# When CTest's timeout ends this script, show what the program printed so far.
child=
on_term() {
    [ -n "$child" ] && kill "$child" 2>/dev/null
    cat "$out"
    echo "wine-run: stopped from outside (timeout?)"
    exit 124
}
trap on_term TERM INT
/usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null &
child=$!
rc=0
wait "$child" || rc=$?
cat "$out"
exit "$rc"
