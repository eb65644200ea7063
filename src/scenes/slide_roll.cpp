// The slide roll (`sroll`): full-screen pictures and pages of large glyphs, built alternately in
// two buffers and cross-faded by the fade step, timed against one clock that starts with the roll
// so that its waits stay in step with the music. A click ends it after its current line.
#include <algorithm>

#include "graphics/glyphs.h"
#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "scenes/roll_scripts.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kFrameMs = 20;
constexpr int kWaitUnitMs = 100;
constexpr int kFadeSteps = 255;  // the last step of a fade; the fade is over past it
constexpr int kFullDarkness = 255;
// "@WAIT" sums stay far from overflowing when multiplied into milliseconds.
constexpr int64_t kLongestWait = INT64_C(1) << 40;
const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

const std::string& FontOfNumber(int n) {
  static const std::string mincho = Utf8ToSjis("ＭＳ Ｐ明朝");
  static const std::string gothic = Utf8ToSjis("ＭＳ Ｐゴシック");
  static const std::string none;
  return n == 1 ? mincho : n == 2 ? gothic : none;
}

}  // namespace

int TForm1::CmdSroll(std::string_view arg) {
  if (!LoadScript(arg, 2)) return 1;
  const std::string body(reinterpret_cast<const char*>(script.aux.data()), static_cast<size_t>(script.auxSize));
  RunSlideRoll(body);
  return 1;
}

void TForm1::RunSlideRoll(std::string_view body) {
  StaffRoll& r = staffRoll;
  SlideRoll& s = r.slide;
  SetMenuLock(true);
  const std::string savedFont = settings.FontName;
  // Darkness and fade speed carry over from the last roll; everything else starts afresh. The
  // buffers keep their memory from roll to roll.
  Bitmap a = std::move(s.a), b = std::move(s.b), load = std::move(s.load);
  s = SlideRoll{};
  s.a = std::move(a);
  s.b = std::move(b);
  s.load = std::move(load);
  s.a.Resize(kScreenWidth, kScreenHeight);
  s.b.Resize(kScreenWidth, kScreenHeight);
  s.load.Resize(kScreenWidth, kScreenHeight);
  r.aborted = false;
  r.paused = false;
  s.start = host.TickCount();
  s.fadeStart = s.start;
  r.kind = RollKind::Slide;
  ctl.screenMode = smStaffRoll;

  for (size_t pos = 0; pos < body.size() && !r.aborted;) {
    const size_t nul = std::min(body.find('\0', pos), body.size());
    const std::string_view line = body.substr(pos, nul - pos);
    pos = nul + 1;
    const SlideRollLine parsed = ReadSlideRollLine(line);
    if (parsed.op == SlideRollOp::End) break;
    RunSlideRollLine(parsed);
  }

  ctl.screenMode = smScenario;
  r.kind = RollKind::None;
  SetMenuLock(false);
  glyphs.SetFont(savedFont, settings.FONTSIZE, settings.FONTBold != 0);
  s.a.Resize(0, 0);
  s.b.Resize(0, 0);
  s.load.Resize(0, 0);
  s.lines.clear();
}

void TForm1::RunSlideRollLine(const SlideRollLine& line) {
  StaffRoll& r = staffRoll;
  SlideRoll& s = r.slide;
  switch (line.op) {
    case SlideRollOp::Text: s.lines.emplace_back(line.text); break;
    case SlideRollOp::Empty: s.lines.emplace_back(); break;
    case SlideRollOp::Clear: s.lines.clear(); break;
    case SlideRollOp::Picture: {
      s.current ^= 1;
      // A negative speed would never end its fade: it shows the picture at once like 0.
      r.fadeSpeed = std::max(line.values[0], 0);
      if (IsBlackPageName(line.text)) {
        s.load.Resize(kScreenWidth, kScreenHeight);
      } else {
        LoadImage(line.text, s.load);
      }
      if (r.darkness < kFullDarkness) Darken(s.load, s.load, std::max(r.darkness, 0));
      Bitmap& built = s.current == 0 ? s.a : s.b;
      CopyRegion(s.load, 0, 0, built, 0, 0, kScreenWidth, kScreenHeight);
      if (r.fadeSpeed != 0) {
        s.fadeStart = host.TickCount();
        RunSlideRollFrames(-1);
      } else {
        ShowSlideBuffer();
      }
      break;
    }
    case SlideRollOp::Wait:
      s.waited = std::clamp<int64_t>(s.waited + line.values[0], -kLongestWait, kLongestWait);
      RunSlideRollFrames(std::max<int64_t>(s.waited * kWaitUnitMs, 0));
      break;
    case SlideRollOp::Page: {
      r.fadeSpeed = std::max(line.values[0], 0);
      s.current ^= 1;
      Bitmap& built = s.current == 0 ? s.a : s.b;
      CopyRegion(s.load, 0, 0, built, 0, 0, kScreenWidth, kScreenHeight);
      DrawSlidePage(built);
      s.lines.clear();
      if (r.fadeSpeed != 0) {
        s.fadeStart = host.TickCount();
      } else {
        ShowSlideBuffer();
      }
      break;
    }
    case SlideRollOp::Font:
      if (!FontOfNumber(line.values[0]).empty()) {
        glyphs.SetFont(FontOfNumber(line.values[0]), settings.FONTSIZE, settings.FONTBold != 0);
      }
      break;
    case SlideRollOp::Darkness: r.darkness = line.values[0]; break;
    case SlideRollOp::Size:
      s.fontSize = line.values[0];
      s.pitch = line.values[1];
      s.linePitch = line.values[2];
      break;
    case SlideRollOp::Window:
      s.originX = line.values[0];
      s.originY = line.values[1];
      s.textWidth = line.values[2];
      s.textHeight = line.values[3];
      break;
    case SlideRollOp::Ignored:
    case SlideRollOp::End: break;
  }
}

