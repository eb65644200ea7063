#!/bin/sh
# Draws the pictures of the demo's extras with ImageMagick: the picture gallery's two sets, the
# scene gallery and the music room (each page as shown and with every control lit), the lock
# plate, the percentage digits, two gallery pictures of their own (one of them 1,200 rows tall,
# scrolled by the viewer) and the recollection screen with its page buttons, into the source
# tree's folder gra3 under WORK_DIR for `tvx build`. Usage: make_gallery.sh WORK_DIR
set -eu
work=$1
rm -rf "$work"
gra=$work/gra3
mkdir -p "$gra" "$work/tmp"
t=$work/tmp
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf

# PNG24: no alpha and no palette, so every picture reads back as plain 24-bit colour.
picture() {
  out=$1
  shift
  convert "$@" +repage PNG24:"$out"
}

# ---- the gallery's own pictures ----
# Dusk over the station; the tower is 1,200 rows tall, its top in the sky and its foot in the town.
picture "$gra/EX_DUSK.png" -size 800x600 gradient:'#2b1a4a'-'#f08a4b' -fill '#1a1420' \
  -draw 'polygon 0,600 0,430 120,410 140,380 260,380 280,420 520,420 540,360 700,360 720,430 800,430 800,600' \
  -fill '#ffd27a' -draw 'rectangle 160,400 175,415' -draw 'rectangle 560,380 575,395'
picture "$gra/EX_TOWER.png" -size 800x1200 gradient:'#0d1b3d'-'#8fc3e8' -fill '#6b5a48' \
  -draw 'rectangle 340,180 460,1200' -fill '#8a7660' -draw 'polygon 330,180 400,60 470,180' \
  -fill '#f4efe0' -draw 'circle 400,300 440,300' -fill '#2a2a2a' -draw 'line 400,300 400,270' \
  -draw 'line 400,300 425,300' -fill '#3e5e3a' -draw 'rectangle 0,1050 800,1200'
picture "$gra/EX_STAR.png" -size 800x600 gradient:'#02040c'-'#14244a' -fill '#fff6c8' \
  -draw 'circle 120,90 123,90' -draw 'circle 420,60 422,60' -draw 'circle 650,140 653,140'

# ---- the gallery pages ----
# on FILE ARGS...: draws the arguments over the picture in FILE.
on() {
  file=$1
  shift
  picture "$file" "$file" "$@"
}

# page OUT TITLE CURRENT-TAB LIT PREV NEXT: a page's frame: its title, the three page tabs (the
# current one marked) and the buttons along the foot, lit or not.
page() {
  if [ "$4" = 1 ]; then button='#e8b04a' text='#2a1a08'; else button='#40506e' text='#f0f0f0'; fi
  picture "$1" -size 800x600 gradient:'#18233c'-'#0a0f1c' -font "$font" -fill '#f0e0b0' -pointsize 30 \
    -annotate +40+50 "$2" -fill "$button" -draw 'rectangle 40,520 159,571' -draw 'rectangle 180,520 299,571' \
    -draw 'rectangle 640,520 759,571' -fill "$text" -pointsize 20 -annotate +80+553 "$5" \
    -annotate +220+553 "$6" -annotate +680+553 '戻る'
  i=1
  for label in ＣＧ シーン 音楽; do
    x=$((300 + 130 * i))
    fill='#2c3850'
    if [ "$i" = "$3" ]; then fill='#8a6a30'; fi
    on "$1" -fill "$fill" -draw "rectangle $((x - 10)),14 $((x + 109)),53" -font "$font" -fill white \
      -pointsize 18 -annotate "+$((x + 20))+41" "$label"
    i=$((i + 1))
  done
}

# cell FILE LIT X Y COLOUR-ABOVE COLOUR-BELOW LABEL: a cell's 200 × 150 thumbnail, framed when lit.
cell() {
  on "$1" -fill "$5" -draw "rectangle $3,$4 $(($3 + 199)),$(($4 + 149))" -fill "$6" \
    -draw "rectangle $3,$(($4 + 100)) $(($3 + 199)),$(($4 + 149))" -font "$font" -fill white -pointsize 16 \
    -annotate "+$(($3 + 8))+$(($4 + 140))" "$7"
  if [ "$2" = 1 ]; then
    on "$1" -fill none -stroke '#ffe08a' -strokewidth 6 \
      -draw "rectangle $(($3 + 3)),$(($4 + 3)) $(($3 + 196)),$(($4 + 146))"
  fi
}

# sets FILE LIT: set buttons 1 and 2 beside the next button, and the "%" after the percentage.
sets() {
  fill='#40506e'
  if [ "$2" = 1 ]; then fill='#e8b04a'; fi
  on "$1" -fill "$fill" -draw 'rectangle 320,520 369,571' -draw 'rectangle 380,520 429,571' -font "$font" \
    -fill white -pointsize 22 -annotate +337+554 1 -annotate +397+554 2 -fill '#f0e0b0' -pointsize 28 \
    -annotate +532+556 '%'
}

