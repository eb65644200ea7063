#!/usr/bin/env bash
# Draws the demo's question panel with ImageMagick into demo/gra as PNG: the panel body
# (sys_panel, 400 x 180) and its two buttons, plain (sys_panel_y1, sys_panel_n1) and lit
# (sys_panel_y2, sys_panel_n2), 140 x 44 each. Each picture carries its mask below the colour
# part, white where it shows. Run it again after changing a picture here; the PNG files are kept
# in the repository.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../gra"
gothic=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
im=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

png() { "$im" "${@:1:$#-1}" -strip -depth 8 -define png:exclude-chunks=date,time "${!#}"; }

# body: a dark blue rounded plate with a light frame; its mask follows the rounded corners.
"$im" -size 400x180 xc:black -fill 'rgb(18,26,64)' -stroke 'rgb(176,204,238)' -strokewidth 3 \
  -draw 'roundrectangle 2,2 397,177 14,14' -stroke none -fill 'rgb(60,80,140)' -draw 'rectangle 24,66 375,68' \
  "$tmp/colour.png"
"$im" -size 400x180 xc:black -fill 'gray(215)' -stroke white -strokewidth 3 \
  -draw 'roundrectangle 2,2 397,177 14,14' "$tmp/mask.png"
png "$tmp/colour.png" "$tmp/mask.png" -append "$out/sys_panel.png"

# button NAME FILL TEXT-COLOUR WORD
button() {
  "$im" -size 140x44 xc:black -fill "$2" -stroke 'rgb(176,204,238)' -strokewidth 2 \
    -draw 'roundrectangle 1,1 138,42 10,10' -stroke none -fill "$3" -font "$gothic" -pointsize 22 \
    -gravity center -annotate +0+0 "$4" "$tmp/colour.png"
  "$im" -size 140x44 xc:black -fill white -stroke white -strokewidth 2 \
    -draw 'roundrectangle 1,1 138,42 10,10' "$tmp/mask.png"
  png "$tmp/colour.png" "$tmp/mask.png" -append "$out/$1.png"
}
button sys_panel_y1 'rgb(30,44,96)' 'rgb(220,228,244)' 'はい'
button sys_panel_n1 'rgb(30,44,96)' 'rgb(220,228,244)' 'いいえ'
button sys_panel_y2 'rgb(120,150,220)' 'rgb(255,255,160)' 'はい'
button sys_panel_n2 'rgb(120,150,220)' 'rgb(255,255,160)' 'いいえ'
