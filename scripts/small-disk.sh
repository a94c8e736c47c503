#!/usr/bin/env bash
# A small filesystem for the full-disk tests, so that a save runs out of room
# at once: `small-disk.sh mount DIR SIZE` (e.g. 8m) mounts an empty one at
# DIR, `small-disk.sh unmount DIR` removes it. Needs root, as tests here run.
set -euo pipefail
action=${1:?mount or unmount}
dir=${2:?folder}
case "$action" in
mount)
    size=${3:?size}
    mkdir -p "$dir"
    if mountpoint -q "$dir"; then umount "$dir"; fi
    mount -t tmpfs -o "size=$size,mode=0777" vizcam-small-disk "$dir"
    ;;
unmount)
    if mountpoint -q "$dir"; then umount "$dir"; fi
    rmdir "$dir" 2>/dev/null || true
    ;;
*)
    echo "usage: $0 mount DIR SIZE | unmount DIR" >&2
    exit 2
    ;;
esac
