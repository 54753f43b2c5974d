#!/usr/bin/env bash
# `make demo` from a clone inside the temporary folder, as a new user runs it: the demo measures
# and prints the record file readably. A second demo started meanwhile, while the first one's
# kesmaro runs, fails with the text of the box that refuses the second instance.
# Usage: demo_test.sh SOURCE BUILD WORK
set -euo pipefail
source=$1 build=$2 work=$3

command -v Xvfb > /dev/null || { echo "SKIP: no Xvfb for the demo"; exit 77; }

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.out; do
        echo "--- $log" >&2
        cat "$log" >&2
    done
    exit 1
}

rm -rf "$work"
# The temporary folder the programs see holds the clone with its build tree; the user's cache
# and runtime folders lie elsewhere, as they do on a desktop.
export TMPDIR="$work/tmp"
clone="$TMPDIR/kesmaro"
mkdir -p "$clone/scripts" "$clone/docs" "$clone/build/src/ui/qt" "$clone/build/src/tools" \
    "$work/runtime"
chmod 700 "$work/runtime"
cp "$source/scripts/demo.sh" "$clone/scripts/"
cp -r "$source/docs/help" "$clone/docs/"
cp "$build/src/ui/qt/kesmaro" "$clone/build/src/ui/qt/"
cp "$build/src/tools/kesmaro-replay" "$build/src/tools/kesmaro-simgame" "$clone/build/src/tools/"

demo() { # cache folder, output file
    (
        cd "$clone"
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CACHE_HOME="$1" \
            XDG_RUNTIME_DIR="$work/runtime" KESMARO_DEMO_MINUTES=1 \
            bash scripts/demo.sh build > "$2" 2>&1
    )
}

demo "$work/cache" "$work/first.out" &
first=$!
# The second one starts once the first one's kesmaro holds the per-user lock.
for _ in $(seq 1 600); do
    grep -q '^kesmaro is measuring' "$work/first.out" 2> /dev/null && break
    kill -0 "$first" 2> /dev/null || break
    sleep 0.2
done
grep -q '^kesmaro is measuring' "$work/first.out" || fail "the first demo did not start measuring"

status=0
demo "$work/cache-second" "$work/second.out" || status=$?
[ "$status" -eq 1 ] || fail "the second demo ended with status $status, not 1"
grep -qF '既にプログラムは起動しています。' "$work/second.out" ||
    fail "the second demo does not show the refusal's text"
grep -qF '“エラー”' "$work/second.out" || fail "the second demo does not show the box's title"
if grep -q 'debug.txt' "$work/second.out"; then fail "the second demo points at a debug log"; fi

status=0
wait "$first" || status=$?
[ "$status" -eq 0 ] || fail "the first demo ended with status $status"
out="$work/first.out"
folder="$work/cache/kesmaro-demo"
grep -qxF "program folder: $folder" "$out" || fail "the demo does not say where its program folder is"
# The header and a record line, readable as UTF-8: no CP932 byte reaches the terminal.
iconv -f UTF-8 -t UTF-8 "$out" > /dev/null || fail "the demo's output is not UTF-8"
grep -qF ' 月日 時刻      Lv         Exp             ｺｲﾝ ' "$out" || fail "no readable header"
grep -qE '^[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2} +[0-9]+ ' "$out" || fail "no record line"
grep -qE "^record file +: $folder/log/給与明細[0-9]{6}月\.txt$" "$out" || fail "the record file"
grep -qxE 'record lines +: 1, below the header line' "$out" || fail "the record line count"
for document in "$source"/docs/help/*; do
    [ -f "$folder/$(basename "$document")" ] || fail "no $(basename "$document") beside the program"
done
[ -z "$(ls -A "$TMPDIR/kesmaro" | grep -vxE 'scripts|docs|build')" ] ||
    fail "the demo wrote into the clone: $(ls -A "$TMPDIR/kesmaro")"
echo "demo checks passed"
