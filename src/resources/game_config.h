#pragma once
// The values of the game's `_config` script, one member per key, named by the key. Before the
// script is read every value is 0 or empty; a key the game leaves out keeps that, except for
// the few values later code divides by, which FinishGameConfiguration raises to a safe minimum.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

constexpr int kSpeakerCount = 59;            // entries 1..59 of the speaker table
constexpr int kQuickButtonCount = 19;        // QB_MS .. QB_S7
constexpr size_t kSavePositionMax = 200;     // SV_POS numbers (100 slots)
constexpr size_t kSavePagePositionMax = 20;  // SV_PAGE_POS numbers (10 pages)
constexpr uint32_t kSpeakerDefaultColour = 0xFFFFFF;

// The quick-button keys in button order: index i of GameConfig::QB belongs to kQuickButtonKeys[i].
inline constexpr std::array<std::string_view, kQuickButtonCount> kQuickButtonKeys = {
    "QB_MS", "QB_AT", "QB_WC", "QB_QS", "QB_QL", "QB_BL", "QB_VR", "QB_CF", "QB_M1", "QB_M2",
    "QB_A+", "QB_A-", "QB_S1", "QB_S2", "QB_S3", "QB_S4", "QB_S5", "QB_S6", "QB_S7"};

struct QuickButtonConfig {
  int type = 0;  // 0 absent, 1 on the text window, 2 on the screen
  int w = 0, h = 0, x = 0, y = 0, sx = 0, sy = 0;
};

struct SpeakerEntry {
  bool defined = false;
  std::string name;     // Shift-JIS, compared exactly with speaker lines
  uint32_t colour = 0;  // 0xBBGGRR
};

using ConfigRect = std::array<int, 4>;
using ConfigPair = std::array<int, 2>;
using ConfigNames = std::array<std::string, 2>;

struct GameConfig {
  std::string TITLE;
  std::string MAKER_REG;  // key path of the player settings, such as "Software\Grevholt"
  std::string GAME_ID;    // section of the player settings within that key
  std::string DEFAULT_NAME, DEFAULT_NAME2, DEFAULT_NAME3;

  // Text window.
  int TXW_OFS_X = 0, TXW_OFS_Y = 0, TXW_OFS_Y2 = 0, TXW_SIZE_X = 0, TXW_SIZE_Y = 0;
  int TXW_COLOR_R = 0, TXW_COLOR_G = 0, TXW_COLOR_B = 0, TXW_ALPHA = 0, TXW_ALPHA2 = 0;
  std::string FONT_NAME;
  int FONT_SIZE = 0;

  // Choices.
  int SELECT_Y_POS = 0, SELECT_Y_PITCH = 0, SELECT_EXPAND = 0, SELECT_TXT_OY = 0;

  // Click-wait icon.
  int CLICK_WAIT_OFS_X = 0, CLICK_WAIT_OFS_Y = 0, CLICK_WAIT_SIZE_X = 0, CLICK_WAIT_SIZE_Y = 0;
  int CLICK_WAIT_PAT = 0, CLICK_WAIT_TIMING = 0;

  // Name plate.
  int NP_OFS_X = 0, NP_OFS_Y = 0, NP_SZ_X = 0, NP_SZ_Y = 0, NP_TYPE = 0;

  // Text layout in the window and in full-screen text mode.
  int TX_OFS_X = 0, TX_OFS_Y = 0, TX_PITCH_X = 0, TX_PITCH_Y = 0, MOJI_MAX_X = 0, MOJI_MAX_Y = 0;
  int TX2_OFS_X = 0, TX2_OFS_Y = 0, TX2_PITCH_X = 0, TX2_PITCH_Y = 0, MOJI_MAX2_X = 0, MOJI_MAX2_Y = 0;

  // Defaults of the volume settings, in slider units.
  int VOLUME1 = 0, VOLUME2 = 0, VOLUME3 = 0, VOLUME4 = 0;
  int TACHI_TYPE = 0;

