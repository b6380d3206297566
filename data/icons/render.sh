#!/usr/bin/env bash
# Renders the hicolor PNGs from the SVG drawing (rsvg-convert, Debian package librsvg2-bin).
# Run after changing the drawing and commit the PNGs with it; the build only copies them.
set -euo pipefail
cd "$(dirname "$0")/hicolor"
for size in 16 32 48 64 128; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" scalable/apps/org.quenmar.Tarvex.svg -o "${size}x${size}/apps/org.quenmar.Tarvex.png"
done
