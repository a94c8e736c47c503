#!/bin/sh
# Runs a command with the standard GigE Vision test camera listening on
# 127.0.0.1 for the whole of its run:
#   peer_camera_run.sh <camera program> <log file> <command> [args...]
# The camera is stopped when the command ends, and bounded in time besides,
# so no run leaves it behind. A camera that cannot start fails the run.
camera=$1
log=$2
shift 2
if ! command -v "$camera" >/dev/null 2>&1; then
    echo "the test camera program $camera is missing (scripts/setup.sh installs it)" >&2
    exit 1
fi
timeout 300 "$camera" -i 127.0.0.1 </dev/null >"$log" 2>&1 &
pid=$!
stop() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
trap stop EXIT
trap 'exit 143' INT TERM
# One that cannot have its port (another camera holds it) ends at once.
sleep 1
if ! kill -0 "$pid" 2>/dev/null; then
    echo "the test camera did not start on 127.0.0.1:3956:" >&2
    cat "$log" >&2
    exit 1
fi
"$@"
