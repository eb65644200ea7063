// `bg_anim`: a looping background animation driven by the frame loop. Its frames are whole
// screen pictures (loaded by name, or made from the scene at offsets); while it runs they take the
// screen buffer's place, so the text window and its text are composed over every frame.
#include <algorithm>
#include <climits>
#include <cstring>

#include "graphics/effect_support.h"
#include "graphics/kernels.h"
#include "graphics/picture_arguments.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};
// The one-shot sequence (">") waits this many milliseconds per unit of delay between frames.
constexpr int kOnceMsPerDelay = 30;
constexpr size_t kFrameNameMax = 63;

Rect Intersect(Rect a, Rect b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

Rect Union(Rect a, Rect b) {
  if (b.Empty()) return a;
  if (a.Empty()) return b;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

Rect Placed(int64_t x, int64_t y, int w, int h) {
  // Window and plate positions come from the configuration; far outside the screen is outside it.
  constexpr int64_t kFar = 1 << 20;
  const int left = static_cast<int>(std::clamp<int64_t>(x, -kFar, kFar));
  const int top = static_cast<int>(std::clamp<int64_t>(y, -kFar, kFar));
  return Rect{left, top, left + w, top + h};
}

// A frame number of a play sequence: "0"–"9", then "A"–"Z" for 10–35 when letters are allowed.
int SequenceDigit(char c, bool letters) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!letters) return -1;
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return -1;
}

std::vector<int> ReadSequence(std::string_view text, bool letters, int frameCount) {
  std::vector<int> sequence;
  for (char c : text) {
    const int n = SequenceDigit(c, letters);
    // A number naming a frame that was not made is left out.
    if (n < 0 || n >= frameCount) continue;
    if (sequence.size() >= static_cast<size_t>(kBackgroundSequence)) break;
    sequence.push_back(n);
  }
  return sequence;
}

// `picture` shifted by (dx, dy) into `frame`, black where it does not reach.
void DrawAtOffset(const Bitmap& picture, Bitmap& frame, int dx, int dy) {
  frame.Resize(kScreenWidth, kScreenHeight);
  CopyRegion(picture, 0, 0, frame, dx, dy, picture.width, picture.height);
}

}  // namespace

bool TForm1::BackgroundAnimationRunning() const { return effects.bgAnim.count > 0; }

// The area kept clean under the text window of every frame: the window and, for a plate drawn
// outside it, the plate.
static Rect WindowArea(const TForm1& e) {
  const TextWindow& w = e.textWindow;
  Rect area = Placed(w.x, w.y, w.buffer.width, w.buffer.height);
  if (e.config.NP_TYPE == 1) {
    area = Union(area, Placed(int64_t{w.x} + e.config.NP_OFS_X, int64_t{w.y} + e.config.NP_OFS_Y, w.plate.width,
                              w.plate.height));
  }
  return Intersect(area, kWholeScreen);
}

static void SaveUnder(BackgroundFrame& f, Rect area) {
  f.under.Resize(std::max(area.Width(), 0), std::max(area.Height(), 0));
  CopyRegion(f.picture, area.left, area.top, f.under, 0, 0, area.Width(), area.Height());
}

// Takes the text window off every frame again.
static void CleanFrames(BackgroundAnimation& a) {
  if (!a.windowPasted) return;
  for (int i = 0; i < a.count; ++i) {
    BackgroundFrame& f = a.frames[static_cast<size_t>(i)];
    CopyRegion(f.under, 0, 0, f.picture, a.underArea.left, a.underArea.top, f.under.width, f.under.height);
  }
  a.windowPasted = false;
}

// The menus change while an animation runs: they follow its start and end, whichever way either
// comes.
class MenusFollowAnimation {
 public:
  explicit MenusFollowAnimation(TForm1& e) : e_(e), running_(e.BackgroundAnimationRunning()) {}
  ~MenusFollowAnimation() {
    if (e_.BackgroundAnimationRunning() != running_) e_.UpdateMenus();
  }
  MenusFollowAnimation(const MenusFollowAnimation&) = delete;
  MenusFollowAnimation& operator=(const MenusFollowAnimation&) = delete;

 private:
  TForm1& e_;
  bool running_;
};

static void Stop(BackgroundAnimation& a) {
  CleanFrames(a);
  a.count = 0;
  a.sequence.clear();
  a.position = 0;
}

