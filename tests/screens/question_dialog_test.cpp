// The in-picture yes/no question through the real engine on the headless host: the darkened band
// and its words, the panel with its buttons, hovering, answering and refusing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

constexpr const char* kStory = "!S000=0\n!S028=1\n@gra AG01,1\n!V001=11\n>少女\nおはよう。\n\\\n!V001=22\n次。\n\\\n";

constexpr Bgr kPanelBody{30, 60, 90};
constexpr Bgr kYes{200, 0, 0};
constexpr Bgr kNo{0, 0, 200};
constexpr Bgr kYesLit{0, 200, 0};
constexpr Bgr kNoLit{200, 200, 0};

// A stacked picture w × h: the colour above, a mask of 255 below.
Bitmap Stacked(int w, int h, Bgr colour) {
  Bitmap b(w, 2 * h);
  for (int y = 0; y < 2 * h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(y < h ? colour[static_cast<size_t>(c)] : 255);
    }
  }
  return b;
}

// An opaque byte of a stacked picture comes out as byte × 255 >> 8.
Bgr Opaque(Bgr c) { return Bgr{c[0] * 255 >> 8, c[1] * 255 >> 8, c[2] * 255 >> 8}; }

bool Yellowish(Bgr p) { return p[2] > 200 && p[1] > 200 && p[0] < 80; }
bool Greyish(Bgr p) { return p[0] > 100 && p[0] < 160 && p[1] > 100 && p[1] < 160 && p[2] > 100 && p[2] < 160; }
// How many pixels of the rectangle pass `test`.
template <typename Test>
int Count(const Bitmap& b, Rect r, Test test) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += test(Px(b, x, y)) ? 1 : 0;
  }
  return n;
}

