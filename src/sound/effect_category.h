#pragma once
// Effects named "SEHd…" belong to category d, which the setting SEd switches off and on.
#include <string>
#include <string_view>

#include "resources/player_settings.h"

namespace torvel {

// True when the effect's category is switched off; `upper` is the upper-cased name.
inline bool CategoryMuted(const PlayerSettings& settings, std::string_view upper) {
  constexpr std::string_view kCategoryPrefix = "SEH";
  if (upper.size() < kCategoryPrefix.size() + 1 || upper.substr(0, kCategoryPrefix.size()) != kCategoryPrefix) {
    return false;
  }
  const int category = upper[kCategoryPrefix.size()] - '0';
  return category >= 0 && category < kSoundEffectCategories && settings.SE[static_cast<size_t>(category)] == 0;
}

}  // namespace torvel
