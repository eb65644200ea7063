#pragma once
// Where the save and load screen's parts lie, from the game's configuration, clipped to the
// 800 × 600 picture.
#include <algorithm>
#include <cstdint>

#include "graphics/bitmap.h"
#include "graphics/layers.h"
#include "resources/game_config.h"

namespace torvel {

// The w × h rectangle at (x, y) clipped to the picture; empty when nothing of it is inside.
inline Rect ClippedScreenRect(int64_t x, int64_t y, int64_t w, int64_t h) {
  const int64_t left = std::clamp<int64_t>(x, 0, kScreenWidth), top = std::clamp<int64_t>(y, 0, kScreenHeight);
  const int64_t right = std::clamp<int64_t>(x + w, 0, kScreenWidth);
  const int64_t bottom = std::clamp<int64_t>(y + h, 0, kScreenHeight);
  return Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}

inline bool RectHolds(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

inline Rect SaveSlotRect(const GameConfig& config, int position) {
  const size_t i = 2 * static_cast<size_t>(position);
  return ClippedScreenRect(config.SV_POS[i], config.SV_POS[i + 1], config.SV_SLOT_SIZE[0], config.SV_SLOT_SIZE[1]);
}

inline Rect SavePageRect(const GameConfig& config, int page) {
  const size_t i = 2 * static_cast<size_t>(page);
  return ClippedScreenRect(config.SV_PAGE_POS[i], config.SV_PAGE_POS[i + 1], config.SV_PAGE_SIZE[0],
                           config.SV_PAGE_SIZE[1]);
}

// SV_RETURN holds two corners; x1 ≤ x < x2 and y1 ≤ y < y2.
inline Rect SaveReturnRect(const GameConfig& config) {
  const ConfigRect& r = config.SV_RETURN;
  return ClippedScreenRect(r[0], r[1], int64_t{r[2]} - r[0], int64_t{r[3]} - r[1]);
}

}  // namespace torvel