  // Configuration screen.
  ConfigNames CFG_GRA;
  ConfigRect CFG_WM_WIN{}, CFG_WM_FULL{}, CFG_GM_NORMAL{}, CFG_GM_FAST{}, CFG_TM_NORMAL{}, CFG_TM_FAST{};
  ConfigRect CFG_MS_STOP{}, CFG_MS_NONE{}, CFG_MW_SCENE{}, CFG_MW_LOG{}, CFG_CLOSE{}, CFG_DETAIL{}, CFG_DEFAULT{};
  ConfigPair CFG_VOL_BAR{};
  std::string CFG_VOL_KNOB;
  ConfigPair CFG_VOL1{}, CFG_VOL2{}, CFG_VOL3{}, CFG_VOL4{};
  // Which of CFG_VOL1 .. CFG_VOL4 the file gave: the bars share one size, so a bar left out must
  // not come to life at (0, 0).
  std::array<bool, 4> volumeBarGiven{};
  ConfigRect CFG_VOL_DEFAULT{}, CFG_VOL_CVTEST{};
  ConfigRect CFG_AUTO{};
  std::string CFG_AUTO_KNOB;
  std::array<int, 12> CFG_RIGHT_CLICK{}, CFG_HSE{};
  std::array<int, 10> CFG_SOUND{};
  ConfigPair CFG_SHASEL_SIZE{};
  std::array<int, 6> CFG_SHASEL1{}, CFG_SHASEL2{}, CFG_SHASEL3{};
  std::array<int, 6> CFG_VOICE{};

  // Question panel.
  int PANEL_USE = 0;
  ConfigPair PANEL_BASE{}, PANEL_YES{}, PANEL_NO{};
  bool panelKeyGiven = false;  // any PANEL_ key was in the file (start-up loads the panel pictures)

  // Auto-speed indicator. SPD_MAX stays as the game gives it (0 when missing): it sets the auto
  // delay and the speed range, so code that divides by it guards its own divisor.
  int SPD_DIR = 0, SPD_TW = 0, SPD_MAX = 0, SPD_OFS_X = 0, SPD_OFS_Y = 0;
  int SPD_DOT_OFS_X = 0, SPD_DOT_OFS_Y = 0, SPD_DOT_SIZE = 0;

  // Backlog.
  ConfigRect LOG_BAR{}, LOG_BAR_INSIDE{}, LOG_BAR_UP{}, LOG_BAR_DOWN{}, LOG_WINDOW{};
  int LOG_FONTSIZE = 0, LOG_PITCH = 0, LOG_LINES = 0;

  std::string GAIJI;  // pairs of bytes: the external characters' codes

  // Save and load screens.
  ConfigNames SAVE_BG, LOAD_BG, SV_PLATE;
  std::string SV_FORMAT, SV_EMPTY;
  ConfigPair SV_OFS{}, SV_SLOT_SIZE{}, SV_PAGE_SIZE{};
  std::vector<int> SV_POS;       // x, y pairs; at most kSavePositionMax numbers
  std::vector<int> SV_PAGE_POS;  // x, y pairs; at most kSavePagePositionMax numbers
  ConfigRect SV_DELETE{}, SV_RETURN{};
  int SaveSlotCount() const { return static_cast<int>(SV_POS.size() / 2); }
  int SavePageCount() const { return static_cast<int>(SV_PAGE_POS.size() / 2); }

  // Quick buttons, in the order of kQuickButtonKeys.
  std::array<QuickButtonConfig, kQuickButtonCount> QB{};

  // Speaker table: entries 1..kSpeakerCount; entry 0 is never defined.
  std::array<SpeakerEntry, kSpeakerCount + 1> NAME{};

  // Accepted for old games; nothing reads them.
  std::string MAKER, DEFAULT_NAME4;
  int TQD_GRA = 0, TQD_GJP = 0, TQD_GDT = 0, TQD_WAV = 0, TQD_OGG = 0, TQD_SE = 0, TQD_ANIM = 0;
};

// Applies one line of `_config`. Returns false for the line "END", after which nothing more
// is read. Comments, lines without a colon and unknown keys change nothing.
bool ApplyGameConfigLine(GameConfig& config, std::string_view line);

// Raises the values that later code divides by, shifts by or indexes with to a safe range.
// Run once after the lines are applied (also when `_config` is missing).
void FinishGameConfiguration(GameConfig& config);

// Applies the lines in order up to "END" and finishes the result.
GameConfig ParseGameConfiguration(const std::vector<std::string>& lines);

// The colour of a speaker entry from its colour field, 0xBBGGRR.
uint32_t SpeakerColour(std::string_view field);

}  // namespace torvel
