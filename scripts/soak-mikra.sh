#!/usr/bin/env bash
# Soak run: Mikra.exe under Wine with the simulated camera, live video and a
# recording that rolls over into numbered files, for a set time:
#   scripts/soak-mikra.sh [MINUTES] [REPORT]
# (default 10 minutes; the report is printed and written to REPORT, by
# default build/win64/soak/report.txt). Not a CI test: it measures, and
# says what it saw.
#
# Reported: the frames Mikra delivered (its status bar's rate read each
# second and summed), every recording file as ffprobe reads it (the frames it
# decodes, the packets and the frame count in the file's header), and
# Mikra's private memory, kernel handles, GDI objects and windows each
# minute (tools/soak). A file is read as soon as the next one starts and then
# deleted, so that the run needs room for two files (about 4 GiB); with
# VIZCAM_SOAK_KEEP=1 every file is kept in build/win64/soak.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
minutes=${1:-10}
[[ "$minutes" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [MINUTES] [REPORT]" >&2; exit 2; }
run=$root/build/win64/soak
report=${2:-$run/report.txt}
keep=${VIZCAM_SOAK_KEEP:-0}

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Mikra Lan_0 Lan_1 Xuprop KQCMOSu_simcam mikra_soak >/dev/null

bin=$root/build/win64/bin
rm -rf "$run"
mkdir -p "$run/mikra"
cp "$bin/Mikra.exe" "$bin"/Lan_*.dll "$bin/Xuprop.dll" "$bin/kqmk.ico" "$bin/simcam/KQCMOSu.dll" "$run/mikra/"
cp "$root/sdk/usb/simcam/KQSimCam.ini" "$run/mikra/"
videos=$run/mikra/Video\ Capture
files=$run/files.txt
: >"$files"

session=$root/build/win64/soak-session
scripts/wine-session.sh start "$session" >/dev/null
soak_pid=
watch_pid=
finish() {
    [ -n "$watch_pid" ] && kill "$watch_pid" 2>/dev/null || true
    [ -n "$soak_pid" ] && kill "$soak_pid" 2>/dev/null || true
    scripts/wine-session.sh stop "$session" >/dev/null
}
trap finish EXIT

# The files of the recording in order: Video_T.avi, then Video_T(1).avi ...
recordings() {
    find "$videos" -maxdepth 1 -name '*.avi' -printf '%f\n' 2>/dev/null |
        sed -E 's/^(.*)\(([0-9]+)\)\.avi$/\2 &/; t; s/^/0 /' | sort -n | cut -d' ' -f2-
}

# One line per file: name, bytes, decoded frames, packets, header frames,
# and what ffprobe complained of.
probe() {
    local path=$1 errors counts
    errors=$(mktemp "${TMPDIR:-/tmp}/soak-probe.XXXXXX")
    counts=$(ffprobe -v error -count_frames -count_packets -select_streams v:0 \
        -show_entries stream=nb_read_frames,nb_read_packets,nb_frames -of csv=p=0 "$path" 2>"$errors" || true)
    IFS=, read -r header decoded packets <<<"$counts"
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$(basename "$path")" "$(stat -c %s "$path")" "${decoded:-0}" \
        "${packets:-0}" "${header:-0}" "$(head -c 200 "$errors" | tr '\n\t' '  ')" >>"$files"
    rm -f "$errors"
}

probed() { cut -f1 "$files" | grep -qxF "$1"; }

# Reads each file once the next has begun, so that the disk holds two.
watch_rollovers() {
    local names i
    while true; do
        mapfile -t names < <(recordings)
        for ((i = 0; i + 1 < ${#names[@]}; ++i)); do
            probed "${names[$i]}" && continue
            probe "$videos/${names[$i]}"
            [ "$keep" = 1 ] || rm -f "$videos/${names[$i]}"
        done
        sleep 2
    done
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date '+%F %T')
watch_rollovers &
watch_pid=$!
out=$run/mikra_soak.txt
folder="Z:${run//\//\\}\\mikra\\"
VIZCAM_WINE_WATCHDOG=0 scripts/wine-run.sh "$session" "$bin/mikra_soak.exe" "$folder" "$((minutes * 60))" >"$out" 2>&1 &
soak_pid=$!
rc=0
wait "$soak_pid" || rc=$?
soak_pid=
kill "$watch_pid" 2>/dev/null || true
wait "$watch_pid" 2>/dev/null || true
watch_pid=
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# The files the watcher had not read yet: the last one, or more when it
# did not keep up.
while IFS= read -r name; do
    probed "$name" || probe "$videos/$name"
    [ "$keep" = 1 ] || rm -f "$videos/$name"
done < <(recordings)

{
    echo "Soak run of Mikra.exe: $minutes min from $started"
    echo "Machine: $(nproc) cores; load average $load_before at the start, $load_after at the end"
    echo "Camera: $(sed -n '/^\[Camera1\]/,/^\[/p' "$run/mikra/KQSimCam.ini" |
        grep -E '^(Type|Width|Height|RowTime)=' | paste -sd' ')"
    echo
    echo "== Mikra, sampled each minute (mikra_soak.exe, exit code $rc)"
    tr -d '\r' <"$out"
    echo
    echo "== Recording files (ffprobe)"
    printf '%-28s %12s %9s %9s %9s  %s\n' file bytes decoded packets header errors
    awk -F'\t' '{ n = 0; if (match($1, /\([0-9]+\)\.avi$/)) n = substr($1, RSTART + 1, RLENGTH - 6); print n "\t" $0 }' \
        "$files" | sort -n | cut -f2- |
        awk -F'\t' '{ printf "%-28s %12s %9s %9s %9s  %s\n", $1, $2, $3, $4, $5, $6 }'
    awk -F'\t' '{ d += $3; p += $4; h += $5; if ($6 != "" || $3 == 0) bad++ }
        END { printf "%d files: %d frames decoded, %d packets, %d frames in the headers; %d unreadable\n",
              NR, d, p, h, bad }' "$files"
} | tee "$report"
exit "$rc"
