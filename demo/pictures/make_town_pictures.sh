#!/bin/sh
# Draws the pictures of the demo's town walk with ImageMagick into demo/gra as PNG (tvx packs them):
#   TOWN       the town by day (800 x 600)
#   TOWNP      the click map's parts: the lit shop, tower and shrine where they stand, the pond in
#              the colour key F00, and the tower's sign at (22, 22)
#   TOWNC      the chosen look: a "visited" mark on every building
#   tree_base  the selection tree's panel, treelv1 and treelv2 its titles, tree1a … tree3b its
#              buttons (normal and lit); each picture holds its colour above its mask
#   OBJBIRD, OBJBELL  the clock tower's objects, colour above mask
# Run it again after changing a picture here; the PNG files are kept in the repository.
set -eu
out=$(cd "$(dirname "$0")/../gra" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf

stack() { convert "$1" "$2" -append -alpha off -strip PNG24:"$3"; }

# The town: sky, meadow, road, the station house, the shop, the clock tower, the pond, the shrine.
convert -size 800x600 gradient:'#5b8fd0-#d6e6f5' -crop 800x320+0+0 +repage \( -size 800x280 xc:'#7fae6f' \) -append \
  -fill '#9a9a9a' -draw 'polygon 300,600 500,600 430,320 370,320' \
  -fill '#8b4a2b' -draw 'rectangle 20,380 200,560' -fill '#5a2e1a' -draw 'polygon 10,380 110,330 210,380' \
  -fill '#f4e3b5' -draw 'rectangle 80,470 140,560' \
  -fill '#d9b88a' -draw 'rectangle 250,250 450,420' -fill '#c84b3c' -draw 'rectangle 240,240 460,275' \
  -fill '#7a5c3a' -draw 'rectangle 320,340 380,420' \
  -fill '#b8b07a' -draw 'rectangle 560,90 640,400' -fill '#6b6540' -draw 'polygon 550,90 600,40 650,90' \
  -fill '#fffbe8' -stroke '#333333' -strokewidth 3 -draw 'circle 600,140 600,115' -stroke none \
  -fill '#3d6fa3' -draw 'ellipse 600,520 110,45 0,360' \
  -fill '#a52a2a' -draw 'rectangle 680,330 780,430' -fill '#6b1414' -draw 'rectangle 670,320 790,335' \
  -draw 'rectangle 690,335 700,430' -draw 'rectangle 760,335 770,430' \
  -alpha off -strip PNG24:"$out/TOWN.png"

# The parts: each lit building inside a yellow frame at its own place.
convert "$out/TOWN.png" \
  \( -clone 0 -crop 220x180+240+240 +repage -modulate 125,110 -fill none -stroke '#ffe14d' -strokewidth 6 \
     -draw 'rectangle 3,3 216,176' \) -geometry +240+240 -composite \
  \( -clone 0 -crop 100x360+550+40 +repage -modulate 125,110 -fill none -stroke '#ffe14d' -strokewidth 6 \
     -draw 'rectangle 3,3 96,356' \) -geometry +550+40 -composite \
  \( -clone 0 -crop 120x110+670+320 +repage -modulate 125,90 -fill none -stroke '#ffe14d' -strokewidth 6 \
     -draw 'rectangle 3,3 116,106' \) -geometry +670+320 -composite \
  -fill '#ff0000' -draw 'ellipse 600,520 110,45 0,360' \
  -fill '#fff3c4' -stroke '#5a4a1a' -strokewidth 3 -draw 'roundrectangle 22,22 198,68 10,10' -stroke none \
  -fill '#3a2e10' -font "$font" -pointsize 28 -annotate +60+56 '時計塔' \
  -alpha off -strip PNG24:"$out/TOWNP.png"

# The chosen look: a gold "済" mark on the station, the shop, the tower and the shrine.
convert "$out/TOWN.png" -fill '#ffd700' -stroke '#8a6d00' -strokewidth 3 \
  -draw 'circle 170,410 170,388' -draw 'circle 420,290 420,268' -draw 'circle 600,250 600,228' \
  -draw 'circle 730,380 730,358' -stroke none -fill '#5a3e00' -font "$font" -pointsize 26 \
  -annotate +157+419 '済' -annotate +407+299 '済' -annotate +587+259 '済' -annotate +717+389 '済' \
  -alpha off -strip PNG24:"$out/TOWNC.png"

# The tree's panel: night blue, translucent, fading in over its first rows.
convert -size 800x296 gradient:'#23305a-#101830' "$tmp/base_colour.png"
convert -size 800x296 gradient:'#000000-#d0d0d0' -crop 800x24+0+0 +repage -resize 800x12! \
  \( -size 800x284 xc:'#d0d0d0' \) -append "$tmp/base_mask.png"
stack "$tmp/base_colour.png" "$tmp/base_mask.png" "$out/tree_base.png"

# The titles of the two trees.
for n in 1 2; do
  if [ $n = 1 ]; then title=商店街; else title=駅前; fi
  convert -size 320x48 xc:'#f2e6c9' -fill '#6b4f1d' -draw 'rectangle 0,40 320,48' -fill '#3a2a0a' -font "$font" \
    -pointsize 30 -gravity west -annotate +20+0 "$title" "$tmp/level_colour.png"
  convert -size 320x48 xc:black -fill white -draw 'roundrectangle 0,0 319,47 12,12' "$tmp/level_mask.png"
  stack "$tmp/level_colour.png" "$tmp/level_mask.png" "$out/treelv$n.png"
done

# Buttons: a rounded bar with a light edge; the second column's first row carries an arrow.
button() { # name, width, body, edge, arrow colour or "none"
  convert -size "$2"x46 xc:"$3" -fill none -stroke "$4" -strokewidth 3 \
    -draw "roundrectangle 5,4 $(($2 - 6)),41 14,14" -stroke none "$tmp/button.png"
  if [ "$5" != none ]; then
    convert "$tmp/button.png" -fill "$5" -draw 'polygon 16,15 28,23 16,31' "$tmp/button.png"
  fi
  convert -size "$2"x46 xc:black -fill white -draw "roundrectangle 4,3 $(($2 - 5)),42 15,15" "$tmp/button_mask.png"
  stack "$tmp/button.png" "$tmp/button_mask.png" "$out/$1.png"
}
button tree1a 280 '#2e4a7a' '#8fb3e8' none
button tree1b 280 '#f0c94a' '#fff2b0' none
button tree2a 330 '#35606a' '#9ad4de' '#9ad4de'
button tree2b 330 '#f0c94a' '#fff2b0' '#7a5a00'
button tree3a 330 '#2f545d' '#7fb6c0' none
button tree3b 330 '#e8bf3e' '#fff2b0' none

# The bird (wings, body, beak) and the bell.
convert -size 32x32 xc:'#2b2b36' -fill '#f2a03d' -draw 'polygon 24,13 31,15 24,17' "$tmp/bird.png"
convert -size 32x32 xc:black -fill white -stroke white -strokewidth 4 -draw 'polyline 2,8 10,16 16,13 22,16 30,8' \
  -strokewidth 1 -draw 'ellipse 16,16 7,4 0,360' -draw 'polygon 24,13 31,15 24,17' -blur 0x0.6 "$tmp/bird_mask.png"
stack "$tmp/bird.png" "$tmp/bird_mask.png" "$out/OBJBIRD.png"
convert -size 24x24 xc:'#e0b020' -fill '#fff1a0' -draw 'ellipse 9,9 3,4 0,360' -fill '#6b4a00' \
  -draw 'circle 12,21 12,19' "$tmp/bell.png"
convert -size 24x24 xc:black -fill white -draw 'polygon 4,20 7,6 12,2 17,6 20,20' -draw 'circle 12,21 12,18' \
  -blur 0x0.5 "$tmp/bell_mask.png"
stack "$tmp/bell.png" "$tmp/bell_mask.png" "$out/OBJBELL.png"
