// The destination map of `map`: the town map with five areas; hovering an area lights it, a click
// opens its list of destinations from `mapctrl`; two destinations are picked one after the other
// and confirmed, which sets their F flags and lets the script go on with S115 and S116.
#include <algorithm>
#include <cstdio>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr Point kPlates[kMapAreas] = {{370, 225}, {52, 117}, {335, 233}, {445, 241}, {59, 293}};
constexpr Point kLists[kMapAreas] = {{471, 294}, {119, 314}, {343, 99}, {515, 309}, {67, 342}};
constexpr int kListWidth = 236;
constexpr int kRowHeight = 45;
constexpr int kCaptionOffsetX = 110;
constexpr int kCaptionOffsetY = 6;
constexpr int kCaptionPitch = 12;
constexpr Point kStripAt{24, 541};
constexpr Point kStripCaption{186, 8};
constexpr Point kRankAt{0, 460};
constexpr int kConfirmCaptionX = 395;
constexpr int kFirstCaptionY = 218;
constexpr int kSecondCaptionY = 280;
constexpr Point kOkAt{266, 382};
constexpr Point kBackAt{407, 382};
constexpr int kButtonWidth = 128;
constexpr int kButtonHeight = 32;
constexpr int kColourPlain = 0;
constexpr int kColourHighlighted = 2;
constexpr int kColourVisited = 4;
constexpr int kFirstDestinationFlag = 482;
constexpr int kVarFirstValue = 115;
constexpr int kVarSecondValue = 116;
constexpr int kBlinks = 5;
constexpr int kBlinkMs = 50;
constexpr int kHoverRecheckFrames = 16;
constexpr int kOpeningFadeStep = 4;
constexpr int kOpeningFadePeriodMs = 10;
// The hit map's colour index b + r + g (b = 1, r = 2, g = 4 for a byte of 128 or more) to its area.
constexpr int kAreaOfColour[8] = {0, 1, 2, 3, 4, 0, 5, 0};
const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

std::string Numbered(const char* pattern, int n) {
  char name[40];
  std::snprintf(name, sizeof name, pattern, n);
  return name;
}

// "tr_mask%d%d": the chapter's mask of an area.
std::string MaskName(int chapter, int area) {
  char name[40];
  std::snprintf(name, sizeof name, "tr_mask%d%d", chapter, area);
  return name;
}

