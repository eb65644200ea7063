#pragma once
// Qt's keys and modifiers in the engine's terms.
#include <Qt>

#include "shell/input_events.h"

namespace torvel {

// The virtual key code for a Qt key, or 0 when the engine has no code for it.
int VirtualKeyFromQt(int qtKey);

ShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers);

}  // namespace torvel
