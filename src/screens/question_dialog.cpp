// The in-picture yes/no question: a darkened band across the picture with the question and the
// words "はい" and "いいえ", or the game's panel with its two buttons when it has one.
#include <algorithm>
#include <cstdint>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "screens/save_screen_layout.h"
#include "screens/slot_image.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kBandTop = 150;
constexpr int kBandHeight = 88;
constexpr int kBandEdgeRows = 16;
constexpr int kBandEdgeStep = 12;
constexpr int kBandMiddleLevel = 63;
constexpr int kWordsHeight = 32;  // 24 points at 96 dots an inch
constexpr int kQuestionTop = 12;
constexpr int kWordsTop = 44;
constexpr int kYesLeft = 300;
constexpr int kNoLeft = 390;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kYellow = 0x00FFFF;  // 0x00BBGGRR
// Only "はい" is a hit area in the band look.
constexpr Rect kBandYes{300, 194, 370, 224};

constexpr int kPanelTextPitch = 13;
constexpr int kPanelTextTop = 30;
constexpr int kPanelTextLeftOfCentre = 10;

enum PanelPicture { kPanel, kYesButton, kNoButton, kYesLit, kNoLit };
constexpr const char* kPanelNames[] = {"sys_panel", "sys_panel_y1", "sys_panel_n1", "sys_panel_y2", "sys_panel_n2"};

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN / 4, INT32_MAX / 4)); }

// A stacked picture (colour above, mask below) drawn at (x, y) with only its part that lies on
// `dst`: a panel placed partly off the screen still shows what is on it.
void DrawStackedClipped(Bitmap& dst, int64_t x, const Bitmap& src, int64_t y) {
  const int64_t h = src.height / 2;
  if (h < 1 || src.width < 1) return;
  const int64_t left = std::max<int64_t>(0, -x), top = std::max<int64_t>(0, -y);
  const int64_t right = std::min<int64_t>(src.width, dst.width - x), bottom = std::min<int64_t>(h, dst.height - y);
  if (right <= left || bottom <= top) return;
  if (left == 0 && top == 0 && right == src.width && bottom == h) {
    DrawStacked(dst, static_cast<int>(x), src, static_cast<int>(y));
    return;
  }
  const int w = static_cast<int>(right - left), rows = static_cast<int>(bottom - top);
  Bitmap part(w, 2 * rows);
  CopyRegion(src, static_cast<int>(left), static_cast<int>(top), part, 0, 0, w, rows);
  CopyRegion(src, static_cast<int>(left), static_cast<int>(h + top), part, 0, rows, w, rows);
  DrawStacked(dst, static_cast<int>(x + left), part, static_cast<int>(y + top));
}

// Byte × level >> 8 on every byte of a row.
void DarkenRow(uint8_t* row, int bytes, int level) {
  for (int i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] * level >> 8);
}

}  // namespace

void TForm1::AskQuestion(std::string_view text, int kind) {
  // One question at a time: a second one would lose the first one's saved picture.
  if (ctl.dialogOpen != 0) return;
  SetMenuLock(true);
  QuestionState& q = question;
  if (config.PANEL_USE != 0 && !q.panelLoaded) {
    q.panelLoaded = true;
    for (size_t i = 0; i < q.panel.size(); ++i) {
      if (!LoadImage(kPanelNames[i], q.panel[i])) q.panel[i] = Bitmap();
    }
  }
  const Bitmap& body = q.panel[kPanel];
  q.panelLook = config.PANEL_USE != 0 && body.width > 0 && body.height / 2 > 0;
  Bitmap& screen = layers.screen;
  if (q.panelLook) {
    const int w = body.width, h = body.height / 2;
    q.at = Point{config.PANEL_BASE[0], config.PANEL_BASE[1]};
    q.picture.Resize(w, h);
    CopyRegion(screen, q.at.x, q.at.y, q.picture, 0, 0, w, h);
    q.saved = q.picture;
    DrawStacked(q.picture, 0, body, 0);
    DrawStringPitch(text, w / 2 - kPanelTextLeftOfCentre, kPanelTextPitch, q.picture, 0, kPanelTextTop);
    // The highlights are the dialog's own regions under the buttons with the lit forms drawn on.
    auto lit = [&](int button, int litPicture, const ConfigPair& offset, Bitmap& out, Rect& where) {
      const Bitmap& b = q.panel[static_cast<size_t>(button)];
      const int bw = b.width, bh = b.height / 2;
      out.Resize(bw, bh);
      CopyRegion(q.picture, offset[0], offset[1], out, 0, 0, bw, bh);
      DrawStackedClipped(out, 0, q.panel[static_cast<size_t>(litPicture)], 0);
      where = ClippedScreenRect(int64_t{q.at.x} + offset[0], int64_t{q.at.y} + offset[1], bw, bh);
    };
    lit(kYesButton, kYesLit, config.PANEL_YES, q.yesLit, q.yesRect);
    lit(kNoButton, kNoLit, config.PANEL_NO, q.noLit, q.noRect);
    DrawStackedClipped(q.picture, config.PANEL_YES[0], q.panel[kYesButton], config.PANEL_YES[1]);
    DrawStackedClipped(q.picture, config.PANEL_NO[0], q.panel[kNoButton], config.PANEL_NO[1]);
  } else {
    q.at = Point{0, kBandTop};
    q.picture.Resize(kScreenWidth, kBandHeight);
    CopyRegion(screen, 0, kBandTop, q.picture, 0, 0, kScreenWidth, kBandHeight);
    q.saved = q.picture;
    const int bytes = kScreenWidth * 3;
    for (int i = 0; i < kBandEdgeRows; ++i) {
      DarkenRow(q.picture.Row(i), bytes, 255 - kBandEdgeStep * i);
      DarkenRow(q.picture.Row(kBandHeight - 1 - i), bytes, 255 - kBandEdgeStep * i);
    }
    for (int row = kBandEdgeRows; row < kBandHeight - kBandEdgeRows; ++row) {
      DarkenRow(q.picture.Row(row), bytes, kBandMiddleLevel);
    }
    TextStyle style{settings.FontName, kWordsHeight, kWhite, settings.FONTBold != 0, 0};
    DrawSystemText(q.picture, text, (kScreenWidth - MeasureSystemText(text, style)) / 2, kQuestionTop, style);
    q.bare = q.picture;
    style.colour = kGrey;
    DrawSystemText(q.picture, Utf8ToSjis("はい"), kYesLeft, kWordsTop, style);
    style.colour = kYellow;
    DrawSystemText(q.picture, Utf8ToSjis("いいえ"), kNoLeft, kWordsTop, style);
  }
  const Rect shown = CopyRegion(q.picture, 0, 0, screen, q.at.x, q.at.y, q.picture.width, q.picture.height);
  if (!shown.Empty()) host.Present(screen, shown);
  q.hover = 0;
  ctl.dialogOpen = kind;
}

