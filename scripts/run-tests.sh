#!/usr/bin/env bash
# make test: the Linux tests of a preset and, when the Windows build can be made, the Windows
# tests under Wine at the same time. Both suites spend most of their time waiting on live
# programs (real minutes of captures), not on the processor, so they overlap; the Windows
# suite's output is shown once it is done.
#   run-tests.sh <preset> <windows ready: 0|1> <windows build command...>
set -uo pipefail
preset=$1
ready=$2
shift 2

if [ "$ready" != 1 ]; then
    ctest --preset "$preset"
    status=$?
    echo "windows: no mingw-w64 compiler, Wine or GoogleTest sources; skipped"
    exit $status
fi

# Built before either suite starts: the compiler would otherwise take the processor from the
# live tests' programs.
"$@" || exit 1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
ctest --preset windows >"$log" 2>&1 &
windows=$!
ctest --preset "$preset"
linux=$?
wait "$windows"
windows_status=$?
echo
echo "=== Windows tests (under Wine) ==="
cat "$log"
[ $linux -eq 0 ] && [ $windows_status -eq 0 ]