int TForm1::CmdBgAnim(std::string_view arg) {
  const MenusFollowAnimation menusFollow(*this);
  const std::vector<std::string_view> f = SplitEffectFields(arg);
  const std::string first = SjisUpper(f[0]);
  BackgroundAnimation& a = effects.bgAnim;
  if (first == "END") {
    EndBackgroundAnimation();
    return 0;
  }
  if (first == "RELEASE") {
    StopBackgroundAnimation();
    return 0;
  }
  const bool offsets = first == "OFS";
  const size_t delayField = offsets ? 1 : 0;
  if (delayField < f.size()) a.delay = std::max(1, ReadNumber(f[delayField]));
  const size_t from = delayField + 1;
  if (from >= f.size() || f[from].empty()) return 0;

  // Frames kept from an earlier animation are reused clean.
  const bool wasRunning = a.count > 0;
  Stop(a);
  if (a.frames.size() < static_cast<size_t>(kBackgroundFrames)) a.frames.resize(kBackgroundFrames);
  int count = 0;
  std::vector<int> sequence;
  bool once = false;
  bool sequenceGiven = false;
  if (offsets) {
    for (size_t i = from; i < f.size(); i += 3) {
      if (!f[i].empty() && f[i][0] == '#') {
        sequence = ReadSequence(f[i].substr(1), false, count);
        sequenceGiven = true;
        break;
      }
      if (count == kBackgroundFrames) continue;
      const int blend = ReadNumber(f[i]);
      const int dx = i + 1 < f.size() ? ReadNumber(f[i + 1]) : 0;
      const int dy = i + 2 < f.size() ? ReadNumber(f[i + 2]) : 0;
      BuildOffsetFrame(a.frames[static_cast<size_t>(count++)], blend, dx, dy);
    }
  } else {
    for (size_t i = from; i < f.size(); ++i) {
      if (!f[i].empty() && (f[i][0] == '#' || f[i][0] == '>')) {
        once = f[i][0] == '>';
        sequence = ReadSequence(f[i].substr(1), true, count);
        sequenceGiven = true;
        break;
      }
      if (count == kBackgroundFrames) continue;
      LoadAnimationFrame(a.frames[static_cast<size_t>(count++)], SjisUpper(SjisCut(f[i], kFrameNameMax)));
    }
  }
  if (count == 0) {
    // No frame named: what ran before has stopped and the screen shows the scene again.
    if (wasRunning) {
      ComposeScreen();
      host.Present(layers.screen, kWholeScreen);
    }
    return 0;
  }
  if (!sequenceGiven || sequence.empty()) {
    sequence.clear();
    for (int i = 0; i < count; ++i) sequence.push_back(i);
  }
  a.offsets = offsets;
  a.sequence = sequence;
  a.position = 0;
  a.underArea = WindowArea(*this);
  for (int i = 0; i < count; ++i) SaveUnder(a.frames[static_cast<size_t>(i)], a.underArea);
  if (once) {
    PlayBackgroundSequenceOnce();
    return 0;
  }
  a.count = count;
  ComposeScreen();
  host.Present(layers.screen, kWholeScreen);
  return 0;
}

void TForm1::LoadAnimationFrame(BackgroundFrame& frame, const std::string& name) {
  if (frame.name == name && !name.empty() && !frame.picture.Empty()) return;
  Bitmap loaded(kScreenWidth, kScreenHeight);
  frame.picture.Resize(kScreenWidth, kScreenHeight);
  // A frame that does not load stays black and unnamed, so the next request tries again.
  if (name.empty() || LoadPicture(name, loaded)) {
    frame.name.clear();
    return;
  }
  CopyRegion(loaded, 0, 0, frame.picture, 0, 0, loaded.width, loaded.height);
  frame.name = name;
}

void TForm1::BuildOffsetFrame(BackgroundFrame& frame, int blend, int dx, int dy) {
  dx = std::clamp(dx, -kScreenWidth, kScreenWidth);
  dy = std::clamp(dy, -kScreenHeight, kScreenHeight);
  DrawAtOffset(layers.scene, frame.picture, dx, dy);
  frame.name.clear();
  if (blend == 0) return;
  // Each row is mixed with the screen's row dy further down, where both exist.
  const int left = std::max(dx, 0);
  const int width = kScreenWidth - std::abs(dx);
  for (int y = 0; y < kScreenHeight && width > 0; ++y) {
    if (y + dy < 0 || y + dy >= kScreenHeight) continue;
    const int sx = left - dx;
    BlendRowsAlphaPixels(layers.screen.At(sx, y), layers.screen.At(sx, y + dy), width, blend,
                         frame.picture.At(left, y));
  }
}

void TForm1::PlayBackgroundSequenceOnce() {
  BackgroundAnimation& a = effects.bgAnim;
  const int pause = static_cast<int>(std::min<int64_t>(int64_t{a.delay} * kOnceMsPerDelay, INT_MAX));
  const Bitmap* last = nullptr;
  {
    BlockingEffect blocking(ctl);
    StartFrameClock();
    for (size_t j = 0; j < a.sequence.size(); ++j) {
      if (j > 0) {
        PaceFrame(pause);
        if (blocking.Cut()) {
          vars.S(kVarEffectCut) = 1;
          break;
        }
      }
      last = &a.frames[static_cast<size_t>(a.sequence[j])].picture;
      host.Present(*last, kWholeScreen);
    }
  }
  // A cut ends on the last frame of the sequence, which also stays for later repaints.
  last = &a.frames[static_cast<size_t>(a.sequence.back())].picture;
  host.Present(*last, kWholeScreen);
  layers.screen.pixels = last->pixels;
  a.sequence.clear();
  text.windowShown = false;
}

