#pragma once
// The display mode as it stands: exclusive full screen, the borderless window, the place the
// window had before either, and which of the window's bars show.
#include "platform/host.h"

namespace torvel {

struct DisplayState {
  bool fullScreen = false;   // full screen by SMode 1, until left
  bool borderless = false;   // either full-screen kind took the frame away
  bool menuBar = true;       // hidden in both full-screen kinds
  bool toolBar = false;      // the full-screen tool bar, shown near the top edge
  WindowBounds savedBounds;  // the bordered window's place before full screen
};

}  // namespace torvel
