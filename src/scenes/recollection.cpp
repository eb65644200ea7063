// The recollection screen: tabs of scene pages, the record panel of the current slot, drags into
// and out of its play list, previews and replays of seen scenes.
#include "scenes/recollection.h"

#include <algorithm>
#include <cstring>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr uint32_t kWhiteText = 0xFFFFFF;
constexpr uint32_t kSilverText = 0xC0C0C0;
constexpr uint32_t kGreenText = 0x00FF00;
constexpr uint32_t kBlueText = 0xFF0000;  // 0x00BBGGRR
constexpr Rect kPanel{568, 155, 568 + 208, 155 + 348};
constexpr Rect kSlotRow{72, 514, 72 + 440, 514 + 43};
constexpr Rect kNameArea{84, 562, 84 + 316, 562 + 21};

struct ButtonArea {
  int code;
  Rect area;
};
constexpr std::array<ButtonArea, 4> kButtons{{
    {1, {561, 547, 561 + 110, 547 + 42}},
    {2, {674, 547, 674 + 110, 547 + 42}},
    {3, {674, 504, 674 + 103, 504 + 30}},
    {7, {418, 559, 418 + 102, 559 + 28}},
}};

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

Rect TabArea(int i) { return Rect{18 + 148 * i, 83, 155 + 148 * i, 142}; }
Rect SlotButton(int s) { return Rect{72 + 44 * s, 514, 72 + 44 * s + 44, 557}; }
Point CellPosition(int k) { return Point{25 + 166 * (k % 3), 155 + 15 * (k / 3)}; }

const std::string& PageFace() {
  static const std::string face = Utf8ToSjis("ＭＳ Ｐゴシック");
  return face;
}

TextStyle Style(int height, uint32_t colour, bool bold, int shadow) {
  return TextStyle{PageFace(), height, colour, bold, shadow};
}

Rect Copy(const Bitmap& from, Bitmap& to, const Rect& r) {
  return CopyRegion(from, r.left, r.top, to, r.left, r.top, r.Width(), r.Height());
}

}  // namespace

void TForm1::LoadRecollectionTable() {
  recollectionScreen.table = RecollectionTable{};
  if (!LoadScript("sys_flashbak", 2)) return;
  recollectionScreen.table =
      ParseRecollectionTable(std::span<const uint8_t>(script.aux.data(), static_cast<size_t>(script.auxSize)));
}

void TForm1::NoteRecollectionScript(std::string_view upperName) {
  const RecollectionUnlock unlock = FindRecollectionUnlock(recollectionScreen.table, upperName);
  if (unlock.line >= 0) vars.C.Set(unlock.line);
  if (unlock.header >= 0) vars.C.Set(unlock.header);
}

int TForm1::CmdKaisou(std::string_view) {
  // Without a scene table there is nothing to show: the script goes on.
  if (!recollectionScreen.table.loaded) return 0;
  OpenRecollection();
  return 1;
}

void TForm1::OpenRecollection() {
  RecollectionScreen& r = recollectionScreen;
  r.background.Resize(kScreenWidth, kScreenHeight);
  r.highlighted.Resize(kScreenWidth, kScreenHeight);
  r.pageStrip = Bitmap();
  LoadImage("ss_kaiso", r.background);
  LoadImage("ss_kaiso2", r.highlighted);
  LoadImage("ss_kaiso_p", r.pageStrip);
  r.label.Resize(160, 16);
  r.panel.Resize(kPanel.Width(), kPanel.Height());
  r.slot = 0;
  r.tab = 0;
  for (int& p : r.pages) p = std::max(p, 0);
  SaveScriptPosition(r.saved);
  r.open = true;
  r.highlight = 0;
  r.dragKind = 0;
  r.countdown = 0;
  r.preview = 0;
  ctl.screenMode = smRecollection;
  DrawRecollectionTabs();
  DrawRecollectionPage();
  DrawRecollectionPanel();
  ShowRecollectionScreen();
}

void TForm1::ShowRecollectionScreen() {
  recollectionScreen.window = layers.screen;
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
}

