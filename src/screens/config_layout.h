#pragma once
// Where the configuration screen's controls lie, from the game's CFG_ keys, and the arithmetic of
// its sliders. Pure: the screen (screens/config_screen.cpp) feeds it the layout and the pointer.
#include <array>

#include "graphics/bitmap.h"
#include "resources/game_config.h"

namespace torvel {

// Control codes, as the state report and the click actions number them.
namespace config_code {
constexpr int kWindow = 1, kFullScreen = 2, kTransitionsNormal = 3, kTransitionsCut = 4;
constexpr int kTextPerChar = 5, kTextWhole = 6, kSkipStops = 7, kSkipGoesOn = 8;
constexpr int kDetail = 9, kClose = 10, kFirstVolumeBar = 11, kVoiceTest = 15, kVolumeDefault = 16;
constexpr int kWheelPageBack = 17, kWheelBacklog = 18, kAutoTrack = 19, kFirstRightClick = 20;
constexpr int kFirstEffectCategory = 25, kFirstSound = 30, kFirstPreset = 34, kDefaults = 43, kFirstVoice = 44;
constexpr int kLast = 45;
}  // namespace config_code

// Every code in the order the pointer is tested; the first hit wins.
inline constexpr std::array<int, 45> kConfigHitOrder = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 15, 16, 43, 17, 18,
                                                        11, 12, 13, 14, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
                                                        30, 31, 32, 33, 34, 37, 40, 35, 38, 41, 36, 39, 42, 44, 45};

// The area of control `code` (1 … 45); empty for a code without one or a control the game left
// out. Coordinates are kept within ±2^20 so that no sum below overflows.
Rect ConfigControlRect(const GameConfig& config, int code);
// The control under (x, y), 0 for none.
int ConfigControlAt(const GameConfig& config, int x, int y);

// A volume bar's slider value (−3000 … 0) for a press at x.
int SliderValue(int barX, int length, int knobWidth, int x);
// A volume knob's left edge for an engine volume (clamped to −7500 … 0).
int VolumeKnobX(int barX, int length, int knobWidth, int engineVolume);

// The auto-speed track: an offset for a speed (the knob snapped to its step), the offset the
// pointer asks for, and the speed an offset gives. A SPD_MAX of 0 or 1 or a track narrower than
// SPD_MAX pixels divides by at least 1; the knob stays on the track and the speed in
// 1 … max(SPD_MAX, 1).
int AutoKnobOffsetForSpeed(const GameConfig& config, int speed);
int AutoKnobOffsetAt(const GameConfig& config, int x);
int AutoSpeedForOffset(const GameConfig& config, int offset);

}  // namespace torvel
