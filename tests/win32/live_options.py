#!/usr/bin/env python3
"""The options window of a running kesmaro.exe changes the capture interval under Wine.

Run through `wine-gui.sh <session> --shell python3 live_options.py ...`. The options window is
opened from the main window's menu, the interval is typed into the input dialog, 保 存 writes
the settings file, and the run started afterwards captures at the new interval. Every wait is on
a condition with a generous bound.
"""

import datetime
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from live_test import (Install, activate, bring_to_front, check,  # noqa: E402
                       close_window, eventually, read_bytes, run_checks, tool,
                       wait_for_start, wait_for_window, windows)

OPTION_TITLE = "^オプション$"
INPUT_TITLE = "^設定値入力$"
AUTO_START_LINE = 7
INTERVAL_LINE = 8

# Points of the windows at 96 dpi in Wine's X window of each, which holds the client area and
# the menu bar (the caption and frame are the window manager's); the menu bar's are as Wine
# draws it.
MENU_BAR_Y = 10
MENU_CONFIG_X = 72
MENU_RUN_X = 105
MENU_ITEM_TOP = 33
MENU_ITEM_HEIGHT = 20
INTERVAL_LABEL = (9 + 116 + 28, 29 + 90 + 10)
SAVE_BUTTON = (164 + 36, 358 + 12)
BACK_BUTTON = (540 - 8 - 73 + 36, 358 + 12)


def click(window, x, y):
    tool("xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1")


def settings_field(install, number):
    """The value of a line of the settings file, as the file holds it (CP932)."""
    lines = read_bytes(os.path.join(install.folder, "KM2DConfig.ini")).split(b"\r\n")
    if len(lines) < number:
        return None
    return lines[number - 1].split(b",")[0].strip().decode("cp932", "replace")


def set_field(install, number, value):
    path = os.path.join(install.folder, "KM2DConfig.ini")
    lines = read_bytes(path).split(b"\n")
    line = lines[number - 1]
    lines[number - 1] = value.rjust(7) + line[line.index(b" ,"):]
    with open(path, "wb") as f:
        f.write(b"\n".join(lines))


def capture_times(install):
    """When the captures of the run found the game, from the debug log's stamps."""
    found = re.findall(r"^(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d) \S+ EnhancedPosition",
                       install.debug_log(), re.MULTILINE)
    return [datetime.datetime.strptime(t, "%Y/%m/%d %H:%M:%S") for t in found]


def open_options(main_window, pid):
    """設定 → オプション... by the mouse: the menu bar has no mnemonics to type."""
    for _ in range(3):
        bring_to_front(main_window)
        click(main_window, MENU_CONFIG_X, MENU_BAR_Y)
        time.sleep(0.5)
        click(main_window, MENU_CONFIG_X + 30, MENU_ITEM_TOP)
        found = wait_for_window(OPTION_TITLE, 10, pid)
        if found:
            return found
        tool("xdotool", "key", "Escape")
    return None


def run(options, root, wine):
    install = Install(root, options.kesmaro, options.data, wine)
    # No run at the start: the interval is changed first, so that the run's first gap shows it.
    set_field(install, AUTO_START_LINE, b"False")
    check(settings_field(install, INTERVAL_LINE) == "1", "the settings start with 1 minute")
    script = os.path.join(root, "script.txt")
    with open(script, "w") as f:
        # The numbers move every ten seconds, so that every capture writes its line.
        for k in range(60):
            f.write(f"{10 * k} 35 {12.34 + 0.01 * k:.2f} {1234567 + 1000 * k}\n")
    game = wine.start(options.simgame, "--script", script)
    game_window = wait_for_window(".", 60, game.pid)
    if not check(game_window, "the simulated game shows its window"):
        return
    program = wine.start(install.exe)

    main_window = wait_for_start(install, program.pid)
    if not check(main_window, "the main window shows and the start completes"):
        return

    option_window = open_options(main_window, program.pid)
    if not check(option_window, "設定 → オプション... opens the options window"):
        return
    bring_to_front(option_window)
    click(option_window, *INTERVAL_LABEL)
    dialog = wait_for_window(INPUT_TITLE, 30, program.pid)
    if not check(dialog, "a click on the interval opens the input dialog"):
        return
    bring_to_front(dialog)
    # The value is selected as the dialog opens: typing replaces it. Enter moves to 決 定, and
    # Enter there confirms.
    tool("xdotool", "type", "--delay", "100", "2")
    tool("xdotool", "key", "--delay", "200", "Return", "Return")
    check(eventually(lambda: not windows(INPUT_TITLE, program.pid), 30),
          "Enter, Enter closes the input dialog")
    check(settings_field(install, INTERVAL_LINE) == "1",
          "the settings file keeps 1 minute until 保 存")

    bring_to_front(option_window)
    click(option_window, *SAVE_BUTTON)
    check(eventually(lambda: settings_field(install, INTERVAL_LINE) == "2", 30),
          f"保 存 writes 2 minutes on line {INTERVAL_LINE}: {settings_field(install, INTERVAL_LINE)!r}")
    check("Saving ConfigFile ･･･ End" in install.debug_log(), "the save is in the debug log")
    click(option_window, *BACK_BUTTON)
    check(eventually(lambda: not windows(OPTION_TITLE, program.pid)
                     or tool("xdotool", "getactivewindow").strip() == main_window, 30),
          "戻 る brings the main window back")

    # 開始 starts the run; the game is kept in front so that every due capture reads it.
    bring_to_front(main_window)
    click(main_window, MENU_RUN_X, MENU_BAR_Y)
    check(eventually(lambda: "Loging ManualStart" in install.debug_log(), 30),
          "開始 starts a run")
    check(bring_to_front(game_window), "the game comes to the front")
    if not check(eventually(lambda: capture_times(install), 120), "the run's first capture"):
        return
    # The first capture takes the run's start values; the record line comes with the second.
    def kept_in_front():
        # Wine may hand the focus back to the program's windows; a capture needs the game.
        if tool("xdotool", "getactivewindow").strip() != game_window:
            activate(game_window)
        return install.record_lines()

    if not check(eventually(kept_in_front, 300), "the second capture writes a record line"):
        return
    # At 1 minute the line would come 60 to 70 s after the first capture, at 2 minutes 120 to 130.
    gap = (datetime.datetime.now() - capture_times(install)[0]).total_seconds()
    check(110 <= gap <= 150, f"the second capture comes two minutes after the first: {gap:.0f} s")
    close_window(main_window)
    check(eventually(lambda: program.poll() is not None, 30), "the close ends the process")



if __name__ == "__main__":
    sys.exit(run_checks(run, "live options checks"))
