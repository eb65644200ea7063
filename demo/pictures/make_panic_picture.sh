#!/bin/sh
# Draws the demo's panic picture, "panic.bmp" beside the archives: a plain grey work sheet of
# 800 x 600 with ruled cells, written at build time as an uncompressed 24-bit BMP.
# Usage: make_panic_picture.sh OUT.bmp
set -eu
out=$1
draw=""
x=0
while [ "$x" -le 800 ]; do draw="$draw line $x,40 $x,600"; x=$((x + 80)); done
y=40
while [ "$y" -le 600 ]; do draw="$draw line 0,$y 800,$y"; y=$((y + 20)); done
/usr/bin/convert -size 800x600 xc:white -fill 'rgb(236,236,236)' -draw 'rectangle 0,0 800,39' \
  -stroke 'rgb(200,200,200)' -draw "$draw" -stroke none -fill 'rgb(40,40,40)' \
  -draw 'rectangle 8,10 120,28' -type TrueColor -depth 8 "BMP3:$out"
