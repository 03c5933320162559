#!/usr/bin/env bash
# Draws the PNG icons again from the SVG (needs rsvg-convert, Debian's librsvg2-bin).
# They are kept in the repository so that building needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/icons/hicolor"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" scalable/apps/vantorel.svg -o "${size}x${size}/apps/vantorel.png"
done
