#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kesmaro needs. Idempotent: does
# nothing when every package is already installed.
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

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
