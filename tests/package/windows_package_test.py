#!/usr/bin/env python3
"""The Windows zip and installer as a player gets them, tried under Wine on the X server of
wine-gui.sh (run through `wine-gui.sh <session> --shell python3 windows_package_test.py ...`).

  zip        the zip's files; unpacked into a scratch folder, kesmaro.exe's first start writes
             its settings file and debug log beside itself; unpacked under the Windows
             temporary folder, it is refused
  installer  in a scratch prefix: a silent install, its shortcuts and uninstall entry, the
             installed program writing beside itself, a silent uninstall that keeps the records

Every wait is on a condition with a generous bound.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

failures = []
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kesmaro"
MAIN_TITLE = "^Kesmaro "
# The first start's questions: the screen mode (a yes/no box, then a confirmation) and the
# interface colour (the first of four yes/no boxes); the default button answers each.
SCREEN_MODE_TITLE = "検査領域追従選択"
COLOUR_TITLE = "EXP基準パターン選択1/4"
REFUSAL_LINE = "Zip圧縮ファイルは適切なフォルダに解凍してから実行してください。"


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


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


class Wine:
    """Wine in one prefix: the session's, or a scratch one with its own home folder so that
    nothing reaches the real desktop or menus."""

    def __init__(self, prefix=None, home=None):
        self.env = dict(os.environ)
        if prefix:
            self.env["WINEPREFIX"] = prefix
        if home:
            self.env["HOME"] = home
        self.env["WINEDEBUG"] = "-all"
        # No Mono or Gecko prompts; no menu entries on the host for the Start-menu shortcuts.
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        self.processes = []

    def run(self, *arguments, seconds=120):
        try:
            done = subprocess.run(arguments, env=self.env, capture_output=True, timeout=seconds)
        except subprocess.TimeoutExpired:
            return None
        return done

    def text(self, *arguments):
        done = self.run(*arguments)
        if not done or done.returncode:
            return ""
        return done.stdout.decode("utf-8", "replace").strip()

    def start(self, exe, *arguments, stderr=None):
        process = subprocess.Popen(["wine", exe, *arguments], env=self.env,
                                   stdout=subprocess.DEVNULL,
                                   stderr=stderr or subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def windows_path(self, unix_path):
        return self.text("winepath", "-w", unix_path)

    def unix_path(self, windows_path):
        return self.text("winepath", "-u", windows_path)

    def variable(self, name):
        """A folder from the Windows environment (TEMP, LOCALAPPDATA, APPDATA), as a Unix path."""
        return self.unix_path(self.text("wine", "cmd", "/c", f"echo %{name}%"))

    def reg_values(self, key):
        """The values of a registry key, read from the running registry (the prefix writes its
        .reg files lazily); None when the key does not exist."""
        done = self.run("wine", "reg", "query", key)
        if not done or done.returncode:
            return None
        values = {}
        for line in done.stdout.decode("utf-8", "replace").splitlines():
            m = re.match(r"^\s+(\S+)\s+(REG_\w+)\s+(.*)$", line)
            if m:
                values[m.group(1)] = m.group(3).strip()
        return values

    def end_all(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait(20)


def x_tool(*arguments):
    done = subprocess.run(arguments, capture_output=True, text=True)
    return done.stdout if done.returncode == 0 else ""


def windows_of(pid, title="."):
    return x_tool("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name",
                  title).split()


def window_name(window):
    return x_tool("xdotool", "getwindowname", window).strip()


def press_default_button(window):
    x_tool("xdotool", "windowactivate", "--sync", window)
    x_tool("xdotool", "key", "--clearmodifiers", "Return")


def first_start(process, debug_log_path, seconds=180):
    """Answers every box of a first start with its default button until the main window shows
    and the settings are read; returns the main window (or None) and the titles answered."""
    answered = {}
    main = [None]

    def ready():
        if process.poll() is not None:
            return True
        for window in windows_of(process.pid):
            name = window_name(window)
            if re.match(MAIN_TITLE, name):
                main[0] = window
            elif name:
                # A box that is still there after its answer was pressed gets it again.
                answered.setdefault(window, name)
                press_default_button(window)
        log = read_bytes(debug_log_path).decode("cp932", "replace")
        return main[0] and "Reading ConfigFile" in log

    eventually(ready, seconds)
    return main[0], list(answered.values())


def close_program(process, main_window):
    x_tool("wmctrl", "-i", "-c", main_window)
    return eventually(lambda: process.poll() is not None, 60)


def has_version_resource(exe_bytes, version_text):
    """The version resource's FileVersion string (UTF-16) names the program's version."""
    wanted = "FileVersion\0".encode("utf-16-le")
    at = exe_bytes.find(wanted)
    if at < 0:
        return False
    window = exe_bytes[at:at + 200]
    return version_text.encode("utf-16-le") in window


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def expected_files(source):
    """Name in the Kesmaro folder -> the bytes it must have (None: checked elsewhere)."""
    files = {"kesmaro.exe": None}
    help_folder = os.path.join(source, "docs", "help")
    for name in os.listdir(help_folder):
        files[name] = read_bytes(os.path.join(help_folder, name))
    files["LICENSE.txt"] = crlf(read_bytes(os.path.join(source, "LICENSE")))
    files["ChangeLog.txt"] = crlf(read_bytes(os.path.join(source, "dist", "windows",
                                                          "ChangeLog.txt")))
    return files


def listing(folder):
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else []


def debug_log_of(folder):
    return read_bytes(os.path.join(folder, "debug.txt")).decode("cp932", "replace")


def starts_and_writes_beside_itself(wine, folder, what):
    """kesmaro.exe in `folder`, started with no settings file, asks the first start's questions
    and writes its settings file and debug log there; then closes."""
    check(not os.path.exists(os.path.join(folder, "KM2DConfig.ini")),
          f"{what}: no settings file before the first start")
    process = wine.start(os.path.join(folder, "kesmaro.exe"))
    main, titles = first_start(process, os.path.join(folder, "debug.txt"))
    if not check(main, f"{what}: the main window shows after the first start's questions "
                       f"(answered: {titles}, running: {process.poll() is None})"):
        return
    check(SCREEN_MODE_TITLE in titles and COLOUR_TITLE in titles,
          f"{what}: the first start asked the screen mode and the colour: {titles}")
    check(os.path.getsize(os.path.join(folder, "KM2DConfig.ini")) > 0
          if os.path.exists(os.path.join(folder, "KM2DConfig.ini")) else False,
          f"{what}: the settings file is written beside kesmaro.exe")
    expected = "Execute Folder : " + wine.windows_path(folder).rstrip("\\")
    check(expected in debug_log_of(folder),
          f"{what}: the debug log names its own folder ({expected})")
    check(close_program(process, main), f"{what}: the program ends when its window closes")


def test_zip(options):
    wine = Wine()
    try:
        zip_checks(options, wine)
    finally:
        wine.end_all()


def zip_checks(options, wine):
    expected = expected_files(options.source)
    with zipfile.ZipFile(options.zip) as archive:
        infos = archive.infolist()
        names = [i.filename for i in infos]
        check(sorted(names) == sorted(["Kesmaro/"] + [f"Kesmaro/{n}" for n in expected]),
              f"the zip holds the Kesmaro folder and its files: {names}")
        for info in infos:
            if not info.filename.isascii():
                # Without the flag Windows reads the names in the local code page.
                check(info.flag_bits & 0x800, f"{info.filename} is marked as UTF-8")
        for name, content in expected.items():
            if content is not None and f"Kesmaro/{name}" in names:
                check(archive.read(f"Kesmaro/{name}") == content, f"the zip's {name} is the tree's")
        exe = archive.read("Kesmaro/kesmaro.exe") if "Kesmaro/kesmaro.exe" in names else b""
    check(exe[:2] == b"MZ", "kesmaro.exe is a Windows program")
    check(has_version_resource(exe, "Ver." + options.version),
          "kesmaro.exe keeps its version resource")
    check(b".debug_info" not in exe, "kesmaro.exe is stripped of debug information")

    # Unpacked into a folder of the player's: a portable program.
    root = tempfile.mkdtemp(prefix="zip-", dir=options.work)
    with zipfile.ZipFile(options.zip) as archive:
        archive.extractall(root)
    starts_and_writes_beside_itself(wine, os.path.join(root, "Kesmaro"), "unpacked zip")

    # Opened from inside the zip: the zip folder's viewer unpacks it under the temporary folder.
    temp = wine.variable("TEMP")
    if not check(os.path.isdir(temp), f"the Windows temporary folder exists: {temp}"):
        return
    inside = tempfile.mkdtemp(prefix="Temp1_kesmaro.zip-", dir=temp)
    try:
        with zipfile.ZipFile(options.zip) as archive:
            archive.extractall(inside)
        folder = os.path.join(inside, "Kesmaro")
        before = sorted(os.listdir(folder))
        errors = os.path.join(root, "refused-stderr.txt")
        with open(errors, "wb") as stderr:
            refused = wine.start(os.path.join(folder, "kesmaro.exe"), stderr=stderr)
            box = eventually(lambda: windows_of(refused.pid, "^起動エラー$"), 90)
            if check(box, "a copy in the temporary folder shows the start-up refusal"):
                x_tool("wmctrl", "-i", "-c", box[0])
            check(eventually(lambda: refused.poll() is not None, 60), "the refused copy ends")
        check(REFUSAL_LINE in read_bytes(errors).decode("utf-8", "replace"),
              "the refusal asks for the zip to be unpacked first")
        check(sorted(os.listdir(folder)) == before, "the refused copy wrote nothing")
    finally:
        shutil.rmtree(inside, ignore_errors=True)


def test_installer(options):
    work = tempfile.mkdtemp(prefix="installer-", dir=options.work)
    home = os.path.join(work, "home")
    os.makedirs(home)
    wine = Wine(prefix=os.path.join(work, "wineprefix"), home=home)
    try:
        done = wine.run("wine", "wineboot", "-i", seconds=600)
        if check(done is not None and done.returncode == 0, "the scratch prefix is made"):
            installer_checks(options, wine)
    finally:
        wine.end_all()
        wine.run("wineserver", "-k", seconds=60)
        # Only when every check passed: a failure leaves the prefix to look at.
        if not failures:
            shutil.rmtree(work, ignore_errors=True)


def installer_checks(options, wine):
    setup = read_bytes(options.setup)
    check(has_version_resource(setup, "Ver." + options.version),
          "the installer carries the program's version")

    install = wine.run("wine", options.setup, "/S", seconds=300)
    check(install is not None and install.returncode == 0, "the silent install succeeds")
    folder = os.path.join(wine.variable("LOCALAPPDATA"), "Programs", "Kesmaro")
    expected = expected_files(options.source)
    installed = listing(folder)
    if not check(installed == sorted(list(expected) + ["uninstall.exe"]),
                 f"the per-user folder {folder} holds the program: {installed}"):
        return
    for name, content in expected.items():
        if content is not None:
            check(read_bytes(os.path.join(folder, name)) == content, f"installed {name}")
    exe = read_bytes(os.path.join(folder, "kesmaro.exe"))
    check(has_version_resource(exe, "Ver." + options.version), "the installed kesmaro.exe")

    # The shortcuts point at the installed program.
    target = wine.windows_path(os.path.join(folder, "kesmaro.exe"))
    shortcuts = [os.path.join(wine.variable("APPDATA"), "Microsoft", "Windows", "Start Menu",
                              "Programs", "Kesmaro.lnk"),
                 os.path.join(wine.variable("USERPROFILE"), "Desktop", "Kesmaro.lnk")]
    for shortcut in shortcuts:
        link = read_bytes(shortcut)
        check(target.encode("utf-16-le") in link or target.encode("cp932") in link,
              f"{shortcut} starts {target}")

    values = wine.reg_values(UNINSTALL_KEY) or {}
    uninstaller = wine.windows_path(os.path.join(folder, "uninstall.exe"))
    wanted = {"DisplayName": "Kesmaro", "DisplayVersion": options.version,
              "DisplayIcon": target + ",0", "UninstallString": f'"{uninstaller}"',
              "Publisher": "The Kesmaro developers", "NoModify": "0x1", "NoRepair": "0x1"}
    for name, value in wanted.items():
        check(values.get(name) == value,
              f"the uninstall entry's {name} is {value!r}: {values.get(name)!r}")

    # The installed program is portable in its folder, as the unpacked zip is.
    starts_and_writes_beside_itself(wine, folder, "installed program")

    # An update while the program runs stops before it copies anything.
    running = wine.start(os.path.join(folder, "kesmaro.exe"))
    main, _ = first_start(running, os.path.join(folder, "debug.txt"))
    if check(main, "the installed program starts again with its settings"):
        with open(os.path.join(folder, "ReadMeD.txt"), "ab") as f:
            f.write(b"changed")
        update = wine.run("wine", options.setup, "/S", seconds=300)
        check(update is not None and update.returncode == 2,
              "a silent install over the running program aborts (exit code 2)")
        check(read_bytes(os.path.join(folder, "ReadMeD.txt")).endswith(b"changed"),
              "the aborted install copied nothing")
        check(close_program(running, main), "the installed program ends when its window closes")
        with open(os.path.join(folder, "ReadMeD.txt"), "wb") as f:
            f.write(expected["ReadMeD.txt"])
    player_files = {"KesmaroExtra.ini": b"[Extra]\r\n", os.path.join("log", "record.txt"): b"1\r\n",
                    os.path.join("ss", "shot.png"): b"\x89PNG"}
    for name, content in player_files.items():
        os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content)
    kept = sorted(set(os.listdir(folder)) - set(expected) - {"uninstall.exe"})

    # The uninstaller runs from a copy in the temporary folder and returns at once: wait for
    # its work, not for it.
    wine.run("wine", os.path.join(folder, "uninstall.exe"), "/S", seconds=120)
    gone = eventually(lambda: not any(os.path.exists(os.path.join(folder, name))
                                      for name in list(expected) + ["uninstall.exe"]), 180)
    check(gone, f"the uninstaller removes the program's files: {listing(folder)}")
    check(eventually(lambda: not any(map(os.path.exists, shortcuts)), 60),
          "the uninstaller removes the shortcuts")
    check(eventually(lambda: wine.reg_values(UNINSTALL_KEY) is None, 60),
          "the uninstaller removes the uninstall entry")
    left = listing(folder)
    check(left == kept, f"the player's files stay: {left}, expected {kept}")
    for name in ("KM2DConfig.ini", "debug.txt", "KesmaroExtra.ini", "log", "ss"):
        check(name in left, f"{name} stays after the uninstall")
    for name, content in player_files.items():
        check(read_bytes(os.path.join(folder, name)) == content, f"{name} is untouched")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("what", choices=["zip", "installer"])
    parser.add_argument("--zip")
    parser.add_argument("--setup")
    parser.add_argument("--version", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    os.makedirs(options.work, exist_ok=True)
    if options.what == "zip":
        test_zip(options)
    else:
        test_installer(options)
    if failures:
        print(f"{len(failures)} check(s) failed", flush=True)
        return 1
    print(f"all {options.what} checks passed", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
