#!/bin/sh
# Makes the pictures and animations of the demo's showcase scene from nothing with ImageMagick and
# sox: three skies for the background animation, a sweat-drop mark, a ring of light for the effect
# animation, an opening clip with key, patch and hold frames and a chime, and a small clip for the
# enlarging player. Writes the source tree's folders gra2 (pictures) and anim (one folder with
# anim.txt per animation) under WORK_DIR for `tvx build`.
# Usage: make_effects.sh WORK_DIR
set -eu
work=$1
rm -rf "$work"
gra=$work/gra2
anim=$work/anim
mkdir -p "$gra" "$anim/EF_OPEN" "$anim/EF_SMALL"

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
