#!/bin/sh
# Draws the demo's save and load screen pictures with ImageMagick into demo/gra as PNG:
#   SVBG, SVBG2   the save screen's background, normal and highlighted (800 x 600)
#   LDBG, LDBG2   the load screen's background, normal and highlighted
#   SVPLATE, SVPLATE2  a slot plate, normal and highlighted: colour left, opacity right (340 x 80 each)
# The three page buttons and the return button are part of the backgrounds.
# Run it again after changing a picture here; the PNG files are kept in the repository.
set -eu
out=$(cd "$(dirname "$0")/../gra" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# background NAME TOP BOTTOM BUTTON_FILL MARK MARK_WIDE
# The page buttons carry one, two and three dots; the return button an arrow pointing left. The
# save screen has a wide bar across its head, the load screen a narrow one.
background() {
  convert -size 800x600 gradient:"$2"-"$3" \
    -fill none -stroke 'rgb(176,204,238)' -strokewidth 2 -draw 'rectangle 16,16 783,583' \
    -fill "$5" -stroke none -draw "rectangle 40,24 $6,36" \
    -fill "$4" -stroke 'rgb(176,204,238)' -strokewidth 1 \
    -draw 'roundrectangle 40,520 120,556 6,6' -draw 'roundrectangle 130,520 210,556 6,6' \
    -draw 'roundrectangle 220,520 300,556 6,6' -draw 'roundrectangle 640,520 760,556 6,6' \
    -fill "$5" -stroke none \
    -draw 'circle 80,538 80,542' \
    -draw 'circle 162,538 162,542' -draw 'circle 178,538 178,542' \
    -draw 'circle 244,538 244,542' -draw 'circle 260,538 260,542' -draw 'circle 276,538 276,542' \
    -draw 'polygon 670,538 690,526 690,550' -draw 'rectangle 690,534 730,542' \
    -alpha off PNG24:"$out/$1.png"
}
background SVBG 'rgb(30,44,96)' 'rgb(10,16,44)' 'rgb(24,34,80)' 'rgb(176,204,238)' 760
background SVBG2 'rgb(30,44,96)' 'rgb(10,16,44)' 'rgb(120,150,220)' 'rgb(255,255,255)' 760
background LDBG 'rgb(70,30,60)' 'rgb(24,10,24)' 'rgb(60,24,50)' 'rgb(238,190,220)' 240
background LDBG2 'rgb(70,30,60)' 'rgb(24,10,24)' 'rgb(200,120,170)' 'rgb(255,255,255)' 240

# plate NAME FILL
plate() {
  convert -size 340x80 xc:"$2" -fill none -stroke 'rgb(176,204,238)' -strokewidth 2 \
    -draw 'roundrectangle 1,1 338,78 8,8' "$tmp/colour.png"
  convert -size 340x80 xc:black -fill 'gray(200)' -stroke white -strokewidth 2 \
    -draw 'roundrectangle 1,1 338,78 8,8' "$tmp/alpha.png"
  convert "$tmp/colour.png" "$tmp/alpha.png" +append -alpha off PNG24:"$out/$1.png"
}
plate SVPLATE 'rgb(20,30,76)'
plate SVPLATE2 'rgb(70,100,170)'
