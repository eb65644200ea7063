#!/usr/bin/env bash
# Draws the demo's configuration screen with ImageMagick into demo/gra as PNG:
#   CFG_N    the page as shown (800 x 600)
#   CFG_H    the same page with every control lit (800 x 600)
#   CFG_KNOB the volume knob: colour left, mask right (12 x 16 each)
#   CFG_AKNB the auto-speed knob: colour left, mask right (10 x 20 each)
# The places are the CFG_ keys of _config; change both together. Run it again after changing a
# picture here; the PNG files are kept in the repository.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../gra"
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

png() { convert "$@" +repage -alpha off -strip -define png:exclude-chunks=date,time PNG24:"${out}/$name.png"; }

# page LIT: the whole page; LIT 1 draws every control in its lit look.
page() {
  if [ "$1" = 1 ]; then fill='#e8b04a' ink='#2a1a08'; else fill='#40506e' ink='#f0f0f0'; fi
  args=(-size 800x600 gradient:'#1c2a48'-'#0a0f1c' -font "$font" -fill '#f0e0b0' -pointsize 30 -annotate +30+48 '設定')
  # button X1 Y1 X2 Y2 LABEL [SIZE]
  button() {
    args+=(-fill "$fill" -draw "rectangle $1,$2 $(($3 - 1)),$(($4 - 1))" -fill "$ink" -pointsize "${6:-16}"
      -annotate "+$(($1 + 8))+$(($4 - 10))" "$5")
  }
  label() { args+=(-fill '#c8d4f0' -pointsize 17 -annotate "+$1+$2" "$3"); }
  # Option pairs, left column.
  y=70
  for row in '画面:ウィンドウ:フルスクリーン' '画面効果:通常:カット' '文字表示:一文字ずつ:一行ずつ' \
    '既読スキップ:未読で止める:止めない' 'ホイール:ページ戻し:バックログ'; do
    IFS=: read -r title a b <<<"$row"
    label 30 $((y + 23)) "$title"
    button 170 "$y" 290 $((y + 32)) "$a" 14
    button 300 "$y" 420 $((y + 32)) "$b" 14
    y=$((y + 42))
  done
  # Cell groups: right click, effect categories, sound switches.
  label 30 307 '右クリック'
  x=170
  for t in メニュー 窓消し スキップ オート 緊急; do button "$x" 284 $((x + 56)) 316 "$t" 12; x=$((x + 60)); done
  label 30 353 '効果音の種類'
  x=170
  for t in 環境 足音 扉 機械 その他; do button "$x" 330 $((x + 56)) 362 "$t" 12; x=$((x + 60)); done
  label 30 399 '鳴らす音'
  x=170
  for t in 音楽 声１ 効果音 声２; do button "$x" 376 $((x + 56)) 408 "$t" 12; x=$((x + 60)); done
  # Volume bars with their grooves, the test and reset buttons, the auto track.
  y=70
  for t in 全体 音声 効果音 音楽; do
    label 470 $((y + 15)) "$t"
    args+=(-fill '#0c1222' -draw "rectangle 560,$((y + 5)) 771,$((y + 10))")
    y=$((y + 36))
  done
  button 560 214 650 244 '試聴'
  button 670 214 772 244 '音量を戻す' 14
  label 470 287 'オート'
  args+=(-fill '#0c1222' -draw 'rectangle 560,277 749,282')
  # Preset rows (V200 … V202), three cells each.
  y=320
  for t in 組み合わせ１ 組み合わせ２ 組み合わせ３; do
    label 470 $((y + 22)) "$t"
    x=590
    for c in Ａ Ｂ Ｃ; do button "$x" "$y" $((x + 56)) $((y + 30)) "$c" 14; x=$((x + 62)); done
    y=$((y + 38))
  done
  button 420 540 540 576 '詳細設定'
  button 560 540 680 576 '初期設定'
  button 690 540 790 576 '閉じる'
  convert "${args[@]}" "$tmp/page.png"
}

page 0
name=CFG_N png "$tmp/page.png"
page 1
name=CFG_H png "$tmp/page.png"

# Knobs: a rounded plate, its mask following the corners.
convert -size 12x16 xc:black -fill '#f0e0b0' -stroke '#806030' -draw 'roundrectangle 0,0 11,15 3,3' "$tmp/c.png"
convert -size 12x16 xc:black -fill white -draw 'roundrectangle 0,0 11,15 3,3' "$tmp/m.png"
name=CFG_KNOB png "$tmp/c.png" "$tmp/m.png" +append
convert -size 10x20 xc:black -fill '#8fd0ff' -stroke '#305070' -draw 'roundrectangle 0,0 9,19 3,3' "$tmp/c.png"
convert -size 10x20 xc:black -fill white -draw 'roundrectangle 0,0 9,19 3,3' "$tmp/m.png"
name=CFG_AKNB png "$tmp/c.png" "$tmp/m.png" +append
