#pragma once
// What the input handlers remember between events.
#include "graphics/bitmap.h"

namespace torvel {

// A handled click holds off the next one for this many idle frames; a choice is taken only once
// the count is back at 0, and the voice is stopped again only below kVoiceStopDebounce.
constexpr int kClickDebounceFrames = 5;
constexpr int kVoiceStopDebounce = 3;

struct InputState {
  int lastMouseX = 0;
  int lastMouseY = 0;
  // Screen position of the picture's top-left corner, refreshed on clicks and key presses.
  Point windowOrigin;
  bool hoverTracking = false;
  bool wheelBusy = false;
};

}  // namespace torvel
