// The in-game save and load screen: a page of slot plates over the game's background, page
// buttons and a return button, revealed sliding in from the lower right.
#include <algorithm>
#include <cstdint>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "resources/file_io.h"
#include "resources/sjis.h"
#include "screens/save_screen_layout.h"
#include "screens/slot_text.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kRevealOffset = 256;  // the screen starts this far right and down
constexpr int kRevealStep = 32;     // opacity gained per frame elapsed
constexpr int kRevealFrameMs = 20;
constexpr size_t kLabelBytes = 128;

// A picture loaded onto an 800 × 600 black picture, so any size fits the screen.
void LoadFullPicture(TForm1& e, const std::string& name, Bitmap& target) {
  target.Resize(kScreenWidth, kScreenHeight);
  Bitmap loaded;
  if (name.empty() || !e.LoadImage(name, loaded)) return;
  CopyRegion(loaded, 0, 0, target, 0, 0, kScreenWidth, kScreenHeight);
}

}  // namespace

void TForm1::OpenSaveLoadScreen(int mode) {
  ctl.scriptRunning = false;
  const ConfigNames& pair = mode == 1 ? config.SAVE_BG : config.LOAD_BG;
  if (config.SAVE_BG[0].empty() || !ImageExists(config.SAVE_BG[0])) {
    ShowSaveLoadList(mode);
    ctl.scriptRunning = true;
    return;
  }
  SaveScreenState& s = saveScreen;
  s.mode = mode == 1 ? 1 : 0;
  s.hovered = 0;
  layers.previous = layers.screen;
  // Opening: keys and clicks leave the screen alone until the reveal is over.
  ctl.saveLoadScreen = 1;
  if (!s.created) {
    s.created = true;
    s.canvas.Resize(kScreenWidth, kScreenHeight);
    if (!config.SV_PLATE[0].empty() && LoadImage(config.SV_PLATE[0], s.plate)) {
      s.hasPlates = true;
      if (config.SV_PLATE[1].empty() || !LoadImage(config.SV_PLATE[1], s.plateHighlighted)) {
        s.plateHighlighted = s.plate;
      }
    }
  }
  LoadFullPicture(*this, pair[0], s.background);
  LoadFullPicture(*this, pair[1], s.highlighted);
  DrawSaveSlots();

  // The reveal: the screen slides in from 256 pixels right and down while it fades in over the
  // picture it replaces.
  Bitmap& work = layers.work;
  const Bitmap& screen = layers.screen;
  const Rect whole{0, 0, kScreenWidth, kScreenHeight};
  StartFrameClock();
  for (int a = 0; a < kRevealOffset;) {
    work = layers.previous;
    const int shift = kRevealOffset - a;
    const int groups = (a + kScreenWidth - kRevealOffset) * 3 / 8;
    for (int y = 0; y < a + kScreenHeight - kRevealOffset; ++y) {
      BlendRowsConstant(work.Row(y), screen.At(shift, y + shift), groups, a, work.Row(y));
    }
    host.Present(work, whole);
    a += kRevealStep * PaceFrame(kRevealFrameMs);
  }
  host.Present(screen, whole);
  ctl.saveLoadScreen = 2;
  UpdateMenus();
}

void TForm1::DrawSaveSlots() {
  SaveScreenState& s = saveScreen;
  Bitmap& screen = layers.screen;
  CopyRegion(s.background, 0, 0, screen, 0, 0, kScreenWidth, kScreenHeight);
  CopyRegion(s.highlighted, 0, 0, s.canvas, 0, 0, kScreenWidth, kScreenHeight);
  const std::vector<SlotTextLine> usedLines = SplitSlotTemplate(config.SV_FORMAT);
  const std::vector<SlotTextLine> emptyLines = SplitSlotTemplate(config.SV_EMPTY);
  const int positions = config.SaveSlotCount();
  s.used.assign(static_cast<size_t>(positions), false);
  for (int i = 0; i < positions; ++i) {
    const int x = config.SV_POS[2 * static_cast<size_t>(i)];
    const int y = config.SV_POS[2 * static_cast<size_t>(i) + 1];
    if (s.hasPlates) {
      DrawSideBySide(screen, x, s.plate, y);
      DrawSideBySide(s.canvas, x, s.plateHighlighted, y);
    }
    const int slot = s.page * positions + i + 1;
    if (slot > kLastSlot) break;
    std::vector<uint8_t> label;
    std::error_code ec;
    const bool used = std::filesystem::exists(SlotFile(slot), ec);
    if (used) ReadFileStart(SlotFile(slot), kLabelBytes, label);
    s.used[static_cast<size_t>(i)] = used;
    const std::string_view labelText(reinterpret_cast<const char*>(label.data()), label.size());
    for (const SlotTextLine& line : used ? usedLines : emptyLines) {
      const std::string text = used ? FillUsedSlotLine(line.text, slot, labelText) : FillEmptySlotLine(line.text, slot);
      const int64_t tx = int64_t{x} + config.SV_OFS[0];
      const int64_t ty = int64_t{y} + config.SV_OFS[1] + line.offset;
      // Text far off the picture draws nothing.
      if (tx < -kScreenWidth || tx > kScreenWidth || ty < -kScreenHeight || ty > kScreenHeight) continue;
      DrawString(text, static_cast<int>(tx), screen, 0, static_cast<int>(ty));
      DrawString(text, static_cast<int>(tx), s.canvas, 3, static_cast<int>(ty));
    }
  }
  if (s.page < config.SavePageCount()) {
    const Rect r = SavePageRect(config, s.page);
    CopyRegion(s.canvas, r.left, r.top, screen, r.left, r.top, r.Width(), r.Height());
  }
}

void TForm1::CloseSaveLoadScreen() {
  ctl.saveLoadScreen = 0;
  UpdateMenus();
  ctl.scriptRunning = true;
  layers.screen = layers.previous;
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
}

void TForm1::ConfirmedSaveLoad(int action) {
  const int item = saveScreen.hovered;
  const int slot = saveScreen.page * config.SaveSlotCount() + item;
  CloseSaveLoadScreen();
  if (item < 1 || item > config.SaveSlotCount() || slot > kLastSlot) return;
  if (action == 0) {
    SaveGame(slot, false);
  } else if (action == 1) {
    LoadGame(slot, true);
  }
}

}  // namespace torvel
