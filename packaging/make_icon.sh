#!/bin/sh
# Draws the program's icon, SIZE × SIZE pixels, into OUT.png: a message window with a line of
# text and the click-wait mark over a dusk sky. Drawn at 256 px and scaled, so every size matches.
set -eu
size=$1
out=$2
tmp=$(mktemp --suffix=.png)
trap 'rm -f "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#27315c' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill '#e8875a' -draw 'circle 176,92 176,132' \
  -fill '#3c4a85' -draw 'polygon 8,170 70,130 130,160 190,118 247,150 247,200 8,200' \
  -fill '#fdf6e3' -stroke '#1b2240' -strokewidth 6 -draw 'roundrectangle 26,150 229,230 14,14' \
  -stroke none -fill '#27315c' \
  -draw 'rectangle 46,172 150,182' -draw 'rectangle 46,196 196,206' \
  -fill '#e8875a' -draw 'polygon 196,172 214,172 205,186' \
  -define png:exclude-chunks=date,time "$tmp"
convert "$tmp" -resize "${size}x${size}" -strip -define png:exclude-chunks=date,time "PNG32:$out"
