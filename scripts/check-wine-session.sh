#!/usr/bin/env bash
# Checks that the Wine processes of the session in DIR (see wine-session.sh)
# run without address-space randomization, the Windows programs they started
# included: with it, a process now and then finds its Linux heap over a fixed
# Windows address and dies before its program starts.
#   check-wine-session.sh DIR
set -euo pipefail
dir=$(cd "${1:?session folder}" && pwd)
prefix=$dir/prefix
checked=0
failed=0
for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" || continue
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
    # The server maps no Windows code; the Wine processes all run the loader.
    [ "$exe" = /usr/lib/wine/wine64 ] || continue
    personality=$(cat "/proc/$pid/personality" 2>/dev/null) || continue
    checked=$((checked + 1))
    if (((16#$personality & 16#0040000) == 0)); then
        echo "randomized: pid $pid $(tr '\0' ' ' <"/proc/$pid/cmdline")"
        failed=$((failed + 1))
    fi
done
echo "$checked Wine processes of the session, $failed with address-space randomization"
[ "$checked" -gt 0 ] && [ "$failed" -eq 0 ]
