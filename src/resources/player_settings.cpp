// The player settings: read once at start-up into engine state, written value by value by the
// screens that change them.
#include "resources/player_settings.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// A screen this narrow shows the game in the borderless window (SMode 2) unless the player
// chose otherwise.
constexpr int kNarrowScreenWidth = 600;
constexpr int kBorderlessMode = 2;
constexpr int kGlobalVarCount = 10;

struct SettingRange {
  std::string_view name;
  int min;
  int max;
};

// Stored values outside these ranges would upset the sound device, the window tinting or the
// glyph cell; they are brought inside on reading.
constexpr SettingRange kRanges[] = {
    {"Vol1", -3000, 0},  {"Vol2", -3000, 0},  {"Vol3", -3000, 0},      {"Vol4", -3000, 0},
    {"TXBG_R", 0, 255},  {"TXBG_G", 0, 255},  {"TXBG_B", 0, 255},      {"TXBG_A", 0, 255},
    {"TXBG_A2", 0, 255}, {"FONTSIZE", 8, 32},  // the glyph cell is 32 pixels wide
    {"SMode", 0, 2},     {"RC_MODE", 0, 4},   {"LastSaveSlot", 0, 99},
};

int Clamped(std::string_view name, int value) {
  for (const SettingRange& range : kRanges) {
    if (SjisEqualNoCase(range.name, name)) return std::clamp(value, range.min, range.max);
  }
  return value;
}

bool IsPlayerName(std::string_view name) {
  return SjisEqualNoCase(name, "PlayerName") || SjisEqualNoCase(name, "PlayerName2") ||
         SjisEqualNoCase(name, "PlayerName3");
}

std::string CutText(std::string_view name, std::string text) {
  if (IsPlayerName(name)) text = std::string(SjisCut(text, kNameSlotMax));
  return text;
}

SettingsStore OpenStore(TForm1& engine) {
  return SettingsStore(engine.host.SettingsFolder(), engine.config.MAKER_REG, engine.config.GAME_ID);
}

// Keeps the whole window on a screen of `screen` pixels where it fits, its corner otherwise.
int OnScreen(int position, int screen, int window) { return std::clamp(position, 0, std::max(0, screen - window)); }

}  // namespace