// Every non-empty page line in large glyphs: the character at byte k (from 1) of the line at
// origin x + k × pitch + the alignment's offset, line i at origin y + i × line pitch.
void TForm1::DrawSlidePage(Bitmap& target) {
  const SlideRoll& s = staffRoll.slide;
  for (size_t i = 0; i < s.lines.size(); ++i) {
    if (s.lines[i].empty()) continue;
    const int64_t y = int64_t{s.originY} + static_cast<int64_t>(i) * s.linePitch;
    if (y <= -kLargeGlyphHeight || y >= target.height) continue;
    const SlidePageLine placed = PlaceSlidePageLine(s.lines[i], s.textWidth, s.pitch);
    for (size_t pos = 0; pos < placed.text.size();) {
      const size_t n = SlideCharLength(placed.text, pos);
      const int64_t x = int64_t{s.originX} + static_cast<int64_t>(pos + 1) * s.pitch + placed.offset;
      if (x > -kLargeGlyphWidth - 1 && x < target.width) {
        RenderLargeGlyph(placed.text.substr(pos, n), s.fontSize);
        DrawLargeGlyph(target, static_cast<int>(x), static_cast<int>(y));
      }
      pos += n;
    }
  }
}

// The buffer just built becomes the screen buffer at once.
void TForm1::ShowSlideBuffer() {
  const SlideRoll& s = staffRoll.slide;
  CopyRegion(s.current == 0 ? s.a : s.b, 0, 0, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
  host.Present(layers.screen, kWholeScreen);
}

// Runs the roll's frames until `until` milliseconds after its start or, when `until` is
// negative, until the running fade is over: each wake comes at the earlier of that moment and the
// next 20 ms frame, lets the window's messages in and runs the fade step.
void TForm1::RunSlideRollFrames(int64_t until) {
  StaffRoll& r = staffRoll;
  for (;;) {
    if (r.aborted) return;
    const int64_t now = static_cast<int64_t>(host.TickCount() - r.slide.start);
    if (until >= 0 ? now >= until : r.fadeSpeed == 0) return;
    int64_t wake = (now / kFrameMs + 1) * kFrameMs;
    if (until >= 0) wake = std::min(wake, until);
    host.Sleep(static_cast<int>(wake - now));
    host.PumpMessages();
    StaffRollFrame();
  }
}

// The slide fade: c = elapsed / speed steps into the fade, the screen buffer := B × w / 256 +
// A × (256 − w) / 256 with w = c towards B and 255 − c towards A; then the window is refreshed
// from the screen buffer. It runs only while a slide roll runs, so a page roll's own fades and
// the buffers released at a roll's end are never touched.
void TForm1::SlideRollFadeStep() {
  StaffRoll& r = staffRoll;
  if (r.kind != RollKind::Slide || r.fadeStepping) return;
  r.fadeStepping = true;
  SlideRoll& s = r.slide;
  if (r.fadeSpeed > 0) {
    int64_t c = static_cast<int64_t>(host.TickCount() - s.fadeStart) / r.fadeSpeed;
    if (c > kFadeSteps) {
      c = kFadeSteps;
      r.fadeSpeed = 0;
    }
    const int w = s.current == 1 ? static_cast<int>(c) : kFadeSteps - static_cast<int>(c);
    CrossfadeTruncated(s.a, s.b, w, layers.screen);
  }
  host.Present(layers.screen, kWholeScreen);
  r.fadeStepping = false;
}

void TForm1::StaffRollClick(MouseButton) {
  if (staffRoll.kind == RollKind::Slide) staffRoll.aborted = true;
}

void TForm1::AppendStaffRollState(std::string& out) const {
  const StaffRoll& r = staffRoll;
  const char* kind = r.kind == RollKind::Page ? "page" : r.kind == RollKind::Slide ? "slide" : "";
  out += "{\"kind\":\"" + std::string(kind) + "\"";
  out += std::string(",\"paused\":") + (r.paused ? "true" : "false");
  out += std::string(",\"aborted\":") + (r.aborted ? "true" : "false");
  out += ",\"darkness\":" + std::to_string(r.darkness);
  out += ",\"fadeSpeed\":" + std::to_string(r.fadeSpeed);
  out += ",\"current\":" + std::to_string(r.slide.current);
  out += ",\"waited\":" + std::to_string(r.slide.waited) + "}";
}

}  // namespace torvel
