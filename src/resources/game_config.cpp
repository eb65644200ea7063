// Reading the game configuration script `_config`: KEY ":" VALUE lines, keys without regard to
// case, values kept exactly (blanks included).
#include "resources/game_config.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <optional>

#include "resources/sjis.h"
#include "script/text_state.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// Values that later code divides by or takes a modulo of get at least these.
constexpr int kMinSelectPitch = 1;
constexpr int kMinClickWaitFrames = 1;
constexpr int kMinSpeedDotSize = 1;
constexpr int kMaxClickWaitTiming = 30;  // a shift count of the timer counter
// The text page holds 20 rows of 100 bytes and is drawn up to MOJI_MAX_X + 2 bytes per row.
constexpr int kMaxRowBytes = 98;
constexpr int kMaxPageRows = 20;

// Optional sign and decimal digits, stopping at the first other character; nothing when there
// are no digits. Values beyond the int range stop at its ends.
std::optional<int> ReadNumber(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int FieldNumber(std::string_view field) { return ReadNumber(field).value_or(0); }

// VALUE split at every "," or ":"; blanks stay part of the fields.
std::vector<std::string_view> SplitFields(std::string_view value) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t i = 0; i <= value.size(); ++i) {
    if (i == value.size() || value[i] == ',' || value[i] == ':') {
      fields.push_back(value.substr(start, i - start));
      start = i + 1;
    }
  }
  return fields;
}

std::string_view Field(const std::vector<std::string_view>& fields, size_t i) {
  return i < fields.size() ? fields[i] : std::string_view();
}

using Apply = void (*)(GameConfig&, std::string_view);

// A whole value that is not a number leaves the previous value.
template <auto Member>
void SetInt(GameConfig& c, std::string_view v) {
  if (std::optional<int> n = ReadNumber(v)) c.*Member = *n;
}

template <auto Member>
void SetText(GameConfig& c, std::string_view v) {
  c.*Member = std::string(v);
}

template <auto Member>
void SetField0Int(GameConfig& c, std::string_view v) {
  c.*Member = FieldNumber(SplitFields(v)[0]);
}

template <auto Member>
void SetField0Text(GameConfig& c, std::string_view v) {
  c.*Member = std::string(SplitFields(v)[0]);
}

template <auto Member>
void SetList(GameConfig& c, std::string_view v) {
  std::vector<std::string_view> fields = SplitFields(v);
  auto& list = c.*Member;
  for (size_t i = 0; i < list.size(); ++i) list[i] = FieldNumber(Field(fields, i));
}

template <auto Member>
void SetNames(GameConfig& c, std::string_view v) {
  std::vector<std::string_view> fields = SplitFields(v);
  (c.*Member)[0] = std::string(Field(fields, 0));
  (c.*Member)[1] = std::string(Field(fields, 1));
}

// Numbers up to the first empty field, at most `limit` of them.
template <auto Member, size_t limit>
void SetPositions(GameConfig& c, std::string_view v) {
  std::vector<int>& list = c.*Member;
  list.clear();
  for (std::string_view field : SplitFields(v)) {
    if (field.empty() || list.size() >= limit) break;
    list.push_back(FieldNumber(field));
  }
}

template <auto Member>
void SetPanelPair(GameConfig& c, std::string_view v) {
  SetList<Member>(c, v);
  c.panelKeyGiven = true;
}

void SetPanelUse(GameConfig& c, std::string_view v) {
  SetInt<&GameConfig::PANEL_USE>(c, v);
  c.panelKeyGiven = true;
}

template <auto Member, size_t bar>
void SetVolumeBar(GameConfig& c, std::string_view v) {
  SetList<Member>(c, v);
  c.volumeBarGiven[bar] = true;
}

