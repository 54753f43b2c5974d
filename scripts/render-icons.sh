#!/usr/bin/env bash
# Renders the icon's PNG sizes and the Windows .ico from dist/icons/kesmaro.svg; run after
# changing the drawing and commit the pictures with it.
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
for size in 48 128 256; do
    rsvg-convert --width "$size" --height "$size" kesmaro.svg --output "kesmaro-$size.png"
done
# The Windows program's icon: the sizes the shell asks for, in one .ico.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 64 256; do
    rsvg-convert --width "$size" --height "$size" kesmaro.svg --output "$work/$size.png"
done
convert "$work"/16.png "$work"/24.png "$work"/32.png "$work"/48.png "$work"/64.png \
    "$work"/256.png kesmaro.ico
echo "rendered: $(ls kesmaro-*.png kesmaro.ico | tr '\n' ' ')"
