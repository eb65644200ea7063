#pragma once
// The three ways of looking back: the backlog screen over the darkened scene, the page-history
// view of earlier pages, and the hidden message window. Only the backlog's text and the page
// ring are story state (text.backlog, pageHistory); everything here lives while a view is shown.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/small_text.h"

namespace torvel {

// Rows a backlog may show: the most lines the backlog text ever holds.
constexpr int kBacklogRowsMax = 200;

enum class BacklogButton { None = 0, Up = 1, Down = 2, Knob = 3 };

// The skin pictures, loaded when the backlog opens and freed when it closes. A picture that
// could not be loaded stays empty and its element is not drawn.
struct BacklogSkins {
  Bitmap bar;       // sys_bl_bar: colour and mask side by side
  Bitmap knob;      // sys_bl_cur: side by side
  Bitmap voice;     // sys_bl_VR1: colour over mask
  Bitmap voiceLit;  // sys_bl_VR2
  Bitmap up;        // sys_bl_up1: side by side
  Bitmap upLit;     // sys_bl_up2
  Bitmap down;      // sys_bl_down1
  Bitmap downLit;   // sys_bl_down2
};

struct BacklogScreen {
  int scroll = 0;  // lines moved back from the newest: 0..max(0, lines − rows)
  int rows = 0;    // LOG_LINES within 0..200
  int pitch = 0;
  int originX = 0;
  int originY = 0;
  int track = 0;                    // the knob's travel: the track's height less the knob's
  std::vector<std::string> voices;  // the voice of each visible row, "" for none
  BacklogButton button = BacklogButton::None;
  int repeat = 0;        // frames an arrow has been held, counting from 1
  int hoveredArrow = 0;  // 0 none, 1 up, 2 down
  int hoveredVoice = 0;  // the row whose voice icon the pointer is over
  Bitmap darkened;       // the scene × 40/256 with the bar and arrows drawn on it
  Bitmap canvas;         // the screen buffer with the highlights, for the window alone
  BacklogSkins skins;
  GlyphStrike strike;  // the log font's glyphs while the backlog is open
};

// What the page-history view shows and what it puts back when it is left.
struct PageHistoryView {
  int position = 0;  // p: 2..50 while shown, 0 otherwise
  int slot = -1;     // the ring slot shown
  int32_t displayMode = 0;
  std::string backgroundName;
  std::string spriteSpec;
  std::array<int32_t, 20> spriteLayout{};  // S080–S099
};

struct BacklogViews {
  BacklogScreen screen;
  PageHistoryView pages;
  Bitmap hiddenWindowScreen;  // the screen buffer while the message window is hidden
};

}  // namespace torvel
