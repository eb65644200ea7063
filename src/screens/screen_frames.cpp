// Per-frame and per-tick work of the player screens that take over the frame loop.
#include "shell/engine.h"

namespace torvel {

namespace {
// A held backlog arrow steps at the press, again when its counter reaches 13 and then every 5
// frames.
constexpr int kArrowStep = 2;
constexpr int kRepeatAt = 13;
constexpr int kRepeatAgainFrom = 8;
}  // namespace

void TForm1::SaveLoadScreenFrame() {}

void TForm1::BacklogFrame() {
  BacklogScreen& b = backlogViews.screen;
  if (b.repeat == 0) return;
  if (++b.repeat < kRepeatAt) return;
  if (b.button == BacklogButton::Up) ScrollBacklogTo(int64_t{b.scroll} + kArrowStep);
  if (b.button == BacklogButton::Down) ScrollBacklogTo(int64_t{b.scroll} - kArrowStep);
  b.repeat = kRepeatAgainFrom;
}

void TForm1::QuickButtonHoverTick() {
  // The pointer left the picture without a move onto another button: nothing is hovered now.
  if (quickButtons.hovered != 0 && !host.PointerOverPicture()) HoverQuickButton(std::nullopt);
}

}  // namespace torvel
