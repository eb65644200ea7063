// The page roll (`roll`): blocks of text drawn with a mincho face into a rectangle over a
// background picture, shown and erased with fades and timed against a clock the script resets.
// It runs as a loop inside its command; clicks do not touch it, a close request pauses it while
// the quit question is open and ends it when the player quits.
#include <algorithm>

#include "graphics/kernel_rows.h"
#include "graphics/kernels.h"
#include "graphics/picture_arguments.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "scenes/roll_scripts.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kFadePeriodMs = 30;
constexpr int kPictureFadeStep = 16;  // GRA mode 1
constexpr int kSlowFadeStep = 8;      // GRA mode 2, PUT 1 and ERA 1
constexpr int kWaitUnitMs = 100;
constexpr int kLongestPumpMs = 100;  // a wait lets the window breathe at least this often
constexpr int kShadowOffset = 2;
constexpr uint32_t kWhite = 0xFFFFFF;
const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

const std::string& PageFace() {
  static const std::string face = Utf8ToSjis("ＭＳ 明朝");
  return face;
}

// The part of the page roll's rectangle that lies on the screen; empty for an empty rectangle.
Rect VisiblePart(const PageRoll& p) {
  if (p.x2 <= p.x1 || p.y2 <= p.y1) return {};
  Rect r{std::max(p.x1, 0), std::max(p.y1, 0), std::min(p.x2, kScreenWidth), std::min(p.y2, kScreenHeight)};
  return r.Empty() ? Rect{} : r;
}

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); }

}  // namespace

int TForm1::CmdRoll(std::string_view arg) {
  StopSkipAndAuto(true);
  if (!LoadScript(arg, 2)) return 1;
  // The roll keeps its own copy: screens it lets run may load other tables into the buffer.
  const std::string body(reinterpret_cast<const char*>(script.aux.data()), static_cast<size_t>(script.auxSize));
  RunPageRoll(body);
  return 1;
}

void TForm1::RunPageRoll(std::string_view body) {
  StaffRoll& r = staffRoll;
  PageRoll& p = r.page;
  r.kind = RollKind::Page;
  r.aborted = false;
  r.paused = false;
  Bitmap text = std::move(p.text);  // its memory is kept from roll to roll
  p = PageRoll{};
  p.text = std::move(text);
  ResizePageRollText();
  ctl.screenMode = smStaffRoll;
  // The menus would open screens whose frames cannot run while the roll owns the loop.
  const bool menuLockBefore = ctl.menuLock;
  SetMenuLock(true);

  for (size_t pos = 0; pos < body.size() && !r.aborted;) {
    const size_t nul = std::min(body.find('\0', pos), body.size());
    const std::string_view line = body.substr(pos, nul - pos);
    pos = nul + 1;
    const PageRollLine parsed = ReadPageRollLine(line);
    if (parsed.command) {
      RunPageRollCommand(parsed.keyword, parsed.argument);
      p.afterCommand = true;
    } else {
      if (p.afterCommand) p.block.clear();
      p.afterCommand = false;
      p.block.emplace_back(line);
    }
    while (r.paused && !r.aborted) {
      host.PumpMessages();
      host.Sleep(kLongestPumpMs);
    }
  }

  p.text.Resize(0, 0);
  p.block.clear();
  r.kind = RollKind::None;
  ctl.screenMode = smScenario;
  SetMenuLock(menuLockBefore);
}

