#pragma once
// The player's settings, kept in the per-user settings store under the key path MAKER_REG and
// the section GAME_ID, one member per stored value, named by it. ReadSettings fills them at
// start-up; afterwards the engine state is what counts and the screens that change a setting
// write it back with WriteSetting.
#include <array>
#include <string>

namespace torvel {

constexpr int kSoundEffectCategories = 5;  // SE0 .. SE4

struct PlayerSettings {
  int Left = 0, Top = 0;  // main window position on the screen
  int BGM_ENA = 1;
  int SE_ENA = 1;
  int Delay = 0;  // non-zero: a whole line at once instead of character by character
  int GMode = 0;  // non-zero: every transition is a cut
  int SMode = 0;  // display mode: 0 window, 1 full screen, 2 borderless window at (0, 0)
  int Clear = 0;  // completed games, also in S100
  int Seen = 1;
  int BreakonSelect = 1;
  int MemorySaveMode = 0;
  std::string FontName;
  int DirectSoundGlobal = 0;
  int AnimQuality = 0;
  int RC_MODE = 0;
  int WHEEL_MODE = 0;
  int CS_SWAP = 0;
  int EFX_CUT = 1;
  int CONFIG_MODE = 0;
  int DatePanel = 1;  // also in S050
  int TXWStyle = 1;   // also in S051
  int CV_THROUGH = 0;
  int CV1 = 1, CV2 = 1;
  std::array<int, kSoundEffectCategories> SE{1, 1, 1, 1, 1};  // SE[d] is the value SEd
  int Vol1 = 0, Vol2 = 0, Vol3 = 0, Vol4 = 0;                 // slider units, -3000 .. 0
  int FONTAA = 0;
  int FONTSIZE = 0;
  int FONTBold = 0;
  std::string PlayerName, PlayerName2, PlayerName3;  // Shift-JIS, at most 63 bytes
  int LastSaveSlot = 0;
  int TXBG_R = 0, TXBG_G = 0, TXBG_B = 0, TXBG_A = 0, TXBG_A2 = 0;  // 0 .. 255
  // The window's size: 1 or 2 times the picture, 0 fitted to a window the player sizes; and
  // whether full screen and the fitted window enlarge by whole factors only.
  int WindowScale = 1;
  int IntegerScaling = 0;
};

}  // namespace torvel
