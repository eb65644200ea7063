// Arbitrary bytes as text lines, typed through the message processor onto the page of a shown
// text window (window mode or the full-screen page, picked by the first byte): control
// characters, tags, ruby, name insertion, line breaking and the page grid's edges.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/headless/headless_host.h"
#include "resources/sjis.h"
#include "scratch_folder.h"
#include "shell/engine.h"

namespace {

struct Engine {
  torvel::HeadlessHost host{torvel::fuzzing::ScratchFolder() / "config"};
  std::unique_ptr<torvel::TForm1> engine;

  Engine() {
    engine =
        std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{torvel::fuzzing::ScratchFolder(), std::nullopt});
    torvel::TForm1& e = *engine;
    e.CreateScreenBuffers();
    e.config.TXW_OFS_Y = 440;
    e.config.TXW_SIZE_X = 800;
    e.config.TXW_SIZE_Y = 152;
    e.config.TX_OFS_X = 64;
    e.config.TX_OFS_Y = 14;
    e.config.TX_PITCH_X = 11;
    e.config.TX_PITCH_Y = 30;
    e.config.MOJI_MAX_X = 56;
    e.config.MOJI_MAX_Y = 5;
    e.config.TX2_OFS_X = 60;
    e.config.TX2_OFS_Y = 48;
    e.config.TX2_PITCH_X = 11;
    e.config.TX2_PITCH_Y = 32;
    e.config.MOJI_MAX2_X = 60;
    e.config.MOJI_MAX2_Y = 16;
    e.config.NP_SZ_X = 200;
    e.config.NP_SZ_Y = 28;
    e.config.SPD_MAX = 10;
    e.settings.FontName = torvel::Utf8ToSjis("ＭＳ ゴシック");
    e.settings.FONTSIZE = 22;
    e.ResetGlyphCache();
    e.InitTextWindow();
    e.text.nameSlots[0] = torvel::Utf8ToSjis("湊");
    e.text.nameSlots[9] = std::string(63, 'x');
  }
};

constexpr size_t kLongestLine = 64;

// Tags that change pictures run whole transitions; the picture commands have their own targets.
bool ChangesPictures(std::string_view line) {
  const std::string upper = torvel::SjisUpper(line);
  for (const char* tag : {"[GRA", "[SPR", "[BG", "[CLRB"}) {
    if (upper.find(tag) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Engine fixture;
  torvel::TForm1& e = *fixture.engine;
  if (size == 0) return 0;
  const bool fullScreen = (data[0] & 1) != 0;
  std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);
  line = line.substr(0, std::min(line.find('\0'), line.size()));
  // Longer lines only repeat what a few rows show, at the price of rasterising more glyphs.
  if (line.size() > kLongestLine) return 0;
  if (ChangesPictures(line)) return 0;

  e.vars.S(torvel::kVarDisplayMode) = fullScreen ? 1 : 0;
  e.text.windowShown = true;
  e.ctl.skipActive = (data[0] & 2) != 0;
  e.settings.Delay = (data[0] & 4) != 0 ? 1 : 0;
  e.vars.S(torvel::kVarAutoSpeed) = (data[0] & 8) != 0 ? 5 : 0;
  e.text.textSpeed = 1;
  e.text.insertText.clear();
  e.text.nameLineMode = (data[0] & 16) != 0;
  // Narrow rows break often; rows wider than the page run past its last column.
  const int margin = (data[0] & 32) != 0 ? 120 : 8;
  e.config.MOJI_MAX_X = margin;
  e.config.MOJI_MAX2_X = margin;
  e.ClearPage();
  e.text.cursorRow = (data[0] >> 6) * 6;  // start low enough to reach the last rows
  e.script.lineBuffer.assign(line);
  e.script.linePos = 0;
  e.script.needLine = false;
  for (int i = 0; i < 20000 && !e.script.needLine; ++i) {
    e.ShowTextLine();
    e.ctl.waitKind = 0;
    e.ctl.waitTicks = 0;
    e.text.windowShown = true;
    if (e.script.linePos < 0 || static_cast<size_t>(e.script.linePos) > e.script.lineBuffer.size()) __builtin_trap();
  }
  if ((data[0] & 4) != 0) e.RedrawTextPage(false);
  return 0;
}