void TForm1::DrawRecollectionTabs() {
  RecollectionScreen& r = recollectionScreen;
  CopyRegion(r.background, 0, 0, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
  Copy(r.highlighted, layers.screen, TabArea(r.tab));
  const int tab = std::clamp(r.tab, 0, kRecollectionTabRows - 1);
  const int n = r.table.pageCounts[static_cast<size_t>(tab)];
  if (n >= 2) {
    CopyRegion(r.pageStrip, 0, 0, layers.screen, 519, 159, 28, 58 * n);
    const int j = r.pages[static_cast<size_t>(std::clamp(r.tab, 0, kRecollectionTabs - 1))];
    CopyRegion(r.pageStrip, 28, 58 * j, layers.screen, 519, 159 + 58 * j, 28, 58);
  }
  vars.S(26) = 0;
  StopSkip();
}

void TForm1::DrawRecollectionPage() {
  RecollectionScreen& r = recollectionScreen;
  const RecollectionTable& t = r.table;
  r.cells.fill(0);
  const int tab = std::clamp(r.tab, 0, kRecollectionTabRows - 1);
  const int page = std::clamp(r.pages[static_cast<size_t>(std::clamp(r.tab, 0, kRecollectionTabs - 1))], 0,
                              kRecollectionTabPages - 1);
  const std::string& label = t.pages[static_cast<size_t>(tab)][static_cast<size_t>(page)];
  auto it = std::find(t.titles.begin(), t.titles.end(), label);
  if (label.empty() || it == t.titles.end()) return;
  const int first = static_cast<int>(it - t.titles.begin()) + 1;
  const std::string locked = Utf8ToSjis("？？？");
  int k = 0;
  for (int n = first; n < static_cast<int>(t.titles.size()) && n < first + kRecollectionPageLines; ++n) {
    const std::string& title = t.titles[static_cast<size_t>(n)];
    if (!title.empty() && title[0] == ':') break;
    const Point at = CellPosition(k);
    if (!title.empty() && title[0] == '*') {
      k = (k + 2) / 3 * 3;
      const Point row = CellPosition(k);
      std::string drawn = title;
      if (vars.C.Test(n)) {
        drawn = title.substr(1);
        DrawSystemText(layers.screen, drawn, row.x, row.y, Style(11, kWhiteText, true, 1));
      }
      if (!drawn.empty()) k += 3;
      continue;
    }
    if (vars.C.Test(n)) {
      if (k < kRecollectionCells) r.cells[static_cast<size_t>(k)] = n;
      DrawSystemText(layers.screen, title, at.x, at.y, Style(11, kWhiteText, false, 1));
    } else {
      DrawSystemText(layers.screen, locked, at.x, at.y, Style(11, kSilverText, false, 1));
    }
    ++k;
  }
}

void TForm1::DrawRecollectionPanel() {
  RecollectionScreen& r = recollectionScreen;
  CopyRegion(r.background, kPanel.left, kPanel.top, r.panel, 0, 0, kPanel.Width(), kPanel.Height());
  Copy(r.background, layers.screen, kSlotRow);
  Copy(r.highlighted, layers.screen, SlotButton(r.slot));
  auto& name = recollection.names[static_cast<size_t>(r.slot)];
  name.back() = 0;  // a name keeps at most 63 bytes and its NUL
  if (name[0] == 0) {
    const std::string fallback = "Record Slot " + std::to_string(r.slot + 1);
    std::memcpy(name.data(), fallback.data(), fallback.size());
  }
  Copy(r.background, layers.screen, kNameArea);
  DrawSystemText(layers.screen, recollection.Name(r.slot), 84, 564, Style(17, kWhiteText, false, 0));
  auto& list = recollection.playLists[static_cast<size_t>(r.slot)];
  for (int e = 0; e < kRecordUsedEntries && list[static_cast<size_t>(e)] != 0; ++e) {
    // A line that is no scene of the table ends the list.
    if (!IsRecollectionScene(r.table, list[static_cast<size_t>(e)])) break;
    DrawSystemText(r.panel, r.table.titles[static_cast<size_t>(list[static_cast<size_t>(e)])], 0, 14 * e,
                   Style(12, kWhiteText, false, 0));
  }
  CopyRegion(r.panel, 0, 0, layers.screen, kPanel.left, kPanel.top, kPanel.Width(), kPanel.Height());
}

void TForm1::RecollectionHover(int x, int y) {
  RecollectionScreen& r = recollectionScreen;
  if (!r.open || r.preview != 0) return;
  auto repaint = [&] {
    r.window = layers.screen;
    host.Present(r.window, Rect{0, 0, kScreenWidth, kScreenHeight});
  };
  if (r.dragKind != 0) {
    const Rect old{r.labelPos.x, r.labelPos.y, r.labelPos.x + 160, r.labelPos.y + 16};
    Copy(layers.screen, r.window, old);
    r.labelPos = Point{x - r.grab.x, y - r.grab.y};
    CopyRegion(r.label, 0, 0, r.window, r.labelPos.x, r.labelPos.y, 160, 16);
    const Rect now{r.labelPos.x, r.labelPos.y, r.labelPos.x + 160, r.labelPos.y + 16};
    const Rect both{std::clamp(std::min(old.left, now.left), 0, kScreenWidth),
                    std::clamp(std::min(old.top, now.top), 0, kScreenHeight),
                    std::clamp(std::max(old.right, now.right), 0, kScreenWidth),
                    std::clamp(std::max(old.bottom, now.bottom), 0, kScreenHeight)};
    if (!both.Empty()) host.Present(r.window, both);
  }
  if (x >= 25 && x <= 522 && y >= 155 && y <= 499) {
    const int k = (x - 25) / 166 + 3 * ((y - 155) / 15);
    const int line = k < kRecollectionCells ? r.cells[static_cast<size_t>(k)] : 0;
    if (line != 0 && r.highlight != k + 1) {
      r.window = layers.screen;
      const Point at = CellPosition(k);
      DrawSystemText(r.window, r.table.titles[static_cast<size_t>(line)], at.x, at.y, Style(11, kGreenText, false, 1));
      host.Present(r.window, Rect{0, 0, kScreenWidth, kScreenHeight});
      r.highlight = k + 1;
    }
    return;
  }
  const auto& list = recollection.playLists[static_cast<size_t>(r.slot)];
  if (x >= 568 && x <= 767 && y >= 155 && y <= 504) {
    const int e = (y - 155) / 14;
    if (e < kRecordUsedEntries && list[static_cast<size_t>(e)] != 0 &&
        IsRecollectionScene(r.table, list[static_cast<size_t>(e)])) {
      if (r.highlight != kRecollectionEntryBase + e) {
        r.window = layers.screen;
        CopyRegion(r.panel, 0, 0, r.window, kPanel.left, kPanel.top, kPanel.Width(), kPanel.Height());
        DrawSystemText(r.window, r.table.titles[static_cast<size_t>(list[static_cast<size_t>(e)])], kPanel.left,
                       kPanel.top + 14 * e, Style(12, kBlueText, false, 0));
        host.Present(r.window, Rect{0, 0, kScreenWidth, kScreenHeight});
        r.highlight = kRecollectionEntryBase + e;
      }
      return;
    }
  }
  for (const ButtonArea& b : kButtons) {
    if (!Inside(b.area, x, y)) continue;
    if (r.highlight != kRecollectionButtonBase + b.code) {
      r.window = layers.screen;
      Copy(r.highlighted, r.window, b.area);
      host.Present(r.window, Rect{0, 0, kScreenWidth, kScreenHeight});
      r.highlight = kRecollectionButtonBase + b.code;
    }
    return;
  }
  if (x >= 72 && x <= 511 && y >= 514 && y <= 556) {
    const int s = (x - 72) / 44;
    if (s != r.slot) {
      if (r.highlight != kRecollectionSlotBase + s) {
        r.window = layers.screen;
        Copy(r.highlighted, r.window, SlotButton(s));
        host.Present(r.window, Rect{0, 0, kScreenWidth, kScreenHeight});
        r.highlight = kRecollectionSlotBase + s;
      }
      return;
    }
  }
  if (r.highlight != 0) repaint();
  r.highlight = 0;
}

void TForm1::RecollectionClick(MouseButton button, int x, int y) {
  RecollectionScreen& r = recollectionScreen;
  if (!r.open) return;
  if (r.preview != 0) {
    r.preview = 2;
    return;
  }
  if (button == MouseButton::Middle) return;
  if (y >= 83 && y < 142) {
    for (int i = 0; i < std::min(r.table.tabCount, kRecollectionTabs); ++i) {
      if (i != r.tab && Inside(TabArea(i), x, y)) {
        r.tab = i;
        DrawRecollectionTabs();
        DrawRecollectionPage();
        DrawRecollectionPanel();
        ShowRecollectionScreen();
        return;
      }
    }
  }
  const int n = r.table.pageCounts[static_cast<size_t>(std::clamp(r.tab, 0, kRecollectionTabRows - 1))];
  if (n >= 2 && x >= 519 && x <= 546 && y >= 159 && y < 159 + 58 * n) {
    r.pages[static_cast<size_t>(r.tab)] = (y - 159) / 58;
    DrawRecollectionTabs();
    DrawRecollectionPage();
    DrawRecollectionPanel();
    ShowRecollectionScreen();
    return;
  }
  auto& list = recollection.playLists[static_cast<size_t>(r.slot)];
  int line = 0;
  if (r.highlight >= 1 && r.highlight <= kRecollectionCells) {
    line = r.cells[static_cast<size_t>(r.highlight - 1)];
  } else if (r.highlight >= kRecollectionEntryBase && r.highlight < kRecollectionEntryBase + kRecordUsedEntries) {
    line = list[static_cast<size_t>(r.highlight - kRecollectionEntryBase)];
  }
  // The second press of a double click finds the highlight taken by the drag it started.
  if (line == 0 && r.countdown > 0) line = r.dragLine;
  if (button == MouseButton::Left && r.countdown > 0 && line != 0) {
    r.countdown = 0;
    r.dragKind = 0;
    std::array<int32_t, kRecordPlayListLength> queue{};
    queue[0] = line;
    PlayRecollectionQueue(queue);
    return;
  }
  if (button == MouseButton::Right) {
    if (line != 0) PreviewRecollectionScene(line);
    return;
  }
  auto startDrag = [&](int kind, int index, int dragged, Point at) {
    r.dragKind = kind;
    r.dragIndex = index;
    r.dragLine = dragged;
    r.label.Fill(128, 128, 128);
    DrawSystemText(r.label, r.table.titles[static_cast<size_t>(dragged)], 0, 0, Style(11, kWhiteText, true, 1));
    r.grab = Point{x - at.x, y - at.y};
    r.labelPos = at;
    r.window = layers.screen;
    CopyRegion(r.label, 0, 0, r.window, at.x, at.y, 160, 16);
    host.Present(r.window, Rect{0, 0, kScreenWidth, kScreenHeight});
    r.countdown = 5;
  };
  if (x >= 25 && x <= 522 && y >= 155 && y <= 574) {
    const int k = (x - 25) / 166 + 3 * ((y - 155) / 15);
    if (k < kRecollectionCells && r.cells[static_cast<size_t>(k)] != 0) {
      startDrag(1, k, r.cells[static_cast<size_t>(k)], CellPosition(k));
      return;
    }
  }
  if (r.highlight >= kRecollectionEntryBase && r.highlight < kRecollectionEntryBase + kRecordUsedEntries) {
    const int e = r.highlight - kRecollectionEntryBase;
    if (IsRecollectionScene(r.table, list[static_cast<size_t>(e)])) {
      startDrag(2, e, list[static_cast<size_t>(e)], Point{568, 155 + 14 * e});
    }
    return;
  }
  if (r.highlight >= kRecollectionSlotBase && r.highlight < kRecollectionSlotBase + kRecordSlots) {
    r.slot = r.highlight - kRecollectionSlotBase;
    r.highlight = 0;
    DrawRecollectionPanel();
    ShowRecollectionScreen();
    return;
  }
  if (r.highlight > kRecollectionButtonBase && r.highlight < kRecollectionSlotBase) {
    const int b = r.highlight - kRecollectionButtonBase;
    for (const ButtonArea& area : kButtons) {
      if (area.code == b) host.Present(r.window, area.area);
    }
    if (b == 1) {
      CloseRecollection();
    } else if (b == 2) {
      std::array<int32_t, kRecordPlayListLength> queue{};
      // Entries past the 25th, and from the first line that is no scene, are not played.
      for (int e = 0; e < kRecordUsedEntries && IsRecollectionScene(r.table, list[static_cast<size_t>(e)]); ++e) {
        queue[static_cast<size_t>(e)] = list[static_cast<size_t>(e)];
      }
      if (queue[0] != 0) PlayRecollectionQueue(queue);
    } else if (b == 3) {
      list.fill(0);
      DrawRecollectionPanel();
      ShowRecollectionScreen();
    } else if (b == 7) {
      RenameRecordSlot();
    }
  }
}

void TForm1::RecollectionMouseUp(int, int) {
  RecollectionScreen& r = recollectionScreen;
  if (!r.open || r.dragKind == 0) return;
  DropRecollectionDrag(r.labelPos.x + 50, r.labelPos.y + 10);
}

void TForm1::DropRecollectionDrag(int x, int y) {
  RecollectionScreen& r = recollectionScreen;
  auto& list = recollection.playLists[static_cast<size_t>(r.slot)];
  auto removeAt = [&](int e) {
    for (int i = e; i < kRecordUsedEntries - 1; ++i) list[static_cast<size_t>(i)] = list[static_cast<size_t>(i + 1)];
    list[kRecordUsedEntries - 1] = 0;
  };
  if (x > 568 && x < 768 && y > 154 && y < 505) {
    int t = std::clamp((y - 155) / 14, 0, kRecordUsedEntries - 1);
    const int line = r.dragLine;
    if (r.dragKind == 2) {
      removeAt(r.dragIndex);
      if (r.dragIndex < t) --t;
    }
    if (list[static_cast<size_t>(t)] != 0) {
      for (int i = kRecordUsedEntries - 1; i > t; --i) list[static_cast<size_t>(i)] = list[static_cast<size_t>(i - 1)];
      list[static_cast<size_t>(t)] = line;
    } else {
      int end = 0;
      while (end < t && list[static_cast<size_t>(end)] != 0) ++end;
      list[static_cast<size_t>(end)] = line;
    }
  } else if (r.dragKind == 2) {
    removeAt(r.dragIndex);
  }
  bool ended = false;
  for (int32_t& entry : list) {
    if (ended) entry = 0;
    if (entry == 0) ended = true;
  }
  r.dragKind = 0;
  r.highlight = 0;
  DrawRecollectionPanel();
  ShowRecollectionScreen();
}

void TForm1::RecollectionTick() {
  if (recollectionScreen.countdown > 0) --recollectionScreen.countdown;
}

void TForm1::CloseRecollection() {
  RecollectionScreen& r = recollectionScreen;
  r.open = false;
  r.dragKind = 0;
  r.highlight = 0;
  r.background = Bitmap();
  r.highlighted = Bitmap();
  r.pageStrip = Bitmap();
  r.label = Bitmap();
  r.panel = Bitmap();
  r.window = Bitmap();
  SetReplayMenu(false, false);
  ctl.screenMode = smScenario;
}

void TForm1::RenameRecordSlot() {
  RecollectionScreen& r = recollectionScreen;
  auto& field = recollection.names[static_cast<size_t>(r.slot)];
  const std::string current(recollection.Name(r.slot));
  std::optional<std::string> answer = host.AskText(
      Utf8ToSjis("回想スロット"), Utf8ToSjis("回想スロットに名前を付けます（全角12文字まで）"), current, 36);
  if (answer) {
    const std::string_view name = SjisCut(*answer, 24);
    field.fill(0);
    std::memcpy(field.data(), name.data(), name.size());
  }
  r.highlight = 0;
  DrawRecollectionPanel();
  ShowRecollectionScreen();
}

}  // namespace torvel
