// The status screen of the game's quick button (the player's rank, the winners of the matches
// played so far and a gauge), revealed by squeezing the old picture down, and the day panel in
// the corner of the story's picture. `chgprm` shows the screen buffer as it stands.
#include <algorithm>
#include <array>
#include <cstdio>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// The match played on each day from day 1, 0 for none; later days have none.
constexpr std::array<int, 17> kMatchOfDay = {1, 2, 0, 3, 4, 0, 5, 6, 0, 7, 0, 8, 9, 0, 0, 0, 0};
constexpr int kWinnerPictures = 10;
constexpr int kRankPictures = 4;
constexpr int kVarDay = 1;
constexpr int kVarChapter = 100;
constexpr int kVarGauge = 111;
constexpr int kVarWinnerBase = 299;  // the winner of match m is V(299 + m)
constexpr int kVarShowDayPanel = 4;
constexpr int kVarPanelDay = 110;
constexpr int kMaxGaugeMarks = 30;
constexpr Point kRankAt{410, 184};
constexpr Point kTodayAt{34, 374};
constexpr Point kWinnerAt{246, 374};
constexpr int kColumnWidth = 368;
constexpr int kRowHeight = 24;
constexpr int kDaysPerColumn = 8;
constexpr Point kGaugeAt{318, 268};
constexpr int kGaugePitch = 14;
constexpr Point kDayPanelAt{15, 15};
// The reveal: f grows by 32 every 10 ms; row arithmetic in 1/256 of a row of the 600.
constexpr int kRevealStep = 32;
constexpr int kRevealPeriodMs = 10;
constexpr int64_t kScaledHeight = int64_t{kScreenHeight} * 256;
const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

std::string Numbered(const char* pattern, int n) {
  char name[40];
  std::snprintf(name, sizeof name, pattern, n);
  return name;
}

// A mark is drawn only where the whole of it lies on the screen.
void DrawMark(Bitmap& screen, const Bitmap& mark, int64_t x, int64_t y) {
  if (mark.Empty() || x < 0 || y < 0 || x + mark.width > screen.width || y + mark.height > screen.height) return;
  CopyRegion(mark, 0, 0, screen, static_cast<int>(x), static_cast<int>(y), mark.width, mark.height);
}

}  // namespace

void TForm1::InitTitleScreens() {
  StatusScreen& s = statusScreen;
  LoadImage("st_base", s.base);
  LoadImage("st_gage", s.gauge);
  LoadImage("st_today", s.today);
  for (int w = 1; w <= kWinnerPictures; ++w) LoadImage(Numbered("st_wnr%02d", w), s.winners[static_cast<size_t>(w)]);
  for (int r = 1; r <= kRankPictures; ++r) LoadImage(Numbered("st_rank%d", r), s.ranks[static_cast<size_t>(r)]);
}

void TForm1::OpenStatusScreen() {
  if (ctl.screenMode != smScenario || ctl.blockingScene) return;
  StatusScreen& s = statusScreen;
  SetMenuLock(true);
  ctl.blockingScene = true;
  // A chapter or day of 0 reads as 1; the variables keep their values.
  const int chapter = vars.V(kVarChapter) == 0 ? 1 : vars.V(kVarChapter);
  const int day = vars.V(kVarDay) == 0 ? 1 : vars.V(kVarDay);
  s.kept = layers.screen;
  Bitmap& screen = layers.screen;

  CopyRegion(s.base, 0, 0, screen, 0, 0, s.base.width, s.base.height);
  if (chapter >= 1 && chapter <= kRankPictures) {
    DrawStacked(screen, kRankAt.x, s.ranks[static_cast<size_t>(chapter)], kRankAt.y);
  }
  if (day >= 1) {
    const int64_t b = int64_t{day} - 1;
    DrawMark(screen, s.today, kTodayAt.x + kColumnWidth * (b / kDaysPerColumn),
             kTodayAt.y + kRowHeight * (b % kDaysPerColumn));
  }
  const int lastDay = std::min<int64_t>(int64_t{day} - 1, static_cast<int64_t>(kMatchOfDay.size()));
  for (int d = 1; d <= lastDay; ++d) {
    const int match = kMatchOfDay[static_cast<size_t>(d - 1)];
    if (match == 0) continue;
    const int winner = vars.V(kVarWinnerBase + match);
    if (winner < 1 || winner > kWinnerPictures) continue;
    DrawMark(screen, s.winners[static_cast<size_t>(winner)], kWinnerAt.x + kColumnWidth * ((d - 1) / kDaysPerColumn),
             kWinnerAt.y + kRowHeight * ((d - 1) % kDaysPerColumn));
  }
  const int marks = std::clamp(vars.V(kVarGauge), 0, kMaxGaugeMarks);
  for (int i = 0; i < marks; ++i) DrawMark(screen, s.gauge, kGaugeAt.x + kGaugePitch * i, kGaugeAt.y);

  RevealStatusScreen();
  ctl.blockingScene = false;
  ctl.screenMode = smTitleScreen;
}

// The new picture grows down from the top while the old one is squeezed into the rows below it:
// at step f the top rows take new row (j × ⌊153600 / f⌋) / 256 for as long as that stays on the
// picture, and the k-th row after them old row (k × ⌊153600 / (600 − f)⌋) / 256.
void TForm1::RevealStatusScreen() {
  const Bitmap& shown = layers.screen;
  const Bitmap& old = statusScreen.kept;
  Bitmap& frame = layers.work;
  const size_t rowBytes = static_cast<size_t>(kScreenWidth) * 3;
  StartFrameClock();
  for (int64_t f = kRevealStep; f < kScreenHeight;) {
    const int64_t upper = kScaledHeight / f;
    const int64_t lower = kScaledHeight / (kScreenHeight - f);
    int row = 0;
    for (; row < kScreenHeight && row * upper < kScaledHeight; ++row) {
      std::copy_n(shown.Row(static_cast<int>(row * upper / 256)), rowBytes, frame.Row(row));
    }
    for (int k = 0; row < kScreenHeight; ++row, ++k) {
      const int64_t source = std::min<int64_t>(k * lower / 256, kScreenHeight - 1);
      std::copy_n(old.Row(static_cast<int>(source)), rowBytes, frame.Row(row));
    }
    host.Present(frame, kWholeScreen);
    f += int64_t{kRevealStep} * PaceFrame(kRevealPeriodMs);
  }
  host.Present(shown, kWholeScreen);
}

void TForm1::CloseStatusScreen() {
  StatusScreen& s = statusScreen;
  if (!s.kept.Empty()) layers.screen = std::move(s.kept);
  s.kept = Bitmap{};
  SetMenuLock(false);
  PBPaint();
  ctl.screenMode = smScenario;
}

// The day panel "day%02d" of S110 in the corner of the story's picture, while S004 asks for it,
// in window mode and outside replays and special screens.
void TForm1::DrawDayPanel() {
  if (vars.S(kVarShowDayPanel) == 0 || vars.S(kVarDisplayMode) != 0 || ctl.screenMode != smScenario ||
      script.replayMode != 0) {
    return;
  }
  StatusScreen& s = statusScreen;
  const int day = vars.S(kVarPanelDay);
  if (day != s.dayPanelDay) {
    s.dayPanel = Bitmap{};
    LoadImage(Numbered("day%02d", day), s.dayPanel);
    s.dayPanelDay = day;
  }
  DrawStacked(layers.screen, kDayPanelAt.x, s.dayPanel, kDayPanelAt.y);
}

int TForm1::CmdChgprm(std::string_view) {
  host.Present(layers.screen, kWholeScreen);
  return 1;
}

}  // namespace torvel
