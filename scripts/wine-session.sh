#!/usr/bin/env bash
# Starts or stops the Wine session that the Windows tests run in:
#   wine-session.sh start DIR   Xvfb on a free display, the prefix DIR/prefix
#                               (created once), one persistent wineserver
#   wine-session.sh stop DIR    ends the wineserver and the display
# DIR/display holds the display name for scripts/wine-run.sh.
set -euo pipefail

cmd=${1:?start or stop}
dir=${2:?session folder}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

export WINEPREFIX=$dir/prefix
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer dialogs: the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine processes run without address-space randomization, and the programs
# they start inherit that. This Wine has no preloader to reserve Windows' fixed
# addresses before the Linux loader runs, and the kernel places the loader's
# heap anywhere in the 1 GiB after its image (0x7d000000): about one start in
# several thousand found its heap over the shared user data page (0x7ffe0000)
# and ended at once with exit code 1 and no message (error 1359 in the parent
# that called CreateProcess). Without randomization the heap starts right
# after the image, far below that page.
wine=(setarch -R /usr/lib/wine/wine64)
wineserver=/usr/lib/wine/wineserver

stop_session() {
    if [ -f "$dir/display" ]; then
        "$wineserver" -k >/dev/null 2>&1 || true
        "$wineserver" -w >/dev/null 2>&1 || true
    fi
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
        rm -f "$dir/xvfb.pid"
    fi
    rm -f "$dir/display"
}

start_display() {
    local n
    for n in $(seq 90 189); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
            echo $! >"$dir/xvfb.pid"
            local i
            for i in $(seq 1 100); do
                [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n" >"$dir/display"; return 0; }
                kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
                sleep 0.1
            done
        fi
    done
    echo "wine-session: no free X display" >&2
    return 1
}

# Title bars draw their buttons with Wine's symbol font (from fonts-wine),
# which this Wine finds only when the prefix names it; without it the buttons
# show as the letters "0 1 r".
map_symbol_font() {
    local font=/usr/share/wine/fonts/marlett.ttf
    [ -f "$font" ] || return 0
    "${wine[@]}" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v "Marlett (TrueType)" /t REG_SZ /d "Z:${font//\//\\}" /f
}

# Chinese dialog texts use the shell dialog fonts; link them to a CJK font.
map_cjk_font() {
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    local face
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "SimSun"; do
        "${wine[@]}" reg add "$key" /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f
    done
    "${wine[@]}" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "SimSun" /t REG_SZ /d "WenQuanYi Micro Hei" /f
}

case "$cmd" in
start)
    stop_session
    start_display
    export DISPLAY
    DISPLAY=$(cat "$dir/display")
    # One wineserver for the whole run, started before any Wine process so
    # that it stays up between test processes. It fails only when a server
    # for this prefix already runs, which serves as well.
    "$wineserver" -p >>"$dir/wineboot.log" 2>&1 </dev/null || true
    if [ ! -f "$WINEPREFIX/.vizcam-ready-2" ]; then
        # Wine's helper processes outlive these calls: keep them off the
        # caller's pipes, or CTest waits for them.
        "${wine[@]}" wineboot -i >"$dir/wineboot.log" 2>&1 </dev/null
        map_cjk_font >>"$dir/wineboot.log" 2>&1 </dev/null
        # No window manager runs here: windows that wait for one to map or
        # withdraw them would stall for seconds.
        "${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            >>"$dir/wineboot.log" 2>&1 </dev/null
        touch "$WINEPREFIX/.vizcam-ready-2"
        # A prefix made in this server's lifetime ends up with two
        # services.exe, and the RPC service that starts COM local servers
        # then never comes up: begin again on a fresh server.
        "$wineserver" -k >/dev/null 2>&1 || true
        "$wineserver" -w >/dev/null 2>&1 || true
        "$wineserver" -p >>"$dir/wineboot.log" 2>&1 </dev/null || true
    fi
    if [ ! -f "$WINEPREFIX/.vizcam-symbol-font" ]; then
        map_symbol_font >>"$dir/wineboot.log" 2>&1 </dev/null
        touch "$WINEPREFIX/.vizcam-symbol-font"
    fi
    # The prefix's services start now rather than in the first test.
    "${wine[@]}" wineboot >>"$dir/wineboot.log" 2>&1 </dev/null
    echo "wine session on $DISPLAY, prefix $WINEPREFIX"
    ;;
stop)
    stop_session
    echo "wine session stopped"
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
