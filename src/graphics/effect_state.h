#pragma once
// What the screen effects keep between commands: the comic-symbol mark and the looping
// background animation. Both show on the window until the next composition of the screen.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

// Comic-symbol marks: mode 0 drawn once, 1 also into the screen buffer, 2 blinking.
constexpr int kMarkBlinking = 2;

struct ComicMark {
  bool active = false;
  int mode = 0;
  int x = 0;
  int y = 0;
  Bitmap picture;  // colour left, mask right
  Bitmap clean;    // the screen's region under the mark
  Bitmap marked;   // that region with the mark over it
};

constexpr int kBackgroundFrames = 32;
constexpr int kBackgroundSequence = 128;

struct BackgroundFrame {
  Bitmap picture;     // 800 × 600
  Bitmap under;       // the clean picture where the text window and its plate lie
  Bitmap windowed;    // the text window composed over this frame (on-screen part)
  Bitmap cleanPlate;  // what lies under the name plate, window included
  std::string name;   // the picture last loaded into it; empty when none loaded
};

struct BackgroundAnimation {
  std::vector<BackgroundFrame> frames;  // up to kBackgroundFrames, kept between animations
  int count = 0;                        // frames in play; 0: no animation
  std::vector<int> sequence;            // frame numbers in play order
  int position = 0;
  int delay = 1;  // idle frames per step
  bool offsets = false;
  Rect underArea;             // where `under` was taken from
  bool windowPasted = false;  // the frames carry the text window
};

struct EffectState {
  ComicMark mark;
  BackgroundAnimation bgAnim;
};

// The running or last animation played by `anim` or `animq`, as the state report shows it.
struct AnimationStatus {
  std::string name;
  bool playing = false;
  bool enlarged = false;
  int64_t frame = -1;  // the frame being shown; -1 when none plays
  int drawn = 0;       // pictures drawn
  int dropped = 0;     // patch frames passed over after a catch-up
};

}  // namespace torvel
