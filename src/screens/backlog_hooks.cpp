// The backlog as input reaches it: hovering the arrows and voice icons, pressing the arrows, the
// knob and the icons, the wheel.
#include <algorithm>
#include <cstdint>

#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kArrowStep = 2;
constexpr int kWheelStep = 4;

bool Inside(const ConfigRect& r, int x, int y) { return x >= r[0] && x < r[2] && y >= r[1] && y < r[3]; }

// The row of the voice-icon column under (x, y), or -1.
int VoiceRowAt(const BacklogScreen& b, int x, int y) {
  if (b.pitch < 1 || b.skins.voice.Empty()) return -1;
  const int64_t dx = int64_t{x} - b.originX;
  const int64_t dy = int64_t{y} - b.originY;
  if (dx < 0 || dx >= b.skins.voice.width || dy < 0 || dy >= int64_t{b.pitch} * b.rows) return -1;
  return static_cast<int>(dy / b.pitch);
}

// The top of the knob's track, where the knob stands for the oldest lines.
int64_t TrackTop(const GameConfig& c) { return int64_t{c.LOG_BAR[1]} + c.LOG_BAR_INSIDE[1]; }

}  // namespace

void TForm1::BacklogHover(int x, int y) {
  BacklogScreen& b = backlogViews.screen;
  bool redraw = false;
  if (b.button == BacklogButton::Knob) {
    const int64_t d = std::clamp<int64_t>(y - TrackTop(config), 0, b.track);
    const int64_t s = int64_t{text.backlog.Lines() - b.rows} * (b.track - d) / b.track;
    ScrollBacklogTo(s);
  } else {
    const int arrow = Inside(config.LOG_BAR_UP, x, y) ? 1 : Inside(config.LOG_BAR_DOWN, x, y) ? 2 : 0;
    if (arrow != b.hoveredArrow) redraw = true;
    b.hoveredArrow = arrow;
  }
  const int row = VoiceRowAt(b, x, y);
  if (row >= 0 && row != b.hoveredVoice) {
    b.hoveredVoice = row;
    redraw = true;
  } else if (row < 0 && b.hoveredVoice != 0) {
    b.hoveredVoice = 0;
    redraw = true;
  }
  if (redraw) DrawBacklog();
}

void TForm1::BacklogClick(MouseButton button, int x, int y) {
  if (button == MouseButton::Right) {
    CloseBacklog();
    return;
  }
  BacklogScreen& b = backlogViews.screen;
  const ConfigRect& bar = config.LOG_BAR;
  const ConfigRect& inside = config.LOG_BAR_INSIDE;
  const ConfigRect track{bar[0] + inside[0], bar[1] + inside[1], bar[0] + inside[2], bar[1] + inside[3]};
  if (Inside(config.LOG_BAR_UP, x, y)) {
    b.button = BacklogButton::Up;
    b.repeat = 1;
    if (!ScrollBacklogTo(int64_t{b.scroll} + kArrowStep)) DrawBacklog();
  } else if (Inside(config.LOG_BAR_DOWN, x, y)) {
    b.button = BacklogButton::Down;
    b.repeat = 1;
    if (!ScrollBacklogTo(int64_t{b.scroll} - kArrowStep)) DrawBacklog();
  } else if (Inside(track, x, y) && b.track > 0) {
    // A knob without travel cannot be dragged.
    b.button = BacklogButton::Knob;
    const int64_t d = std::min<int64_t>(y - TrackTop(config), b.track);
    ScrollBacklogTo(int64_t{text.backlog.Lines() - b.rows} * (b.track - d) / b.track);
  }
  const int row = VoiceRowAt(b, x, y);
  if (row >= 0 && row < static_cast<int>(b.voices.size()) && !b.voices[static_cast<size_t>(row)].empty()) {
    PlayVoiceLine(b.voices[static_cast<size_t>(row)]);
  }
}

void TForm1::BacklogMouseUp(int, int) {
  BacklogScreen& b = backlogViews.screen;
  const bool arrowShown = b.button == BacklogButton::Up || b.button == BacklogButton::Down;
  b.button = BacklogButton::None;
  b.repeat = 0;
  if (arrowShown) DrawBacklog();
}

void TForm1::ScrollBacklog(int delta) {
  const BacklogScreen& b = backlogViews.screen;
  ScrollBacklogTo(int64_t{b.scroll} + (delta > 0 ? kWheelStep : -kWheelStep));
}

}  // namespace torvel
