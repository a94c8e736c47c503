#!/usr/bin/env bash
# Checks every program and library in a folder: PE32+ (x86_64), and imports
# only from Windows' own DLLs or from the suite's own libraries, so each
# binary runs on a bare Windows installation.
#   check-pe.sh FOLDER
set -euo pipefail
folder=${1:?folder of binaries}
objdump=x86_64-w64-mingw32-objdump

system_dlls="kernel32 user32 gdi32 msvcrt advapi32 shell32 ole32 oleaut32 comctl32 comdlg32
 setupapi winmm msvfw32 avifil32 version ws2_32 iphlpapi shlwapi uxtheme imm32 winspool.drv
 ntdll bcrypt crypt32 mpr netapi32 dbghelp psapi secur32 userenv rpcrt4 cfgmgr32 hid
 ntoskrnl.exe hal usbd.sys wdfldr.sys"

status=0
shopt -s nullglob
binaries=("$folder"/*.exe "$folder"/*.dll "$folder"/*.ds "$folder"/*.sys)
if [ ${#binaries[@]} -eq 0 ]; then
    echo "check-pe: no binaries in $folder" >&2
    exit 1
fi
own=$(for b in "${binaries[@]}"; do basename "$b" | tr 'A-Z' 'a-z'; done)
for binary in "${binaries[@]}"; do
    name=$(basename "$binary")
    case "$name" in *_test.exe|*_tests.exe) continue ;; esac
    dump=$($objdump -p "$binary")
    if ! grep -q 'Magic[[:space:]]*020b' <<<"$dump"; then
        echo "FAIL $name: not PE32+"
        status=1
    fi
    while read -r dll; do
        lower=$(tr 'A-Z' 'a-z' <<<"$dll")
        base=${lower%.dll}
        if grep -qxF "$lower" <<<"$own"; then continue; fi
        if grep -qw -- "$base" <<<"$system_dlls" || grep -qw -- "$lower" <<<"$system_dlls"; then continue; fi
        if [[ $lower == api-ms-win-* ]]; then continue; fi
        echo "FAIL $name: imports $dll"
        status=1
    done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
    [ "$status" -eq 0 ] && echo "ok   $name"
done
exit "$status"