void AppendJsonText(std::string& out, std::string_view utf8) {
  out += '"';
  for (char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

Rect ListRect(int area, int rows) {
  const Point l = kLists[area - 1];
  return Rect{l.x, l.y, l.x + kListWidth, l.y + kRowHeight * rows};
}

Rect RowRect(int area, int row) {
  const Point l = kLists[area - 1];
  return Rect{l.x, l.y + kRowHeight * row, l.x + kListWidth, l.y + kRowHeight * (row + 1)};
}

Rect ButtonRect(int button) {
  const Point at = button == 1 ? kOkAt : kBackAt;
  return Rect{at.x, at.y, at.x + kButtonWidth, at.y + kButtonHeight};
}

void CopyWhole(const Bitmap& from, Bitmap& to) { CopyRegion(from, 0, 0, to, 0, 0, kScreenWidth, kScreenHeight); }

}  // namespace

int TForm1::CmdMap(std::string_view) {
  StopSkipAndAuto(false);
  TitleMap& m = titleMap;
  const int chapter = vars.V(100) == 0 ? 1 : vars.V(100);
  if (!LoadScript("mapctrl", 2)) return 1;
  const std::string_view table(reinterpret_cast<const char*>(script.aux.data()), static_cast<size_t>(script.auxSize));
  MapSection section = ReadMapSection(table, chapter, [this](int flag) { return vars.F.Test(flag); });
  if (!section.found) return 1;
  m = TitleMap{};
  // Without its map or its hit map nothing could be shown or chosen: the command does nothing.
  if (!LoadImage(Numbered("tr_base%da", chapter), m.map) || !LoadImage("tr_hitmap", m.hitMap)) {
    m = TitleMap{};
    return 1;
  }
  m.chapter = chapter;
  m.destinations = std::move(section.destinations);
  if (!LoadImage(Numbered("tr_base%db", chapter), m.mapLit)) m.mapLit = m.map;
  Bitmap rank;
  if (LoadImage(Numbered("tr_rank%d", chapter), rank)) {
    DrawStacked(m.map, kRankAt.x, rank, kRankAt.y);
    DrawStacked(m.mapLit, kRankAt.x, rank, kRankAt.y);
  }
  LoadImage("tr_confirm", m.confirm);
  LoadImage("tr_choice", m.choice);
  LoadImage("tr_sel", m.listRow);
  LoadImage("tr_sel_om", m.listRowLit);
  LoadImage("tr_ok", m.ok);
  LoadImage("tr_ok_om", m.okLit);
  LoadImage("tr_ret", m.back);
  LoadImage("tr_ret_om", m.backLit);
  for (int a = 1; a <= kMapAreas; ++a) {
    LoadImage(Numbered("tr_sel%d", a), m.plates[static_cast<size_t>(a)]);
    LoadImage(MaskName(chapter, a), m.masks[static_cast<size_t>(a)]);
  }
  m.strip.Resize(m.choice.width, m.choice.height / 2);
  CopyRegion(m.map, kStripAt.x, kStripAt.y, m.strip, 0, 0, m.strip.width, m.strip.height);

  layers.previous.pixels = layers.screen.pixels;
  CopyWhole(m.map, layers.screen);
  CrossfadeAnimated(kOpeningFadeStep, kOpeningFadePeriodMs);
  ctl.interruptRequest = 0;
  m.step = 1;
  ctl.screenMode = smTitleMap;
  return 1;
}

// The area under (x, y): read from the hit map's colour there, 0 outside it and for areas that
// list no destination.
int TForm1::TitleMapAreaAt(int x, int y) const {
  const TitleMap& m = titleMap;
  if (x < 0 || y < 0 || x >= m.hitMap.width || y >= m.hitMap.height) return 0;
  const uint8_t* p = m.hitMap.At(x, y);
  const int index = (p[0] >= 128 ? 1 : 0) + (p[2] >= 128 ? 2 : 0) + (p[1] >= 128 ? 4 : 0);
  const int area = kAreaOfColour[index];
  return area != 0 && !m.destinations[static_cast<size_t>(area)].empty() ? area : 0;
}

int TForm1::TitleMapFlag(int area, int row) const {
  const int64_t n = kFirstDestinationFlag + int64_t{15} * titleMap.chapter + int64_t{3} * area + row;
  return n >= 0 && n <= INT32_MAX ? static_cast<int>(n) : -1;
}

// The choice strip over the screen buffer: the map as it was there, and in step 2 the strip's
// picture with the first destination's caption.
void TForm1::DrawTitleMapStrip(Bitmap& target) {
  TitleMap& m = titleMap;
  Bitmap strip = m.strip;
  if (m.step == 2) {
    DrawStacked(strip, 0, m.choice, 0);
    DrawStringPitch(m.first, kStripCaption.x, kCaptionPitch, strip, kColourPlain, kStripCaption.y);
  }
  CopyRegion(strip, 0, 0, target, kStripAt.x, kStripAt.y, strip.width, strip.height);
}

void TForm1::RedrawTitleMap() {
  TitleMap& m = titleMap;
  Bitmap& screen = layers.screen;
  m.area = 0;
  m.row = 0;
  m.button = 0;
  if (m.step == 3) {
    m.highlight = m.map;
    DrawStacked(m.highlight, 0, m.confirm, 0);
    DrawStringPitch(m.first, kConfirmCaptionX, kCaptionPitch, m.highlight, kColourPlain, kFirstCaptionY);
    DrawStringPitch(m.second, kConfirmCaptionX, kCaptionPitch, m.highlight, kColourPlain, kSecondCaptionY);
    CopyWhole(m.highlight, screen);
    DrawStacked(screen, kOkAt.x, m.ok, kOkAt.y);
    DrawStacked(screen, kBackAt.x, m.back, kBackAt.y);
    DrawStacked(m.highlight, kOkAt.x, m.okLit, kOkAt.y);
    DrawStacked(m.highlight, kBackAt.x, m.backLit, kBackAt.y);
  } else if (m.listArea == 0) {
    CopyWhole(m.map, screen);
    DrawTitleMapStrip(screen);
  } else {
    const int a = m.listArea;
    m.highlight = m.map;
    DrawTitleMapStrip(m.highlight);
    CopyWhole(m.highlight, screen);
    const Point plate = kPlates[a - 1];
    DrawStacked(screen, plate.x, m.plates[static_cast<size_t>(a)], plate.y);
    DrawStacked(m.highlight, plate.x, m.plates[static_cast<size_t>(a)], plate.y);
    const std::vector<MapDestination>& list = m.destinations[static_cast<size_t>(a)];
    const Point l = kLists[a - 1];
    for (size_t i = 0; i < list.size(); ++i) {
      const int y = l.y + kRowHeight * static_cast<int>(i);
      DrawStacked(screen, l.x, m.listRow, y);
      DrawStacked(m.highlight, l.x, m.listRowLit, y);
      const bool visited = vars.F.Test(TitleMapFlag(a, static_cast<int>(i)));
      DrawStringPitch(list[i].caption, l.x + kCaptionOffsetX, kCaptionPitch, screen,
                      visited ? kColourVisited : kColourPlain, y + kCaptionOffsetY);
      DrawStringPitch(list[i].caption, l.x + kCaptionOffsetX, kCaptionPitch, m.highlight, kColourHighlighted,
                      y + kCaptionOffsetY);
    }
  }
  host.Present(screen, kWholeScreen);
}

void TForm1::TitleMapHover(int x, int y) {
  TitleMap& m = titleMap;
  if (ctl.screenMode != smTitleMap || m.step == 0) return;
  Bitmap& screen = layers.screen;
  if (m.step == 3) {
    int button = 0;
    if (y >= kOkAt.y && y < kOkAt.y + kButtonHeight) {
      if (x >= kOkAt.x && x <= kOkAt.x + kButtonWidth - 1) button = 1;
      if (x >= kBackAt.x && x <= kBackAt.x + kButtonWidth - 1) button = 2;
    }
    if (button == m.button) return;
    m.button = button;
    host.Present(screen, kWholeScreen);
    if (button != 0) host.Present(m.highlight, ButtonRect(button));
    return;
  }
  if (m.listArea == 0) {
    const int area = TitleMapAreaAt(x, y);
    if (area == m.area) return;
    m.area = area;
    CopyWhole(m.map, screen);
    DrawTitleMapStrip(screen);
    if (area != 0) MaskBlendScreen(screen, m.mapLit, m.masks[static_cast<size_t>(area)], screen);
    host.Present(screen, kWholeScreen);
    return;
  }
  const std::vector<MapDestination>& list = m.destinations[static_cast<size_t>(m.listArea)];
  const int rows = static_cast<int>(list.size());
  const Rect listRect = ListRect(m.listArea, rows);
  if (x >= listRect.left && x < listRect.right && y >= listRect.top && y < listRect.bottom) {
    const int row = (y - listRect.top) / kRowHeight;
    if (row + 1 == m.row) return;
    m.row = row + 1;
    host.Present(screen, listRect);
    host.Present(m.highlight, RowRect(m.listArea, row));
    const MapDestination& chosen = list[static_cast<size_t>(row)];
    if (m.step == 1) {
      m.first = chosen.caption;
      vars.S(kVarFirstValue) = chosen.value;
      m.firstFlag = TitleMapFlag(m.listArea, row);
    } else {
      m.second = chosen.caption;
      vars.S(kVarSecondValue) = chosen.value;
      m.secondFlag = TitleMapFlag(m.listArea, row);
    }
  } else if (m.row != 0) {
    m.row = 0;
    host.Present(screen, listRect);
  }
}

void TForm1::TitleMapClick(MouseButton button, int, int) {
  if (ctl.screenMode == smTitleScreen) {
    CloseStatusScreen();
    return;
  }
  TitleMap& m = titleMap;
  if (ctl.screenMode != smTitleMap || m.step == 0) return;
  if (button == MouseButton::Right) {
    if (m.listArea != 0 && m.step < 3) {
      m.listArea = 0;
    } else if (m.step == 2 || m.step == 3) {
      --m.step;
    }
    RedrawTitleMap();
    return;
  }
  if (button != MouseButton::Left) return;
  if (m.step == 3) {
    if (m.button == 2) {
      m.step = 1;
      RedrawTitleMap();
    } else if (m.button == 1) {
      const int first = m.firstFlag;
      const int second = m.secondFlag;
      CloseTitleMap();
      vars.F.Set(first);
      vars.F.Set(second);
    }
    return;
  }
  if (m.listArea == 0) {
    if (m.area != 0) {
      m.listArea = m.area;
      RedrawTitleMap();
    }
    return;
  }
  if (m.row != 0) {
    BlinkTitleMapRow(RowRect(m.listArea, m.row - 1));
    ++m.step;
  }
  m.listArea = 0;
  RedrawTitleMap();
}

// The chosen row blinks five times between its normal and highlighted looks before the list
// closes. Input waits meanwhile.
void TForm1::BlinkTitleMapRow(Rect row) {
  ctl.blockingScene = true;
  for (int i = 0; i < kBlinks; ++i) {
    host.Present(layers.screen, row);
    host.Sleep(kBlinkMs);
    host.PumpMessages();
    host.Present(titleMap.highlight, row);
    host.Sleep(kBlinkMs);
    host.PumpMessages();
  }
  ctl.blockingScene = false;
}

// Every 16th frame the hover is worked out again where the pointer last was, so a redraw that
// cleared it lights what lies under a pointer that has not moved.
void TForm1::TitleMapFrame() {
  if (ctl.frameCounter % kHoverRecheckFrames == 0) TitleMapHover(input.lastMouseX, input.lastMouseY);
}

// A repaint shows the screen buffer and then the highlight of the hovered row or button.
void TForm1::TitleMapPaint() {
  const TitleMap& m = titleMap;
  host.Present(layers.screen, kWholeScreen);
  if (m.step != 3 && m.listArea != 0 && m.row != 0) host.Present(m.highlight, RowRect(m.listArea, m.row - 1));
  if (m.step == 3 && m.button != 0) host.Present(m.highlight, ButtonRect(m.button));
}

void TForm1::CloseTitleMap() {
  if (titleMap.step == 0 && ctl.screenMode != smTitleMap) return;
  titleMap = TitleMap{};
  ctl.screenMode = smScenario;
}

void TForm1::AppendTitleMapState(std::string& out) const {
  const TitleMap& m = titleMap;
  out += "{\"step\":" + std::to_string(m.step);
  out += ",\"listArea\":" + std::to_string(m.listArea);
  out += ",\"area\":" + std::to_string(m.area);
  out += ",\"row\":" + std::to_string(m.row);
  out += ",\"button\":" + std::to_string(m.button);
  out += ",\"first\":";
  AppendJsonText(out, SjisToUtf8(m.first));
  out += ",\"second\":";
  AppendJsonText(out, SjisToUtf8(m.second));
  out += "}";
}

}  // namespace torvel