void TForm1::DialogHover(int x, int y) {
  if (ctl.dialogOpen == 0) return;
  QuestionState& q = question;
  int state = 0;
  if (q.panelLook) {
    if (RectHolds(q.yesRect, x, y)) {
      state = 1;
    } else if (RectHolds(q.noRect, x, y)) {
      state = 2;
    }
  } else if (x > kBandYes.left - 1 && x < kBandYes.right && y > kBandYes.top - 1 && y < kBandYes.bottom) {
    state = 1;
  }
  if (state == q.hover) return;
  q.hover = state;
  // The highlight goes to the window only: the screen buffer keeps the dialog as drawn.
  Bitmap& frame = layers.work;
  if (q.panelLook) {
    frame = layers.screen;
    const Rect dialog = CopyRegion(q.picture, 0, 0, frame, q.at.x, q.at.y, q.picture.width, q.picture.height);
    if (state != 0) {
      const Bitmap& lit = state == 1 ? q.yesLit : q.noLit;
      const ConfigPair& offset = state == 1 ? config.PANEL_YES : config.PANEL_NO;
      CopyRegion(lit, 0, 0, frame, ClampToInt(int64_t{q.at.x} + offset[0]), ClampToInt(int64_t{q.at.y} + offset[1]),
                 lit.width, lit.height);
    }
    if (!dialog.Empty()) host.Present(frame, dialog);
    return;
  }
  // The words are drawn again over the band as it was before them, so that no fringe of the other
  // colour stays around them.
  frame = layers.screen;
  const Rect band = CopyRegion(q.bare, 0, 0, frame, q.at.x, q.at.y, q.bare.width, q.bare.height);
  TextStyle style{settings.FontName, kWordsHeight, state == 1 ? kYellow : kGrey, settings.FONTBold != 0, 0};
  const int top = kBandTop + kWordsTop;
  DrawSystemText(frame, Utf8ToSjis("はい"), kYesLeft, top, style);
  style.colour = state == 1 ? kGrey : kYellow;
  DrawSystemText(frame, Utf8ToSjis("いいえ"), kNoLeft, top, style);
  if (!band.Empty()) host.Present(frame, band);
}

void TForm1::DialogClick(MouseButton button, int, int) {
  if (ctl.dialogOpen == 0) return;
  if (button == MouseButton::Right) {
    CloseQuestion(false, false);
    return;
  }
  if (button != MouseButton::Left || question.hover == 0) return;
  CloseQuestion(question.hover == 1, false);
}

void TForm1::CloseQuestion(bool yes, bool immediate) {
  QuestionState& q = question;
  const int kind = ctl.dialogOpen;
  if (!immediate) {
    const Rect back = CopyRegion(q.saved, 0, 0, layers.screen, q.at.x, q.at.y, q.saved.width, q.saved.height);
    if (!back.Empty()) host.Present(layers.screen, back);
  }
  q.picture = Bitmap();
  q.saved = Bitmap();
  q.bare = Bitmap();
  q.yesLit = Bitmap();
  q.noLit = Bitmap();
  q.hover = 0;
  SetMenuLock(false);
  // Closed before the answer acts: a click during the action's banner must not answer again.
  ctl.dialogOpen = 0;
  if (!yes) return;
  switch (kind) {
    case kDialogQuickLoad: LoadGame(kQuickSaveSlot, false); break;
    case kDialogTitle: ReturnToTitle(); break;
    case kDialogOverwrite: ConfirmedSaveLoad(0); break;
    case kDialogLoadSlot: ConfirmedSaveLoad(1); break;
    default: break;
  }
}

}  // namespace torvel