class Question : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& extraConfig = "", bool panel = false) {
    game.Script("_config", std::string(kTextConfig) + kSaveConfig + extraConfig);
    AddSaveGameAssets(game);
    game.Entry("tq_gra.tvx", "AG01", Packed(Gradient(800, 600)));
    if (panel) {
      game.Entry("tq_gra.tvx", "sys_panel", Packed(Stacked(400, 160, kPanelBody)))
          .Entry("tq_gra.tvx", "sys_panel_y1", Packed(Stacked(100, 40, kYes)))
          .Entry("tq_gra.tvx", "sys_panel_n1", Packed(Stacked(100, 40, kNo)))
          .Entry("tq_gra.tvx", "sys_panel_y2", Packed(Stacked(100, 40, kYesLit)))
          .Entry("tq_gra.tvx", "sys_panel_n2", Packed(Stacked(100, 40, kNoLit)));
    }
    game.Script("main", kStory).Script("STITLE", "!V002=7\nタイトル。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  const Bitmap& Window() { return game.Host().Window(); }
  void AskTitle() { E().AskQuestion(Sj("タイトルへ戻りますか？"), 3); }

  GameFixture game;
};

TEST_F(Question, TheBandDarkensItsRowsByTheirDistanceFromTheEdge) {
  Start();
  AskTitle();
  ASSERT_EQ(E().ctl.dialogOpen, 3);
  EXPECT_TRUE(E().ctl.menuLock);
  // Rows 150 + i and 237 − i: × (255 − 12 i) >> 8 for i < 16; the rows between × 63 >> 8. The
  // question and the words lie between x = 200 and 600.
  const struct {
    int row;
    int level;
  } rows[] = {{150, 255}, {151, 243}, {165, 75}, {166, 63}, {200, 63}, {221, 63}, {222, 75}, {237, 255}};
  for (const auto& r : rows) {
    for (int x : {0, 1, 57, 199, 600, 700, 799}) {
      const Bgr g{x & 0xFF, r.row & 0xFF, 7};
      const Bgr want{g[0] * r.level >> 8, g[1] * r.level >> 8, g[2] * r.level >> 8};
      EXPECT_EQ(Px(Window(), x, r.row), want) << "row " << r.row << " x " << x;
      EXPECT_EQ(Px(E().layers.screen, x, r.row), want) << "the screen buffer holds the band too";
    }
  }
  EXPECT_EQ(Px(Window(), 0, 149), (Bgr{0, 149, 7})) << "outside the band nothing changes";
  EXPECT_EQ(Px(Window(), 5, 238), (Bgr{5, 238, 7}));
  EXPECT_GT(Count(Window(), Rect{200, 162, 600, 194}, [](Bgr p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; }), 20)
      << "the question in white";
}

TEST_F(Question, HoveringYesLightsItYellowOnTheWindowOnly) {
  Start();
  AskTitle();
  const Rect yes{300, 194, 340, 226}, no{390, 194, 480, 226};
  auto expectLook = [&](const Bitmap& b, bool yesLit, const char* when) {
    EXPECT_EQ(Count(b, yes, Yellowish) > 10, yesLit) << when;
    EXPECT_EQ(Count(b, yes, Greyish) > 10, !yesLit) << when;
    EXPECT_EQ(Count(b, no, Yellowish) > 10, !yesLit) << when;
    EXPECT_EQ(Count(b, no, Greyish) > 10, yesLit) << when;
  };
  expectLook(Window(), false, "asked");
  // Only 299 < x < 370 and 193 < y < 224 is "はい".
  const struct {
    int x, y, hover;
  } moves[] = {{300, 194, 1}, {299, 200, 0}, {369, 223, 1}, {370, 200, 0},
               {320, 193, 0}, {320, 224, 0}, {420, 200, 0}, {340, 210, 1}};
  for (const auto& m : moves) {
    game.Move(m.x, m.y);
    EXPECT_EQ(E().question.hover, m.hover) << m.x << "," << m.y;
    expectLook(Window(), m.hover == 1, "moved");
  }
  expectLook(E().layers.screen, false, "the screen buffer keeps the words as asked");
}

TEST_F(Question, ClicksAwayFromYesKeepTheDialogAndARightClickRefusesIt) {
  Start();
  const Bitmap before = Window();
  AskTitle();
  game.Press(420, 210);  // "いいえ" is no hit area in the band look
  game.Press(100, 100);
  EXPECT_EQ(E().ctl.dialogOpen, 3);
  game.Press(420, 210, MouseButton::Right);
  EXPECT_EQ(E().ctl.dialogOpen, 0);
  EXPECT_FALSE(E().ctl.menuLock);
  EXPECT_EQ(E().script.currentScript, "main") << "no action";
  for (int y : {150, 200, 237}) {
    EXPECT_TRUE(std::equal(before.Row(y), before.Row(y) + 2400, Window().Row(y))) << y;
    EXPECT_TRUE(std::equal(before.Row(y), before.Row(y) + 2400, E().layers.screen.Row(y))) << y;
  }
}

TEST_F(Question, ASecondQuestionWhileOneIsOpenIsRefused) {
  Start();
  const Bitmap before = Window();
  AskTitle();
  const Bitmap asked = Window();
  E().AskQuestion(Sj("クイックロードしますか？"), 1);
  EXPECT_EQ(E().ctl.dialogOpen, 3);
  EXPECT_TRUE(std::equal(asked.pixels.begin(), asked.pixels.end(), Window().pixels.begin()));
  game.Press(0, 0, MouseButton::Right);
  EXPECT_TRUE(std::equal(before.Row(160), before.Row(160) + 2400, Window().Row(160)))
      << "the first question's saved picture comes back";
}

TEST_F(Question, YesDoesWhatTheKindAsks) {
  // Kind 1 loads the quick-save slot, kind 3 returns to the title.
  Start();
  E().QuickSave();
  game.Click();
  game.RunToWait();
  ASSERT_EQ(E().vars.V(1), 22);
  E().AskQuestion(Sj("クイックロードしますか？"), 1);
  game.Press(320, 200);
  EXPECT_EQ(E().vars.V(1), 11);
  EXPECT_EQ(E().ctl.dialogOpen, 0);
  EXPECT_EQ(SjisToUtf8(E().saves.lastBanner), "ロードします");

  AskTitle();
  game.Press(320, 200);
  EXPECT_EQ(E().script.currentScript, "STITLE");
  game.RunToWait();
  EXPECT_EQ(E().vars.V(2), 7);
  EXPECT_EQ(E().vars.V(1), 11) << "variables stay";
}

constexpr const char* kPanelConfig = "PANEL_USE:1\nPANEL_BASE:200,180\nPANEL_YES:40,100\nPANEL_NO:220,100\n";

TEST_F(Question, ThePanelShowsItsButtonsAndLightsTheHoveredOne) {
  Start(kPanelConfig, true);
  AskTitle();
  ASSERT_TRUE(E().question.panelLook);
  EXPECT_EQ(Px(Window(), 205, 185), Opaque(kPanelBody));
  EXPECT_EQ(Px(Window(), 199, 185), (Bgr{199, 185, 7})) << "beside the panel";
  EXPECT_EQ(Px(Window(), 245, 285), Opaque(kYes));
  EXPECT_EQ(Px(Window(), 425, 285), Opaque(kNo));
  EXPECT_GT(Count(Window(), Rect{250, 205, 550, 240}, [](Bgr p) { return p != Opaque(kPanelBody); }), 20)
      << "the question";
  // The buttons' rectangles: 100 × 40 at (240, 280) and (420, 280).
  const struct {
    int x, y, hover;
  } moves[] = {{240, 280, 1}, {339, 319, 1}, {340, 300, 0}, {239, 300, 0}, {300, 279, 0},
               {300, 320, 0}, {420, 280, 2}, {519, 319, 2}, {520, 300, 0}, {380, 300, 0}};
  for (const auto& m : moves) {
    game.Move(m.x, m.y);
    EXPECT_EQ(E().question.hover, m.hover) << m.x << "," << m.y;
    EXPECT_EQ(Px(Window(), 245, 285), m.hover == 1 ? Opaque(kYesLit) : Opaque(kYes)) << m.x << "," << m.y;
    EXPECT_EQ(Px(Window(), 425, 285), m.hover == 2 ? Opaque(kNoLit) : Opaque(kNo)) << m.x << "," << m.y;
    EXPECT_EQ(Px(E().layers.screen, 245, 285), Opaque(kYes)) << "the screen buffer keeps the plain button";
  }
}

TEST_F(Question, ThePanelsNoClosesWithoutActionAndClicksBesideTheButtonsDoNothing) {
  Start(kPanelConfig, true);
  const Bitmap before = Window();
  AskTitle();
  game.Press(380, 300);
  game.Press(205, 185);
  EXPECT_EQ(E().ctl.dialogOpen, 3);
  game.Press(450, 300);
  EXPECT_EQ(E().ctl.dialogOpen, 0);
  EXPECT_EQ(E().script.currentScript, "main");
  EXPECT_EQ(Px(Window(), 245, 285), Px(before, 245, 285));
  AskTitle();
  game.Press(250, 300);
  EXPECT_EQ(E().script.currentScript, "STITLE");
}

TEST_F(Question, APanelPartlyOffTheScreenIsClippedAndAMissingPanelFallsBackToTheBand) {
  Start("PANEL_USE:1\nPANEL_BASE:600,500\nPANEL_YES:150,-20\nPANEL_NO:-2000000000,2000000000\n", true);
  AskTitle();
  ASSERT_TRUE(E().question.panelLook);
  EXPECT_EQ(Px(Window(), 799, 599), Opaque(kPanelBody));
  EXPECT_EQ(Px(Window(), 760, 500), Opaque(kYes)) << "the yes button's visible part";
  EXPECT_EQ(Px(Window(), 599, 430), (Bgr{599 & 0xFF, 430 & 0xFF, 7})) << "left of the panel";
  game.Move(760, 500);
  EXPECT_EQ(E().question.hover, 1);
  EXPECT_EQ(Px(Window(), 760, 500), Opaque(kYesLit));
  game.Press(0, 0, MouseButton::Right);
  EXPECT_EQ(Px(Window(), 799, 599), Px(E().layers.screen, 799, 599));

  GameFixture other;
  other.Script("_config", std::string(kTextConfig) + kPanelConfig);
  other.Entry("tq_gra.tvx", "AG01", Packed(Gradient(800, 600))).Script("main", kStory);
  TForm1& e = other.Start();
  other.RunToWait();
  e.AskQuestion(Sj("タイトルへ戻りますか？"), 3);
  EXPECT_FALSE(e.question.panelLook) << "no sys_panel: the band";
  EXPECT_EQ(Px(other.Host().Window(), 0, 166), (Bgr{0, 166 * 63 >> 8, 7 * 63 >> 8}));
}

}  // namespace
}  // namespace torvel