template <int index>
void SetQuickButton(GameConfig& c, std::string_view v) {
  std::vector<std::string_view> fields = SplitFields(v);
  QuickButtonConfig& button = c.QB[index];
  button.type = FieldNumber(fields[0]);
  if (button.type == 0) return;  // a disabled button keeps the geometry it had
  int* geometry[] = {&button.w, &button.h, &button.x, &button.y, &button.sx, &button.sy};
  for (size_t i = 0; i < 6; ++i) *geometry[i] = FieldNumber(Field(fields, i + 1));
}

void SetSpeaker(GameConfig& c, std::string_view v) {
  std::vector<std::string_view> fields = SplitFields(v);
  std::optional<int> index = ReadNumber(fields[0]);
  if (!index || *index < 1 || *index > kSpeakerCount) return;
  SpeakerEntry& entry = c.NAME[static_cast<size_t>(*index)];
  entry.name = std::string(Field(fields, 1));
  entry.colour = SpeakerColour(Field(fields, 2));
  entry.defined = true;
}

struct KeyRule {
  std::string_view key;
  Apply apply;
};

using C = GameConfig;

template <int... I>
constexpr std::array<KeyRule, sizeof...(I)> QuickButtonRules(std::integer_sequence<int, I...>) {
  return {KeyRule{kQuickButtonKeys[I], &SetQuickButton<I>}...};
}

