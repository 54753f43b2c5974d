#!/usr/bin/env bash
# Renders a simulated two-hour play session with kesmaro-simgame, replays it with
# kesmaro-replay on a simulated clock and shows what the program wrote.
set -euo pipefail
build=${1:-build/default}
top=$(cd "$(dirname "$0")/.." && pwd)
simgame="$build/src/tools/kesmaro-simgame"
replay="$build/src/tools/kesmaro-replay"
demo="$top/demo-out/replay"
session="$demo/session"
rm -rf "$demo"
mkdir -p "$session"
export QT_QPA_PLATFORM=offscreen

# Settings: the defaults, with the level-up/death check on and PNG screenshots.
cat > "$session/scenario.txt" <<SCENARIO
# Two hours of play: Exp and coins rising, an idle stretch, a level-up, a death while the
# level-up/death check watches, and a stretch with the game behind another window.
start 2024-05-01 19:00:00
SCENARIO

frame() { # name level exp coins
    "$simgame" --render "$session/$1" --level "$2" --exp "$3" --coins "$4"
}

level=57 exp=5210 coins=1250000 t=0
frame f0.png $level "$(printf '%d.%02d' $((exp / 100)) $((exp % 100)))" $coins
echo "at 0 window f0.png" >> "$session/scenario.txt"
for step in $(seq 1 20); do
    t=$((step * 360 - 60))
    case $step in
        6|7) ;;                                   # idle: standing in town
        14) exp=$((exp - 300)) ;;                 # a death costs Exp
        *) exp=$((exp + 950 + step * 7)); coins=$((coins + 41000 + step * 1300)) ;;
    esac
    if [ $exp -ge 10000 ]; then                   # a level-up (steps 5 and 18)
        level=$((level + 1))
        exp=$((exp - 10000))
    fi
    frame "f$step.png" $level "$(printf '%d.%02d' $((exp / 100)) $((exp % 100)))" $coins
    echo "at $t frame f$step.png" >> "$session/scenario.txt"
    case $step in
        16) echo "at $((t + 30)) background" >> "$session/scenario.txt" ;;
        17) echo "at $((t + 30)) foreground" >> "$session/scenario.txt" ;;
    esac
done
echo "at 7200 click end" >> "$session/scenario.txt"

# The level-up/death check is off by default; the demo switches it on in the settings file.
# A first start in the output folder itself writes the default file, whose record folder is then
# that folder's own.
"$replay" --out "$demo/out" "$session/scenario.txt" >/dev/null 2>&1 || true
sed -e '18s/^  False/   True/' "$demo/out/KM2DConfig.ini" > "$session/KM2DConfig.ini"
find "$demo/out" -mindepth 1 -delete
sed -i "2i settings KM2DConfig.ini" "$session/scenario.txt"

"$replay" --out "$demo/out" "$session/scenario.txt" 2>/dev/null

echo "=== txtLog (the main window's running log) ==="
cat "$demo/out/txtLog.txt"
echo
echo "=== where things are ==="
echo "record file : $(ls "$demo/out/log/"*)"
echo "graph       : $demo/out/graph.png"
echo "screenshots : $(ls "$demo/out/ss" 2>/dev/null | wc -l) files in $demo/out/ss"
echo "debug log   : $demo/out/debug.txt"
echo "scenario    : $session/scenario.txt"
