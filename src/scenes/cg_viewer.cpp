// The CG viewer: pages of the `view` table with their sets of cells, the completion percentage,
// fading highlights, picture viewing with tall pictures scrolled, music rooms and scene replays.
#include <algorithm>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "script/command_table.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// A page whose sixth character is the digit d never offers page button d.
bool IsOwnPageButton(std::string_view page, int digit) { return page.size() > 5 && page[5] == '0' + digit; }

// The screen buffer's rectangle at (x, y) made from `normal` and `highlight`: highlight × weight +
// normal × (256 − weight), clipped to all three pictures.
void BlendControl(const Bitmap& normal, const Bitmap& highlight, Bitmap& screen, Rect r, int weight) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min({r.right, normal.width, highlight.width, screen.width});
  r.bottom = std::min({r.bottom, normal.height, highlight.height, screen.height});
  if (r.Empty()) return;
  const int pixels = r.Width();
  const int whole = pixels * 3 / 8 * 8;
  for (int y = r.top; y < r.bottom; ++y) {
    const uint8_t* a = normal.At(r.left, y);
    const uint8_t* b = highlight.At(r.left, y);
    uint8_t* d = screen.At(r.left, y);
    BlendRowsAlphaPixels(a, b, pixels, weight, d);
    for (int i = whole; i < pixels * 3; ++i) d[i] = static_cast<uint8_t>((b[i] * weight + a[i] * (256 - weight)) >> 8);
  }
}

// One digit of a strip: the digits 0–9 stacked on the left, their masks on the right.
void DrawDigit(Bitmap& target, const Bitmap& strip, int digit, int x, int y) {
  const int w = strip.width / 2;
  const int h = strip.height / 10;
  if (w < 1 || h < 1) return;
  Bitmap cut(w * 2, h);
  CopyRegion(strip, 0, digit * h, cut, 0, 0, w, h);
  CopyRegion(strip, w, digit * h, cut, w, 0, w, h);
  DrawSideBySide(target, x, cut, y);
}

}  // namespace

void TForm1::LoadViewerLists() {
  layers.galleryPictures.clear();
  viewer.sceneList.clear();
  if (!LoadScript("view", 2)) return;
  const std::vector<std::string> lines =
      ViewTableLines(std::span<const uint8_t>(script.aux.data(), static_cast<size_t>(script.auxSize)));
  const std::array<ViewButton, kViewPageButtons> none{};
  if (std::optional<ViewPageTable> pictures = ReadViewPage(lines, "VIEW_1", none)) {
    layers.galleryPictures = ViewPictureNames(*pictures);
  }
  if (std::optional<ViewPageTable> scenes = ReadViewPage(lines, "VIEW_2", none)) {
    viewer.sceneList = ViewSceneList(*scenes);
  }
}

void TForm1::MarkViewerSceneSeen(std::string_view upperName) {
  for (const ViewScene& scene : viewer.sceneList) {
    if (scene.script == upperName) vars.E.Set(scene.flag);
  }
}

int TForm1::CgPictureCount() const { return static_cast<int>(layers.galleryPictures.size()); }

int TForm1::CmdViewer(std::string_view arg) {
  StopSkipAndAuto(true);
  std::string_view name = arg;
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
  // A page the table lacks leaves everything as it was and the script goes on.
  return OpenViewerPage(name) ? 1 : 0;
}

