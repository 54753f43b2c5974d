#!/usr/bin/env bash
# The main job: kesmaro measures the simulated game live for about four minutes, on the user's
# desktop when there is one, else on a private X server. Ends kesmaro through the window
# manager's close, as the close box does, and shows what it wrote.
set -euo pipefail
build=${1:-build/default}
minutes=${KESMARO_DEMO_MINUTES:-4}
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)
simgame="$build/src/tools/kesmaro-simgame"
replay="$build/src/tools/kesmaro-replay"
demo="$top/demo-out/live"
rm -rf "$demo"
mkdir -p "$demo"

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    exec {fd}< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
    read -r -u "$fd" number
    pids+=($!)
    export DISPLAY=":$number"
    openbox >/dev/null 2>&1 &
    pids+=($!)
    echo "no desktop found: running on a private X server ($DISPLAY)"
    sleep 1
fi

# A portable install: the program folder is the folder of the executable, so everything the
# program writes lands beside it.
cp "$build/src/app/kesmaro" "$demo/kesmaro"

# Settings: a first start writes the defaults (record folder = this folder); the demo then
# measures every minute with the level-up/death check on. AutoStart and the graph are on by
# default.
printf 'start 2024-05-01 12:00:00\n' > "$demo/first-start.txt"
QT_QPA_PLATFORM=offscreen "$replay" --out "$demo" "$demo/first-start.txt" >/dev/null 2>&1
find "$demo" -mindepth 1 -maxdepth 1 ! -name KM2DConfig.ini ! -name kesmaro -exec rm -rf {} +
sed -i -e '8s/^      6 ,/      1 ,/' -e '18s/^  False/   True/' "$demo/KM2DConfig.ini"

"$simgame" --play --seed 7 >/dev/null 2>&1 &
pids+=($!)
game=$(timeout 30 xdotool search --sync --classname 'Gamebryo Application' | head -n 1)

start=$(date +%s)
"$demo/kesmaro" >/dev/null 2>"$demo/kesmaro.stderr" &
kesmaro=$!
pids+=($kesmaro)
# The start-up check tells of each missing part (a private X server has no sound server) in a
# message box; the demo answers them as a user would.
window=""
for _ in $(seq 1 150); do
    window=$(xdotool search --onlyvisible --name '^Kesmaro ' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    for box in $(xdotool search --onlyvisible --name '^ライブラリファイルチェック$' 2>/dev/null || true); do
        echo "start-up check: a part of the system is missing (see the debug log); closing its message"
        # Closed, not answered with a key: a key sent to a window that goes away can stay held.
        wmctrl -i -c "$box" 2>/dev/null || true
    done
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "the main window did not appear; see $demo/debug.txt" >&2
    exit 1
fi
# Back to the game, as a player would: only the window in front is measured.
xdotool windowactivate "$game" 2>/dev/null || true
echo "kesmaro is measuring the simulated game; about $minutes minutes to go"
for m in $(seq 1 "$minutes"); do
    sleep 60
    echo "  $m min: $(ls "$demo/log" 2>/dev/null | head -n 1) $(($(cat "$demo"/log/* 2>/dev/null | wc -l))) lines"
done
# The picture needs the window in front: a covered window has no pixels of its own here.
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 1
import -window "$window" "$demo/main-window.png"

wmctrl -i -c "$window"
for _ in $(seq 1 100); do
    kill -0 "$kesmaro" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$kesmaro" 2>/dev/null; then
    echo "kesmaro did not end after the close" >&2
    exit 1
fi
echo "kesmaro ended after $(($(date +%s) - start)) s"

echo
echo "=== record file ==="
cat "$demo"/log/*
echo
echo "=== where things are ==="
echo "record file : $(ls "$demo"/log/*)"
echo "text log    : shown in the main window; its lines are in the record file"
echo "debug log   : $demo/debug.txt"
echo "screenshots : $(ls "$demo/ss" 2>/dev/null | wc -l) files in $demo/ss"
echo "main window : $demo/main-window.png"
echo "settings    : $demo/KM2DConfig.ini"