constexpr KeyRule kRules[] = {
    {"TITLE", &SetText<&C::TITLE>},
    {"MAKER_REG", &SetText<&C::MAKER_REG>},
    {"GAME_ID", &SetText<&C::GAME_ID>},
    {"DEFAULT_NAME", &SetText<&C::DEFAULT_NAME>},
    {"DEFAULT_NAME2", &SetText<&C::DEFAULT_NAME2>},
    {"DEFAULT_NAME3", &SetText<&C::DEFAULT_NAME3>},
    {"TXW_OFS_X", &SetInt<&C::TXW_OFS_X>},
    {"TXW_OFS_Y", &SetInt<&C::TXW_OFS_Y>},
    {"TXW_OFS_Y2", &SetInt<&C::TXW_OFS_Y2>},
    {"TXW_SIZE_X", &SetInt<&C::TXW_SIZE_X>},
    {"TXW_SIZE_Y", &SetInt<&C::TXW_SIZE_Y>},
    {"TXW_COLOR_R", &SetInt<&C::TXW_COLOR_R>},
    {"TXW_COLOR_G", &SetInt<&C::TXW_COLOR_G>},
    {"TXW_COLOR_B", &SetInt<&C::TXW_COLOR_B>},
    {"TXW_ALPHA", &SetInt<&C::TXW_ALPHA>},
    {"TXW_ALPHA2", &SetInt<&C::TXW_ALPHA2>},
    {"FONT_NAME", &SetText<&C::FONT_NAME>},
    {"FONT_SIZE", &SetInt<&C::FONT_SIZE>},
    {"SELECT_Y_POS", &SetInt<&C::SELECT_Y_POS>},
    {"SELECT_Y_PITCH", &SetInt<&C::SELECT_Y_PITCH>},
    {"SELECT_EXPAND", &SetInt<&C::SELECT_EXPAND>},
    {"SELECT_TXT_OY", &SetInt<&C::SELECT_TXT_OY>},
    {"CLICK_WAIT_OFS_X", &SetInt<&C::CLICK_WAIT_OFS_X>},
    {"CLICK_WAIT_OFS_Y", &SetInt<&C::CLICK_WAIT_OFS_Y>},
    {"CLICK_WAIT_SIZE_X", &SetInt<&C::CLICK_WAIT_SIZE_X>},
    {"CLICK_WAIT_SIZE_Y", &SetInt<&C::CLICK_WAIT_SIZE_Y>},
    {"CLICK_WAIT_PAT", &SetInt<&C::CLICK_WAIT_PAT>},
    {"CLICK_WAIT_TIMING", &SetInt<&C::CLICK_WAIT_TIMING>},
    {"NP_OFS_X", &SetInt<&C::NP_OFS_X>},
    {"NP_OFS_Y", &SetInt<&C::NP_OFS_Y>},
    {"NP_SZ_X", &SetInt<&C::NP_SZ_X>},
    {"NP_SZ_Y", &SetInt<&C::NP_SZ_Y>},
    {"NP_TYPE", &SetInt<&C::NP_TYPE>},
    {"TX_OFS_X", &SetInt<&C::TX_OFS_X>},
    {"TX_OFS_Y", &SetInt<&C::TX_OFS_Y>},
    {"TX_PITCH_X", &SetInt<&C::TX_PITCH_X>},
    {"TX_PITCH_Y", &SetInt<&C::TX_PITCH_Y>},
    {"MOJI_MAX_X", &SetInt<&C::MOJI_MAX_X>},
    {"MOJI_MAX_Y", &SetInt<&C::MOJI_MAX_Y>},
    {"TX2_OFS_X", &SetInt<&C::TX2_OFS_X>},
    {"TX2_OFS_Y", &SetInt<&C::TX2_OFS_Y>},
    {"TX2_PITCH_X", &SetInt<&C::TX2_PITCH_X>},
    {"TX2_PITCH_Y", &SetInt<&C::TX2_PITCH_Y>},
    {"MOJI_MAX2_X", &SetInt<&C::MOJI_MAX2_X>},
    {"MOJI_MAX2_Y", &SetInt<&C::MOJI_MAX2_Y>},
    {"VOLUME1", &SetInt<&C::VOLUME1>},
    {"VOLUME2", &SetInt<&C::VOLUME2>},
    {"VOLUME3", &SetInt<&C::VOLUME3>},
    {"VOLUME4", &SetInt<&C::VOLUME4>},
    {"TACHI_TYPE", &SetInt<&C::TACHI_TYPE>},
    {"CFG_GRA", &SetNames<&C::CFG_GRA>},
    {"CFG_WM_WIN", &SetList<&C::CFG_WM_WIN>},
    {"CFG_WM_FULL", &SetList<&C::CFG_WM_FULL>},
    {"CFG_GM_NORMAL", &SetList<&C::CFG_GM_NORMAL>},
    {"CFG_GM_FAST", &SetList<&C::CFG_GM_FAST>},
    {"CFG_TM_NORMAL", &SetList<&C::CFG_TM_NORMAL>},
    {"CFG_TM_FAST", &SetList<&C::CFG_TM_FAST>},
    {"CFG_MS_STOP", &SetList<&C::CFG_MS_STOP>},
    {"CFG_MS_NONE", &SetList<&C::CFG_MS_NONE>},
    {"CFG_MW_SCENE", &SetList<&C::CFG_MW_SCENE>},
    {"CFG_MW_LOG", &SetList<&C::CFG_MW_LOG>},
    {"CFG_CLOSE", &SetList<&C::CFG_CLOSE>},
    {"CFG_DETAIL", &SetList<&C::CFG_DETAIL>},
    {"CFG_DEFAULT", &SetList<&C::CFG_DEFAULT>},
    {"CFG_VOL_BAR", &SetList<&C::CFG_VOL_BAR>},
    {"CFG_VOL_KNOB", &SetText<&C::CFG_VOL_KNOB>},
    {"CFG_VOL1", &SetVolumeBar<&C::CFG_VOL1, 0>},
    {"CFG_VOL2", &SetVolumeBar<&C::CFG_VOL2, 1>},
    {"CFG_VOL3", &SetVolumeBar<&C::CFG_VOL3, 2>},
    {"CFG_VOL4", &SetVolumeBar<&C::CFG_VOL4, 3>},
    {"CFG_VOL_DEFAULT", &SetList<&C::CFG_VOL_DEFAULT>},
    {"CFG_VOL_CVTEST", &SetList<&C::CFG_VOL_CVTEST>},
    {"CFG_AUTO", &SetList<&C::CFG_AUTO>},
    {"CFG_AUTO_KNOB", &SetText<&C::CFG_AUTO_KNOB>},
    {"CFG_RIGHT_CLICK", &SetList<&C::CFG_RIGHT_CLICK>},
    {"CFG_HSE", &SetList<&C::CFG_HSE>},
    {"CFG_SOUND", &SetList<&C::CFG_SOUND>},
    {"CFG_SHASEL_SIZE", &SetList<&C::CFG_SHASEL_SIZE>},
    {"CFG_SHASEL1", &SetList<&C::CFG_SHASEL1>},
    {"CFG_SHASEL2", &SetList<&C::CFG_SHASEL2>},
    {"CFG_SHASEL3", &SetList<&C::CFG_SHASEL3>},
    {"CFG_VOICE", &SetList<&C::CFG_VOICE>},
    {"PANEL_USE", &SetPanelUse},
    {"PANEL_BASE", &SetPanelPair<&C::PANEL_BASE>},
    {"PANEL_YES", &SetPanelPair<&C::PANEL_YES>},
    {"PANEL_NO", &SetPanelPair<&C::PANEL_NO>},
    {"SPD_DIR", &SetInt<&C::SPD_DIR>},
    {"SPD_TW", &SetInt<&C::SPD_TW>},
    {"SPD_MAX", &SetInt<&C::SPD_MAX>},
    {"SPD_OFS_X", &SetInt<&C::SPD_OFS_X>},
    {"SPD_OFS_Y", &SetInt<&C::SPD_OFS_Y>},
    {"SPD_DOT_OFS_X", &SetInt<&C::SPD_DOT_OFS_X>},
    {"SPD_DOT_OFS_Y", &SetInt<&C::SPD_DOT_OFS_Y>},
    {"SPD_DOT_SIZE", &SetInt<&C::SPD_DOT_SIZE>},
    {"LOG_BAR", &SetList<&C::LOG_BAR>},
    {"LOG_BAR_INSIDE", &SetList<&C::LOG_BAR_INSIDE>},
    {"LOG_BAR_UP", &SetList<&C::LOG_BAR_UP>},
    {"LOG_BAR_DOWN", &SetList<&C::LOG_BAR_DOWN>},
    {"LOG_WINDOW", &SetList<&C::LOG_WINDOW>},
    {"LOG_FONTSIZE", &SetField0Int<&C::LOG_FONTSIZE>},
    {"LOG_PITCH", &SetField0Int<&C::LOG_PITCH>},
    {"LOG_LINES", &SetField0Int<&C::LOG_LINES>},
    {"GAIJI", &SetField0Text<&C::GAIJI>},
    {"SAVE_BG", &SetNames<&C::SAVE_BG>},
    {"LOAD_BG", &SetNames<&C::LOAD_BG>},
    {"SV_PLATE", &SetNames<&C::SV_PLATE>},
    {"SV_FORMAT", &SetField0Text<&C::SV_FORMAT>},
    {"SV_EMPTY", &SetField0Text<&C::SV_EMPTY>},
    {"SV_OFS", &SetList<&C::SV_OFS>},
    {"SV_SLOT_SIZE", &SetList<&C::SV_SLOT_SIZE>},
    {"SV_PAGE_SIZE", &SetList<&C::SV_PAGE_SIZE>},
    {"SV_POS", &SetPositions<&C::SV_POS, kSavePositionMax>},
    {"SV_PAGE_POS", &SetPositions<&C::SV_PAGE_POS, kSavePagePositionMax>},
    {"SV_DELETE", &SetList<&C::SV_DELETE>},
    {"SV_RETURN", &SetList<&C::SV_RETURN>},
    {"NAME", &SetSpeaker},
    {"MAKER", &SetText<&C::MAKER>},
    {"DEFAULT_NAME4", &SetText<&C::DEFAULT_NAME4>},
    {"TQD_GRA", &SetInt<&C::TQD_GRA>},
    {"TQD_GJP", &SetInt<&C::TQD_GJP>},
    {"TQD_GDT", &SetInt<&C::TQD_GDT>},
    {"TQD_WAV", &SetInt<&C::TQD_WAV>},
    {"TQD_OGG", &SetInt<&C::TQD_OGG>},
    {"TQD_SE", &SetInt<&C::TQD_SE>},
    {"TQD_ANIM", &SetInt<&C::TQD_ANIM>},
};

