#!/bin/sh
# Draws the title menu's pictures with ImageMagick into demo/gra as PNG (tvx packs them):
#   TITLE      the title screen (800 x 600): the station at dawn under the demo's name; the menu's
#              bars are drawn over its middle
#   PANORAMA   the town seen from the hill (1600 x 600), panned across by `scroll` in the story
# Run it again after changing a picture here; the PNG files are kept in the repository.
set -eu
out=$(cd "$(dirname "$0")/../gra" && pwd)
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
# 8-bit PNG without time stamps, so that the files stay the same from one run to the next.
png() { convert "$@" -alpha off -strip -depth 8 -define png:exclude-chunks=date,time PNG24:"$out/$name.png"; }

# The title: a dawn sky in flat bands, the platform's roof and rails below, the name on a dark plate.
name=TITLE
png -size 800x600 xc:'#1b2a4e' \
  -fill '#34406e' -draw 'rectangle 0,120 800,240' \
  -fill '#6a5a8c' -draw 'rectangle 0,240 800,330' \
  -fill '#e0906a' -draw 'rectangle 0,330 800,400' \
  -fill '#f6d08a' -draw 'circle 620,400 620,350' \
  -fill '#2a2a36' -draw 'rectangle 0,400 800,600' \
  -fill '#5a5a66' -draw 'rectangle 0,470 800,480' -draw 'rectangle 0,540 800,550' \
  -fill '#141420' -draw 'rectangle 40,300 60,470' -draw 'rectangle 0,290 300,306' \
  -fill '#0c1226' -draw 'rectangle 0,0 800,60' \
  -font "$font" -fill '#f4ecd8' -pointsize 30 -annotate +40+42 'Torvel 体験版　～夜明けの駅～'

# The panorama: the sky over the hills, the sea on the right, the town's roofs along the bottom.
name=PANORAMA
png -size 1600x600 xc:'#8fb8e0' \
  -fill '#b8d4ee' -draw 'rectangle 0,200 1600,330' \
  -fill '#6f9a5a' -draw 'polygon 0,330 200,250 420,320 650,230 900,330 0,330' \
  -fill '#3f6f9f' -draw 'rectangle 900,330 1600,600' \
  -fill '#5d8a4c' -draw 'rectangle 0,330 900,600' \
  -fill '#c84b3c' -draw 'rectangle 80,400 180,470' -draw 'rectangle 300,420 380,480' -draw 'rectangle 560,390 660,470' \
  -fill '#d9b88a' -draw 'rectangle 200,380 270,470' -draw 'rectangle 420,400 520,480' -draw 'rectangle 700,410 800,480' \
  -fill '#b8b07a' -draw 'rectangle 610,250 640,390' \
  -fill '#f4f4f4' -draw 'rectangle 1300,380 1330,520' -fill '#c83030' -draw 'rectangle 1296,360 1334,380' \
  -fill '#ffffff' -draw 'ellipse 1100,120 90,26 0,360' -draw 'ellipse 300,90 70,20 0,360'
