#pragma once
// The developer controls' watch list: variables and flags named as the scripts name them (V, S,
// E or F and three digits), shown with their values.
#include <optional>
#include <string>
#include <string_view>

#include "script/variables.h"

namespace torvel {

// The values are refreshed on every this many ticks of the main timer while the list is enabled.
inline constexpr int kWatchRefreshTicks = 16;

struct WatchEntry {
  char kind = 'V';  // 'V', 'S', 'E' or 'F'
  int index = 0;    // 0..999
};

// "V001", "s028" …: the entry, or nothing for any other text (blanks around it are allowed).
std::optional<WatchEntry> ParseWatchEntry(std::string_view text);
// "V001 = 5"; flags read 0 or 1.
std::string FormatWatch(const WatchEntry& entry, const VarStore& vars);

}  // namespace torvel
