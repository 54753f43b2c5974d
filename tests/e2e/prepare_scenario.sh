#!/usr/bin/env bash
# Copies a scenario into a fresh work folder and draws its frames with kesmaro-simgame:
#   prepare_scenario.sh SIMGAME SCENARIO_DIR WORK   (the scenario lands in WORK/scenario/)
set -euo pipefail
simgame=$1 scenario_dir=$2 work=$3

rm -rf "$work"
mkdir -p "$work/scenario"
cp -r "$scenario_dir"/. "$work/scenario/"
if [ -f "$work/scenario/frames.txt" ]; then
    while read -r name args; do
        case "$name" in ""|\#*) continue ;; esac
        # shellcheck disable=SC2086 # the arguments are words on purpose
        "$simgame" --render "$work/scenario/$name" $args
    done < "$work/scenario/frames.txt"
fi
