#!/bin/sh
# Makes the demo's sounds from nothing: two looping music tracks (plucked chords), a one-shot
# chime, a looping wind, the save and load sounds and three voiced lines (espeak-ng), as WAVE files
# in the source tree's folders bgm, se0, se2 and ogg1 under WORK_DIR (`tvx build` encodes them).
# Usage: make_sounds.sh WORK_DIR
set -eu
work=$1
rm -rf "$work"
mkdir -p "$work/bgm" "$work/se0" "$work/se2" "$work/ogg1" "$work/tmp"
t=$work/tmp
rate=22050

# Music: an A major chord as the intro, then F, C, G, A repeated from the loop point at 2 s.
chord() {
  sox -n -r $rate -c 1 -b 16 "$t/$1.wav" synth 2 pluck "$2" pluck mix "$3" pluck mix "$4" gain -8
}
chord a 220 277.18 329.63
chord f 174.61 220 261.63
chord c 130.81 164.81 196
chord g 196 246.94 293.66
sox "$t/a.wav" "$t/f.wav" "$t/c.wav" "$t/g.wav" "$t/a.wav" -c 2 "$t/music.wav"
cp "$t/music.wav" "$work/bgm/M01.wav"
echo 2 >"$work/bgm/M01.loop"
# A second track for the music room: D minor, B flat, C, D minor, looping from the start.
chord dm 146.83 174.61 220
chord bb 116.54 146.83 174.61
sox "$t/dm.wav" "$t/bb.wav" "$t/c.wav" "$t/dm.wav" -c 2 "$t/music2.wav"
cp "$t/music2.wav" "$work/bgm/M02.wav"

# Effects: a two-note chime at the ticket gate, and wind that loops.
sox -n -r $rate -c 1 -b 16 "$t/hi.wav" synth 0.25 sine 1046.5 fade 0 0.25 0.1 gain -10
sox -n -r $rate -c 1 -b 16 "$t/lo.wav" synth 0.6 sine 784 fade 0 0.6 0.5 gain -10
sox "$t/hi.wav" "$t/lo.wav" "$t/chime.wav"
cp "$t/chime.wav" "$work/se0/SEH1_GATE.wav"
sox -n -r $rate -c 1 -b 16 "$t/wind.wav" synth 3 pinknoise lowpass 600 gain -20
cp "$t/wind.wav" "$work/se2/WIND.wav"

# System sounds: a short click when a game is saved, a rising pair of notes when one is loaded.
sox -n -r $rate -c 1 -b 16 "$t/save.wav" synth 0.12 sine 1318.5 fade 0 0.12 0.08 gain -12
cp "$t/save.wav" "$work/se0/SSE05.wav"
sox -n -r $rate -c 1 -b 16 "$t/load1.wav" synth 0.1 sine 659.3 fade 0 0.1 0.05 gain -12
sox -n -r $rate -c 1 -b 16 "$t/load2.wav" synth 0.18 sine 987.8 fade 0 0.18 0.12 gain -12
sox "$t/load1.wav" "$t/load2.wav" "$t/load.wav"
cp "$t/load.wav" "$work/se0/SSE06.wav"
# The backlog opening: a soft falling note.
sox -n -r $rate -c 1 -b 16 "$t/backlog.wav" synth 0.15 sine 880:660 fade 0 0.15 0.1 gain -14
cp "$t/backlog.wav" "$work/se0/SSE09.wav"
# The configuration screen's opening: two quick rising notes.
sox -n -r $rate -c 1 -b 16 "$t/cfg1.wav" synth 0.08 sine 784 fade 0 0.08 0.04 gain -14
sox -n -r $rate -c 1 -b 16 "$t/cfg2.wav" synth 0.12 sine 1174.7 fade 0 0.12 0.08 gain -14
sox "$t/cfg1.wav" "$t/cfg2.wav" "$t/config.wav"
cp "$t/config.wav" "$work/se0/SSE07.wav"

# Voices.
voice() {
  espeak-ng -v ja -s 140 -w "$work/ogg1/$1.wav" "$2"
}
voice V0001 "改札を抜けると、冷たい風が頬をなでた。"
voice V0002 "ここで体験版はおしまいです。"
# The showcase's voice started from inside a text line.
voice V0003 "声も、文字の中から出せます。"
# The configuration screen's voice test.
voice SAMPLECV "音声の大きさは、このくらいでいかがですか。"
