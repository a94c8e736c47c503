#!/usr/bin/env bash
# Runs a Windows program inside the Wine session of DIR (see wine-session.sh):
#   wine-run.sh DIR program.exe [args...]
# CTest uses it as the emulator of every win64 test.
#
# Every run is logged in DIR/runs.log (start, end, exit code, seconds). A
# program still running after VIZCAM_WINE_WATCHDOG seconds (default 80, well
# below CTest's per-test limit; 0: no limit) is diagnosed before it is
# stopped: the session's processes, the X display and every thread's stack
# (winedbg) go to DIR/hangs/<program>-<time>.txt and to the output.
set -euo pipefail
dir=$(cd "${1:?session folder}" && pwd)
shift
if [ ! -f "$dir/display" ]; then
    echo "wine-run: no Wine session in $dir (run: scripts/wine-session.sh start $dir)" >&2
    exit 2
fi
export WINEPREFIX=$dir/prefix
export WINEDEBUG=${VIZCAM_WINEDEBUG:--all}
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
DISPLAY=$(cat "$dir/display")
export DISPLAY
# Every Wine process runs without address-space randomization (see
# wine-session.sh); the programs they start inherit it.
wine=(setarch -R /usr/lib/wine/wine64)
watchdog=${VIZCAM_WINE_WATCHDOG:-80}
program=$1
name=$(basename "$1")

stamp() { date '+%H:%M:%S.%3N'; }
log_run() { echo "$(stamp) $$ $name $*" >>"$dir/runs.log"; }

# Wine's helper processes (services, desktop) may outlive the program; they
# must not hold the caller's pipes, so the output goes through a file.
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
child=
watcher=
cleanup() {
    if [ -n "$watcher" ]; then kill "$watcher" 2>/dev/null || true; fi
    rm -f "$out"
}
trap cleanup EXIT

# The session's Linux processes: those that carry this prefix.
session_processes() {
    local environ
    for environ in /proc/[0-9]*/environ; do
        if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            environ=${environ#/proc/}
            echo "${environ%/environ}"
        fi
    done
}

# What every Wine process of the session is doing, and the program's threads.
diagnose() {
    local report=$dir/hangs/$name-$(date +%H%M%S)-$$.txt
    mkdir -p "$dir/hangs"
    {
        echo "== $(stamp) $name still running after ${watchdog}s (wine-run pid $$, child $child)"
        echo "== Linux processes of the session"
        ps -o pid,ppid,etimes,stat,wchan:24,args -p "$(session_processes | paste -sd, -)" || true
        echo "== X display $DISPLAY"
        if timeout 10 xdpyinfo >/dev/null 2>&1; then echo "answers"; else echo "does not answer"; fi
        echo "== Windows processes"
        local procs wpid
        procs=$(timeout 20 "${wine[@]}" winedbg --command "info process" </dev/null 2>&1 || true)
        echo "$procs"
        wpid=$(echo "$procs" | awk -v exe="'$name'" '$NF == exe { print $1; exit }')
        if [ -n "$wpid" ]; then
            echo "== threads of $name (wpid $wpid)"
            # bt all walks every process; keep the program's own threads.
            local stacks base
            stacks=$(printf 'attach 0x%s\nbt all\ndetach\nquit\n' "$wpid" |
                timeout 40 "${wine[@]}" winedbg 2>&1 |
                awk -v want="$wpid" 'BEGIN { sub(/^0+/, "", want) }
                    /^Backtracing for thread/ { p = $7; sub(/^0+/, "", p); keep = (p == want) }
                    keep')
            echo "$stacks"
            # winedbg does not read the program's DWARF lines; addr2line does.
            base=${name%.exe}
            echo "== the program's frames"
            echo "$stacks" | grep -o "0x[0-9a-f]* in $base " | awk '{ print $1 }' | sort -u |
                xargs -r x86_64-w64-mingw32-addr2line -f -C -p -e "$program" || true
        fi
        echo "== recent runs"
        tail -n 40 "$dir/runs.log"
    } >"$report" 2>&1
    cat "$report"
}

# When CTest's timeout ends this script, show what the program printed so far.
on_term() {
    if [ -n "$child" ]; then kill "$child" 2>/dev/null || true; fi
    cat "$out"
    log_run "end stopped-from-outside"
    echo "wine-run: stopped from outside (timeout?)"
    exit 124
}
trap on_term TERM INT

log_run "start"
started=$SECONDS
"${wine[@]}" "$@" >"$out" 2>&1 </dev/null &
child=$!
# The watchdog polls so that no sleep of its own outlives the program, and
# keeps off CTest's pipes, which CTest waits on until every holder is gone.
# A watchdog of 0 lets the program run as long as it likes (run-mikra.sh).
[ "$watchdog" -gt 0 ] && (
    for ((waited = 0; waited < watchdog; ++waited)); do
        sleep 1
        kill -0 "$child" 2>/dev/null || exit 0
    done
    log_run "hang"
    diagnose >>"$out"
    kill "$child" 2>/dev/null || true
) </dev/null >/dev/null 2>&1 &
[ "$watchdog" -gt 0 ] && watcher=$!
rc=0
wait "$child" || rc=$?
log_run "end rc=$rc $((SECONDS - started))s"
cat "$out"
# Wine's loader and server errors are silent under WINEDEBUG=-all; a program
# that fails without a word most likely never got to run.
if [ "$rc" -ne 0 ] && [ ! -s "$out" ]; then
    echo "wine-run: $name ended with exit code $rc and printed nothing (did it start?);" \
        "VIZCAM_WINEDEBUG=err+all shows Wine's own errors"
fi
exit "$rc"
