// The page history and the hidden message window through the real engine on the headless host:
// what a finished page records, stepping back through earlier pages as the player sees them, the
// ring's slots for any count and S039, and leaving back to the story's own scene.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/glyphs.h"
#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

constexpr Bgr kFirst{40, 80, 120};   // AB01
constexpr Bgr kSecond{200, 10, 10};  // AB02

// Three pages: AB01 with a sprite and a voice, AB02, AB01 again.
constexpr const char* kThreePages =
    "!S028=1\n@gra AB01,1\n@spr BC01\n>少女\n@cv V001\n一枚目。\n\\\n"
    "@gra AB02,1\n二枚目。\n\\\n@gra AB01,1\n三枚目。\n\\\n";

class PageHistoryScreen : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& story) {
    game.Script("_config", kTextConfig)
        .Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, kFirst)))
        .Entry("tq_gra.tvx", "AB02", Packed(Solid(800, 600, kSecond)))
        .Entry("tq_gra.tvx", "BC01", Packed(Solid(100, 300, {0, 250, 0})))
        .Entry("tq_gra.tvx", "MC01", Packed(Solid(100, 300, {255, 255, 255})))
        .Entry("tq_se0.tvx", "V001", ToneEffect())
        .Script("main", story);
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  void NextPage() {
    game.Click();
    game.RunToWait();
  }
  TForm1& E() { return game.Engine(); }
  const Bitmap& Window() { return game.Host().Window(); }
  void Key(int code) {
    int key = code;
    E().FormKeyDown(key, ShiftState{});
  }
  void Char(char c) { E().FormKeyPress(c); }
  std::vector<std::string> EffectsPlayed() {
    std::vector<std::string> names;
    for (const SoundCall& c : game.Host().Sound().CallsOf(SoundOp::Create)) {
      if (c.slot == kEffectSlot) names.push_back(c.name);
    }
    return names;
  }
  bool StateHas(const std::string& part) { return E().DescribeState().find(part) != std::string::npos; }
  // Pixels of the text window's area drawn in colour code 4 at full coverage.
  int PageBackInk() {
    const uint32_t c = ColourOfCode(4, 0);
    const Bgr ink =
        Opaque(Bgr{static_cast<int>(c >> 16 & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c & 0xFF)});
    int n = 0;
    for (int y = 440; y < 592; ++y) {
      for (int x = 0; x < 800; ++x) n += Px(Window(), x, y) == ink;
    }
    return n;
  }
  static bool SameRows(const Bitmap& a, const Bitmap& b, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(a.width) * 3) != 0) return false;
    }
    return true;
  }

  // Hides the window with "W" and shows it again with a click or another "W".
  void HideAndShow(bool byKey) {
    Start("!S028=1\n@gra AB01,1\n>少女\n本文です。\n\\\n");
    const Bitmap before = Window();
    const Bitmap screen = E().layers.screen;
    Char('w');
    EXPECT_EQ(E().ctl.screenMode, smWindowHidden);
    EXPECT_TRUE(E().ctl.menuLock);
    for (const Point p : {Point{10, 10}, Point{400, 500}, Point{100, 470}}) {
      EXPECT_EQ(Px(Window(), p.x, p.y), kFirst) << "the bare scene at " << p.x << "," << p.y;
    }
    EXPECT_EQ(E().layers.screen.pixels, screen.pixels) << "the screen buffer keeps the window";
    if (byKey) {
      Char('W');
    } else {
      game.Click();
    }
    EXPECT_EQ(E().ctl.screenMode, smScenario);
    EXPECT_FALSE(E().ctl.menuLock);
    EXPECT_EQ(Window().pixels, before.pixels);
    EXPECT_EQ(E().ctl.waitKind, 1) << "showing the window answers no wait";
  }

  GameFixture game;
};

TEST_F(PageHistoryScreen, AFinishedPageRecordsItsTextSceneAndVoices) {
  Start(kThreePages);
  NextPage();
  NextPage();
  ASSERT_EQ(E().pageHistory.count, 3);
  const PageHistoryEntry& first = E().pageHistory.entries[0];
  EXPECT_EQ(first.VoiceList(), "V001 ");
  std::string row1;
  for (size_t c = 100; c < 200; ++c) {
    if (first.text[c] != 0) row1 += static_cast<char>(first.text[c]);
  }
  EXPECT_EQ(SjisToUtf8(row1), "一枚目。");
  EXPECT_EQ(first.SceneText().substr(0, 5), "AB01,");
  EXPECT_NE(first.SceneText(), "AB01,") << "the sprite's spec follows the comma";
  EXPECT_EQ(E().pageHistory.entries[1].SceneText().substr(0, 5), "AB02,");
  EXPECT_EQ(E().pageHistory.entries[1].VoiceList(), "") << "the list was emptied";
  EXPECT_TRUE(StateHas("\"pageHistory\":{\"count\":3,\"position\":0,\"slot\":-1}"));
}

