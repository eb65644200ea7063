#pragma once
// Recollection: the scene table read from `sys_flashbak` at start-up, and the screen that replays
// seen scenes, alone or as the play lists of the record slots.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "scenes/cg_viewer.h"
#include "screens/recollection_records.h"

namespace torvel {

constexpr int kRecollectionTabRows = 8;
constexpr int kRecollectionTabPages = 8;
constexpr int kRecollectionTabs = 5;  // tabs on the screen, and remembered pages
constexpr int kRecollectionCells = 150;
constexpr int kRecollectionPageLines = 149;
constexpr int kRecordUsedEntries = 25;

// Highlight codes.
constexpr int kRecollectionEntryBase = 200;
constexpr int kRecollectionButtonBase = 300;
constexpr int kRecollectionSlotBase = 400;

struct RecollectionTable {
  bool loaded = false;
  // Parallel lists by line number: the kept line or the scene's title, and the scene's script
  // (empty for labels, headers and the end line).
  std::vector<std::string> titles;
  std::vector<std::string> scripts;
  std::array<std::array<std::string, kRecollectionTabPages>, kRecollectionTabRows> pages;
  std::array<int, kRecollectionTabRows> pageCounts{};
  int tabCount = 0;
};

// Reads `sys_flashbak` (NUL-ended lines).
RecollectionTable ParseRecollectionTable(std::span<const uint8_t> table);

// The line of the scene table a script name enters (first match), and the header line above it
// that unlocks with it; -1 when there is none.
struct RecollectionUnlock {
  int line = -1;
  int header = -1;
};
RecollectionUnlock FindRecollectionUnlock(const RecollectionTable& table, std::string_view upperName);

// A play list entry is a scene line of the table: in range and with a script.
bool IsRecollectionScene(const RecollectionTable& table, int line);

struct RecollectionScreen {
  RecollectionTable table;
  bool open = false;
  int tab = 0;
  std::array<int, kRecollectionTabs> pages{};
  int slot = 0;
  std::array<int, kRecollectionCells> cells{};
  int highlight = 0;
  // Dragging: 0 none, 1 a cell, 2 a record entry.
  int dragKind = 0;
  int dragIndex = 0;
  int dragLine = 0;
  Point labelPos;
  Point grab;
  int countdown = 0;
  int preview = 0;  // 0 idle, 1 running, 2 stop requested
  std::array<int32_t, kRecordPlayListLength> queue{};
  int position = 0;
  SavedScriptPosition saved;
  Bitmap background, highlighted, pageStrip, label, panel;
  Bitmap window;  // what the window shows: the screen buffer with highlights and the drag label
};

}  // namespace torvel
