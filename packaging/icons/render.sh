#!/usr/bin/env bash
# Renders the icon's PNG sizes from qorva.svg (needs rsvg-convert, Debian's librsvg2-bin).
# The PNGs are kept in the repository so that building needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" qorva.svg -o "qorva-$size.png"
done
