#!/usr/bin/env bash
# Figures of the real kesmaro beside the live simulated game on a private X server: the time from
# the start to the shown main window, the resident memory after start-up, the idle CPU over one
# minute between captures; then the memory over 1,000 captures (bench_form_memory, simulated
# clock) and the cost of one capture tick (bench_x11_grab).
set -euo pipefail
build=$(cd "${1:-build/default}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
work="$build/bench-live"
rm -rf "$work"
mkdir -p "$work/program" "$work/runtime"
chmod 700 "$work/runtime"

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

exec {fd}< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
read -r -u "$fd" number
pids+=($!)
export DISPLAY=":$number"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
until xdotool search --all --name '^Openbox$' >/dev/null 2>&1 || wmctrl -m >/dev/null 2>&1; do
    sleep 0.1
done

# Captures every two minutes, so that the minute measured holds none; started two seconds after
# kesmaro itself.
prog="$work/program"
cp "$build/src/ui/qt/kesmaro" "$prog/kesmaro"
sed -e "s|{folder}|$prog|" -e '8s/^      6 ,/      2 ,/' -e '14s/^     15 ,/      2 ,/' \
    "$top/tests/data/config/default-fullscreen-yellow.ini" > "$prog/KM2DConfig.ini"

"$build/src/tools/kesmaro-simgame" --play --seed 7 >/dev/null 2>&1 &
pids+=($!)
game=$(xdotool search --sync --all --onlyvisible --classname 'Gamebryo Application' | head -n 1)

now_ms() { echo $(($(date +%s%N) / 1000000)); }
visible() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null || true; }

start=$(now_ms)
XDG_RUNTIME_DIR="$work/runtime" "$prog/kesmaro" >/dev/null 2>"$work/kesmaro.stderr" &
kesmaro=$!
pids+=($kesmaro)
boxes=0
first_box=""
main=""
while [ -z "$main" ]; do
    kill -0 "$kesmaro" 2>/dev/null || { echo "kesmaro ended during start-up" >&2; exit 1; }
    # A private server has no sound server: the start-up check says so; closed at once.
    for box in $(visible "$kesmaro" '^ライブラリファイルチェック$'); do
        [ -n "$first_box" ] || first_box=$(now_ms)
        boxes=$((boxes + 1))
        wmctrl -i -c "$box"
        while [ -n "$(visible "$kesmaro" '^ライブラリファイルチェック$' | grep -x "$box")" ]; do
            sleep 0.01
        done
    done
    main=$(visible "$kesmaro" '^Kesmaro ' | head -n 1)
done
shown=$(now_ms)
sleep 5
rss_start=$(awk '/^VmRSS/ { print $2 }' "/proc/$kesmaro/status")

xdotool windowactivate --sync "$game"
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

echo "=== kesmaro live (private Xvfb + openbox, kesmaro-simgame --play) ==="
first="none"
[ -z "$first_box" ] || first="$((first_box - start)) ms"
echo "start to shown main window : $((shown - start)) ms ($boxes start-up box(es) closed at once;" \
    "the first after $first)"
echo "resident memory, start-up  : $rss_start KiB"
awk -v c=$((cpu1 - cpu0)) -v hz="$hz" -v ms=$((t1 - t0)) 'BEGIN {
    printf "idle CPU between captures : %d ticks of 1/%d s in %.1f s = %.3f %%\n",
        c, hz, ms / 1000, 100 * c / hz / (ms / 1000) }'
echo "resident memory, idle 1 min: $rss_idle KiB"
echo
echo "=== resident memory over 1,000 captures (bench_form_memory, simulated clock, offscreen) ==="
"$build/bench/bench_form_memory" 1000 2>/dev/null
echo
echo "=== one capture tick (bench_x11_grab) ==="
"$build/bench/bench_x11_grab" --benchmark_filter='ThreeDefaultRegions|LiveGame' \
    --benchmark_format=console 2>/dev/null | grep -E '_median|^Benchmark|^-'
