#!/usr/bin/env bash
# Renders the icon's PNG sizes from quavero.svg (needs rsvg-convert, Debian
# package librsvg2-bin). The PNGs are committed, so the build does not need it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" quavero.svg -o "${size}x${size}/quavero.png"
done
