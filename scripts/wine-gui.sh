#!/bin/sh
# Runs Windows programs that open windows under Wine, on a private X server:
#   wine-gui.sh <session folder> --start      Xvfb + openbox + a fresh prefix (once per test run)
#   wine-gui.sh <session folder> --stop       ends the prefix's wineserver and the X server
#   wine-gui.sh <session folder> <program.exe> [arguments...]
#   wine-gui.sh <session folder> --shell <command> [arguments...]   a host command (xdotool, a
#                                             test script) with the session's DISPLAY/WINEPREFIX
# Wine binds a prefix to the display its desktop process first ran on, so every window program
# of one prefix shares one X server; the tests that use it take turns (CTest resource lock).
set -e
[ $# -ge 2 ] || { echo "usage: $0 <session folder> <--start|--stop|--shell|program.exe> ..." >&2; exit 2; }
session=$(realpath -m "$1")
shift
export WINEPREFIX="$session/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export KESMARO_UNDER_WINE=1
unset WAYLAND_DISPLAY
wineserver=wineserver
command -v wineserver >/dev/null 2>&1 || wineserver=/usr/lib/wine/wineserver

stop_session() {
    [ -d "$WINEPREFIX" ] && "$wineserver" -k 2>/dev/null || true
    for name in openbox xvfb; do
        if [ -f "$session/$name.pid" ]; then
            kill "$(cat "$session/$name.pid")" 2>/dev/null || true
            rm -f "$session/$name.pid"
        fi
    done
    rm -f "$session/display"
}

case "$1" in
--start)
    case "$session" in
    */wine-gui) ;;
    *) echo "$0: refusing to use $session (not a .../wine-gui folder)" >&2; exit 2 ;;
    esac
    stop_session
    rm -rf "$session"
    mkdir -p "$session"
    # -displayfd: the server picks a free display and writes its number once it accepts clients.
    exec 3>"$session/display.tmp"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$session/xvfb.log" 2>&1 &
    echo $! >"$session/xvfb.pid"
    exec 3>&-
    tries=0
    until [ -s "$session/display.tmp" ]; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || { echo "$0: Xvfb did not start" >&2; stop_session; exit 1; }
        sleep 0.1
    done
    DISPLAY=":$(tr -d '\n' <"$session/display.tmp")"
    export DISPLAY
    mv "$session/display.tmp" "$session/display"
    tries=0
    until xdpyinfo >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || { echo "$0: Xvfb on $DISPLAY takes no clients" >&2; stop_session; exit 1; }
        sleep 0.1
    done
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        # Started again if it gave up on the display.
        if ! kill -0 "$(cat "$session/openbox.pid" 2>/dev/null)" 2>/dev/null; then
            openbox --sm-disable >>"$session/openbox.log" 2>&1 &
            echo $! >"$session/openbox.pid"
        fi
        tries=$((tries + 1))
        [ $tries -le 300 ] || { echo "$0: openbox did not come up" >&2; stop_session; exit 1; }
        sleep 0.1
    done
    wine wineboot -i
    "$(dirname "$0")/wine-fontlink.sh"
    "$wineserver" -w
    exit 0
    ;;
--stop)
    stop_session
    exit 0
    ;;
esac

[ -s "$session/display" ] || { echo "$0: no X server for $session (run --start first)" >&2; exit 1; }
DISPLAY=":$(cat "$session/display")"
export DISPLAY
if [ "$1" = --shell ]; then
    shift
    exec "$@"
fi
exec wine "$@"
