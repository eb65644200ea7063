#pragma once
// The state of the staff rolls. A roll runs as a loop inside its command; the frame loop, the
// timer, a click and a close request reach it only through this state.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

enum class RollKind { None, Page, Slide };

// A page roll: blocks of text over a background inside a rectangle, on a resettable clock.
struct PageRoll {
  // The text rectangle; it may reach past the screen or be empty.
  int x1 = 200;
  int y1 = 200;
  int x2 = 600;
  int y2 = 600;
  int fontSize = 32;
  bool centreVertically = true;
  int alignment = 1;  // 0 left, 1 centre, 2 right
  std::vector<std::string> block;
  bool afterCommand = true;  // the next text line starts a new block
  // Unset until the first RESET, HOOK or WAIT: a WAIT before them ends at once.
  std::optional<uint32_t> clockBase;
  Bitmap text;  // the part of the rectangle that lies on the screen
};

// A slide roll: full-screen pictures and pages cross-faded between two buffers, on one clock
// that starts with the roll.
struct SlideRoll {
  Bitmap a;
  Bitmap b;
  Bitmap load;      // the picture of the last "@GRA"
  int current = 0;  // the buffer the last picture or page was built in: 0 A, 1 B
  uint32_t start = 0;
  uint32_t fadeStart = 0;
  int64_t waited = 0;  // the summed "@WAIT" values, in 100 ms
  int originX = 200;
  int originY = 100;
  int textWidth = 400;
  int textHeight = 200;
  int fontSize = 20;
  int pitch = 16;
  int linePitch = 40;
  std::vector<std::string> lines;
};

struct StaffRoll {
  RollKind kind = RollKind::None;
  bool paused = false;   // the quit question is open
  bool aborted = false;  // the player quit (or clicked a slide roll)
  // Kept from roll to roll, 0 at program start: a slide roll that never sets its darkness shows
  // its pictures black, and a fade left running by an aborted roll is finished by the next one.
  int darkness = 0;
  int fadeSpeed = 0;          // milliseconds per 1/256 of the slide fade; 0 none running
  bool fadeStepping = false;  // the fade step is never entered twice
  PageRoll page;
  SlideRoll slide;
};

}  // namespace torvel
