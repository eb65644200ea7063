#!/bin/sh
# Draws the demo's window pictures with ImageMagick into demo/gra as PNG (tvx packs them):
#   sys_tw     the text window: colour above its opacity (800 x 152 each)
#   sys_tw1    where the player's window colour and opacity replace the frame's own
#   sys_np     the name plate: colour above its mask (200 x 36 each)
#   sys_clickw eight frames of the click-wait icon side by side: colour above opacity (24 x 24)
#   sys_gaiji  the external characters, 24 x 24 tiles: a heart (U+E000) and a star (U+E001)
# Run it again after changing a picture here; the PNG files are kept in the repository.
set -eu
out=$(cd "$(dirname "$0")/../gra" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Text window: a deep blue body inside a light double frame with rounded corners.
convert -size 800x152 gradient:'rgb(26,38,92)'-'rgb(12,18,50)' \
  -fill none -stroke 'rgb(176,204,238)' -strokewidth 2 -draw 'roundrectangle 3,3 796,148 12,12' \
  -stroke 'rgb(96,118,170)' -strokewidth 1 -draw 'roundrectangle 7,7 792,144 9,9' "$tmp/tw_colour.png"
convert -size 800x152 xc:black -fill 'gray(160)' -stroke 'gray(240)' -strokewidth 2 \
  -draw 'roundrectangle 3,3 796,148 12,12' \
  -fill none -stroke 'gray(200)' -strokewidth 1 -draw 'roundrectangle 7,7 792,144 9,9' "$tmp/tw_alpha.png"
convert "$tmp/tw_colour.png" "$tmp/tw_alpha.png" -append -alpha off PNG24:"$out/sys_tw.png"
convert -size 800x152 xc:black -fill white -draw 'roundrectangle 9,9 790,142 8,8' -alpha off PNG24:"$out/sys_tw1.png"

# Name plate: a tab that fades out to the right, a diamond before the name and a line under it.
convert -size 200x36 gradient:'rgb(46,66,130)'-'rgb(20,30,76)' \
  -fill 'rgb(244,214,140)' -stroke none -draw 'polygon 16,10 23,17 16,24 9,17' \
  -fill 'rgb(176,204,238)' -draw 'rectangle 6,31 186,32' "$tmp/np_colour.png"
convert -size 200x36 xc:black -fx 'i < 130 ? 0.8 : 0.8 * (199 - i) / 69' \
  -fill white -stroke none -draw 'polygon 16,10 23,17 16,24 9,17' \
  -fill 'gray(220)' -draw 'rectangle 6,31 186,32' "$tmp/np_alpha.png"
convert "$tmp/np_colour.png" "$tmp/np_alpha.png" -append -alpha off PNG24:"$out/sys_np.png"

# Click-wait icon: a pale triangle pointing down that bobs by up to 3 pixels.
draw=""
k=0
for dy in 0 2 3 2 0 -2 -3 -2; do
  x=$((k * 24))
  draw="$draw polygon $((x + 5)),$((8 + dy)) $((x + 19)),$((8 + dy)) $((x + 12)),$((17 + dy))"
  k=$((k + 1))
done
convert -size 192x24 xc:'rgb(255,238,196)' "$tmp/cw_colour.png"
convert -size 192x24 xc:black -fill white -stroke none -draw "$draw" "$tmp/cw_alpha.png"
convert "$tmp/cw_colour.png" "$tmp/cw_alpha.png" -append -alpha off PNG24:"$out/sys_clickw.png"

# External characters: white shapes on black, the blue byte being the coverage.
convert -size 48x24 xc:black -fill white -stroke none \
  -draw 'circle 8,9 8,4' -draw 'circle 16,9 16,4' -draw 'polygon 3,11 21,11 12,21' \
  -draw 'polygon 36,2 38.35,8.76 45.51,8.91 39.8,13.24 41.88,20.09 36,16 30.12,20.09 32.2,13.24 26.49,8.91 33.65,8.76' \
  -alpha off PNG24:"$out/sys_gaiji.png"
