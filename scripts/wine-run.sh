#!/bin/sh
# Runs a Windows program under Wine in a private prefix:
#   wine-run.sh <prefix folder> <program.exe> [arguments...]
#   wine-run.sh <prefix folder> --create     makes the prefix (once per test run)
#   wine-run.sh <prefix folder> --stop       ends the prefix's wineserver
# Console programs need no display: DISPLAY is dropped so that a stray window cannot appear on
# the user's desktop.
set -e
[ $# -ge 2 ] || { echo "usage: $0 <prefix folder> <program.exe|--create|--stop> [arguments...]" >&2; exit 2; }
WINEPREFIX=$(realpath -m "$1")
shift
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer prompts: the programs use neither .NET nor HTML.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# For the few tests of behaviour where Wine is known to differ from Windows.
export KESMARO_UNDER_WINE=1
wineserver=wineserver
command -v wineserver >/dev/null 2>&1 || wineserver=/usr/lib/wine/wineserver

case "$1" in
--create)
    # The prefix is made afresh, so it is only ever a folder of ours.
    case "$WINEPREFIX" in
    */wineprefix) ;;
    *) echo "$0: refusing to recreate $WINEPREFIX (not a .../wineprefix folder)" >&2; exit 2 ;;
    esac
    [ -d "$WINEPREFIX" ] && "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wine wineboot -i
    exec "$wineserver" -w
    ;;
--stop)
    [ -d "$WINEPREFIX" ] && "$wineserver" -k 2>/dev/null || true
    exit 0
    ;;
esac
exec wine "$@"