void TForm1::EndBackgroundAnimation() {
  const MenusFollowAnimation menusFollow(*this);
  BackgroundAnimation& a = effects.bgAnim;
  if (a.count == 0) return;
  const bool offsets = a.offsets;
  const int current = a.sequence[static_cast<size_t>(a.position)];
  Stop(a);
  if (offsets) {
    LoadBackground(layers.backgroundName);
  } else {
    const BackgroundFrame& f = a.frames[static_cast<size_t>(current)];
    layers.background = f.picture;
    layers.backgroundName = f.name;
  }
  layers.backgroundChanged = true;
  ComposeScene();
  ComposeScreen();
  host.Present(layers.screen, kWholeScreen);
}

void TForm1::StopBackgroundAnimation() {
  const MenusFollowAnimation menusFollow(*this);
  BackgroundAnimation& a = effects.bgAnim;
  const bool wasRunning = a.count > 0;
  Stop(a);
  if (settings.MemorySaveMode != 0) a.frames.clear();
  if (!wasRunning) return;
  ComposeScreen();
  host.Present(layers.screen, kWholeScreen);
}

void TForm1::BackgroundAnimationFrame() {
  BackgroundAnimation& a = effects.bgAnim;
  if (a.count == 0 || a.sequence.empty() || ctl.frameCounter % a.delay != 0) return;
  if (ctl.screenMode != smScenario && ctl.screenMode != smWindowHidden) return;
  if (ctl.saveLoadScreen != 0) return;
  // A window closed since the frames were composed leaves them.
  if (!text.windowShown) CleanFrames(a);
  a.position = (a.position + 1) % static_cast<int>(a.sequence.size());
  const BackgroundFrame& f = a.frames[static_cast<size_t>(a.sequence[static_cast<size_t>(a.position)])];
  layers.screen.pixels = f.picture.pixels;
  if (ctl.screenMode == smWindowHidden) {
    // The window stays hidden: the frame's clean region goes back over it.
    CopyRegion(f.under, 0, 0, layers.screen, a.underArea.left, a.underArea.top, f.under.width, f.under.height);
  }
  host.Present(layers.screen, kWholeScreen);
}

// ---- hooks of the compositor, the text window and the glyphs ----

// The clean regions follow the window: when it has moved they are taken again where it now lies.
static void FollowWindow(TForm1& e) {
  BackgroundAnimation& a = e.effects.bgAnim;
  const Rect area = WindowArea(e);
  if (area.left == a.underArea.left && area.top == a.underArea.top && area.Width() == a.underArea.Width() &&
      area.Height() == a.underArea.Height()) {
    return;
  }
  CleanFrames(a);
  a.underArea = area;
  for (int i = 0; i < a.count; ++i) SaveUnder(a.frames[static_cast<size_t>(i)], area);
}

void TForm1::PutAnimationFrameOnScreen() {
  BackgroundAnimation& a = effects.bgAnim;
  if (a.count == 0 || vars.S(kVarDisplayMode) != 0) return;
  CleanFrames(a);
  FollowWindow(*this);
  layers.screen.pixels = ShownScreenPicture().pixels;
}

void TForm1::ComposeWindowOverAnimationFrames() {
  BackgroundAnimation& a = effects.bgAnim;
  if (a.count == 0 || vars.S(kVarDisplayMode) != 0) return;
  FollowWindow(*this);
  const TextWindow& w = textWindow;
  const int width = w.buffer.width;
  const int height = w.buffer.height;
  const Rect shown = Intersect(Placed(w.x, w.y, width, height), kWholeScreen);
  const size_t bytes = static_cast<size_t>(width) * 3;
  const int groups = static_cast<int>(bytes / 8);
  Bitmap under(width, 1), row(width, 1);
  for (int i = 0; i < a.count; ++i) {
    BackgroundFrame& f = a.frames[static_cast<size_t>(i)];
    f.windowed.Resize(std::max(shown.Width(), 0), std::max(shown.Height(), 0));
    for (int y = shown.top; y < shown.bottom; ++y) {
      // The same blend as the window over the scene, over this frame's clean picture; off the
      // screen the window lies over black.
      const int r = y - w.y;
      std::memset(under.Row(0), 0, bytes);
      CopyRegion(f.under, shown.left - a.underArea.left, y - a.underArea.top, under, shown.left - w.x, 0, shown.Width(),
                 1);
      BlendRowsMasked(under.Row(0), w.frame.Row(r), groups, w.frame.Row(height + r), row.Row(0));
      std::memcpy(row.Row(0) + groups * 8, under.Row(0) + groups * 8, bytes - static_cast<size_t>(groups) * 8);
      CopyRegion(row, shown.left - w.x, 0, f.windowed, 0, y - shown.top, shown.Width(), 1);
    }
  }
}

