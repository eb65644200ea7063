#pragma once
// The player's settings, kept in the per-user settings store under MAKER_REG and GAME_ID.
#include <string>

namespace torvel {

struct PlayerSettings {
  int Clear = 0;
  int Seen = 1;           // skip mode stops at unread text
  int BreakonSelect = 1;  // skip and auto mode stop at choices and screens
  int EFX_CUT = 1;        // effects marked as cuttable are skipped in skip mode
  std::string PlayerName;
  std::string PlayerName2;
  std::string PlayerName3;
};

}  // namespace torvel