for lit in 0 1; do
  s=N
  if [ "$lit" = 1 ]; then s=H; fi
  f=$gra/GAL_CG0$s.png
  page "$f" 'ＣＧ　その一' 1 $lit 前へ 次へ
  cell "$f" $lit 50 90 '#3a4a6e' '#c07850' '夜明けの駅ほか'
  cell "$f" $lit 300 90 '#9ab0c8' '#5a6470' '明るいホーム'
  cell "$f" $lit 550 90 '#050a18' '#14244a' '星空'
  sets "$f" $lit
  f=$gra/GAL_CG1$s.png
  page "$f" 'ＣＧ　その二' 1 $lit 前へ 次へ
  cell "$f" $lit 50 90 '#0b1d3a' '#f6a04d' '朝焼け'
  cell "$f" $lit 300 90 '#3e5e3a' '#c8b88a' '町の地図'
  sets "$f" $lit
  f=$gra/GAL_SC$s.png
  page "$f" 'シーン' 2 $lit 前へ 次へ
  cell "$f" $lit 50 90 '#2a3040' '#6a7890' '振り返り'
  cell "$f" $lit 300 90 '#3e5e3a' '#8aa070' '町の散歩'
  cell "$f" $lit 550 90 '#1d3a6b' '#f7b267' '画面効果'
  on "$f" -fill '#101828' -draw 'rectangle 50,400 749,449'
  f=$gra/GAL_MU$s.png
  page "$f" '音楽' 3 $lit 停止 再生
  cell "$f" $lit 50 90 '#402848' '#a06080' '夜明けの駅'
  cell "$f" $lit 300 90 '#284838' '#60a080' '坂道'
done

# The lock plate over a cell not seen yet: colour on the left, an opaque mask on the right.
picture "$t/plate.png" -size 200x150 xc:'#202428' -fill '#70757c' -font "$font" -pointsize 40 -annotate +80+90 '？'
picture "$gra/GAL_PLATE.png" "$t/plate.png" -size 200x150 xc:white +append
# The percentage digits, 20 × 32 each, stacked; their masks beside them show the strokes only.
set --
for d in 0 1 2 3 4 5 6 7 8 9; do set -- "$@" -annotate "+2+$((32 * d + 28))" "$d"; done
picture "$t/digits_c.png" -size 20x320 xc:'#f0d070'
picture "$t/digits_m.png" -size 20x320 xc:black -font "$font" -pointsize 30 -fill white "$@"
picture "$gra/GAL_NUM.png" "$t/digits_c.png" "$t/digits_m.png" +append

# ---- the recollection screen ----
# recollection OUT LIT: the screen with every control plain or lit.
recollection() {
  out=$1
  if [ "$2" = 1 ]; then button='#e8b04a' text='#2a1a08' tab='#b08a40'; else button='#40506e' text='#f0f0f0' tab='#2c3850'; fi
  set -- -size 800x600 gradient:'#201830'-'#0c0a14' -font "$font" -fill '#f0e0b0' -pointsize 30 -annotate +40+60 '回想'
  i=0
  for label in 本編 おまけ; do
    x=$((18 + 148 * i))
    set -- "$@" -fill "$tab" -draw "rectangle $x,83 $((x + 136)),141" -fill white -pointsize 20 \
      -annotate "+$((x + 40))+120" "$label"
    i=$((i + 1))
  done
  set -- "$@" -fill '#14101e' -draw 'rectangle 18,150 514,504' -fill '#1c2438' -draw 'rectangle 568,155 775,502'
  s=0
  while [ $s -lt 10 ]; do
    x=$((72 + 44 * s))
    set -- "$@" -fill "$button" -draw "rectangle $((x + 1)),515 $((x + 42)),555" -fill "$text" -pointsize 16 \
      -annotate "+$((x + 14))+541" "$((s + 1))"
    s=$((s + 1))
  done
  picture "$out" "$@" -fill '#0c0a14' -draw 'rectangle 84,562 399,582' \
    -fill "$button" -draw 'rectangle 561,547 670,588' -draw 'rectangle 674,547 783,588' \
    -draw 'rectangle 674,504 776,533' -draw 'rectangle 418,559 519,586' -fill "$text" -pointsize 18 \
    -annotate +596+575 '戻る' -annotate +709+575 '再生' -annotate +706+525 '消去' -annotate +450+579 '名前'
}
recollection "$gra/ss_kaiso.png" 0
recollection "$gra/ss_kaiso2.png" 1
# Page buttons: 28 × 58 each, the plain ones on the left, the selected ones on the right.
for side in 0 1; do
  fill=$([ "$side" = 1 ] && echo '#b08a40' || echo '#2c3850')
  picture "$t/pages$side.png" -size 28x116 xc:"$fill" -fill '#0c0a14' -draw 'line 0,57 27,57' -font "$font" \
    -fill white -pointsize 16 -annotate +9+34 1 -annotate +9+92 2
done
picture "$gra/ss_kaiso_p.png" "$t/pages0.png" "$t/pages1.png" +append
