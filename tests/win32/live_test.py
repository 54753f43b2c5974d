#!/usr/bin/env python3
"""kesmaro.exe measuring kesmaro-simgame.exe live under Wine, on the X server of wine-gui.sh.

Run through `wine-gui.sh <session> --shell python3 live_test.py ...` so that DISPLAY and
WINEPREFIX are the session's. Several checks share one running program: each live minute is
expensive. Every wait is on a condition with a generous bound.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ERROR_TITLE = "^エラー$"
MAIN_TITLE = "^Kesmaro "
failures = []
installs = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, flush=True)
    return condition


def eventually(predicate, seconds):
    deadline = time.monotonic() + seconds
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.25)


def tool(*arguments):
    done = subprocess.run(arguments, capture_output=True, text=True)
    return done.stdout if done.returncode == 0 else ""


def windows(title, pid=None):
    """Visible windows whose title matches `title`, of the process `pid` when given."""
    arguments = ["xdotool", "search", "--all", "--onlyvisible"]
    if pid is not None:
        arguments += ["--pid", str(pid)]
    return tool(*arguments, "--name", title).split()


def wait_for_window(title, seconds=60, pid=None):
    found = eventually(lambda: windows(title, pid), seconds)
    return found[0] if found else None


def close_window(window):
    """As the close box does; a box with one button takes it as that button."""
    tool("wmctrl", "-i", "-c", window)


def activate(window):
    tool("xdotool", "windowactivate", "--sync", window)


def bring_to_front(window):
    def front():
        if tool("xdotool", "getactivewindow").strip() == window:
            return True
        activate(window)
        return False

    return eventually(front, 30)


class Wine:
    def __init__(self):
        self.processes = []

    def start(self, exe, *arguments):
        process = subprocess.Popen(["wine", exe, *arguments], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def windows_path(self, unix_path):
        return tool("winepath", "-w", unix_path).strip()

    def temp_folder(self):
        shown = tool("wine", "cmd", "/c", "echo %TEMP%").strip()
        return tool("winepath", "-u", shown).strip()

    def end_all(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait(20)


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


class Install:
    """A portable copy of kesmaro.exe with a settings file that asks no first-start questions,
    measuring every minute from two seconds after the start."""

    def __init__(self, root, exe, data, wine):
        self.folder = tempfile.mkdtemp(prefix="program-", dir=root)
        self.exe = os.path.join(self.folder, "kesmaro.exe")
        installs.append(self)
        shutil.copyfile(exe, self.exe)
        template = read_bytes(os.path.join(data, "config", "default-fullscreen-yellow.ini"))
        folder = wine.windows_path(self.folder).encode("cp932")
        lines = template.replace(b"{folder}", folder).split(b"\n")

        def field(number, value):
            line = lines[number - 1]
            lines[number - 1] = value.rjust(7) + line[line.index(b" ,"):]

        field(7, b"True")
        field(8, b"1")
        field(14, b"2")
        with open(os.path.join(self.folder, "KM2DConfig.ini"), "wb") as f:
            f.write(b"\n".join(lines))

    def debug_log(self):
        return read_bytes(os.path.join(self.folder, "debug.txt")).decode("cp932", "replace")

    def record_lines(self):
        log = os.path.join(self.folder, "log")
        files = os.listdir(log) if os.path.isdir(log) else []
        if len(files) != 1:
            return []
        text = read_bytes(os.path.join(log, files[0])).decode("cp932", "replace")
        pattern = re.compile(r"^\d\d/\d\d \d\d:\d\d +(\S+) +(\S+) +(\S+) ")
        return [m.groups() for m in map(pattern.match, text.split("\r\n")) if m]


def wait_for_main_window(install, pid):
    """Answers the library check's boxes until the main window shows and the check is done."""
    answered = set()
    main = [None]

    def ready():
        boxes = windows("^ライブラリファイルチェック$", pid)
        for box in boxes:
            if box not in answered:
                answered.add(box)
                close_window(box)
        found = windows(MAIN_TITLE, pid)
        main[0] = found[0] if found else None
        return not boxes and main[0] and "Result of System File Check" in install.debug_log()

    eventually(ready, 90)
    return main[0]


def debug_entries(text):
    """The debug log's entries: a stamped line and the unstamped lines below it."""
    entries = []
    for line in text.split("\r\n"):
        if re.match(r"^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d", line):
            entries.append(line[20:])
        elif entries:
            entries[-1] += "\n" + line
    return [e.rstrip("\n") for e in entries]


def wait_for_start(install, pid):
    """Answers the library check's boxes until the main window shows and the start is complete;
    the main window or None."""

    def started():
        for box in windows("^ライブラリファイルチェック$", pid):
            close_window(box)
        found = windows(MAIN_TITLE, pid)
        return found and "Program StartUp Complete" in install.debug_log() and found[0]

    return eventually(started, 90)


