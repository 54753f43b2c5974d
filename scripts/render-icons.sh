#!/usr/bin/env bash
# Renders the icon's PNG sizes from dist/icons/kesmaro.svg; run after changing the drawing and
# commit the pictures with it.
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
for size in 48 128 256; do
    rsvg-convert --width "$size" --height "$size" kesmaro.svg --output "kesmaro-$size.png"
done
echo "rendered: $(ls kesmaro-*.png | tr '\n' ' ')"
