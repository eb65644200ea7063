// Arbitrary `_config` bytes, split into lines at NUL as the script loader does, through the
// configuration reader.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "resources/game_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == 0) {
      lines.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
      start = i + 1;
    }
  }
  torvel::GameConfig config = torvel::ParseGameConfiguration(lines);
  // What later code relies on after reading. SPD_MAX stays as the game gives it; its users guard it.
  if (config.SELECT_Y_PITCH < 1 || config.CLICK_WAIT_PAT < 1 || config.SPD_DOT_SIZE < 1 ||
      config.SV_POS.size() > torvel::kSavePositionMax || config.SV_PAGE_POS.size() > torvel::kSavePagePositionMax ||
      config.CLICK_WAIT_TIMING < 0 || config.CLICK_WAIT_TIMING > 30 || config.DEFAULT_NAME.size() > 63 ||
      config.NAME[0].defined) {
    __builtin_trap();
  }
  return 0;
}
