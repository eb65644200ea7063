#pragma once
// The screens made for one game that runs on the engine: the destination map (`map`), the status
// screen of a quick button, and the day panel in the corner of the story's picture.
#include <array>
#include <climits>
#include <string>

#include "graphics/bitmap.h"
#include "scenes/map_table.h"

namespace torvel {

// The destination map: pick a destination from an area's list, then a second, then confirm.
struct TitleMap {
  int step = 0;      // 0 closed; 1 first destination, 2 second, 3 confirmation
  int listArea = 0;  // the area whose list is open; 0 none
  int area = 0;      // the hovered area (list closed)
  int row = 0;       // the hovered list row + 1; 0 none
  int button = 0;    // the hovered button of the confirmation: 1 OK, 2 return
  int chapter = 1;
  std::string first;  // Shift-JIS captions of the two chosen destinations
  std::string second;
  int firstFlag = -1;  // their F flags, set when the choice is confirmed
  int secondFlag = -1;
  MapDestinations destinations;

  Bitmap map;     // the town map with the rank plate: the base look
  Bitmap mapLit;  // the same with every area highlighted
  Bitmap hitMap;  // the colours that tell the areas apart
  Bitmap confirm, choice, listRow, listRowLit, ok, okLit, back, backLit;
  std::array<Bitmap, kMapAreas + 1> plates;  // label plates by area
  std::array<Bitmap, kMapAreas + 1> masks;   // area masks by area
  Bitmap strip;                              // the map under the choice strip, as it was when the map opened
  Bitmap highlight;                          // every control of the current look in its highlighted form
};

// The status screen: the player's rank, the winners day by day and a gauge.
struct StatusScreen {
  Bitmap base, gauge, today;
  std::array<Bitmap, 11> winners;  // "st_wnr%02d" for 1–10
  std::array<Bitmap, 5> ranks;     // "st_rank%d" for 1–4
  Bitmap kept;                     // the picture the screen covers, put back when it closes
  // The day panel last loaded, by its day: a panel is read from the archives only when the day
  // changes.
  Bitmap dayPanel;
  int dayPanelDay = INT_MIN;
};

}  // namespace torvel
