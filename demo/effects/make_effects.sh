#!/bin/sh
# Makes the pictures and animations of the demo's showcase scene from nothing with ImageMagick and
# sox: three skies for the background animation, a sweat-drop mark, a ring of light for the effect
# animation, an opening clip with key, patch and hold frames and a chime, a small clip for the
# enlarging player, a parts sheet of a star and a moon, a picture postcard, a wide town to pan across
# and a short movie of a passing train. Writes the source tree's folders gra2 (pictures), anim (one
# folder with anim.txt per animation) and files (the movie, copied beside the archives) under
# WORK_DIR for `tvx build`.
# Usage: make_effects.sh WORK_DIR
set -eu
work=$1
rm -rf "$work"
gra=$work/gra2
anim=$work/anim
mkdir -p "$gra" "$anim/EF_OPEN" "$anim/EF_SMALL" "$work/files/movie"

# PNG24: no alpha and no palette, so every picture reads back as plain 24-bit colour. The
# pictures in $gra are stored packed by `tvx build`.
picture() {
  out=$1
  shift
  convert "$@" +repage PNG24:"$out"
}

# Skies: dawn over the hills with the sun rising; the background animation loops them.
hills="polygon 0,600 0,470 180,420 360,480 560,430 800,470 800,600"
sky() {
  picture "$gra/$1.png" -size 800x600 gradient:"$2"-"$3" -fill '#ffe9a8' -draw "circle 400,$4 400,$(($4 - 50))" \
    -fill '#2b2233' -draw "$hills"
}
sky EF_SKY0 '#0b1d3a' '#f6a04d' 470
sky EF_SKY1 '#1d3a6b' '#f7b267' 400
sky EF_SKY2 '#3f7cc4' '#ffd79a' 330

# The sweat drop: colour on the left, its mask on the right.
drop="ellipse 32,40 16,18 0,360"
tip="polygon 32,4 18,34 46,34"
picture "$work/drop_c.png" -size 64x64 xc:black -fill '#8fd3ff' -draw "$drop" -draw "$tip" \
  -fill white -draw "ellipse 26,38 4,6 0,360"
picture "$work/drop_m.png" -size 64x64 xc:black -fill white -draw "$drop" -draw "$tip"
picture "$gra/EF_ASE.png" "$work/drop_c.png" "$work/drop_m.png" +append

# A ring of light widening from the middle: gold on the left, the ring's soft mask on the right.
for i in 0 1 2 3; do
  r=$((60 + i * 90))
  picture "$work/ring_m.png" -size 800x600 xc:black -fill none -stroke white -strokewidth $((40 - i * 8)) \
    -draw "circle 400,300 $((400 + r)),300" -blur 0x6
  picture "$gra/EF_RING_00$i.png" -size 800x600 xc:'#ffe27a' "$work/ring_m.png" +append
done

# The opening clip, 640 × 480: night falls to dawn. Stars twinkle in as patches, holds keep the
# picture, and the sun comes up in patches before the last key frame.
o=$anim/EF_OPEN
picture "$o/night.png" -size 640x480 gradient:'#050b1f'-'#1b2b55' -fill '#15121c' \
  -draw "polygon 0,480 0,380 150,330 300,390 470,340 640,380 640,480"
# Each star is cut from the night with that star drawn on it, so its patch matches the sky.
star() {
  x=$2
  y=$3
  picture "$work/star_full.png" "$o/night.png" -fill '#fff6c8' \
    -draw "polygon $((x + 12)),$y $((x + 15)),$((y + 9)) $((x + 24)),$((y + 12)) $((x + 15)),$((y + 15)) \
$((x + 12)),$((y + 24)) $((x + 9)),$((y + 15)) $x,$((y + 12)) $((x + 9)),$((y + 9))"
  picture "$o/$1.png" "$work/star_full.png" -crop 24x24+$x+$y
}
star star1 90 60
star star2 300 40
star star3 520 90
hills2="polygon 0,480 0,380 150,330 300,390 470,340 640,380 640,480"
dawn() {
  picture "$1" -size 640x480 gradient:'#1b2b55'-'#e88a4a' -fill '#ffe9a8' -draw "circle 320,$2 320,$(($2 - 34))" \
    -fill '#15121c' -draw "$hills2"
}
dawn "$o/dawn.png" 520
# The rising sun's patches are cut from the dawn picture with the sun drawn higher each time.
dawn "$work/sun1_full.png" 372
picture "$o/sun1.png" "$work/sun1_full.png" -crop 100x100+270+300
dawn "$work/sun2_full.png" 330
picture "$o/sun2.png" "$work/sun2_full.png" -crop 100x130+270+270
picture "$o/day.png" -size 640x480 gradient:'#3f7cc4'-'#ffd79a' -fill '#ffe9a8' -draw "circle 320,250 320,212" \
  -fill '#15121c' -draw "polygon 0,480 0,380 150,330 300,390 470,340 640,380 640,480"
