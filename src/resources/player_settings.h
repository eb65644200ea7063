#pragma once
// The player's settings, kept in the per-user settings store under MAKER_REG and GAME_ID.
#include <string>

namespace torvel {

struct PlayerSettings {
  int Clear = 0;
  std::string PlayerName;
  std::string PlayerName2;
  std::string PlayerName3;
};

}  // namespace torvel
