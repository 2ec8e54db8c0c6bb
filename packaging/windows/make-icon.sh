#!/usr/bin/env bash
# Draws the program's icon for Windows from the project's SVG:
#   make-icon.sh SVG ICO
# one image for each size Explorer, the Start menu, the taskbar and the list of
# installed apps take (16 to 48 px, and 256 px for large views and high dots
# per inch), each drawn from the SVG at its size rather than scaled down.
set -euo pipefail
svg=$1
ico=$2
work=$(mktemp -d "${ico%/*}/icon.XXXXXX")
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 20 24 32 40 48 64 256; do
    rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$svg"
    pngs+=("$work/$size.png")
done
convert "${pngs[@]}" "$work/icon.ico"
mv "$work/icon.ico" "$ico"
