#!/usr/bin/env bash
# One golden end-to-end run: renders the scenario's frames with kesmaro-simgame, replays the
# scenario with kesmaro-replay and compares every output file with the golden copy, byte for
# byte. The output folder's absolute path is replaced by "{OUT}" in text files first, since it
# differs from machine to machine. KESMARO_UPDATE_GOLDEN=1 rewrites the golden copy instead.
set -euo pipefail
replay=$1 simgame=$2 scenario_dir=$3 golden_dir=$4 work=$5

bash "$(dirname "$0")/prepare_scenario.sh" "$simgame" "$scenario_dir" "$work"

out="$work/out"
"$replay" --out "$out" "$work/scenario/scenario.txt" 2> "$work/replay.stderr" || {
    cat "$work/replay.stderr" >&2
    exit 1
}

# Text outputs name the output folder; images and other binary files are left as they are.
find "$out" -type f ! -name '*.png' ! -name '*.jpg' ! -name '*.bmp' -print0 |
    xargs -0 -r perl -pi -e "s{\\Q$out\\E}{{OUT}}g"

if [ "${KESMARO_UPDATE_GOLDEN:-0}" = 1 ]; then
    rm -rf "$golden_dir"
    mkdir -p "$golden_dir"
    cp -r "$out"/. "$golden_dir/"
    echo "golden files rewritten: $golden_dir"
    exit 0
fi

if ! diff -r "$golden_dir" "$out" > "$work/diff.txt"; then
    echo "outputs differ from $golden_dir:" >&2
    head -c 4000 "$work/diff.txt" >&2
    exit 1
fi
echo "identical to $golden_dir"
