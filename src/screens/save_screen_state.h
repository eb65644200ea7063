#pragma once
// The in-game save and load screen's state: its mode and page, what the page shows, and its
// pictures (made on the first opening and kept for the run).
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

constexpr int kSaveItemReturn = 120;
constexpr int kSaveItemPageBase = 100;

struct SaveScreenState {
  int mode = 0;            // 0 load, 1 save
  int page = 0;            // starts at 0 and persists for the run
  int hovered = 0;         // 0 none, 1..n a position, 100 + p a page button, 120 the return button
  std::vector<bool> used;  // one per position of the page
  int listSlot = 1;        // the list window's selected slot, kept from one showing to the next
  bool created = false;
  bool hasPlates = false;
  Bitmap background;
  Bitmap highlighted;
  Bitmap canvas;  // the highlighted background with highlighted plates and texts drawn on it
  Bitmap plate;
  Bitmap plateHighlighted;
  // The banner's panel picture (colour above, mask below), loaded on its first use.
  bool panelLoaded = false;
  Bitmap panel;
};

}  // namespace torvel
