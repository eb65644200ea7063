#!/usr/bin/env bash
# Draws the demo's quick buttons and auto-speed gauge with ImageMagick into demo/gra as PNG:
#   sys_qbtn1, sys_qbtn1_om, sys_qbtn1_on  the window's buttons, normal, hovered and on: twelve
#       44 x 20 cells side by side (SKIP AUTO HIDE Q.SAVE Q.LOAD LOG VOICE CONFIG, window up,
#       window down, slower, faster), each cell's mask in the 20 rows below it
#   sys_qbtn2, sys_qbtn2_om, sys_qbtn2_on  the screen's status button, 56 x 24 above its mask
#   sys_autobar  the gauge's groove, 88 x 18: colour left, mask right
#   sys_auto     one dot of the gauge, 6 x 6: colour left, mask right
# The places come from the QB_ and SPD_ keys in _config. Run it again after changing a picture
# here; the PNG files are kept in the repository.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../gra"
latin=/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf
gothic=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
im=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

png() { "$im" "${@:1:$#-1}" -strip -depth 8 -alpha off -define png:exclude-chunks=date,time PNG24:"${!#}"; }

labels=(SKIP AUTO HIDE Q.SAVE Q.LOAD LOG VOICE CONFIG '▲' '▼' '−' '+')

# window_sheet NAME BODY FRAME INK: the twelve cells in one look.
window_sheet() {
  local cells=() masks=() k=0
  for label in "${labels[@]}"; do
    "$im" -size 44x20 xc:black -fill "$2" -stroke "$3" -strokewidth 1 -draw 'roundrectangle 0,0 43,19 6,6' \
      -stroke none -fill "$4" -font "$latin" -pointsize 10 -gravity center -annotate +0+0 "$label" \
      "$tmp/cell$k.png"
    # The body lets a little of the window through; the frame and the letters are solid.
    "$im" -size 44x20 xc:black -fill 'gray(215)' -stroke white -strokewidth 1 -draw 'roundrectangle 0,0 43,19 6,6' \
      -stroke none -fill white -font "$latin" -pointsize 10 -gravity center -annotate +0+0 "$label" \
      "$tmp/mask$k.png"
    cells+=("$tmp/cell$k.png")
    masks+=("$tmp/mask$k.png")
    k=$((k + 1))
  done
  "$im" "${cells[@]}" +append "$tmp/colour.png"
  "$im" "${masks[@]}" +append "$tmp/mask.png"
  png "$tmp/colour.png" "$tmp/mask.png" -append "$out/$1.png"
}
window_sheet sys_qbtn1 'rgb(30,44,96)' 'rgb(96,118,170)' 'rgb(200,214,240)'
window_sheet sys_qbtn1_om 'rgb(84,110,180)' 'rgb(176,204,238)' 'rgb(255,255,255)'
window_sheet sys_qbtn1_on 'rgb(150,112,30)' 'rgb(255,236,170)' 'rgb(255,246,200)'

# screen_sheet NAME BODY INK: the status button at the screen's top right corner.
screen_sheet() {
  "$im" -size 56x24 xc:black -fill "$2" -stroke 'rgb(176,204,238)' -strokewidth 1 \
    -draw 'roundrectangle 0,0 55,23 8,8' -stroke none -fill "$3" -font "$gothic" -pointsize 14 \
    -gravity center -annotate +0+0 '状況' "$tmp/colour.png"
  "$im" -size 56x24 xc:black -fill 'gray(225)' -stroke white -strokewidth 1 \
    -draw 'roundrectangle 0,0 55,23 8,8' -stroke none -fill white -font "$gothic" -pointsize 14 \
    -gravity center -annotate +0+0 '状況' "$tmp/mask.png"
  png "$tmp/colour.png" "$tmp/mask.png" -append "$out/$1.png"
}
screen_sheet sys_qbtn2 'rgb(30,44,96)' 'rgb(200,214,240)'
screen_sheet sys_qbtn2_om 'rgb(84,110,180)' 'rgb(255,255,255)'
screen_sheet sys_qbtn2_on 'rgb(150,112,30)' 'rgb(255,246,200)'

# The gauge: a dark groove with ten faint places for the dots (4 + 8 i, 6).
places=""
for i in 0 1 2 3 4 5 6 7 8 9; do
  x=$((4 + 8 * i))
  places="$places rectangle $x,6 $((x + 5)),11"
done
"$im" -size 88x18 xc:'rgb(14,20,52)' -fill 'rgb(46,62,116)' -draw "$places" "$tmp/colour.png"
"$im" -size 88x18 xc:black -fill 'gray(200)' -draw 'roundrectangle 0,0 87,17 6,6' "$tmp/mask.png"
png "$tmp/colour.png" "$tmp/mask.png" +append "$out/sys_autobar.png"

"$im" -size 6x6 xc:'rgb(255,226,140)' "$tmp/colour.png"
"$im" -size 6x6 xc:white -fill 'gray(150)' -draw 'point 0,0 point 5,0 point 0,5 point 5,5' "$tmp/mask.png"
png "$tmp/colour.png" "$tmp/mask.png" +append "$out/sys_auto.png"
