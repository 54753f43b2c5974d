#!/usr/bin/env python3
"""kesmaro.exe under Wine reading mouse gestures made with xdotool on another program's window.

Run through `wine-gui.sh <session> --shell python3 live_gestures.py ...`. The other program is
the mouse seam's test program showing its plain window; the gestures' effects are read from the
debug log. Every wait is on a condition with a generous bound.
"""

import argparse
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from live_test import (MAIN_TITLE, Wine, check, close_window, eventually,  # noqa: E402
                       failures, read_bytes, tool, wait_for_window, windows)

GESTURE_LINE = 20  # the settings file's line: gestures on or off, and the pause between clicks


class Install:
    """A portable kesmaro.exe that asks no first-start questions, gestures on or off."""

    def __init__(self, root, exe, data, wine, gestures):
        self.folder = tempfile.mkdtemp(prefix="gestures-", dir=root)
        self.exe = os.path.join(self.folder, "kesmaro.exe")
        shutil.copyfile(exe, self.exe)
        template = read_bytes(os.path.join(data, "config", "default-fullscreen-yellow.ini"))
        folder = wine.windows_path(self.folder).encode("cp932")
        lines = template.replace(b"{folder}", folder).split(b"\n")
        line = lines[GESTURE_LINE - 1]
        value = b"True" if gestures else b"False"
        lines[GESTURE_LINE - 1] = value.rjust(7) + line[line.index(b" ,"):]
        with open(os.path.join(self.folder, "KM2DConfig.ini"), "wb") as f:
            f.write(b"\n".join(lines))

    def debug_log(self):
        return read_bytes(os.path.join(self.folder, "debug.txt")).decode("cp932", "replace")


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


def start(options, root, wine, gestures):
    install = Install(root, options.kesmaro, options.data, wine, gestures)
    process = wine.start(install.exe)

    def started():
        # The library check's boxes, where the prefix lacks a library, are answered.
        for box in windows("^ライブラリファイルチェック$", process.pid):
            close_window(box)
        found = windows(MAIN_TITLE, process.pid)
        return found and "Program StartUp Complete" in install.debug_log() and found[0]

    return install, process, eventually(started, 90)


def run(options, root, wine):
    other = wine.start(options.target, "--target-window")
    target = wait_for_window("^KesmaroMouseTarget$", 60, other.pid)
    if not check(target, "the other program shows its window"):
        return

    install, process, main_window = start(options, root, wine, True)
    if not check(main_window, "the main window shows"):
        return
    log = install.debug_log
    check(eventually(lambda: "Mouse Events Acquire ･･･ Successfull" in log(), 30),
          "gestures on at the start: the mouse is acquired")
    tool("xdotool", "windowactivate", "--sync", target)

    clicks(target, "1311")  # L R L L
    check(eventually(lambda: "Suspend Mode On" in log(), 30), "L R L L suspends")
    clicks(target, "1311")  # again: only the rhythm and the text log
    clicks(target, "1313")  # L R L R
    check(eventually(lambda: "Suspend Mode Off" in log(), 30), "L R L R resumes")
    check(log().count("Suspend Mode On") == 1, "L R L L while suspended changes nothing")
    chord(target)
    check(eventually(lambda: "OnLine Print Screen ･･･ End" in log(), 30),
          "both buttons twice asks for a screenshot")
    process.kill()
    process.wait(30)

    install, process, main_window = start(options, root, wine, False)
    if not check(main_window, "the main window shows with gestures off"):
        return
    tool("xdotool", "windowactivate", "--sync", target)
    clicks(target, "1311")
    # Nothing can announce that nothing happened: a bounded look for the line.
    check(not eventually(lambda: "Suspend Mode" in install.debug_log(), 5),
          "with gestures off, L R L L changes nothing")
    check("DirectX Loding" not in install.debug_log(), "with gestures off, no mouse is acquired")
    process.kill()
    process.wait(30)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kesmaro", required=True)
    parser.add_argument("--target", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()

    os.makedirs(options.work, exist_ok=True)
    root = tempfile.mkdtemp(prefix="live-", dir=options.work)
    wine = Wine()
    try:
        run(options, root, wine)
    finally:
        wine.end_all()
    if failures:
        print(f"{len(failures)} check(s) failed", flush=True)
        return 1
    print("all gesture checks passed", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
