#pragma once
// The configuration screen's own state while it is open. `ctl.configScreenOpen` says whether it is.
#include "graphics/bitmap.h"

namespace torvel {

struct ConfigScreen {
  int hover = 0;           // control code under the pointer, 0 none
  int drag = 0;            // 0 none, 1 … 4 a volume bar, 5 the auto knob
  int lastDragValue = 0;   // the last slider value of the bar being dragged
  int autoKnobOffset = 0;  // the auto knob's left edge from the track's left, in pixels
  Bitmap savedScreen;      // the game's screen buffer, put back on closing
  Bitmap source;           // the game's picture under the opening and closing squeeze
  Bitmap normal, highlighted, volumeKnob, autoKnob;
};

}  // namespace torvel