TEST_F(PageHistoryScreen, LongTextsAreCutAtACharacterAndEndWithNul) {
  Start("!S028=1\n@gra AB01,1\n本文。\n\\\n");
  TForm1& e = E();
  const int32_t count = e.pageHistory.count;
  // 125 bytes, a comma, then two-byte characters: the 128-byte field keeps 127 bytes at most and
  // never half a character.
  e.layers.backgroundName = std::string(125, 'B');
  e.layers.spriteSpec = Sj("ああ");
  e.sound.pageVoices = std::string(254, 'v') + Sj("あ") + " ";
  e.vars.S(39) = 1;
  e.vars.S(80) = 123;
  e.vars.S(99) = -5;
  e.vars.S(23) = 77;
  e.RecordPage();
  const PageHistoryEntry& slot = e.pageHistory.entries[static_cast<size_t>(count % 50)];
  EXPECT_EQ(slot.SceneText(), std::string(125, 'B') + ",");
  EXPECT_EQ(slot.scene[126], 0);
  EXPECT_EQ(slot.VoiceList(), std::string(254, 'v')) << "the next character would end past byte 255";
  EXPECT_EQ(slot.voices[255], 0);
  EXPECT_EQ(slot.spriteCentres[0], 123);
  EXPECT_EQ(slot.spriteTops[9], -5);
  EXPECT_EQ(slot.overlayOpacity, 77);
  EXPECT_EQ(e.vars.S(39), 0);
  EXPECT_EQ(e.pageHistory.count, count + 1);
  EXPECT_TRUE(e.sound.pageVoices.empty());
}

TEST_F(PageHistoryScreen, StepsBackThroughEarlierPagesAndLeavesToTheCurrentScene) {
  Start(kThreePages);
  NextPage();
  NextPage();
  const Bitmap before = Window();
  const std::string spriteSpec = E().layers.spriteSpec;
  game.Host().Sound().ClearCalls();
  Key(vk::Left);
  EXPECT_EQ(E().ctl.screenMode, smPageBack);
  EXPECT_TRUE(E().ctl.menuLock);
  EXPECT_TRUE(StateHas("\"pageHistory\":{\"count\":3,\"position\":2,\"slot\":1}"));
  EXPECT_EQ(Px(Window(), 10, 10), kSecond) << "the second page's background";
  EXPECT_GT(PageBackInk(), 20) << "its text in colour code 4";
  EXPECT_TRUE(EffectsPlayed().empty()) << "the second page had no voice";

  Key(vk::Left);
  EXPECT_TRUE(StateHas("\"position\":3,\"slot\":0}"));
  EXPECT_EQ(Px(Window(), 10, 10), kFirst);
  EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"V001"}) << "the first page's first voice";
  Key(vk::Left);
  EXPECT_TRUE(StateHas("\"position\":3,\"slot\":0}")) << "no page before the first";
  E().FormMouseWheel(ShiftState{}, -1);
  EXPECT_TRUE(StateHas("\"position\":2,\"slot\":1}")) << "the wheel towards the player: newer";

  Key(vk::Right);
  EXPECT_EQ(E().ctl.screenMode, smScenario);
  EXPECT_FALSE(E().ctl.menuLock);
  EXPECT_TRUE(StateHas("\"pageHistory\":{\"count\":3,\"position\":0,\"slot\":-1}"));
  EXPECT_EQ(E().layers.backgroundName, "AB01");
  EXPECT_EQ(E().layers.spriteSpec, spriteSpec);
  EXPECT_EQ(E().vars.S(37), 0xFFFFFF);
  EXPECT_TRUE(SameRows(Window(), before, 0, 440)) << "the current scene again";
  EXPECT_EQ(PageBackInk(), 0);
}

