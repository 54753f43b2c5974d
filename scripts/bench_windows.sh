#!/usr/bin/env bash
# Figures of kesmaro.exe under Wine beside the live kesmaro-simgame.exe, on a private X server:
# the executable's size, one capture tick, the main window's memory over 1,000 simulated
# captures, and for the real program the time from the start to the shown main window, the
# resident memory after the start and the idle CPU over one minute between captures. Wine stands
# in for Windows: its own DLLs count in the process's memory, and its timings are not Windows'.
set -euo pipefail
build=$(cd "${1:-build/windows}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
work="$build/bench-windows"
session="$work/wine-gui"
gui="$top/scripts/wine-gui.sh"
rm -rf "$work"
mkdir -p "$work/program"
"$gui" "$session" --start >/dev/null 2>&1
cleanup() { "$gui" "$session" --stop; }
trap cleanup EXIT
# The host commands below run with the session's DISPLAY and WINEPREFIX.
DISPLAY=":$(cat "$session/display")"
export DISPLAY WINEPREFIX="$session/wineprefix" WINEARCH=win64 WINEDEBUG=-all

exe="$build/src/ui/win32/kesmaro.exe"
x86_64-w64-mingw32-strip -o "$work/kesmaro-stripped.exe" "$exe"
echo "=== kesmaro.exe ==="
echo "size as built              : $(stat -c %s "$exe") bytes (with debug information)"
echo "size stripped (as shipped) : $(stat -c %s "$work/kesmaro-stripped.exe") bytes"
echo "imports                    : $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ { print $3 }' | sort -u | tr '\n' ' ')"
echo
echo "=== one capture tick (bench_win32 tick) ==="
wine "$build/bench/win32/bench_win32.exe" tick "$(winepath -w "$build/src/tools/kesmaro-simgame.exe")"
echo
echo "=== working set over 1,000 captures (bench_win32 memory, simulated clock, real windows) ==="
wine "$build/bench/win32/bench_win32.exe" memory 1000
echo

# Captures every two minutes, so that the minute measured holds none; started two seconds after
# kesmaro itself.
prog="$work/program"
cp "$work/kesmaro-stripped.exe" "$prog/kesmaro.exe"
folder=$(winepath -w "$prog")
sed -e "s|{folder}|${folder//\\/\\\\}|" -e '8s/^      6 ,/      2 ,/' -e '14s/^     15 ,/      2 ,/' \
    "$top/tests/data/config/default-fullscreen-yellow.ini" > "$prog/KM2DConfig.ini"

wine "$build/src/tools/kesmaro-simgame.exe" --play --seed 7 >/dev/null 2>&1 &
gamepid=$!
game=$(timeout 60 xdotool search --sync --onlyvisible --pid "$gamepid" --name . | head -n 1)

now_ms() { echo $(($(date +%s%N) / 1000000)); }
start=$(now_ms)
wine "$prog/kesmaro.exe" >/dev/null 2>&1 &
kesmaro=$!
main=""
until [ -n "$main" ]; do
    kill -0 "$kesmaro" 2>/dev/null || { echo "kesmaro.exe ended during start-up" >&2; exit 1; }
    main=$(xdotool search --all --onlyvisible --pid "$kesmaro" --name '^Kesmaro ' 2>/dev/null |
        head -n 1 || true)
    [ -n "$main" ] || sleep 0.01
done
shown=$(now_ms)
sleep 5
rss_start=$(awk '/^VmRSS/ { print $2 }' "/proc/$kesmaro/status")

until grep -aq 'Program StartUp Complete' "$prog/debug.txt" 2>/dev/null; do sleep 0.2; done
until [ "$(xdotool getactivewindow 2>/dev/null)" = "$game" ]; do
    xdotool windowactivate "$game" 2>/dev/null || true
    sleep 0.5
done
until grep -aq 'Fast ImageRecognition' "$prog/debug.txt" 2>/dev/null; do sleep 0.2; done
sleep 5
ticks() { awk '{ print $14 + $15 }' "/proc/$kesmaro/stat"; }
cpu0=$(ticks)
t0=$(now_ms)
sleep 60
cpu1=$(ticks)
t1=$(now_ms)
hz=$(getconf CLK_TCK)
rss_idle=$(awk '/^VmRSS/ { print $2 }' "/proc/$kesmaro/status")
wmctrl -i -c "$main"
for _ in $(seq 1 100); do
    kill -0 "$kesmaro" 2>/dev/null || break
    sleep 0.1
done
kill "$gamepid" 2>/dev/null || true

echo "=== kesmaro.exe live under Wine (private Xvfb + openbox, kesmaro-simgame.exe --play) ==="
echo "start to shown main window : $((shown - start)) ms (Wine's own start included)"
echo "resident memory, start-up  : $rss_start KiB (the Wine process, its DLLs included)"
awk -v c=$((cpu1 - cpu0)) -v hz="$hz" -v ms=$((t1 - t0)) 'BEGIN {
    printf "idle CPU between captures : %d ticks of 1/%d s in %.1f s = %.3f %%\n",
        c, hz, ms / 1000, 100 * c / hz / (ms / 1000) }'
echo "resident memory, idle 1 min: $rss_idle KiB"
