#!/usr/bin/env bash
# The main job: kesmaro measures the simulated game live for a few minutes, on the user's
# desktop when there is one, else on a private X server. Ends kesmaro through the window
# manager's close, as the close box does, and shows what it wrote.
#   demo.sh [build folder]              the Linux programs
#   demo.sh --windows [windows build]   kesmaro.exe and kesmaro-simgame.exe under Wine
set -euo pipefail
windows=0
if [ "${1:-}" = --windows ]; then
    windows=1
    shift
fi
lines=${KESMARO_DEMO_MINUTES:-4} # one record line a minute
top=$(cd "$(dirname "$0")/.." && pwd)
if [ "$windows" = 1 ]; then
    build=$(cd "${1:-build/windows}" && pwd)
    simgame="$build/src/tools/kesmaro-simgame.exe"
    replay="$build/src/tools/kesmaro-replay.exe"
    program="$build/src/ui/win32/kesmaro.exe"
    installed=kesmaro.exe
    suffix=-windows
else
    build=$(cd "${1:-build/default}" && pwd)
    simgame="$build/src/tools/kesmaro-simgame"
    replay="$build/src/tools/kesmaro-replay"
    program="$build/src/ui/qt/kesmaro"
    installed=kesmaro
    suffix=
fi

# kesmaro refuses to start from inside the temporary folder, where a clone may well lie: the
# demo's program folder is in the user's cache folder instead.
cache=${XDG_CACHE_HOME:-}
[[ "$cache" == /* ]] || cache="$HOME/.cache"
demo="$cache/kesmaro-demo$suffix"
rm -rf "$demo"
mkdir -p "$demo"
echo "program folder: $demo"
# The Windows programs run in a private Wine prefix beside it, never the user's ~/.wine.
run=()
if [ "$windows" = 1 ]; then
    export WINEPREFIX="$cache/kesmaro-demo-wineprefix" WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    run=(wine)
fi

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
if [ "$windows" = 1 ]; then
    echo "preparing the Wine prefix $WINEPREFIX (the first time takes a while)"
    wine wineboot -u >/dev/null 2>&1
    "$top/scripts/wine-fontlink.sh"
fi

# Settings: a first start writes the defaults (record folder = the program folder); the demo
# then measures every minute with the level-up/death check on. AutoStart and the graph are on
# by default.
printf 'start 2024-05-01 12:00:00\n' > "$demo/first-start.txt"
out="$demo"
[ "$windows" = 0 ] || out=$(winepath -w "$demo")
QT_QPA_PLATFORM=offscreen "${run[@]}" "$replay" --out "$out" "$out/first-start.txt" >/dev/null 2>&1
find "$demo" -mindepth 1 -maxdepth 1 ! -name KM2DConfig.ini -exec rm -rf {} +
sed -i -e '8s/^      6 ,/      1 ,/' -e '18s/^  False/   True/' "$demo/KM2DConfig.ini"

# A portable install: the program folder is the folder of the executable, so everything the
# program writes lands beside it, and its Help menu finds the documents there.
cp "$program" "$demo/$installed"
cp "$top"/docs/help/* "$demo/"

"${run[@]}" "$simgame" --play --seed 7 >/dev/null 2>&1 &
gamepid=$!
pids+=($gamepid)
# Wine names its X windows after the executable, not the Win32 class: found by process.
game=$(timeout 60 xdotool search --sync --onlyvisible --pid "$gamepid" --name . | head -n 1)

start=$(date +%s)
# Until its main window is up, kesmaro also writes every message box to standard error.
"${run[@]}" "$demo/$installed" >/dev/null 2>"$demo/kesmaro.stderr" &
kesmaro=$!
pids+=($kesmaro)

# Only this kesmaro's windows: another one may be running on the same desktop.
windows_of_kesmaro() {
    xdotool search --all --onlyvisible --pid "$kesmaro" --name "$1" 2>/dev/null || true
}
said() {
    sed 's/^/  /' "$demo/kesmaro.stderr"
}
# The start-up check tells of each missing part (a private X server has no sound server) in a
# message box; the demo closes them as a user would. Any other box before the main window
# (a second instance, a start refused) ends the demo with what the box says.
window="" checked=0 box=""
for _ in $(seq 1 $((150 + 150 * windows))); do
    window=$(windows_of_kesmaro '^Kesmaro ' | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$kesmaro" 2>/dev/null || break
    for shown in $(windows_of_kesmaro .); do
        name=$(xdotool getwindowname "$shown" 2>/dev/null || true)
        # The main window may have come up since the look above.
        [[ "$name" == "Kesmaro "* ]] && continue
        if [ "$name" = "ライブラリファイルチェック" ]; then
            # Closed, not answered with a key: a key sent to a window that goes away can stay
            # held.
            wmctrl -i -c "$shown" 2>/dev/null || true
            checked=$((checked + 1))
        else
            box=$shown
        fi
    done
    [ -n "$box" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    sleep 0.5 # the box's text reaches the file as the box shows; a moment for the last line
    if [ -n "$box" ]; then
        echo "kesmaro did not show its main window; it showed this message" \
            "(「$(xdotool getwindowname "$box" 2>/dev/null || true)」):" >&2
        said >&2
        wmctrl -i -c "$box" 2>/dev/null || true
    elif ! kill -0 "$kesmaro" 2>/dev/null; then
        echo "kesmaro ended without showing its main window; it said:" >&2
        said >&2
    else
        echo "kesmaro showed no main window within $((30 + 30 * windows)) s; its windows:" >&2
        for shown in $(windows_of_kesmaro .); do
            echo "  $(xdotool getwindowname "$shown" 2>/dev/null)" >&2
        done
        echo "and it said:" >&2
        said >&2
    fi
    exit 1
fi
if [ "$checked" -gt 0 ]; then
    echo "start-up check: a part of the system is missing; the demo closed its message:"
    said
fi
# Back to the game, as a player would: only the window in front is measured. The main window
# may take the focus again until its start is complete (it shows, then takes its size), so the
# game is brought back until it stays in front.
for _ in $(seq 1 300); do
    grep -aq 'Program StartUp Complete' "$demo/debug.txt" 2>/dev/null && break
    sleep 0.2
done
for _ in $(seq 1 30); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$game" ] && break
    xdotool windowactivate "$game" 2>/dev/null || true
    sleep 1
done

record_file() {
    ls "$demo"/log/* 2>/dev/null | head -n 1 || true
}
# Lines that begin with a date, so not the header.
record_lines() {
    local file
    file=$(record_file)
    [ -n "$file" ] || { echo 0; return; }
    iconv -f CP932 -t UTF-8 "$file" | grep -c '^[0-9][0-9]/[0-9][0-9] ' || true
}
echo "kesmaro is measuring the simulated game every minute; record lines to come: $lines"
for n in $(seq 1 "$lines"); do
    # A minute apart, the first after the start delay; generous for a busy machine.
    deadline=$((SECONDS + 180))
    until [ "$(record_lines)" -ge "$n" ]; do
        if [ "$SECONDS" -ge "$deadline" ] || ! kill -0 "$kesmaro" 2>/dev/null; then
            echo "no record line $n after $(($(date +%s) - start)) s; see $demo/debug.txt" >&2
            exit 1
        fi
        sleep 2
    done
    echo "  $(($(date +%s) - start)) s: $(basename "$(record_file)"), record lines: $n"
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
echo "=== record file (CP932, shown converted to UTF-8) ==="
iconv -f CP932 -t UTF-8 "$(record_file)" | tr -d '\r'
echo
echo "=== where things are ==="
echo "program folder : $demo (outside the temporary folder, where kesmaro does not start)"
echo "record file    : $(record_file)"
echo "record lines   : $(record_lines), below the header line"
echo "text log       : the main window's log; each measurement's line also went to the record file"
echo "debug log      : $demo/debug.txt"
echo "screenshots    : $(find "$demo/ss" -type f 2>/dev/null | wc -l) files in $demo/ss"
echo "main window    : $demo/main-window.png"
echo "settings       : $demo/KM2DConfig.ini"
echo "help documents : beside the program, opened by its Help menu"
