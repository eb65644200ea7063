// Quick save and the save/load screen as input reaches them.
#include "resources/sjis.h"
#include "screens/save_screen_layout.h"
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kQuestionOverwrite = 4;
constexpr int kQuestionLoad = 5;
}  // namespace

void TForm1::QuickSave() {
  // The comment goes into the same write as the rest of the slot.
  SaveSlot(kQuickSaveSlot, false, "Quick Save");
}

void TForm1::SaveLoadHover(int x, int y) {
  if (ctl.saveLoadScreen != 2) return;
  SaveScreenState& s = saveScreen;
  const int positions = config.SaveSlotCount();
  int item = 0;
  for (int i = 0; i < positions; ++i) {
    if (!RectHolds(SaveSlotRect(config, i), x, y)) continue;
    item = s.page * positions + i > kLastSlot - 1 ? 0 : i + 1;
    break;
  }
  for (int j = 0; j < config.SavePageCount(); ++j) {
    if (j == s.page || !RectHolds(SavePageRect(config, j), x, y)) continue;
    item = kSaveItemPageBase + j;
    break;
  }
  if (RectHolds(SaveReturnRect(config), x, y)) item = kSaveItemReturn;
  if (s.mode == 0 && item >= 1 && item <= positions && !s.used[static_cast<size_t>(item - 1)]) item = 0;
  if (item == s.hovered) return;
  s.hovered = item;
  const Rect whole{0, 0, kScreenWidth, kScreenHeight};
  host.Present(layers.screen, whole);
  Rect r;
  if (item >= 1 && item <= positions) {
    r = SaveSlotRect(config, item - 1);
  } else if (item >= kSaveItemPageBase && item < kSaveItemReturn) {
    r = SavePageRect(config, item - kSaveItemPageBase);
  } else if (item == kSaveItemReturn) {
    r = SaveReturnRect(config);
  }
  if (!r.Empty()) host.Present(s.canvas, r);
}

void TForm1::SaveLoadClick(MouseButton button, int, int) {
  if (ctl.saveLoadScreen != 2 || ctl.dialogOpen != 0) return;
  SaveScreenState& s = saveScreen;
  const int positions = config.SaveSlotCount();
  const int item = s.hovered;
  if (button == MouseButton::Right || item == kSaveItemReturn) {
    CloseSaveLoadScreen();
  } else if (item >= kSaveItemPageBase && item < kSaveItemReturn) {
    s.page = item - kSaveItemPageBase;
    DrawSaveSlots();
    host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
    s.hovered = 0;
  } else if (item >= 1 && item <= positions) {
    if (s.mode == 0) {
      AskQuestion(Utf8ToSjis("ロードしてよろしいですか？"), kQuestionLoad);
    } else if (s.used[static_cast<size_t>(item - 1)]) {
      AskQuestion(Utf8ToSjis("上書きしてよろしいですか？"), kQuestionOverwrite);
    } else {
      const int slot = s.page * positions + item;
      CloseSaveLoadScreen();
      SaveGame(slot, false);
    }
  }
}

void TForm1::SaveLoadMouseUp(int, int) {}

}  // namespace torvel
