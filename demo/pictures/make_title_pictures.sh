#!/usr/bin/env bash
# Draws the demo's pictures for the town chapter and the ending with ImageMagick: the day panels,
# the status screen, the destination map with its hit map and masks, and the staff-roll
# backgrounds. Pictures drawn masked carry their mask below the colour part (the colour above,
# white where it shows). Run from anywhere; writes PNG files into demo/gra.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../gra"
gothic=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
im=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# png ARGS... OUT: convert, writing an 8-bit PNG without time stamps so that the files stay the
# same. (Without its colour chunks a 16-bit PNG would read as linear light and come out brighter.)
png() { "$im" "${@:1:$#-1}" -strip -depth 8 -define png:exclude-chunks=date,time "${!#}"; }

# stacked NAME WIDTH HEIGHT COLOUR-ARGS...: the colour picture drawn by the arguments, over an
# all-white mask of the same size.
stacked() {
  name=$1 w=$2 h=$3
  shift 3
  "$im" -size "${w}x${h}" "$@" "$tmp/colour.png"
  "$im" -size "${w}x${h}" xc:white "$tmp/mask.png"
  png "$tmp/colour.png" "$tmp/mask.png" -append "$out/$name.png"
}

# ---- the day panel ----
for d in 1 2 3; do
  stacked "day0$d" 96 64 xc:'#f4ecd8' -fill '#8a3b2e' -draw 'rectangle 0,0 95,17' \
    -font "$gothic" -pointsize 13 -fill white -annotate +8+14 "DAY" \
    -fill '#3a2a20' -pointsize 34 -annotate +30+56 "$d"
done

# ---- the status screen ----
png -size 800x600 gradient:'#1d2b4a'-'#0c1224' \
  -font "$gothic" -fill white -pointsize 30 -annotate +40+60 '状況' \
  -pointsize 16 -annotate +40+100 '順位' -annotate +320+260 'ゲージ' \
  -annotate +34+360 '日付' -annotate +246+360 '勝者' -annotate +402+360 '日付' -annotate +614+360 '勝者' \
  -stroke '#5a6a8a' -fill none -draw 'rectangle 314,264 744,288' "$out/st_base.png"
png -size 12x16 xc:'#f2c14e' "$out/st_gage.png"
png -size 24x20 xc:'#e4572e' -font "$gothic" -pointsize 12 -fill white -annotate +2+15 '今' "$out/st_today.png"
for w in 1 2 3 4 5 6 7 8 9 10; do
  n=$(printf '%02d' "$w")
  png -size 120x20 xc:'#30415d' -font "$gothic" -pointsize 14 -fill white -annotate +6+15 "選手 $n" \
    "$out/st_wnr$n.png"
done
for r in 1 2 3 4; do
  letter=$(echo "S A B C" | cut -d' ' -f"$r")
  stacked "st_rank$r" 104 50 xc:'#d9c27a' -font "$gothic" -pointsize 30 -fill '#402a10' -annotate +36+38 "$letter"
done

# ---- the destination map ----
# Areas: 1 station street, 2 shrine, 3 shopping street, 4 harbour, 5 beach.
areas='1 420,150 560,280 駅前
2 40,60 220,220 神社
3 250,300 420,430 商店街
4 600,330 780,480 港
5 40,260 220,430 海岸'
map() {
  fill=$1 target=$2
  set -- -size 800x600 xc:'#3e5e3a' -fill '#2f4f6f' -draw 'rectangle 560,480 800,600' \
    -stroke '#c8b88a' -strokewidth 6 -draw 'line 0,300 800,300' -draw 'line 300,0 300,600' -stroke none
  echo "$areas" > "$tmp/areas"
  while read -r n from to label; do
    set -- "$@" -fill "$fill" -draw "rectangle $from $to" \
      -font "$gothic" -pointsize 18 -fill '#202020' -annotate "+${from%,*}+$(( ${from#*,} + 24 ))" " $label"
  done < "$tmp/areas"
  png "$@" "$target"
}
map '#9aa88a' "$out/tr_base1a.png"
map '#f4e38a' "$out/tr_base1b.png"
# The hit map's colours: blue, red, blue and red, green, red and green give the areas 1 to 5.
png -size 800x600 xc:black \
  -fill '#0000ff' -draw 'rectangle 420,150 560,280' -fill '#ff0000' -draw 'rectangle 40,60 220,220' \
  -fill '#ff00ff' -draw 'rectangle 250,300 420,430' -fill '#00ff00' -draw 'rectangle 600,330 780,480' \
  -fill '#ffff00' -draw 'rectangle 40,260 220,430' "$out/tr_hitmap.png"
