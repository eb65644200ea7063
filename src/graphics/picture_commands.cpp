// Picture commands: backgrounds, sprites, the overlay, the display mode, fades, the parts sheet,
// pictures drawn straight to the window, and pans across large pictures.
#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/picture_arguments.h"
#include "resources/sjis.h"
#include "script/expressions.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr Rect kFullScreen{0, 0, kScreenWidth, kScreenHeight};
constexpr int kFadeTransition = 3;
constexpr int kModeTransition = 6;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kDirectPumpMs = 10;  // how often `direct` lets input through while it waits
// The transparent colour of `ptset` (aqua): blue and green full, red none.
constexpr uint8_t kClearB = 0xFF, kClearG = 0xFF, kClearR = 0x00;

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitCommas(std::string_view s) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (;;) {
    size_t comma = s.find(',', start);
    out.push_back(s.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return out;
    start = comma + 1;
  }
}

// Copies `source` onto `target` at (x, y), clipped; pixels of the transparent colour are skipped
// when `keyed`.
void Blit(const Bitmap& source, Rect from, Bitmap& target, int x, int y, bool keyed, Rect& touched) {
  // Far outside the window is as good as just outside it, and keeps the sums below in range.
  constexpr int kFar = 1 << 20;
  x = std::clamp(x, -kFar, kFar);
  y = std::clamp(y, -kFar, kFar);
  from.left = std::max(from.left, 0);
  from.top = std::max(from.top, 0);
  from.right = std::min(from.right, source.width);
  from.bottom = std::min(from.bottom, source.height);
  // Shift the destination with whatever the source clipping removed.
  if (x < 0) {
    from.left -= x;
    x = 0;
  }
  if (y < 0) {
    from.top -= y;
    y = 0;
  }
  from.right = std::min(from.right, from.left + (target.width - x));
  from.bottom = std::min(from.bottom, from.top + (target.height - y));
  touched = Rect{};
  if (from.Empty()) return;
  for (int r = 0; r < from.Height(); ++r) {
    const uint8_t* s = source.At(from.left, from.top + r);
    uint8_t* d = target.At(x, y + r);
    if (!keyed) {
      std::memcpy(d, s, static_cast<size_t>(from.Width()) * 3);
      continue;
    }
    for (int c = 0; c < from.Width(); ++c, s += 3, d += 3) {
      if (s[0] == kClearB && s[1] == kClearG && s[2] == kClearR) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  touched = Rect{x, y, x + from.Width(), y + from.Height()};
}

}  // namespace

void TForm1::ClearSpriteLayers() {
  layers.spriteCount = 0;
  layers.positionNames[0].clear();
  layers.positionNames[1].clear();
  layers.spriteSpec.clear();
}

void TForm1::MarkPictureSeen(std::string_view name) {
  std::string upper = SjisUpper(name);
  const std::vector<std::string>& list = layers.galleryPictures;
  auto it = std::find(list.begin(), list.end(), upper);
  if (it != list.end()) vars.D.Set(static_cast<int>(it - list.begin()));
}

void TForm1::RecordPictureCommand(PictureCommandRecord& record) {
  record.script = script.currentScript;
  record.line = script.lineStart;
  record.spriteCount = layers.spriteCount;
}

int TForm1::ShowPicture(std::string_view argument, bool prepareOnly) {
  PictureArgument arg = ParsePictureArgument(argument);
  if (prepareOnly) layers.grbPending = true;
  const char kind = arg.name.empty() ? '\0' : static_cast<char>(arg.name[0] & ~0x20);
  switch (kind) {
    case 'A':
      layers.backgroundName = SjisUpper(arg.name);
      LoadBackground(layers.backgroundName);
      RecordPictureCommand(layers.lastBackgroundCommand);
      if (!prepareOnly || arg.number > 0) {
        ClearSpriteLayers();
        PresentScene(arg.number);
      }
      break;
    case 'B': {
      std::string spec;
      if (arg.left || arg.right) {
        if (arg.left) {
          layers.positionNames[0] = arg.name;
        } else {
          layers.positionNames[1] = arg.name;
          if (layers.spriteCount == 1) layers.positionNames[0].clear();
        }
        spec = layers.positionNames[0] + "," + layers.positionNames[1];
      } else {
        layers.spriteCount = 1;
        spec = arg.name;
        for (int i = 0; i < kMaxDrawnSprites; ++i) layers.positionNames[static_cast<size_t>(i)].clear();
      }
      SetSprites(spec);
      RecordPictureCommand(layers.lastSpriteCommand);
      if (!prepareOnly) PresentScene(arg.number);
      break;
    }
    case 'S':
      FillSolid(arg.name, layers.background);
      layers.backgroundName = SjisUpper(arg.name);
      layers.backgroundChanged = true;
      RecordPictureCommand(layers.lastBackgroundCommand);
      if (!layers.grbPending) {
        ClearSpriteLayers();
        PresentScene(arg.number);
      }
      break;
    default: return 0;
  }
  if (!prepareOnly) layers.grbPending = false;
  return 0;
}

int TForm1::CmdGra(std::string_view arg) {
  ShowPicture(arg, false);
  return AnswerInterruptAfterPictureChange();
}

int TForm1::CmdGrb(std::string_view arg) { return ShowPicture(arg, true); }

int TForm1::CmdBg(std::string_view argument) {
  PictureArgument arg = ParsePictureArgument(argument);
  layers.backgroundName = SjisUpper(arg.name);
  LoadBackground(layers.backgroundName);
  RecordPictureCommand(layers.lastBackgroundCommand);
  if (!layers.grbPending) {
    ClearSpriteLayers();
    PresentScene(arg.number);
  }
  return 0;
}

int TForm1::CmdClrb(std::string_view argument) {
  std::string_view arg = TrimRight(argument);
  const char last = arg.empty() ? '\0' : static_cast<char>(arg.back() & ~0x20);
  if (last == 'L' || last == 'R') {
    layers.positionNames[last == 'L' ? 0 : 1].clear();
    layers.spriteSpec = layers.positionNames[0] + "," + layers.positionNames[1];
  } else {
    ClearSpriteLayers();
  }
  PresentScene(ReadNumber(arg));
  return 0;
}

int TForm1::CmdSpr(std::string_view arg) {
  int transition = SetSprites(arg);
  RecordPictureCommand(layers.lastSpriteCommand);
  PresentScene(transition);
  return 0;
}

int TForm1::CmdChar(std::string_view arg) { return CmdSpr(arg); }

int TForm1::CmdOvr(std::string_view argument) {
  std::string name = FirstToken(argument, kPictureNameMax);
  std::string_view rest = argument.substr(std::min(argument.size(), name.size()));
  int transition = 1;
  if (!rest.empty()) {
    std::vector<std::string_view> fields = SplitCommas(rest.substr(1));
    if (!fields[0].empty()) transition = ReadNumber(fields[0]);
    if (fields.size() > 1) vars.S(kVarOverlayLeft) = ReadNumber(fields[1]);
    if (fields.size() > 2) vars.S(kVarOverlayTop) = ReadNumber(fields[2]);
  }
  layers.overlayName = name;
  if (!SjisEqualNoCase(name, "OFF")) {
    LoadImage(name, layers.overlay);
    vars.S(kVarOverlaySet) = 1;
  } else {
    vars.S(kVarOverlaySet) = 0;
  }
  PresentScene(transition);
  text.windowShown = false;
  return 1;
}

int TForm1::CmdMode(std::string_view arg) {
  // The default colour and the colour of the text to come are reset, whichever mode is asked.
  vars.S(kVarTextColour) = static_cast<int32_t>(kWhite);
  text.colourIndex = 0;
  SetTextColour(0);
  int mode = ReadNumber(arg);
  if (mode != vars.S(kVarDisplayMode)) {
    ClearPage();
    if (mode == 0) {
      vars.S(kVarDisplayMode) = 0;
      DrawQuickButtons(1);
    } else {
      vars.S(kVarDisplayMode) = 1;
      ComposeScreen();
    }
    PresentScene(kModeTransition);
  }
  return 1;
}

int TForm1::CmdFadein(std::string_view arg) {
  vars.S(kVarFadeSpeed) = ReadNumber(arg);
  PresentScene(kFadeTransition);
  return 0;
}

int TForm1::CmdFadeout(std::string_view arg) {
  vars.S(kVarFadeSpeed) = ReadNumber(arg);
  return CmdGra("S000,3");
}

int TForm1::CmdPartsload(std::string_view argument) {
  size_t comma = argument.find(',');
  if (comma == std::string_view::npos) {
    LoadPicture(argument, layers.parts);
    vars.S(kVarPartsMasked) = 0;
    return 0;
  }
  // The mask has a buffer of its own: the work buffer stays the size transitions need.
  LoadPicture(argument.substr(0, comma), layers.parts);
  LoadPicture(argument.substr(comma + 1), layers.partsMask);
  vars.S(kVarPartsMasked) = 1;
  return 0;
}

void TForm1::ShowOnWindow(const Bitmap& picture, Rect from, int x, int y, bool keyed) {
  Bitmap shown;
  if (!host.ReadWindow(shown) || shown.width != kScreenWidth || shown.height != kScreenHeight) shown = layers.screen;
  Rect touched;
  Blit(picture, from, shown, x, y, keyed, touched);
  if (!touched.Empty()) host.Present(shown, touched);
}

int TForm1::CmdPtset(std::string_view argument) {
  std::vector<std::string_view> fields = SplitCommas(argument);
  std::array<int, 6> v{};
  for (size_t i = 0; i < v.size() && i < fields.size(); ++i) v[i] = Evaluate(fields[i], vars, random);
  Rect from{v[0], v[1], v[2], v[3]};
  if (from.Empty()) return 0;
  ShowOnWindow(layers.parts, from, v[4], v[5], true);
  return 0;
}

int TForm1::CmdDirect(std::string_view argument) {
  const uint32_t start = host.TickCount();
  ctl.scriptRunning = false;
  std::vector<std::string_view> fields = SplitCommas(argument);
  std::string_view name = fields[0].substr(0, std::min(fields[0].size(), kDirectNameMax));
  int wait = fields.size() > 1 ? ReadNumber(fields[1]) : 0;
  int x = fields.size() > 2 ? ReadNumber(fields[2]) : 0;
  int y = fields.size() > 3 ? ReadNumber(fields[3]) : 0;
  if (LoadImage(name, layers.parts)) {
    ShowOnWindow(layers.parts, Rect{0, 0, layers.parts.width, layers.parts.height}, x, y, false);
  }
  while (static_cast<int32_t>(host.TickCount() - start) < wait) {
    uint32_t next = std::min(start + static_cast<uint32_t>(wait), host.TickCount() + kDirectPumpMs);
    WaitUntil(next);
  }
  ctl.scriptRunning = true;
  return 0;
}

int TForm1::CmdScroll(std::string_view argument) {
  std::vector<std::string_view> fields = SplitCommas(argument);
  auto field = [&](size_t i) { return i < fields.size() ? ReadNumber(fields[i]) : 0; };
  std::string_view name = fields[0].substr(0, std::min(fields[0].size(), kPictureNameMax));
  const int direction = field(1);
  const int period = field(2);
  const int transition = field(3);

  SetMenuLock(true);
  MarkPictureSeen(name);
  Bitmap picture;
  // A view is a whole screen: a picture smaller than the screen has nothing to pan across.
  if (!LoadImage(name, picture) || picture.width < kScreenWidth || picture.height < kScreenHeight) {
    SetMenuLock(false);
    return 1;
  }
  const bool vertical = direction == 0 || direction == 2;
  const int distance = vertical ? picture.height - kScreenHeight : picture.width - kScreenWidth;
  auto view = [&](int offset, Bitmap& out) {
    offset = std::clamp(offset, 0, distance);
    int sx = 0, sy = 0;
    switch (direction) {
      case 0: sy = distance - offset; break;
      case 1: sx = offset; break;
      case 2: sy = offset; break;
      case 3: sx = distance - offset; break;
      default: break;
    }
    for (int r = 0; r < kScreenHeight; ++r) {
      std::memcpy(out.Row(r), picture.At(sx, sy + r), static_cast<size_t>(kScreenWidth) * 3);
    }
  };

  ctl.screenMode = smScroll;
  layers.previous.pixels = layers.screen.pixels;
  view(0, layers.screen);
  RunTransition(transition);

  ctl.blockingScene = true;
  ctl.interruptibleWait = true;
  ctl.interruptRequest = 0;
  Bitmap frame(kScreenWidth, kScreenHeight);
  StartFrameClock();
  for (int offset = 0; offset < distance;) {
    view(offset, frame);
    host.Present(frame, kFullScreen);
    host.PumpMessages();
    if (ctl.interruptRequest != 0) break;
    offset += PaceFrame(period);
  }
  const bool closeAsked = ctl.interruptRequest == 2;
  ctl.interruptRequest = 0;
  ctl.interruptibleWait = false;
  ctl.blockingScene = false;

  ctl.screenMode = smScenario;
  view(distance, layers.screen);
  host.Present(layers.screen, kFullScreen);
  SetMenuLock(false);
  DrawQuickButtons(1);
  if (closeAsked) Close();
  return 1;
}

}  // namespace torvel
