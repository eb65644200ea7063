// Arbitrary `_config` bytes (lines split at NUL) through the configuration screen's layout: every
// control's area, the hit test at points taken from the input, and the slider arithmetic at the
// layout's own extremes. The auto knob must stay on its track and the speed within its range.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/game_config.h"
#include "screens/config_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == 0) {
      lines.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
      start = i + 1;
    }
  }
  const torvel::GameConfig config = torvel::ParseGameConfiguration(lines);
  const int probes[] = {INT_MIN, -1, 0, 1, 399, 799, INT_MAX, static_cast<int>(size) * 37};
  for (int code = 0; code <= torvel::config_code::kLast + 1; ++code) (void)torvel::ConfigControlRect(config, code);
  for (int x : probes) {
    for (int y : probes) (void)torvel::ConfigControlAt(config, x, y);
    for (int knob : {0, 1, 7, 2000, INT_MAX}) {
      const int v = torvel::SliderValue(config.CFG_VOL1[0], config.CFG_VOL_BAR[0], knob, x);
      if (v < -3000 || v > 0) __builtin_trap();
      (void)torvel::VolumeKnobX(config.CFG_VOL1[0], config.CFG_VOL_BAR[0], knob, x);
    }
    const int64_t width = std::max<int64_t>(0, int64_t{config.CFG_AUTO[2]} - config.CFG_AUTO[0]);
    const int offset = torvel::AutoKnobOffsetAt(config, x);
    const int snapped = torvel::AutoKnobOffsetForSpeed(config, x);
    if (offset < 0 || offset > width || snapped < 0 || snapped > width) __builtin_trap();
    const int speed = torvel::AutoSpeedForOffset(config, offset);
    if (speed < 1 || speed > std::max(config.SPD_MAX, 1)) __builtin_trap();
  }
  return 0;
}