echo "$areas" > "$tmp/areas"
while read -r n from to label; do
  png -size 800x600 xc:black -fill white -draw "rectangle $from $to" "$out/tr_mask1$n.png"
done < "$tmp/areas"
stacked tr_rank1 200 80 xc:'#1c1c1c' -font "$gothic" -fill white -pointsize 16 -annotate +12+30 '現在の順位' \
  -pointsize 28 -annotate +130+62 'C'
stacked tr_choice 376 40 xc:'#fff8e0' -font "$gothic" -pointsize 14 -fill '#604020' -annotate +8+26 '一つ目'
stacked tr_sel 232 45 xc:'#4a3828' -stroke '#c8b88a' -fill none -draw 'rectangle 1,1 230,43'
stacked tr_sel_om 232 45 xc:'#b05020' -stroke '#ffe0a0' -fill none -draw 'rectangle 1,1 230,43'
for n in 1 2 3 4 5; do
  label=$(echo "$areas" | sed -n "${n}p" | cut -d' ' -f4)
  stacked "tr_sel$n" 96 32 xc:'#803020' -font "$gothic" -pointsize 18 -fill white -annotate +10+23 "$label"
done
"$im" -size 800x600 xc:none -fill '#000000a0' -draw 'rectangle 0,0 800,600' \
  -fill '#2a3040' -stroke '#c8b88a' -strokewidth 3 -draw 'roundrectangle 180,150 620,440 16,16' \
  -font "$gothic" -stroke none -fill '#f0e0b0' -pointsize 20 -annotate +280+190 'この二か所へ行きますか？' \
  -pointsize 14 -annotate +220+216 '一つ目' -annotate +220+278 '二つ目' "$tmp/confirm.png"
"$im" "$tmp/confirm.png" -alpha extract "$tmp/confirm_mask.png"
"$im" "$tmp/confirm.png" -background black -alpha remove "$tmp/confirm_colour.png"
png "$tmp/confirm_colour.png" "$tmp/confirm_mask.png" -append "$out/tr_confirm.png"
for kind in ok ret; do
  label=$([ "$kind" = ok ] && echo 'はい' || echo 'いいえ')
  stacked "tr_$kind" 128 32 xc:'#c0a070' -font "$gothic" -pointsize 18 -fill '#302010' -annotate +40+23 "$label"
  stacked "tr_${kind}_om" 128 32 xc:'#ffd040' -font "$gothic" -pointsize 18 -fill '#302010' -annotate +40+23 "$label"
done

# ---- staff-roll backgrounds ----
png -size 800x600 xc:'#101830' -fill '#f0f0d0' \
  -draw 'circle 120,80 122,80' -draw 'circle 300,40 301,40' -draw 'circle 520,120 522,120' \
  -draw 'circle 700,60 701,60' -draw 'circle 640,200 642,200' -draw 'circle 60,220 61,220' \
  -fill '#283048' -draw 'rectangle 0,470 800,600' "$out/ROLL01.png"
png -size 800x600 xc:'#f0c070' -fill '#e09050' -draw 'rectangle 0,200 800,600' \
  -fill '#b06040' -draw 'rectangle 0,380 800,600' -fill '#fff0c0' -draw 'circle 400,380 470,380' \
  -fill '#603020' -draw 'rectangle 0,470 800,600' "$out/ROLL02.png"