constexpr auto kQuickButtonRules = QuickButtonRules(std::make_integer_sequence<int, kQuickButtonCount>());

Apply FindRule(std::string_view key) {
  for (const KeyRule& rule : kRules) {
    if (rule.key == key) return rule.apply;
  }
  for (const KeyRule& rule : kQuickButtonRules) {
    if (rule.key == key) return rule.apply;
  }
  return nullptr;
}

int ColourDigit(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c == 'G') return 255;
  if (c >= '0' && c <= '9') return (c - '0') * 16;
  if (c >= 'A' && c <= 'F') return (c - 'A' + 10) * 16;
  return 0;
}

}  // namespace

uint32_t SpeakerColour(std::string_view field) {
  if (field.empty()) return kSpeakerDefaultColour;
  // Characters missing from a short field count as 0.
  auto digit = [&](size_t i) { return i < field.size() ? ColourDigit(field[i]) : 0; };
  return static_cast<uint32_t>(digit(2)) << 16 | static_cast<uint32_t>(digit(1)) << 8 | static_cast<uint32_t>(digit(0));
}

bool ApplyGameConfigLine(GameConfig& config, std::string_view line) {
  if (line == "END") return false;
  if (line.empty() || line[0] == ';' || line[0] == '*') return true;
  size_t colon = line.find(':');
  if (colon == std::string_view::npos) return true;
  if (Apply apply = FindRule(SjisUpper(line.substr(0, colon)))) apply(config, line.substr(colon + 1));
  return true;
}

