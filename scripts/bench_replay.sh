#!/usr/bin/env bash
# Replays long play sessions (captures every 6 minutes for 1, 10 and 30 days) and reports wall
# time, time per capture and peak memory, to show that the cost per capture stays flat.
set -euo pipefail
build=${1:-build/default}
work=${2:-build/bench-replay}
simgame="$build/src/tools/kesmaro-simgame"
replay="$build/src/tools/kesmaro-replay"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$work/frames"

# 50 frames of rising Exp and coins; the level rises with every lap of them.
for i in $(seq 0 49); do
    f="$work/frames/f$i.png"
    [ -f "$f" ] || "$simgame" --render "$f" --level $((100 + i / 25)) \
        --exp "$((i * 2 % 100)).$((i * 37 % 100 / 10))0" --coins $((1000000 + i * 25000))
done

printf '%-6s %10s %10s %14s %12s\n' days captures "wall (s)" "per capture" "peak RSS"
for days in 1 10 30; do
    scenario="$work/session-$days.txt"
    captures=$((days * 240))
    {
        echo "start 2024-05-01 00:00:00"
        echo "at 0 window frames/f0.png"
        for n in $(seq 1 $captures); do
            echo "at $((n * 360)) frame frames/f$((n % 50)).png"
        done
        echo "at $((captures * 360 + 30)) click end"
    } > "$scenario"
    rm -rf "$work/out-$days"
    /usr/bin/time -f '%e %M' -o "$work/time-$days" "$replay" --out "$work/out-$days" "$scenario" \
        2>/dev/null
    read -r wall rss < "$work/time-$days"
    per=$(awk -v w="$wall" -v c="$captures" 'BEGIN { printf "%.2f ms", 1000 * w / c }')
    printf '%-6s %10s %10s %14s %9s MB\n' "$days" "$captures" "$wall" "$per" $((rss / 1024))
done
