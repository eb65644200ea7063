#pragma once
// The click map: a choice made by clicking regions of the picture. The regions of every map are
// in the `map` table; `clickmap NAME` is followed by an option block like `select`'s, option i
// belonging to region i.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "graphics/bitmap.h"

namespace torvel {

// Region and option numbers run 1..31; index 0 is unused.
constexpr int kClickMapSlots = 31;
constexpr size_t kClickMapNameMax = 64;
// The "@N" timeout counts timer ticks, twenty a unit.
constexpr int kClickMapTicksPerUnit = 20;
// Colour regions take the pointer shape cursor + 29.
constexpr int kClickMapCursorBase = 29;

struct ClickRegion {
  enum class Kind {
    Plain,   // a rectangle with no look of its own
    Shown,   // "*": hovered, its rectangle comes from the parts picture
    Placed,  // "#": as "*", and a rectangle of the parts picture shown elsewhere
    Colour,  // "$RGB": wherever the parts picture has that colour
  };
  Kind kind = Kind::Plain;
  std::string name;
  Rect rect;    // corners in order; hit strictly inside
  Rect source;  // "#": the parts picture's rectangle (as given)
  Point destination;
  uint32_t key = 0;  // colour: 0xR0G0B0
  int cursor = 0;    // colour: the pointer shape is cursor + 29
  // From the option block.
  bool enabled = true;
  int branch = -1;  // where the option's body starts; -1: no option
};

struct ClickMapTable {
  std::string name;  // as found in the table
  int regionCount = 0;
  std::array<ClickRegion, kClickMapSlots + 1> regions;
};

// Finds the first map of a `map` table (NUL-ended lines) whose name starts with `name`, ignoring
// case, and reads its regions (at most 31). False when there is none.
bool FindClickMap(std::span<const uint8_t> table, std::string_view name, ClickMapTable& map);

// One region line of the table.
ClickRegion ParseClickRegion(std::string_view line);

// Whether the parts picture's pixel at (x, y) has a colour region's key in its upper four bits;
// points outside the picture have no colour.
bool ColourKeyAt(const Bitmap& parts, int x, int y, uint32_t key);

struct ClickMapState {
  bool active = false;
  ClickMapTable map;
  int selected = 0;
  int timeoutTicks = 0;
  int timeoutOption = 0;
  int shownCursor = 0;  // the cursor number of the colour region the pointer took its shape from
  int pointerShape = 0;
  Bitmap work;  // the hovered look
};

}  // namespace torvel