bool TForm1::OpenViewerPage(std::string_view name) {
  if (!LoadScript("view", 2)) return false;
  const std::vector<std::string> lines =
      ViewTableLines(std::span<const uint8_t>(script.aux.data(), static_cast<size_t>(script.auxSize)));
  const std::string upper = SjisUpper(name);
  std::optional<ViewPageTable> table = ReadViewPage(lines, upper, ReadGlobalPageButtons(lines));
  if (!table) return false;

  CgViewer& v = viewer;
  v.page = std::move(*table);
  v.pageName = upper;
  vars.S(0) = 2;
  UpdateMenus();
  v.plate = Bitmap();
  v.plate2 = Bitmap();
  v.digits = Bitmap();
  if (!v.page.plate.empty()) LoadImage(v.page.plate, v.plate);
  v.partialStates = !v.page.plate2.empty() && LoadImage(v.page.plate2, v.plate2);
  if (!v.page.digits.empty()) LoadImage(v.page.digits, v.digits);

  int number = upper == "2_VIEW_1" ? CgPictureCount() : 0;
  v.seen = 0;
  v.total = 0;
  v.cells.assign(v.page.sets.size(), {});
  for (size_t s = 0; s < v.page.sets.size(); ++s) {
    for (const ViewCellLine& line : v.page.sets[s].cells) {
      ViewerCell& cell = v.cells[s][static_cast<size_t>(line.cell)];
      cell = ViewerCell{};
      cell.fields = line.fields;
      if (v.page.type == 0) {
        const int n = static_cast<int>(line.fields.size());
        cell.firstPicture = number;
        int j = 0;
        for (int i = 0; i < n; ++i) j += vars.D.Test(number + i);
        if (!v.partialStates && j > 0) {
          for (int i = 0; i < n; ++i) vars.D.Set(number + i);
          j = n;
        }
        number += n;
        cell.seen = j;
        cell.total = n;
        cell.state = j == 0 ? 1 : j == n ? 3 : 2;
        v.total += n;
        v.seen += j;
      } else if (v.page.type == 1) {
        ++v.total;
        const bool seen = !line.fields.empty() && vars.E.Test(ReadInteger(line.fields[0]));
        cell.state = seen ? 3 : 1;
        v.seen += seen;
      } else if (v.page.type == 2) {
        cell.state = 2;
      }
    }
  }
  if (v.page.type != 3) SetMusic(v.page.music);
  v.set = 0;
  v.hover = 0;
  v.viewing = false;
  v.showing = false;
  v.picture = -1;
  v.musicCell = 0;
  v.lastMusicCell = 0;
  ctl.screenMode = smCgViewer;
  DrawViewerSet();
  return true;
}

