// Auto mode end to end on the virtual clock: the service tick counts the page's delay down and
// turns the page, a playing voice holds it, a hidden window gets no new page; and the click
// debounce that keeps a quick second click from stopping the next voice.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sound/sound_test_assets.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::kTextConfig;
using testing::PageRow;
using testing::VoiceEntry;

constexpr int kOneSecond = 16000;

class AutoAdvance : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& main, int autoSpeed) {
    game.Entry("tq_ogg1.tvx", "V001", VoiceEntry(kOneSecond, 1));
    game.Entry("tq_ogg1.tvx", "V002", VoiceEntry(kOneSecond / 2, 2));
    game.Script("_config", kTextConfig).Script("main", main);
    TForm1& e = game.Start();
    e.settings.Delay = 1;
    e.vars.S(26) = autoSpeed;
    return e;
  }
  // Runs frames until `done` holds (at most ten seconds); the clock then.
  uint32_t RunUntil(const std::function<bool()>& done) {
    const uint32_t limit = game.Host().TickCount() + 10000;
    while (!done() && game.Host().TickCount() < limit) game.Host().RunFrame();
    EXPECT_TRUE(done());
    return game.Host().TickCount();
  }
  GameFixture game;
};

TEST_F(AutoAdvance, TheCountdownTurnsThePageOnItsLastTick) {
  TForm1& e = Start("あいう\n\\\nえ\n\\\n", 1);
  RunUntil([&] { return e.ctl.waitKind == 1; });
  // Three characters at speed 1 with SPD_MAX 10: 3 / 21 + 2 + 2 = 4 ticks.
  EXPECT_EQ(e.ctl.autoCountdown, 4);
  const int started = e.ctl.timerCounter;
  RunUntil([&] { return PageRow(e, 1) != "あいう"; });
  EXPECT_EQ(e.ctl.timerCounter, started + 4);
  EXPECT_EQ(PageRow(e, 2), "");
}

TEST_F(AutoAdvance, APlayingVoiceHoldsThePageUntilItEnds) {
  TForm1& e = Start("@cv V001\nあ\n\\\nい\n\\\n", 1);
  RunUntil([&] { return e.ctl.waitKind == 1; });
  const std::vector<SoundCall> plays = game.Host().Sound().CallsOf(SoundOp::Play);
  ASSERT_EQ(plays.size(), 1u);
  const uint32_t voiceEnd = plays[0].time + 1000;
  // The countdown (4 ticks) runs out long before the voice; the page waits for the voice and
  // turns on the first tick after it, seen by the frame that follows that tick.
  const uint32_t turned = RunUntil([&] { return PageRow(e, 1) != "あ"; });
  EXPECT_GE(turned, voiceEnd);
  EXPECT_LE(turned, voiceEnd + 55 + 20);
}

TEST_F(AutoAdvance, AHiddenWindowGetsNoNewPage) {
  TForm1& e = Start("あいう\n@win_close\n\\\n!V001=1\n\\\n", 1);
  RunUntil([&] { return e.ctl.waitKind == 1; });
  ASSERT_FALSE(e.text.windowShown);
  RunUntil([&] { return e.vars.V(1) == 1; });
  EXPECT_FALSE(e.text.windowShown);
  EXPECT_EQ(e.ctl.waitKind, 1);
}

struct SecondClick {
  int framesBetween;
  bool stopsTheVoice;
};

class ClickDebounce : public AutoAdvance, public ::testing::WithParamInterface<SecondClick> {};

// The first click stops the first voice and turns the page; the story goes on to the second
// voice. A second click within three idle frames turns the next page but leaves that voice.
TEST_P(ClickDebounce, ASecondClickSoonAfterTheFirstDoesNotStopTheVoiceAgain) {
  TForm1& e = Start("@cv V001\none\\\n@cv V002\ntwo\\\n\\\n", 0);
  RunUntil([&] { return e.ctl.waitKind == 1; });
  RecordingSoundDevice& device = game.Host().Sound();
  ASSERT_TRUE(device.Status(0).playing);
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
  game.Host().RunFrames(1);
  ASSERT_EQ(e.sound.lastVoice, "V002");
  ASSERT_TRUE(device.Status(0).playing);
  ASSERT_EQ(PageRow(e, 1), "two");
  game.Host().RunFrames(GetParam().framesBetween - 1);
  e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
  EXPECT_EQ(device.Status(0).playing, !GetParam().stopsTheVoice);
  EXPECT_EQ(PageRow(e, 1), "");  // the page turned all the same
}

INSTANTIATE_TEST_SUITE_P(Frames, ClickDebounce,
                         ::testing::Values(SecondClick{1, false}, SecondClick{2, false}, SecondClick{3, true}),
                         [](const auto& info) {
                           return "After" + std::to_string(info.param.framesBetween) + "Frames";
                         });

}  // namespace
}  // namespace torvel
