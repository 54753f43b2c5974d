#!/usr/bin/env python3
"""Runs a Windows test program under Wine and makes the clicks it asks for.

Run through `wine-gui.sh <session> --shell python3 click_driver.py program.exe [arguments]`.
Wine cannot start a Linux program, so the program writes "@xdotool <arguments>" lines on its
standard output; each is run with xdotool on the session's X server and answered on the
program's standard input with xdotool's exit status. Everything else is passed on.
"""

import os
import subprocess
import sys

REQUEST = b"@xdotool "


def main():
    environment = dict(os.environ, KESMARO_CLICK_DRIVER="xdotool")
    program = subprocess.Popen(["wine", *sys.argv[1:]], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, env=environment)
    for line in program.stdout:
        if not line.startswith(REQUEST):
            sys.stdout.buffer.write(line)
            sys.stdout.flush()
            continue
        arguments = line[len(REQUEST):].decode().split()
        status = subprocess.run(["xdotool", *arguments]).returncode
        try:
            program.stdin.write(b"%d\n" % status)
            program.stdin.flush()
        except BrokenPipeError:
            break
    return program.wait()


if __name__ == "__main__":
    sys.exit(main())