void TForm1::DrawViewerSet() {
  CgViewer& v = viewer;
  v.fades.fill(0);
  const ViewSet* set = v.set >= 0 && static_cast<size_t>(v.set) < v.page.sets.size()
                           ? &v.page.sets[static_cast<size_t>(v.set)]
                           : nullptr;
  const std::string& normal = set && !set->normal.empty() ? set->normal : v.page.normal;
  const std::string& highlight = set && !set->highlight.empty() ? set->highlight : v.page.highlight;
  v.normal.Resize(kScreenWidth, kScreenHeight);
  v.highlight.Resize(kScreenWidth, kScreenHeight);
  if (!normal.empty()) LoadImage(normal, v.normal);
  if (!highlight.empty()) LoadImage(highlight, v.highlight);
  v.highlightCopy = v.highlight;

  if (set) {
    std::array<ViewerCell, kViewCells + 1>& cells = v.cells[static_cast<size_t>(v.set)];
    for (int k = 1; k <= kViewCells; ++k) {
      ViewerCell& cell = cells[static_cast<size_t>(k)];
      if (v.page.type == 3) cell.state = 2;
      const int x = v.page.cellX[static_cast<size_t>(k)];
      const int y = v.page.cellY[static_cast<size_t>(k)];
      if (v.page.type == 3) continue;
      if (cell.state == 1) {
        DrawSideBySide(v.normal, x, v.plate, y);
      } else if (cell.state == 2) {
        DrawSideBySide(v.normal, x, v.plate2, y);
        DrawSideBySide(v.highlight, x, v.plate2, y);
      }
    }
  }
  if (v.page.type == 0 && !v.digits.Empty()) {
    const int w = v.digits.width / 2;
    const int x = v.page.percentX;
    const int y = v.page.percentY;
    if (v.seen < v.total) {
      const int p = static_cast<int>(static_cast<int64_t>(v.seen) * 100 / v.total);
      if (p > 9) DrawDigit(v.normal, v.digits, p / 10, x + w, y);
      DrawDigit(v.normal, v.digits, p % 10, x + 2 * w, y);
    } else {
      DrawDigit(v.normal, v.digits, 1, x, y);
      DrawDigit(v.normal, v.digits, 0, x + w, y);
      DrawDigit(v.normal, v.digits, 0, x + 2 * w, y);
    }
  }
  CopyRegion(v.normal, 0, 0, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
}

Rect TForm1::ViewerControlRect(int code) const {
  const ViewPageTable& p = viewer.page;
  auto of = [](const ViewRect& r) { return Rect{r.x1, r.y1, r.x2, r.y2}; };
  if (code >= 1 && code <= kViewCells) {
    const int x = p.cellX[static_cast<size_t>(code)];
    const int y = p.cellY[static_cast<size_t>(code)];
    return Rect{x, y, x + p.cellWidth, y + p.cellHeight};
  }
  if (code == kViewerNext) return of(p.next);
  if (code == kViewerPrev) return of(p.prev);
  if (code == kViewerExit) return of(p.exit);
  if (code >= kViewerSetButtonBase && code < kViewerSetButtonBase + kViewSetButtons) {
    return of(p.setButtons[static_cast<size_t>(code - kViewerSetButtonBase)].rect);
  }
  if (code >= kViewerPageButtonBase && code < kViewerPageButtonBase + kViewPageButtons) {
    return of(p.pageButtons[static_cast<size_t>(code - kViewerPageButtonBase)].rect);
  }
  return Rect{};
}

int TForm1::ViewerHitTest(int x, int y) const {
  const CgViewer& v = viewer;
  const ViewPageTable& p = v.page;
  if (v.set >= 0 && static_cast<size_t>(v.set) < v.cells.size()) {
    const std::array<ViewerCell, kViewCells + 1>& cells = v.cells[static_cast<size_t>(v.set)];
    for (int k = 1; k < kViewCells; ++k) {
      if (cells[static_cast<size_t>(k)].state <= 1) continue;
      const int cx = p.cellX[static_cast<size_t>(k)];
      const int cy = p.cellY[static_cast<size_t>(k)];
      if (cx == kViewUnplaced) continue;
      if (x >= cx && x < cx + p.cellWidth && y >= cy && y < cy + p.cellHeight) return k;
    }
  }
  int code = 0;
  if (p.next.Contains(x, y)) code = kViewerNext;
  if (p.prev.Contains(x, y)) code = kViewerPrev;
  if (p.exit.Contains(x, y)) code = kViewerExit;
  for (int n = 0; n < kViewSetButtons; ++n) {
    const ViewButton& b = p.setButtons[static_cast<size_t>(n)];
    if (b.ActiveFor(v.set) && b.rect.Contains(x, y)) return kViewerSetButtonBase + n;
  }
  for (int d = 0; d < kViewPageButtons; ++d) {
    const ViewButton& b = p.pageButtons[static_cast<size_t>(d)];
    if (IsOwnPageButton(v.pageName, d)) continue;
    if (b.ActiveFor(v.set) && b.rect.Contains(x, y)) return kViewerPageButtonBase + d;
  }
  return code;
}

void TForm1::CgViewerHover(int x, int y) {
  CgViewer& v = viewer;
  if (v.viewing || v.showing || v.pageName.empty()) return;
  const int c = ViewerHitTest(x, y);
  const ViewRect& caption = v.page.caption;
  auto restoreCaption = [&] {
    const Rect r = CopyRegion(v.normal, caption.x1, caption.y1, layers.screen, caption.x1, caption.y1,
                              caption.x2 - caption.x1, caption.y2 - caption.y1);
    if (!r.Empty()) host.Present(layers.screen, r);
  };
  if (c != 0) {
    const bool cell = c >= 1 && c <= kViewCells;
    const bool arrows = c == kViewerNext || c == kViewerPrev;
    const bool lit = cell || (arrows && (v.page.sets.size() != 1 || v.page.type == 3)) || c == kViewerExit ||
                     (c >= kViewerSetButtonBase && c < kViewerSetButtonBase + kViewSetButtons);
    if (lit) {
      const Rect r = ViewerControlRect(c);
      const Rect shown = CopyRegion(v.highlight, r.left, r.top, layers.screen, r.left, r.top, r.Width(), r.Height());
      if (!shown.Empty()) host.Present(layers.screen, shown);
      // Only a control that lit up fades back; page buttons have no lit look to fade from.
      v.fades[static_cast<size_t>(c)] = 16;
    }
    if (cell && v.page.type == 1 && c != v.hover && caption.x1 >= 0) {
      restoreCaption();
      const ViewerCell& vc = v.cells[static_cast<size_t>(v.set)][static_cast<size_t>(c)];
      const std::string text = vc.fields.size() > 2 ? vc.fields[2] : std::string();
      const int cx = (caption.x1 + caption.x2) / 2 - 10;
      const int cy = (caption.y2 - (caption.y1 + config.FONT_SIZE)) / 2 + caption.y1 - 3;
      DrawStringCentred(text, cx, layers.screen, 0, cy);
      const Rect r{std::max(caption.x1, 0), std::max(caption.y1, 0), std::min(caption.x2, kScreenWidth),
                   std::min(caption.y2, kScreenHeight)};
      if (!r.Empty()) host.Present(layers.screen, r);
    }
  } else if (caption.x1 >= 0) {
    restoreCaption();
  }
  v.hover = c;
}

void TForm1::CgViewerFrame() {
  CgViewer& v = viewer;
  if (v.viewing || v.showing || v.pageName.empty()) return;
  ++v.frameCount;
  if (v.page.type == 3 && v.frameCount % 32 == 0 && v.musicCell != 0) {
    v.fades[static_cast<size_t>(v.musicCell)] = 32;
    v.fades[kViewerNext] = 16;
  }
  for (int c = 1; c < kViewerFadeCounters; ++c) {
    int& f = v.fades[static_cast<size_t>(c)];
    if (c == v.hover || f <= 0) continue;
    --f;
    const Rect r = ViewerControlRect(c);
    BlendControl(v.normal, v.highlight, layers.screen, r, 8 * f);
    const Rect shown{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, kScreenWidth),
                     std::min(r.bottom, kScreenHeight)};
    if (!shown.Empty()) host.Present(layers.screen, shown);
  }
}