sox -n -r 22050 -c 1 -b 16 "$o/chime.wav" synth 2.4 pluck 392 pluck mix 523.25 pluck mix 659.25 gain -9
cat >"$o/anim.txt" <<'LIST'
# The opening: night, stars, dawn, the sun, day.
interval 120
quality 88
sound chime.wav
key night.png
patch star1.png 90 60
patch star2.png 300 40
hold
patch star3.png 520 90
hold
key dawn.png
patch sun1.png 270 300
patch sun2.png 270 270
hold sun2.png
key day.png
hold
LIST

# The small clip for the enlarging player, 320 × 240 at fifteen frames a second: a ball crossing.
s=$anim/EF_SMALL
echo "interval 66" >"$s/anim.txt"
for i in 0 1 2 3 4 5 6 7 8 9 10 11; do
  x=$((30 + i * 24))
  y=$((170 - (i - 6) * (i - 6) * 3))
  picture "$s/f$i.png" -size 320x240 gradient:'#2a3f6b'-'#86b5e0' -fill '#ffcf5a' -draw "circle $x,$y $((x + 18)),$y"
  echo "key f$i.png" >>"$s/anim.txt"
done

# The parts sheet: a star and a crescent moon on aqua, the colour the stamped parts leave out.
picture "$gra/EF_PARTS.png" -size 128x64 xc:'#00ffff' +antialias -fill '#ffe066' \
  -draw "polygon 32,4 39,24 60,24 43,37 50,58 32,45 14,58 21,37 4,24 25,24" \
  -fill '#fff3c4' -draw "circle 96,32 96,6" -fill '#00ffff' -draw "circle 108,24 108,2"

# A picture postcard: a white card with a stamp, the sea and a lighthouse.
picture "$gra/EF_CARD.png" -size 400x260 xc:'#fbf7ee' -fill '#3f7cc4' -draw "rectangle 16,16 250,244" \
  -fill '#86b5e0' -draw "rectangle 16,16 250,150" -fill '#ffe9a8' -draw "circle 80,70 80,50" \
  -fill white -draw "rectangle 170,80 190,180" -fill '#d94c3d' -draw "rectangle 170,100 190,115" \
  -draw "rectangle 170,135 190,150" -draw "polygon 166,80 194,80 180,62" \
  -fill none -stroke '#d94c3d' -strokewidth 3 -draw "rectangle 320,24 380,94" \
  -stroke '#9a8f7a' -strokewidth 2 -draw "line 270,140 384,140" -draw "line 270,180 384,180" \
  -draw "line 270,220 384,220"

# The town at dawn, twice as wide as the screen, to pan across from left to right.
town="rectangle 40,360 150,600 rectangle 170,300 260,600 rectangle 290,400 420,600 \
rectangle 450,250 520,600 polygon 440,250 485,190 530,250 rectangle 560,380 700,600"
picture "$gra/EF_PAN.png" -size 1600x600 gradient:'#1d3a6b'-'#f7b267' \
  -fill '#ffe9a8' -draw "circle 1200,380 1200,330" \
  -fill '#2b2233' -draw "$town" -draw "translate 800,0 $town" \
  -fill '#ffd36b' -draw "rectangle 190,330 210,350 rectangle 470,300 490,320 rectangle 1000,420 1020,440"

# The movie: the first train crossing the screen from right to left at dawn, as an animated
# picture at ten frames a second.
for i in $(seq 0 23); do
  x=$((340 - i * 24))
  picture "$work/train_$(printf %02d "$i").png" -size 320x240 gradient:'#1b2b55'-'#e88a4a' \
    -fill '#15121c' -draw "rectangle 0,190 320,240" -fill '#555066' -draw "rectangle 0,184 320,190" \
    -fill '#c9d2e0' -draw "roundrectangle $x,120 $((x + 150)),182 10,10" \
    -fill '#ffe9a8' -draw "rectangle $((x + 20)),134 $((x + 45)),150 rectangle $((x + 62)),134 $((x + 87)),150 \
rectangle $((x + 104)),134 $((x + 129)),150" -fill '#d94c3d' -draw "rectangle $x,160 $((x + 150)),166"
done
convert -delay 10 -loop 1 "$work"/train_*.png -layers Optimize "$work/files/movie/train.gif"