def run_checks(run, what):
    """The command line of every live script: runs `run(options, root, wine)` in a scratch folder
    of --work, ends every program it started and reports; the exit status."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--kesmaro", required=True)
    parser.add_argument("--simgame", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()

    os.makedirs(options.work, exist_ok=True)
    root = tempfile.mkdtemp(prefix="live-", dir=options.work)
    wine = Wine()
    started = time.monotonic()
    try:
        run(options, root, wine)
    finally:
        wine.end_all()
    print(f"{what} took {time.monotonic() - started:.0f} s", flush=True)
    if failures:
        for install in installs:
            print(f"--- the end of {install.folder}\\debug.txt:")
            print("\n".join(install.debug_log().split("\r\n")[-25:]))
        print(f"{len(failures)} check(s) failed", flush=True)
        return 1
    print(f"all {what} passed", flush=True)
    return 0


def run(options, root, wine):
    install = Install(root, options.kesmaro, options.data, wine)
    script = os.path.join(root, "script.txt")
    with open(script, "w") as f:
        f.write("0 35 10.00 1000000\n40 35 12.34 1234567\n")
        for k in range(1, 40):
            f.write(f"{110 + 10 * k} 35 {12.34 + 0.01 * k:.2f} {1234567 + 1000 * k}\n")
    game = wine.start(options.simgame, "--script", script)
    game_window = wait_for_window(".", 60, game.pid)
    if not check(game_window, "the simulated game shows its window"):
        return
    first = wine.start(install.exe)
    main_window = wait_for_main_window(install, first.pid)
    if not check(main_window, "the main window shows after the library check"):
        return
    # The main window takes the focus as it shows; the game is brought back once the start is
    # complete, and again until the window manager says it is in front.
    check(eventually(lambda: "Program StartUp Complete" in install.debug_log(), 60),
          "the start completes")
    check(bring_to_front(game_window), "the game comes to the front")

    if not check(eventually(lambda: len(install.record_lines()) >= 2, 200),
                 "two record lines within two captures"):
        return
    lines = install.record_lines()
    check(lines[0] == ("35", "12.34", "1,234,567"), f"the first line reads the game: {lines[0]}")
    check(all(level == "35" for level, _, _ in lines), f"every line has the level: {lines}")
    steady = len(install.record_lines())

    # A second start while no capture is due: refused, the first keeps its debug log.
    before = install.debug_log()
    second = wine.start(install.exe)
    box = wait_for_window(ERROR_TITLE, 30, second.pid)
    if check(box, "a second start shows its box"):
        close_window(box)
    check(eventually(lambda: second.poll() is not None, 30), "the second start ends")
    check(first.poll() is None, "the first keeps running")
    check(install.debug_log() == before, "the first one's debug log did not change")

    # The game closes: the popup shows. It comes back, but behind another program's window (not
    # kesmaro's: showing that hides the popup): the capture that hides the popup reads nothing.
    # In front again, it is measured.
    game.kill()
    game.wait(20)
    check(wait_for_window(ERROR_TITLE, 90, first.pid), "the popup shows after the game closed")
    wine.start("notepad")
    other = wait_for_window("Notepad", 60)
    with open(os.path.join(root, "again.txt"), "w") as f:
        f.write("0 36 5.67 1300000\n")
    again = wine.start(options.simgame, "--script", os.path.join(root, "again.txt"))
    again_window = wait_for_window(".", 60, again.pid)
    if check(again_window and other, "the game comes back behind another window"):
        bring_to_front(other)
        check(eventually(lambda: not windows(ERROR_TITLE, first.pid), 90),
              "the popup goes when the game is back")
        check(len(install.record_lines()) == steady,
              "no capture is made of a game in the background")
        bring_to_front(again_window)
        check(eventually(lambda: len(install.record_lines()) > steady, 90),
              "measuring resumes with the game in front")
        lines = install.record_lines()
        check(lines[-1] == ("36", "5.67", "1,300,000"), f"the line reads the new game: {lines}")
    if other:
        close_window(other)

    # Closed through the window manager: the close sequence writes its last lines.
    close_window(main_window)
    check(eventually(lambda: first.poll() is not None, 30), "the close ends the process")
    entries = debug_entries(install.debug_log())
    check(len(entries) >= 2 and entries[-2] == "End of the Program ",
          f"'End of the Program ' is the last line but the report: {entries[-2:]}")
    check(entries and entries[-1].startswith("OperatingInformation\n"),
          "the environment report is last")

    # A copy unpacked into the temporary folder is refused and writes nothing.
    temp = wine.temp_folder()
    if check(os.path.isdir(temp), f"the Windows temporary folder exists: {temp}"):
        unpacked = tempfile.mkdtemp(prefix="unpacked-", dir=temp)
        shutil.copyfile(options.kesmaro, os.path.join(unpacked, "kesmaro.exe"))
        refused = wine.start(os.path.join(unpacked, "kesmaro.exe"))
        box = wait_for_window("^起動エラー$", 60, refused.pid)
        if check(box, "a copy in the temporary folder shows the refusal"):
            close_window(box)
        check(eventually(lambda: refused.poll() is not None, 30), "the refused copy ends")
        check(os.listdir(unpacked) == ["kesmaro.exe"], "the refused copy wrote nothing")
        shutil.rmtree(unpacked, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(run_checks(run, "live checks"))
