#pragma once
// Where the text page's grid lies on the screen, for drawing a page again: window mode keeps the
// speaker's name in row 0 (drawn on the name plate) and places the rows inside the window; the
// full-screen page uses every row.
#include <algorithm>
#include <cstdint>

#include "graphics/text_page.h"
#include "resources/game_config.h"

namespace torvel {

struct TextGrid {
  int originX = 0;  // screen position of row 0, byte 0
  int originY = 0;
  int pitchX = 0;    // per byte
  int pitchY = 0;    // per row
  int columns = 0;   // bytes of each row drawn: the line length and two more, within the page
  int rows = 0;      // rows drawn, within the page
  int firstRow = 0;  // 1 in window mode, where row 0 holds the speaker
};

inline TextGrid TextGridOf(const GameConfig& c, int windowX, int windowY, bool full) {
  TextGrid g;
  if (full) {
    g = TextGrid{c.TX2_OFS_X, c.TX2_OFS_Y, c.TX2_PITCH_X, c.TX2_PITCH_Y, c.MOJI_MAX2_X, c.MOJI_MAX2_Y, 0};
  } else {
    g = TextGrid{windowX + c.TX_OFS_X, windowY + c.TX_OFS_Y, c.TX_PITCH_X, c.TX_PITCH_Y, c.MOJI_MAX_X, c.MOJI_MAX_Y, 1};
  }
  g.columns = static_cast<int>(std::clamp<int64_t>(int64_t{g.columns} + 2, 0, kPageColumns));
  g.rows = std::clamp(g.rows, 0, kPageRows);
  return g;
}

}  // namespace torvel
