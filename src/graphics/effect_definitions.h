#pragma once
// The definition file "effect": named entries of flashes, colour fills, tints, negatives and
// window movements that the `effect` command plays step by step.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace torvel {

constexpr int kMaxEffectSteps = 200;

enum class EffectStepKind {
  Screen,      // the screen picture
  Fill,        // the window filled with one colour
  Tint,        // the screen picture tinted with a colour at an opacity
  Negative,    // every byte of the screen picture turned over
  MoveWindow,  // the main window moved from its starting place
};

struct EffectStep {
  EffectStepKind kind = EffectStepKind::Screen;
  int duration = 0;  // milliseconds; the player counts anything below 1 as 1
  uint8_t b = 0, g = 0, r = 0;
  int opacity = 0;   // Tint: 0..255
  int x = 0, y = 0;  // MoveWindow: offset from the starting place
};

// The steps of entry NAME (upper case) of the file's bytes (lines ended by NUL): the lines after
// ":NAME" up to the next line that starts with ":", each upper-cased. Lines starting with "F",
// "N" or "S" add steps, other lines nothing; at most kMaxEffectSteps. Empty when the entry is
// missing.
std::vector<EffectStep> ReadEffectEntry(std::span<const uint8_t> file, std::string_view upperName);

}  // namespace torvel
