#pragma once
// Input as the window delivers it: mouse buttons, modifier state and virtual key codes.

namespace torvel {

enum class MouseButton { Left, Right, Middle };

struct ShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Virtual key codes as the scripts' platform defined them; hosts map their own keys to these.
namespace vk {
constexpr int Back = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12;  // Alt
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
// Letters and digits use their upper-case ASCII codes ('A'..'Z', '0'..'9').
}  // namespace vk

}  // namespace torvel
