#!/bin/sh
# Draws the toolbar icons and the received-trap mark of the status bar.
# Needs ImageMagick (convert) and the DejaVu fonts. Run from this folder;
# the PNG files it writes are committed, so building needs neither.
set -eu

# "Open": a yellow folder with its lid open.
convert -size 16x16 xc:none \
  -fill '#c89b2a' -stroke '#6b4f10' -strokewidth 1 \
  -draw 'polygon 1,3 6,3 7,5 13,5 13,13 1,13' \
  -fill '#f4d36a' -stroke '#6b4f10' \
  -draw 'polygon 3,7 15,7 13,13 1,13' \
  -depth 8 -strip PNG32:open.png

# "Save": a blue diskette with its label and shutter.
convert -size 16x16 xc:none \
  -fill '#2f5fa8' -stroke '#17305a' -strokewidth 1 \
  -draw 'polygon 1,1 13,1 15,3 15,15 1,15' \
  -fill '#ffffff' -stroke '#9aa8bd' \
  -draw 'rectangle 3,2 12,7' \
  -fill '#c9ced6' -stroke '#17305a' \
  -draw 'rectangle 4,10 11,15' \
  -fill '#17305a' -stroke none \
  -draw 'rectangle 5,11 6,14' \
  -depth 8 -strip PNG32:save.png

# The received-trap mark, 108 x 23: a lit lamp and the words "Trap received".
convert -size 108x23 xc:'#fff4c2' \
  -fill none -stroke '#b08800' -strokewidth 1 -draw 'rectangle 0,0 107,22' \
  -fill '#e23b2e' -stroke '#7a1410' -draw 'circle 11,11 11,4' \
  -fill '#ffb3a8' -stroke none -draw 'circle 9,9 9,7' \
  -fill '#3a2a00' -font DejaVu-Sans-Bold -pointsize 10 \
  -annotate +22+15 'Trap received' \
  -depth 8 -strip PNG24:trap_mark.png

# The program's own icon, 32 x 32: an access point with its antenna and
# radio waves.
convert -size 32x32 xc:none \
  -fill none -stroke '#2f7fd0' -strokewidth 2 \
  -draw 'arc 6,2 26,22 200,340' \
  -draw 'arc 10,6 22,18 200,340' \
  -fill '#3a3f47' -stroke '#3a3f47' -strokewidth 2 \
  -draw 'line 16,12 16,22' \
  -fill '#5b6470' -stroke '#23272d' -strokewidth 1 \
  -draw 'roundrectangle 3,21 28,29 2,2' \
  -fill '#48e05a' -stroke none \
  -draw 'rectangle 7,24 9,26' -draw 'rectangle 12,24 14,26' \
  -depth 8 -strip PNG32:app.png
