#pragma once
// The destination table `mapctrl` of the title map: one section per chapter, headed ":<chapter>",
// each line "area,caption,value[,flag]".
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

constexpr int kMapAreas = 5;
constexpr int kMaxDestinations = 4;  // entries listed per area

struct MapDestination {
  std::string caption;  // Shift-JIS
  int value = 0;
};

// Index 1..5 by area; index 0 stays empty.
using MapDestinations = std::array<std::vector<MapDestination>, kMapAreas + 1>;

struct MapSection {
  bool found = false;
  MapDestinations destinations;
};

// Reads the section of `chapter` from the table's text (lines ended by NUL). It is absent when no
// line reads ":<chapter>" (compared upper-cased) or a ":END" line comes first. Its lines run to
// the next line starting with ":"; empty lines are skipped, and so are lines whose area is not
// 1–5, entries past the fourth of an area, and entries whose flag number is given while
// `flagSet` says that flag is not set.
MapSection ReadMapSection(std::string_view table, int chapter, const std::function<bool(int)>& flagSet);

}  // namespace torvel
