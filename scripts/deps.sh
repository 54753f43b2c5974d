#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kesmaro needs. Idempotent: does
# nothing when every package is already installed.
#
# The Windows build's packages (cross compiler, Wine, GoogleTest sources) are optional: when
# they cannot be installed the Linux build goes on and the Windows build is skipped.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format ccache
    fonts-ipafont-gothic fonts-noto-cjk
    time
    libxcb1-dev libxcb-shm0-dev libxcb-xinput-dev libpulse-dev
    xvfb openbox xdotool wmctrl imagemagick x11-utils xdg-utils
    dpkg-dev lintian desktop-file-utils appstream librsvg2-bin
)
# nsis makes the Windows installer (`make package-windows`).
windows_packages=(g++-mingw-w64-x86-64-posix wine wine64 googletest python3 nsis)

missing_of() {
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$p"
        fi
    done
}

mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t windows_missing < <(missing_of "${windows_packages[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#windows_missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Another build may be installing at the same moment: wait for its lock instead of failing.
apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq
     --no-install-recommends)
updated=0
update() {
    [ $updated -eq 1 ] || "${apt[@]}" update
    updated=1
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    update
    "${apt[@]}" install "${missing[@]}"
fi
if [ ${#windows_missing[@]} -gt 0 ]; then
    echo "Installing for the Windows build: ${windows_missing[*]}"
    if ! { update && "${apt[@]}" install "${windows_missing[@]}"; } >/dev/null 2>&1; then
        echo "deps: the Windows build's packages could not be installed; the Windows build is skipped"
    fi
fi
