#include "platform/qt/key_map.h"

namespace torvel {

int VirtualKeyFromQt(int qtKey) {
  // Qt's codes for letters and digits are their upper-case ASCII codes, as the virtual keys are.
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Backspace: return vk::Back;
    // Shift+Tab arrives as Backtab; the engine sees Tab with Shift held.
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    default: return 0;
  }
}

ShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers) {
  ShiftState s;
  s.shift = modifiers.testFlag(Qt::ShiftModifier);
  s.ctrl = modifiers.testFlag(Qt::ControlModifier);
  s.alt = modifiers.testFlag(Qt::AltModifier);
  return s;
}

}  // namespace torvel