void TForm1::ReadSettings() {
  SettingsStore store = OpenStore(*this);
  store.Load();
  auto readInt = [&](std::string_view name, int fallback) { return Clamped(name, store.ReadInt(name, fallback)); };
  auto readText = [&](std::string_view name, std::string_view fallback) {
    return CutText(name, store.ReadText(name, fallback));
  };
  PlayerSettings& s = settings;

  Point screen = host.ScreenSize();
  // Centred: half the difference, truncated towards zero.
  s.Left = OnScreen(readInt("Left", (screen.x - kScreenWidth) / 2), screen.x, kScreenWidth);
  s.Top = OnScreen(readInt("Top", (screen.y - kScreenHeight) / 2), screen.y, kScreenHeight);
  host.MoveWindow(Point{s.Left, s.Top});

  s.BGM_ENA = readInt("BGM_ENA", 1);
  s.SE_ENA = readInt("SE_ENA", 1);
  s.Delay = readInt("Delay", 0);
  s.GMode = readInt("GMode", 0);
  s.SMode = readInt("SMode", 0);
  if (s.SMode == 0 && screen.x <= kNarrowScreenWidth) s.SMode = kBorderlessMode;
  s.Clear = readInt("Clear", 0);
  vars.S(100) = s.Clear;
  s.Seen = readInt("Seen", 1);
  s.BreakonSelect = readInt("BreakonSelect", 1);
  s.MemorySaveMode = readInt("MemorySaveMode", 0);
  s.FontName = readText("FontName", config.FONT_NAME);
  s.DirectSoundGlobal = readInt("DirectSoundGlobal", 0);
  s.AnimQuality = readInt("AnimQuality", 0);
  s.RC_MODE = readInt("RC_MODE", 0);
  s.WHEEL_MODE = readInt("WHEEL_MODE", 0);
  s.CS_SWAP = readInt("CS_SWAP", 0);
  s.EFX_CUT = readInt("EFX_CUT", 1);
  s.CONFIG_MODE = readInt("CONFIG_MODE", 0);
  s.DatePanel = readInt("DatePanel", 1);
  vars.S(50) = s.DatePanel;
  s.TXWStyle = readInt("TXWStyle", 1);
  vars.S(51) = s.TXWStyle;
  s.CV_THROUGH = readInt("CV_THROUGH", 0);
  s.CV1 = readInt("CV1", 1);
  s.CV2 = readInt("CV2", 1);
  for (int d = 0; d < kSoundEffectCategories; ++d) s.SE[d] = readInt("SE" + std::to_string(d), 1);
  s.Vol1 = readInt("Vol1", config.VOLUME1);
  s.Vol2 = readInt("Vol2", config.VOLUME2);
  s.Vol3 = readInt("Vol3", config.VOLUME3);
  s.Vol4 = readInt("Vol4", config.VOLUME4);
  s.FONTAA = readInt("FONTAA", 0);
  s.FONTSIZE = readInt("FONTSIZE", config.FONT_SIZE);
  s.FONTBold = readInt("FONTBold", 0);
  s.PlayerName = readText("PlayerName", config.DEFAULT_NAME);
  s.PlayerName2 = readText("PlayerName2", config.DEFAULT_NAME2);
  s.PlayerName3 = readText("PlayerName3", config.DEFAULT_NAME3);
  s.LastSaveSlot = readInt("LastSaveSlot", 0);
  for (int i = 0; i < kGlobalVarCount; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "GV%02d", i);
    vars.G(i) = readInt(name, 0);
  }
  s.TXBG_R = readInt("TXBG_R", config.TXW_COLOR_R);
  s.TXBG_G = readInt("TXBG_G", config.TXW_COLOR_G);
  s.TXBG_B = readInt("TXBG_B", config.TXW_COLOR_B);
  s.TXBG_A = readInt("TXBG_A", config.TXW_ALPHA);
  s.TXBG_A2 = readInt("TXBG_A2", config.TXW_ALPHA2);
  // A scale the screen cannot hold, or none of the three, opens the window at 1×.
  s.WindowScale = readInt("WindowScale", 1);
  if (s.WindowScale < 0 || s.WindowScale > 2 || !host.WindowScaleFits(s.WindowScale)) s.WindowScale = 1;
  s.IntegerScaling = readInt("IntegerScaling", 0) != 0 ? 1 : 0;

  bool renamed = s.PlayerName != config.DEFAULT_NAME || s.PlayerName2 != config.DEFAULT_NAME2 ||
                 s.PlayerName3 != config.DEFAULT_NAME3;
  vars.S(6) = renamed ? 1 : 0;
}

int TForm1::ReadSetting(std::string_view name, int defaultValue) {
  SettingsStore store = OpenStore(*this);
  store.Load();
  return Clamped(name, store.ReadInt(name, defaultValue));
}

std::string TForm1::ReadSetting(std::string_view name, std::string_view defaultValue) {
  SettingsStore store = OpenStore(*this);
  store.Load();
  return CutText(name, store.ReadText(name, defaultValue));
}

void TForm1::WriteSetting(std::string_view name, int value) { WriteSetting(name, std::to_string(value)); }

// A setting that cannot be stored stays in effect for this run; the player is told once.
void TForm1::WriteSetting(std::string_view name, std::string_view value) {
  SettingsStore store = OpenStore(*this);
  if (!store.Write(name, value)) NoticeSettingsNotSaved(store.WriteError());
}

bool TForm1::WriteSettings(std::span<const std::pair<std::string, std::string>> values) {
  SettingsStore store = OpenStore(*this);
  if (store.WriteValues(values)) return true;
  NoticeSettingsNotSaved(store.WriteError());
  return false;
}

int TForm1::IncrementCompletedGames() {
  std::string error;
  int count = torvel::IncrementCompletedGames(host.SettingsFolder(), &error);
  if (!error.empty()) {
    // Unstored, the count goes on from what this run knows.
    count = std::max(count, settings.Clear < INT_MAX ? settings.Clear + 1 : INT_MAX);
    NoticeSettingsNotSaved(error);
  }
  settings.Clear = count;
  return count;
}

std::filesystem::path TForm1::SettingsFile() { return OpenStore(*this).File(); }

}  // namespace torvel