TEST_F(PageHistoryScreen, TheRingSlotIsRightForAnyCountAndS039) {
  struct Case {
    int32_t count, s039;
    int slot;     // shown on opening, at p = 2
    int oldestP;  // where stepping back stops
    int oldestSlot;
  };
  const Case cases[] = {
      {60, 0, 8, 50, 10},                  // (60 − 2) mod 50; back to p = 50, slot 10
      {60, 1, 9, 50, 11},                  // after a continue wait
      {60, -7, 1, 50, 3},                  // 51 mod 50; 53 − 50 = 3
      {60, -100, 8, 2, 8},                 // −42 lies in slot 8; nothing older than no page
      {2, -1, 49, 2, 49},                  // −1 lies in slot 49
      {INT32_MAX, INT32_MIN, 47, 2, 47},   // −3 in 64 bits
      {INT32_MAX, INT32_MAX, 42, 50, 44},  // 4294967292 mod 50 = 42 in 64 bits
  };
  Start("!S028=1\n@gra AB01,1\n本文。\n\\\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + ", S039 " + std::to_string(c.s039));
    E().pageHistory.count = c.count;
    E().vars.S(39) = c.s039;
    Key(vk::Left);
    ASSERT_EQ(E().ctl.screenMode, smPageBack);
    EXPECT_TRUE(StateHas("\"position\":2,\"slot\":" + std::to_string(c.slot) + "}"));
    for (int i = 0; i < 60; ++i) Key(vk::Left);
    EXPECT_TRUE(
        StateHas("\"position\":" + std::to_string(c.oldestP) + ",\"slot\":" + std::to_string(c.oldestSlot) + "}"));
    for (int i = 0; i < 60 && E().ctl.screenMode == smPageBack; ++i) Key(vk::Right);
    EXPECT_EQ(E().ctl.screenMode, smScenario);
  }
  E().pageHistory.count = 1;
  Key(vk::Left);
  EXPECT_EQ(E().ctl.screenMode, smScenario) << "one page: nothing earlier to show";
}

TEST_F(PageHistoryScreen, AFullPageDrawsNoMoreThanTheRingKeepsWhateverTheGridSays) {
  // Grids larger than a kept page (the configuration's reader keeps them within it; the view does
  // not count on that): its 20 rows of 100 bytes are all there is to draw.
  Start("!S028=1\n@gra AB01,1\n本文。\n\\\n");
  TForm1& e = E();
  e.config.MOJI_MAX_X = e.config.MOJI_MAX2_X = 400;
  e.config.MOJI_MAX_Y = e.config.MOJI_MAX2_Y = 90;
  // The last slot of the ring first, in full-screen text mode, then the one before in the window.
  e.pageHistory.count = 51;
  for (PageHistoryEntry& entry : e.pageHistory.entries) entry.text.fill('A');
  e.pageHistory.entries[49].displayMode = 1;
  Key(vk::Left);
  ASSERT_EQ(e.ctl.screenMode, smPageBack);
  EXPECT_TRUE(StateHas("\"position\":2,\"slot\":49}"));
  Key(vk::Left);
  EXPECT_TRUE(StateHas("\"position\":3,\"slot\":48}"));
  Key(vk::Right);
  Key(vk::Right);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
}

TEST_F(PageHistoryScreen, LeavingAfterAContinueWaitRestoresTheSceneOfTheOpening) {
  Start(kThreePages);
  NextPage();
  NextPage();
  TForm1& e = E();
  const std::string background = e.layers.backgroundName;
  const std::string sprites = e.layers.spriteSpec;
  e.vars.S(82) = 321;
  e.vars.S(39) = 1;  // the slot of count + S039 − 1 has not been written
  Key(vk::Left);
  Key(vk::Left);
  Key(vk::Right);
  Key(vk::Right);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.layers.backgroundName, background);
  EXPECT_EQ(e.layers.spriteSpec, sprites);
  EXPECT_EQ(e.vars.S(82), 321);
}

TEST_F(PageHistoryScreen, HidingShowsTheSceneUntilAClick) { HideAndShow(false); }

TEST_F(PageHistoryScreen, HidingShowsTheSceneUntilWAgain) { HideAndShow(true); }

TEST_F(PageHistoryScreen, WithS028ZeroNoViewOpens) {
  Start("!S028=0\n@gra AB01,1\n一。\n\\\n二。\n\\\n");
  NextPage();
  const Bitmap before = Window();
  for (const int wheelMode : {0, 1}) {
    E().settings.WHEEL_MODE = wheelMode;
    Char('\b');
    E().FormMouseWheel(ShiftState{}, 1);
    Key(vk::Left);
    Char('w');
    E().OpenBacklog();
    E().OpenPageHistory();
    E().HideWindow();
    EXPECT_FALSE(E().ctl.backlogOpen);
    EXPECT_EQ(E().ctl.screenMode, smScenario);
    EXPECT_FALSE(E().ctl.menuLock);
  }
  EXPECT_EQ(Window().pixels, before.pixels);
}

}  // namespace
}  // namespace torvel
