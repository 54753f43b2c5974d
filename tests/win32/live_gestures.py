#!/usr/bin/env python3
"""kesmaro.exe under Wine reading mouse gestures made with xdotool on the live simulated game.

Run through `wine-gui.sh <session> --shell python3 live_gestures.py ...`. kesmaro.exe measures
kesmaro-simgame.exe, which stays in front; the clicks are made on the game's window and their
effects are read from the debug log, the record file and the screenshot folder. One running
program serves every check. Every wait is on a condition with a generous bound.
"""

import os
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from live_test import (Install, bring_to_front, check, close_window,  # noqa: E402
                       eventually, read_bytes, run_checks, tool, wait_for_start,
                       wait_for_window)
from live_options import (MENU_BAR_Y, MENU_CONFIG_X, MENU_ITEM_HEIGHT,  # noqa: E402
                          MENU_ITEM_TOP, capture_times, click, set_field)

INTERVAL_LINE = 8
WATCH_LINE = 18  # the level-up/death watch on or off, and its period in milliseconds
GESTURE_LINE = 20  # gestures on or off, and the longest pause between clicks
# Far beyond the checks' length: a record line after the run's first comes from a gesture.
LONG_INTERVAL = b"60"


def clicks(target, buttons):
    """Clicks on the target window, 100 ms apart: well within the 500 ms a gesture allows."""
    arguments = ["xdotool", "mousemove", "--window", target, "150", "120"]
    for button in buttons:
        arguments += ["click", button, "sleep", "0.1"]
    tool(*arguments)


def chord(target):
    tool("xdotool", "mousemove", "--window", target, "150", "120", "mousedown", "1", "mousedown",
         "3", "mouseup", "1", "mouseup", "3", "sleep", "0.1", "mousedown", "1", "mousedown", "3",
         "mouseup", "1", "mouseup", "3")


def saved(install, prefix):
    folder = os.path.join(install.folder, "ss")
    names = os.listdir(folder) if os.path.isdir(folder) else []
    return sorted(os.path.join(folder, n) for n in names if n.startswith(prefix))


def png_size(path):
    head = read_bytes(path)[:24]
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def window_size(window):
    found = dict(line.split("=", 1) for line in
                 tool("xdotool", "getwindowgeometry", "--shell", window).split())
    return int(found.get("WIDTH", 0)), int(found.get("HEIGHT", 0))


def settled(count, quiet):
    """Waits until count() holds still for `quiet` seconds; bounded, so a count that keeps
    growing gives False."""
    last = [count(), time.monotonic()]

    def still():
        now = count()
        if now != last[0]:
            last[:] = [now, time.monotonic()]
        return time.monotonic() - last[1] >= quiet

    return eventually(still, 60)


def game_script(path):
    """The Exp percentage rises and falls every two seconds: each fall is a level-up or death
    to the watch, and the capture cycle still reads every value."""
    with open(path, "w") as f:
        for k in range(0, 900):
            f.write(f"{2 * k} 35 {12.34 if k % 2 else 12.50} {1234567 + k}\n")


def run(options, root, wine):
    install = Install(root, options.kesmaro, options.data, wine)
    set_field(install, INTERVAL_LINE, LONG_INTERVAL)
    set_field(install, WATCH_LINE, b"False")
    set_field(install, GESTURE_LINE, b"True")
    log = install.debug_log
    script = os.path.join(root, "script.txt")
    game_script(script)
    game = wine.start(options.simgame, "--script", script)
    game_window = wait_for_window(".", 60, game.pid)
    if not check(game_window, "the simulated game shows its window"):
        return
    program = wine.start(install.exe)

    main_window = wait_for_start(install, program.pid)
    if not check(main_window, "the main window shows and the start completes"):
        return
    check("Mouse Events Acquire ･･･ Successfull" in log(),
          "gestures on at the start: the mouse is acquired")
    check(bring_to_front(game_window), "the game comes to the front")
    if not check(eventually(lambda: capture_times(install), 120), "the run's first capture"):
        return

    clicks(game_window, "1311")  # L R L L
    check(eventually(lambda: "Suspend Mode On" in log(), 30), "L R L L suspends")
    clicks(game_window, "1311")  # again: only the rhythm and the text log
    clicks(game_window, "1313")  # L R L R
    check(eventually(lambda: "Suspend Mode Off" in log(), 30), "L R L R resumes")
    check(log().count("Suspend Mode On") == 1, "L R L L while suspended changes nothing")

    before = saved(install, "PrtScr")
    chord(game_window)
    check(eventually(lambda: "OnLine Print Screen ･･･ End" in log(), 30),
          "both buttons twice asks for a screenshot")
    shots = saved(install, "PrtScr")
    if check(len(shots) == len(before) + 1, f"the chord saves one image into ss: {shots}"):
        size, game_size = png_size(shots[-1]), window_size(game_window)
        # The image is of the whole foreground window: the game's client area and its frame.
        check(size and game_size[0] <= size[0] <= game_size[0] + 64
              and game_size[1] <= size[1] <= game_size[1] + 96,
              f"the image is of the game window: {size} for a client area of {game_size}")

    clicks(game_window, "3333")  # R R R R
    check(eventually(lambda: install.record_lines(), 40),
          "R R R R captures at once: a record line long before the interval's")
    check(install.record_lines()[-1][0] == "35", f"it reads the game: {install.record_lines()}")

    dead_or_alive = "DEAD OR HAPPY LIVE Print Screen ･･･ End"
    check(not saved(install, "LvUP") and dead_or_alive not in log(),
          "the watch is off at the start")
    clicks(game_window, "3111")  # R L L L
    check(eventually(lambda: log().count(dead_or_alive) >= 2, 60),
          "R L L L starts the watch: the game's falls are photographed")
    check(len(saved(install, "LvUP")) >= 4, "each fall saves its images into ss")
    clicks(game_window, "3113")  # R L L R
    check(settled(lambda: log().count(dead_or_alive), 10),
          "R L L R stops the watch: the falls go on, no more images")

    # Gestures off through 設定 → マウスジェスチャ: the mouse is let go and clicks do nothing.
    bring_to_front(main_window)
    click(main_window, MENU_CONFIG_X, MENU_BAR_Y)
    time.sleep(0.5)
    click(main_window, MENU_CONFIG_X + 30, MENU_ITEM_TOP + MENU_ITEM_HEIGHT)
    check(eventually(lambda: "DirectX UnLoding ･･･ End" in log(), 30),
          "the menu switches gestures off")
    check(bring_to_front(game_window), "the game comes back to the front")
    lines, suspended = len(install.record_lines()), log().count("Suspend Mode On")
    clicks(game_window, "1311")
    clicks(game_window, "3333")
    # Nothing can announce that nothing happened: a bounded look.
    check(not eventually(lambda: log().count("Suspend Mode On") > suspended
                         or len(install.record_lines()) > lines, 8),
          "with gestures off, L R L L and R R R R change nothing")
    close_window(main_window)
    check(eventually(lambda: program.poll() is not None, 30), "the close ends the process")



if __name__ == "__main__":
    sys.exit(run_checks(run, "gesture checks"))
