// `manpu`: a comic-symbol mark (a sweat drop, an anger sign) drawn over the picture at S032,
// S033. It stays until the next composition of the screen; in its blinking mode the 55 ms timer
// shows it and takes it away in turn.
#include "graphics/argument_fields.h"
#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarMarkX = 32;
constexpr int kVarMarkY = 33;
// The blinking mark changes every fourth tick, shown while bit 2 of the tick count is set.
constexpr int kBlinkTicks = 4;

}  // namespace

int TForm1::CmdManpu(std::string_view arg) {
  const ArgumentFields f = SplitArguments(arg);
  if (f.count == 0) return 0;
  Bitmap picture;
  if (!LoadImage(f.field[0].text, picture) || picture.width < 2) return 0;
  // A new mark takes the place of one still on screen.
  RemoveComicMark();
  ComicMark& m = effects.mark;
  m.picture = std::move(picture);
  m.mode = f.IsNumber(1) ? f.field[1].value : 0;
  if (f.IsNumber(2)) vars.S(kVarMarkX) = f.field[2].value;
  if (f.IsNumber(3)) vars.S(kVarMarkY) = f.field[3].value;
  m.x = vars.S(kVarMarkX);
  m.y = vars.S(kVarMarkY);
  // The clean patch comes from the screen buffer; what lies off the screen stays black.
  m.clean.Resize(m.picture.width / 2, m.picture.height);
  CopyRegion(layers.screen, m.x, m.y, m.clean, 0, 0, m.clean.width, m.clean.height);
  m.marked = m.clean;
  DrawSideBySide(m.marked, 0, m.picture, 0);
  ShowOnWindow(m.marked, Rect{0, 0, m.marked.width, m.marked.height}, m.x, m.y, false);
  if (m.mode == 1) CopyRegion(m.marked, 0, 0, layers.screen, m.x, m.y, m.marked.width, m.marked.height);
  m.active = true;
  return 0;
}

void TForm1::UpdateEffects() {
  const ComicMark& m = effects.mark;
  if (!m.active || m.mode != kMarkBlinking || ctl.timerCounter % kBlinkTicks != 0) return;
  // A shake, a transition or an animation owns the window: a blink would paint an old patch over it.
  if (ctl.blockingScene) return;
  const Bitmap& shown = (ctl.timerCounter & kBlinkTicks) != 0 ? m.marked : m.clean;
  ShowOnWindow(shown, Rect{0, 0, shown.width, shown.height}, m.x, m.y, false);
}

void TForm1::RemoveComicMark() {
  ComicMark& m = effects.mark;
  if (!m.active) return;
  m.active = false;
  ShowOnWindow(m.clean, Rect{0, 0, m.clean.width, m.clean.height}, m.x, m.y, false);
}

}  // namespace torvel
