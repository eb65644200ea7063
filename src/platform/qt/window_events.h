#pragma once
// What the main window reports to its host: input on the picture, already in picture
// coordinates (800×600) and virtual key codes, and the window's own requests.
#include "shell/input_events.h"

namespace torvel {

class WindowEvents {
 public:
  virtual ~WindowEvents() = default;

  virtual void PictureMouseMove(ShiftState shift, int x, int y) = 0;
  virtual void PictureMouseDown(MouseButton button, ShiftState shift, int x, int y) = 0;
  virtual void PictureMouseUp(MouseButton button, ShiftState shift, int x, int y) = 0;
  // delta > 0: the wheel turned away from the player (120 per notch).
  virtual void PictureWheel(ShiftState shift, int delta) = 0;
  virtual void WindowKeyDown(int key, ShiftState shift) = 0;
  virtual void WindowKeyUp(int key, ShiftState shift) = 0;
  // One Shift-JIS byte of typed text.
  virtual void WindowKeyPress(char c) = 0;
  // The player pressed the window's close button.
  virtual void WindowCloseRequested() = 0;
  // The window came on screen (shown or restored) and should be painted from the engine.
  virtual void WindowShown() = 0;
  // The window left full screen without the engine asking (the window system took it away).
  virtual void WindowLeftFullScreen() {}
};

}  // namespace torvel
