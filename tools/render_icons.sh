#!/usr/bin/env bash
# Renders the program's icon data/icons/pairlylog.svg into the PNG sizes of the icon theme
# (data/icons/SIZE/pairlylog.png), which are committed. Needs rsvg-convert (librsvg2-bin).
# Run it after changing the SVG.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$root/data/icons/$size"
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
        "$root/data/icons/pairlylog.svg" --output "$root/data/icons/$size/pairlylog.png"
done
