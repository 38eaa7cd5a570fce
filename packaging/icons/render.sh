#!/usr/bin/env bash
# Renders the PNG sizes of the programs' icons from their SVGs (rsvg-convert,
# Debian package librsvg2-bin). The PNGs are kept in the source tree so the
# build needs no renderer; run this after changing an SVG.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
for svg in "$here"/*.svg; do
  name="$(basename "$svg" .svg)"
  for size in 16 24 32 48 64 128 256; do
    mkdir -p "$here/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$here/${size}x${size}/$name.png"
  done
done
