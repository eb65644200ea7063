#pragma once
// The values of the game's `_config` script, one member per key.
#include <string>

namespace torvel {

struct GameConfig {
  std::string TITLE;         // window caption
  std::string DEFAULT_NAME;  // default player names; a name that differs sets S006
  std::string DEFAULT_NAME2;
  std::string DEFAULT_NAME3;
  int TACHI_TYPE = 0;  // 1: sprite pictures carry their mask in their right half
};

}  // namespace torvel
