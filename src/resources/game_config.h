#pragma once
// The values of the game's `_config` script, one member per key.
#include <string>

namespace torvel {

struct GameConfig {
  std::string TITLE;  // window caption
};

}  // namespace torvel