void TForm1::RunPageRollCommand(std::string_view keyword, std::string_view arg) {
  PageRoll& p = staffRoll.page;
  if (keyword == "MUSIC") {
    SetMusic(ReadNumber(arg));
  } else if (keyword == "GRA") {
    const PageRollPicture picture = ReadPageRollPicture(arg);
    LoadBackground(SjisUpper(picture.name));
    const int step = picture.mode == 1 ? kPictureFadeStep : picture.mode == 2 ? kSlowFadeStep : 0;
    if (step != 0 && !PageRollFade(layers.background, kWholeScreen, step)) return;
    CopyRegion(layers.background, 0, 0, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
    host.Present(layers.screen, kWholeScreen);
  } else if (keyword == "WIN") {
    const std::array<int, 4> f = ReadNumberFields(arg);
    p.x1 = f[0];
    p.y1 = f[1];
    p.x2 = f[2];
    p.y2 = f[3];
    ResizePageRollText();
  } else if (keyword == "PUT") {
    const int n = ReadNumber(arg);
    const Rect visible = VisiblePart(p);
    if ((n == 0 || n == 1) && !visible.Empty()) {
      RenderPageRollText();
      if (n == 1 && !PageRollFade(p.text, visible, kSlowFadeStep)) return;
      CopyRegion(p.text, 0, 0, layers.screen, visible.left, visible.top, visible.Width(), visible.Height());
    }
    host.Present(layers.screen, kWholeScreen);
  } else if (keyword == "ERA") {
    const int n = ReadNumber(arg);
    const Rect visible = VisiblePart(p);
    if (n == 0) {
      CopyRegion(layers.background, 0, 0, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
    } else if (n == 1 && !visible.Empty()) {
      Bitmap behind(visible.Width(), visible.Height());
      CopyRegion(layers.background, visible.left, visible.top, behind, 0, 0, visible.Width(), visible.Height());
      if (!PageRollFade(behind, visible, kSlowFadeStep)) return;
      CopyRegion(behind, 0, 0, layers.screen, visible.left, visible.top, visible.Width(), visible.Height());
    }
    host.Present(layers.screen, kWholeScreen);
  } else if (keyword == "RESET" || keyword == "HOOK") {
    p.clockBase = host.TickCount();
  } else if (keyword == "WAIT") {
    if (p.clockBase) {
      const int64_t target = int64_t{ReadNumber(arg)} * kWaitUnitMs;
      while (!staffRoll.aborted) {
        const int64_t remaining = target - static_cast<int64_t>(host.TickCount() - *p.clockBase);
        if (remaining <= 0) break;
        host.Sleep(static_cast<int>(std::min<int64_t>(remaining, kLongestPumpMs)));
        host.PumpMessages();
      }
    }
    p.clockBase = host.TickCount();
  } else if (keyword == "CENTER") {
    p.centreVertically = false;
    p.alignment = 0;
    for (char c : arg) {
      if (c == 'x' || c == 'X') p.alignment = 1;
      if (c == 'y' || c == 'Y') p.centreVertically = true;
      if (c == 'r' || c == 'R') p.alignment = 2;
    }
  }
}

void TForm1::ResizePageRollText() {
  const Rect visible = VisiblePart(staffRoll.page);
  staffRoll.page.text.Resize(visible.Width(), visible.Height());
}

// The text picture: the background under the rectangle with the block on it, each line black two
// pixels right and down and then white, aligned by its measured width.
void TForm1::RenderPageRollText() {
  PageRoll& p = staffRoll.page;
  const Rect visible = VisiblePart(p);
  ResizePageRollText();
  CopyRegion(layers.background, visible.left, visible.top, p.text, 0, 0, visible.Width(), visible.Height());
  const int64_t width = int64_t{p.x2} - p.x1;
  const int64_t height = int64_t{p.y2} - p.y1;
  const int64_t size = p.fontSize;
  const int64_t lines = static_cast<int64_t>(p.block.size());
  const int64_t top = p.centreVertically ? (height - lines * size) / 2 : 0;
  // Rectangle coordinates to text-picture coordinates.
  const int64_t dx = int64_t{p.x1} - visible.left;
  const int64_t dy = int64_t{p.y1} - visible.top;
  const TextStyle style{PageFace(), p.fontSize, kWhite, false, kShadowOffset};
  for (int64_t i = 0; i < lines; ++i) {
    const int64_t y = dy + top + i * size;
    if (y + 2 * size + kShadowOffset < 0 || y >= p.text.height) continue;
    const std::string& line = p.block[static_cast<size_t>(i)];
    if (line.empty()) continue;
    const int64_t textWidth = MeasureSystemText(line, style);
    const int64_t x = p.alignment == 0 ? 0 : p.alignment == 2 ? width - textWidth : (width - textWidth) / 2;
    DrawSystemText(p.text, line, ClampToInt(dx + x), ClampToInt(y), style);
  }
}

// Fades the `area` of the window from the screen buffer to `target` (a picture of the area's
// size) in steps of `step`/256 per 30 ms period. False when the roll was ended meanwhile.
bool TForm1::PageRollFade(const Bitmap& target, Rect area, int step) {
  const RowKernels& k = ActiveRowKernels();
  const size_t bytes = static_cast<size_t>(std::min(area.Width(), target.width)) * 3;
  const int rows = std::min(area.Height(), target.height);
  StartFrameClock();
  for (int64_t a = step; a < kFullOpacity;) {
    for (int y = 0; y < rows; ++y) {
      k.weighted(target.Row(y), layers.screen.At(area.left, area.top + y), static_cast<unsigned>(a),
                 layers.work.At(area.left, area.top + y), bytes);
    }
    host.Present(layers.work, area);
    const int frames = PaceFrame(kFadePeriodMs);
    if (staffRoll.aborted) return false;
    a += int64_t{step} * frames;
  }
  return true;
}

void TForm1::PauseStaffRoll(bool paused) { staffRoll.paused = paused && staffRoll.kind != RollKind::None; }

void TForm1::AbortStaffRoll() {
  if (staffRoll.kind != RollKind::None) staffRoll.aborted = true;
}

}  // namespace torvel