void FinishGameConfiguration(GameConfig& config) {
  if (config.SELECT_Y_PITCH <= 0) config.SELECT_Y_PITCH = kMinSelectPitch;
  if (config.CLICK_WAIT_PAT <= 0) config.CLICK_WAIT_PAT = kMinClickWaitFrames;
  if (config.SPD_DOT_SIZE <= 0) config.SPD_DOT_SIZE = kMinSpeedDotSize;
  config.CLICK_WAIT_TIMING = std::clamp(config.CLICK_WAIT_TIMING, 0, kMaxClickWaitTiming);
  config.MOJI_MAX_X = std::clamp(config.MOJI_MAX_X, 0, kMaxRowBytes);
  config.MOJI_MAX2_X = std::clamp(config.MOJI_MAX2_X, 0, kMaxRowBytes);
  config.MOJI_MAX_Y = std::clamp(config.MOJI_MAX_Y, 0, kMaxPageRows);
  config.MOJI_MAX2_Y = std::clamp(config.MOJI_MAX2_Y, 0, kMaxPageRows);
  // The defaults go into 64-byte name slots and are compared with them.
  for (std::string* name : {&config.DEFAULT_NAME, &config.DEFAULT_NAME2, &config.DEFAULT_NAME3}) {
    *name = std::string(SjisCut(*name, kNameSlotMax));
  }
}

GameConfig ParseGameConfiguration(const std::vector<std::string>& lines) {
  GameConfig config;
  for (const std::string& line : lines) {
    if (!ApplyGameConfigLine(config, line)) break;
  }
  FinishGameConfiguration(config);
  return config;
}

void TForm1::ReadGameConfiguration() {
  config = GameConfig();
  if (LoadScript("_config", 2)) {
    int pos = 0;
    while (!AuxAtEnd(pos)) {
      if (!ApplyGameConfigLine(config, ReadAuxLine(pos))) break;
    }
  }
  FinishGameConfiguration(config);
}

}  // namespace torvel
