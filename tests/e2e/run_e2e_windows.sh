#!/usr/bin/env bash
# The golden end-to-end runs of kesmaro-replay.exe under Wine: the scenario's frames are drawn
# by the Linux kesmaro-simgame, the Windows replay reads them through GDI+, and its outputs are
# compared with the Linux goldens. Text files must match byte for byte once the output folder
# (as the Windows program names it, Z:\...) is replaced by "{OUT}"; PNG and BMP screenshots
# must hold the same pixels (the encoders differ), JPEG ones the same size. graph.png comes from
# another painter (GDI rather than Qt), so it must have the golden's size and every curve colour
# the golden shows, not its pixels.
set -euo pipefail
wine_run=$1 prefix=$2 replay=$3 simgame=$4 scenario_dir=$5 golden_dir=$6 work=$7

if [ ! -x "$simgame" ]; then
    echo "$simgame is missing: the Linux tools draw the frames (make build first)" >&2
    exit 1
fi
bash "$(dirname "$0")/prepare_scenario.sh" "$simgame" "$scenario_dir" "$work"

# The curve colours (Exp blue, money red) inside a picture's plot, one a line; the axis labels
# beside it share the colours, so they are cut off (the plot: 38, 6, width - 76, height - 24).
curve_colours() {
    local size
    size=$(identify -format '%w %h' "$1")
    set -- "$1" ${size}
    convert "$1" -alpha off -crop "$(($2 - 76))x$(($3 - 24))+38+6" +repage -format %c \
        histogram:info:- | grep -oiE '#(0000FF|FF0000)\b' | tr a-f A-F | sort -u
}

winpath() { sh "$wine_run" "$prefix" winepath -w "$1" | tr -d '\r'; }
out="$work/out"
win_out=$(winpath "$out")
win_scenario=$(winpath "$work/scenario/scenario.txt")
sh "$wine_run" "$prefix" "$replay" --out "$win_out" "$win_scenario" 2> "$work/replay.stderr" || {
    cat "$work/replay.stderr" >&2
    exit 1
}
[ -d "$out" ] || { echo "no output folder $out" >&2; exit 1; }

# The folder goes to perl through the environment: its backslashes are no escapes there.
find "$out" -type f ! -name '*.png' ! -name '*.jpg' ! -name '*.bmp' -print0 |
    WIN_OUT=$win_out xargs -0 -r perl -pi -e 's{\Q$ENV{WIN_OUT}\E}{{OUT}}g'

status=0
expected=$(cd "$golden_dir" && find . -type f | sort)
actual=$(cd "$out" && find . -type f | sort)
if [ "$expected" != "$actual" ]; then
    echo "the output files differ from $golden_dir:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    status=1
fi
while read -r file; do
    [ -f "$out/$file" ] || continue
    case "$file" in
    ./graph.png)
        sizes=$(identify -format '%wx%h\n' "$golden_dir/$file" "$out/$file" | sort -u | wc -l)
        if [ "$sizes" != 1 ]; then
            echo "$file: the picture sizes differ" >&2
            status=1
        fi
        missing=$(comm -23 <(curve_colours "$golden_dir/$file") <(curve_colours "$out/$file"))
        if [ -n "$missing" ]; then
            echo "$file: curve colours missing:" $missing >&2
            status=1
        fi
        ;;
    *.png | *.bmp)
        differing=$(compare -metric AE "$golden_dir/$file" "$out/$file" null: 2>&1 || true)
        if [ "$differing" != 0 ]; then
            echo "$file: $differing pixels differ" >&2
            status=1
        fi
        ;;
    *.jpg)
        sizes=$(identify -format '%wx%h\n' "$golden_dir/$file" "$out/$file" | sort -u | wc -l)
        if [ "$sizes" != 1 ]; then
            echo "$file: the picture sizes differ" >&2
            status=1
        fi
        ;;
    *)
        if ! cmp -s "$golden_dir/$file" "$out/$file"; then
            echo "$file differs:" >&2
            diff "$golden_dir/$file" "$out/$file" | head -c 2000 >&2 || true
            status=1
        fi
        ;;
    esac
done <<< "$expected"
[ "$status" = 0 ] && echo "identical to $golden_dir (images by their pixels; graph.png by size and curve colours)"
exit "$status"
