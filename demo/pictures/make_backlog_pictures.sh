#!/bin/sh
# Draws the demo's backlog pictures with ImageMagick into demo/gra as PNG (tvx packs them):
#   sys_bl_bar              the scroll bar: colour left, mask right (24 x 520 each)
#   sys_bl_cur              the knob: colour left, mask right (24 x 48 each)
#   sys_bl_up1, sys_bl_up2  the up arrow, plain and lit: colour left, mask right (24 x 24 each)
#   sys_bl_down1, sys_bl_down2  the down arrow, likewise
#   sys_bl_VR1, sys_bl_VR2  the voice icon, plain and lit: colour above mask (24 x 20 each)
# The places come from LOG_BAR, LOG_BAR_INSIDE, LOG_BAR_UP and LOG_BAR_DOWN in _config.
# Run it again after changing a picture here; the PNG files are kept in the repository.
set -eu
out=$(cd "$(dirname "$0")/../gra" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

side_by_side() {
  convert "$tmp/colour.png" "$tmp/alpha.png" +append +repage -alpha off PNG24:"$out/$1.png"
}
stacked() {
  convert "$tmp/colour.png" "$tmp/alpha.png" -append +repage -alpha off PNG24:"$out/$1.png"
}

# The bar: a thin groove between the arrows, half transparent.
convert -size 24x520 xc:'rgb(20,30,70)' -fill 'rgb(96,118,170)' -draw 'rectangle 10,28 13,491' "$tmp/colour.png"
convert -size 24x520 xc:'gray(90)' -fill 'gray(220)' -draw 'rectangle 10,28 13,491' "$tmp/alpha.png"
side_by_side sys_bl_bar

# The knob: a rounded light block.
convert -size 24x48 xc:'rgb(176,204,238)' "$tmp/colour.png"
convert -size 24x48 xc:black -fill white -draw 'roundrectangle 3,1 20,46 5,5' "$tmp/alpha.png"
side_by_side sys_bl_cur

# arrow NAME FILL POINTS
arrow() {
  convert -size 24x24 xc:'rgb(30,44,96)' -fill "$2" -stroke none -draw "polygon $3" "$tmp/colour.png"
  convert -size 24x24 xc:'gray(150)' -fill white -stroke none -draw "polygon $3" "$tmp/alpha.png"
  side_by_side "$1"
}
arrow sys_bl_up1 'rgb(176,204,238)' '12,5 20,18 4,18'
arrow sys_bl_up2 'rgb(255,236,170)' '12,5 20,18 4,18'
arrow sys_bl_down1 'rgb(176,204,238)' '4,6 20,6 12,19'
arrow sys_bl_down2 'rgb(255,236,170)' '4,6 20,6 12,19'

# voice NAME FILL: a small loudspeaker with two waves.
voice() {
  convert -size 24x20 xc:black -fill "$2" -stroke none -draw 'polygon 3,7 7,7 12,2 12,18 7,13 3,13' \
    -fill none -stroke "$2" -strokewidth 2 -draw 'arc 10,5 18,15 -60,60' -draw 'arc 10,1 23,19 -60,60' \
    "$tmp/colour.png"
  convert -size 24x20 xc:black -fill white -stroke none -draw 'polygon 3,7 7,7 12,2 12,18 7,13 3,13' \
    -fill none -stroke white -strokewidth 2 -draw 'arc 10,5 18,15 -60,60' -draw 'arc 10,1 23,19 -60,60' \
    "$tmp/alpha.png"
  stacked "$1"
}
voice sys_bl_VR1 'rgb(176,204,238)'
voice sys_bl_VR2 'rgb(255,236,170)'
