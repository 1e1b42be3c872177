#!/bin/sh
# Renders the program's icon (corvane-manager.svg) in the sizes desktops
# look for (hicolor theme). Needs ImageMagick (convert). Run from this
# folder; the PNG files it writes are committed, so building needs neither.
set -eu

for size in 16 22 24 32 48 64 128 256; do
  convert -background none -density 96 corvane-manager.svg -resize "${size}x${size}" \
    -depth 8 -strip "PNG32:corvane-manager-${size}.png"
done