void TForm1::EndViewerViewing() {
  viewer.viewing = false;
  viewer.picture = -1;
  viewer.hover = 0;
  DrawViewerSet();
}

void TForm1::ShowViewerPicture() {
  CgViewer& v = viewer;
  const ViewerCell& cell = v.cells[static_cast<size_t>(v.set)][static_cast<size_t>(v.viewedCell)];
  const int n = static_cast<int>(cell.fields.size());
  const std::vector<std::string>& list = layers.galleryPictures;
  auto seen = [&](const std::string& name) {
    auto it = std::find(list.begin(), list.end(), name);
    return it != list.end() && vars.D.Test(static_cast<int>(it - list.begin()));
  };
  // One pass over the cell's names from the current index: a cell none of whose names is seen
  // shows nothing and viewing ends.
  int found = -1;
  for (int i = 0; i < n && found < 0; ++i) {
    const int index = (std::max(v.nextPicture, 0) + i) % n;
    if (seen(cell.fields[static_cast<size_t>(index)])) found = index;
  }
  if (found < 0) {
    v.viewing = false;
    v.picture = -1;
    return;
  }
  v.viewing = true;
  v.picture = found;
  v.nextPicture = found + 1;
  Bitmap picture;
  if (!LoadImage(cell.fields[static_cast<size_t>(found)], picture)) return;
  v.shown = std::move(picture);
  const Bitmap& p = v.shown;
  auto showRows = [&](int top) {
    layers.screen.Fill(0, 0, 0);
    CopyRegion(p, 0, top, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
    host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
  };
  if (p.height < 700) {
    showRows(0);
    return;
  }
  const int bottom = p.height - kScreenHeight;
  if (v.scroll == 0) {
    showRows(bottom);
    v.scroll = 1;
    return;
  }
  // Scrolls 20 rows per 30 ms period; a late frame moves by every period it missed.
  const bool up = v.scroll == 1;
  v.showing = true;
  const bool wasBlocking = ctl.blockingScene;
  ctl.blockingScene = true;
  const uint32_t start = host.TickCount();
  int top = up ? bottom : 0;
  while (up ? top > 0 : top < bottom) {
    WaitUntil(start + static_cast<uint32_t>(((host.TickCount() - start) / 30 + 1) * 30));
    const int moved = static_cast<int>((host.TickCount() - start) / 30) * 20;
    top = up ? std::max(bottom - moved, 0) : std::min(moved, bottom);
    showRows(top);
    if (ctl.quitRequested) break;
  }
  ctl.blockingScene = wasBlocking;
  v.showing = false;
  v.scroll = up ? 2 : 1;
}

void TForm1::CgViewerClick(MouseButton button, int, int) {
  CgViewer& v = viewer;
  if (v.showing || v.pageName.empty()) return;
  if (button == MouseButton::Right) {
    if (v.viewing) EndViewerViewing();
    return;
  }
  const int c = v.hover;
  const int type = v.page.type;
  const int sets = static_cast<int>(v.page.sets.size());
  const bool cell = c >= 1 && c <= kViewCells;
  if (!v.viewing && c >= kViewerPageButtonBase && c < kViewerPageButtonBase + kViewPageButtons) {
    OpenViewerPage("VIEW_" + std::to_string(c - kViewerPageButtonBase));
    return;
  }
  if (!v.viewing && c >= kViewerSetButtonBase && c < kViewerSetButtonBase + kViewSetButtons) {
    const int target = v.page.setButtons[static_cast<size_t>(c - kViewerSetButtonBase)].target;
    // A button aimed past the page's sets does nothing.
    if (target < 0 || target >= sets) return;
    v.set = target;
    DrawViewerSet();
    return;
  }
  if (type == 2 && cell) {
    CopyRegion(v.normal, 0, 0, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
    const Rect r = ViewerControlRect(c);
    CopyRegion(v.highlightCopy, r.left, r.top, layers.screen, r.left, r.top, r.Width(), r.Height());
    host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
    SetMusic(c);
    v.musicCell = c;
    return;
  }
  if (type == 3) {
    if (cell) {
      v.musicCell = v.lastMusicCell = c;
      SetMusic(c);
    } else if (c == kViewerNext) {
      if (v.musicCell == 0 && v.lastMusicCell != 0) {
        v.musicCell = v.lastMusicCell;
        SetMusic(v.musicCell);
      }
    } else if (c == kViewerPrev) {
      v.musicCell = 0;
      SetMusic(0);
    } else if (c == kViewerExit) {
      CloseViewer();
    }
    return;
  }
  if (type == 1 && cell) {
    ReplayViewerScene(c);
    return;
  }
  if (v.viewing) {
    if (button == MouseButton::Middle) {
      EndViewerViewing();
    } else {
      ShowViewerPicture();
    }
    return;
  }
  if (cell) {
    v.viewedCell = c;
    v.nextPicture = 0;
    v.scroll = 0;
    ShowViewerPicture();
  } else if (c == kViewerNext) {
    if (sets == 0) return;
    v.set = (v.set + 1) % sets;
    DrawViewerSet();
  } else if (c == kViewerPrev) {
    if (sets == 0) return;
    v.set = v.set == 0 ? sets - 1 : v.set - 1;
    DrawViewerSet();
  } else if (c == kViewerExit) {
    CloseViewer();
  }
}

void TForm1::CloseViewer() {
  CgViewer& v = viewer;
  SetMusic(0);
  v.pageName.clear();
  v.viewing = false;
  v.hover = 0;
  v.normal = Bitmap();
  v.highlight = Bitmap();
  v.highlightCopy = Bitmap();
  v.plate = Bitmap();
  v.plate2 = Bitmap();
  v.digits = Bitmap();
  v.shown = Bitmap();
  ctl.screenMode = smScenario;
  script.replayMode = 0;
  // The music rooms too give the menus back: saving stays possible after them.
  vars.S(0) = 1;
  UpdateMenus();
}

}  // namespace torvel