void TForm1::PasteWindowOnAnimationFrames() {
  BackgroundAnimation& a = effects.bgAnim;
  if (a.count == 0 || vars.S(kVarDisplayMode) != 0) return;
  const TextWindow& w = textWindow;
  const Rect shown = Intersect(Placed(w.x, w.y, w.buffer.width, w.buffer.height), kWholeScreen);
  const Rect plate =
      Placed(int64_t{w.x} + config.NP_OFS_X, int64_t{w.y} + config.NP_OFS_Y, w.plate.width, w.plate.height);
  for (int i = 0; i < a.count; ++i) {
    BackgroundFrame& f = a.frames[static_cast<size_t>(i)];
    CopyRegion(f.windowed, 0, 0, f.picture, shown.left, shown.top, f.windowed.width, f.windowed.height);
    f.cleanPlate.Resize(w.plate.width, w.plate.height);
    CopyRegion(f.picture, plate.left, plate.top, f.cleanPlate, 0, 0, plate.Width(), plate.Height());
  }
  a.windowPasted = true;
  const BackgroundFrame& current = a.frames[static_cast<size_t>(a.sequence[static_cast<size_t>(a.position)])];
  CopyRegion(current.windowed, 0, 0, layers.screen, shown.left, shown.top, current.windowed.width,
             current.windowed.height);
}

void TForm1::DrawGlyphOnAnimationFrames(int x, int y) {
  BackgroundAnimation& a = effects.bgAnim;
  if (vars.S(kVarDisplayMode) != 0) return;
  for (int i = 0; i < a.count; ++i) DrawGlyph(a.frames[static_cast<size_t>(i)].picture, x, y);
}

void TForm1::DrawNamePlateOnAnimationFrames(std::string_view name) {
  BackgroundAnimation& a = effects.bgAnim;
  if (a.count == 0 || !a.windowPasted) return;
  const TextWindow& w = textWindow;
  Bitmap plate;
  for (int i = 0; i < a.count; ++i) {
    BackgroundFrame& f = a.frames[static_cast<size_t>(i)];
    plate = f.cleanPlate;
    if (config.NP_TYPE == 0) DrawString(name, kPlainPlateTextX, plate, 0, kPlateTextY);
    if (config.NP_TYPE == 1) {
      DrawStacked(plate, 0, w.namePicture, 0);
      DrawString(name, kPicturePlateTextX, plate, 0, kPlateTextY);
    }
    CopyRegion(plate, 0, 0, f.picture, w.x + config.NP_OFS_X, w.y + config.NP_OFS_Y, plate.width, plate.height);
  }
}

bool TForm1::EraseTextOnAnimationFrames() {
  BackgroundAnimation& a = effects.bgAnim;
  if (a.count == 0 || !a.windowPasted) return false;
  const TextWindow& w = textWindow;
  const Rect shown = Intersect(Placed(w.x, w.y, w.buffer.width, w.buffer.height), kWholeScreen);
  for (int i = 0; i < a.count; ++i) {
    BackgroundFrame& f = a.frames[static_cast<size_t>(i)];
    CopyRegion(f.windowed, 0, 0, f.picture, shown.left, shown.top, f.windowed.width, f.windowed.height);
    if (config.NP_TYPE == 1) {
      CopyRegion(f.cleanPlate, 0, 0, f.picture, w.x + config.NP_OFS_X, w.y + config.NP_OFS_Y, f.cleanPlate.width,
                 f.cleanPlate.height);
    }
  }
  // The current frame's window goes to the screen buffer and the window.
  const Bitmap& current = ShownScreenPicture();
  const Rect area = Intersect(a.underArea, kWholeScreen);
  CopyRegion(current, area.left, area.top, layers.screen, area.left, area.top, area.Width(), area.Height());
  if (!area.Empty()) host.Present(layers.screen, area);
  return true;
}

const Bitmap& TForm1::ShownScreenPicture() const {
  const BackgroundAnimation& a = effects.bgAnim;
  // The full-screen page is drawn over the screen buffer only.
  if (a.count == 0 || a.sequence.empty() || vars.S(kVarDisplayMode) != 0) return layers.screen;
  return a.frames[static_cast<size_t>(a.sequence[static_cast<size_t>(a.position)])].picture;
}

}  // namespace torvel
