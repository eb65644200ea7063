// `obj_` played through the headless host: objects drawn on the window or into the screen
// buffer, their exact blend, the pace of their frames, and the off-screen buffer.
#include "scenes/object_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "scene_test_support.h"

namespace torvel {
namespace {

using testing::Apply;
using testing::Bgr;
using testing::GroupBlend;
using testing::Opaque;
using testing::Packed;
using testing::Px;
using testing::SceneGame;
using testing::Stacked;
using testing::TailBlend;

constexpr Bgr kStory{96, 64, 32};  // "S246"
constexpr Bgr kBall{0, 0, 255};
constexpr Bgr kBlack{0, 0, 0};
constexpr Bgr kCard{40, 80, 120};

struct SubCase {
  const char* name;
  const char* argument;
  ObjectCommand command;
  const char* rest;
};

class ObjectCommandTest : public ::testing::TestWithParam<SubCase> {};

TEST_P(ObjectCommandTest, MatchesSubCommandsInOrderIgnoringCase) {
  const SubCase& c = GetParam();
  const ObjectLine line = MatchObjectCommand(c.argument);
  EXPECT_EQ(line.command, c.command);
  EXPECT_EQ(line.rest, c.rest);
}

INSTANTIATE_TEST_SUITE_P(Lines, ObjectCommandTest,
                         ::testing::Values(SubCase{"Load", "load 3,BALL", ObjectCommand::Load, "3,BALL"},
                                           SubCase{"Upper", "SET 1,2,3", ObjectCommand::Set, "1,2,3"},
                                           SubCase{"Del", "Del 4", ObjectCommand::Del, "4"},
                                           SubCase{"Era", "era 1,2,3,40", ObjectCommand::Era, "1,2,3,40"},
                                           // "b_set " is not taken for "set ": the table is tried in its order.
                                           SubCase{"BufferSet", "b_set 0,5,6", ObjectCommand::BSet, "0,5,6"},
                                           SubCase{"MakeWithName", "b_make  BG2 ", ObjectCommand::BMake, "BG2"},
                                           SubCase{"Make", "b_make", ObjectCommand::BMake, ""},
                                           SubCase{"End", "b_end", ObjectCommand::BEnd, ""},
                                           SubCase{"Reset", "B_RESET", ObjectCommand::BReset, ""},
                                           SubCase{"Show", "b_show 50", ObjectCommand::BShow, "50"},
                                           SubCase{"FixWithoutBlank", "fix0,1,2", ObjectCommand::Fix, "0,1,2"},
                                           SubCase{"SetNeedsItsBlank", "set0,1,2", ObjectCommand::None, ""},
                                           SubCase{"Unknown", "spin 1", ObjectCommand::None, ""}),
                         [](const ::testing::TestParamInfo<SubCase>& info) { return std::string(info.param.name); });

TEST(ObjectFieldsTest, CommasAndBlanksSeparateFields) {
  using Fields = std::vector<std::string_view>;
  EXPECT_EQ(SplitObjectFields("1,2,3"), (Fields{"1", "2", "3"}));
  EXPECT_EQ(SplitObjectFields("1, 2 ,3"), (Fields{"1", "2", "3"}));
  EXPECT_EQ(SplitObjectFields("1 2  3"), (Fields{"1", "2", "3"}));
  EXPECT_EQ(SplitObjectFields("1,,3"), (Fields{"1", "", "3"}));
  EXPECT_EQ(SplitObjectFields("V001*2,5"), (Fields{"V001*2", "5"}));
  EXPECT_TRUE(SplitObjectFields("  ").empty());
}

// A game whose story picture is "S246" with `lines` after it.
TForm1& Start(SceneGame& game, const std::string& lines) {
  game.fixture.Script("main", "@gra S246,4\n@obj_load 0,BALL\n" + lines + "\\\n")
      .Entry("tq_gra.tvx", "BALL", Packed(Stacked(16, 16, kBall)))
      .Entry("tq_gra.tvx", "CARD", Packed(testing::Solid(100, 100, kCard)));
  TForm1& e = game.Start();
  game.RunToWait();
  return e;
}

TEST(ObjectControlTest, SetDrawsOnTheWindowOnlyAndFixIntoTheScreenBuffer) {
  SceneGame game;
  TForm1& e = Start(game, "@obj_set 0,10,100\n@OBJ_FIX 0,V001+300,100\n");
  EXPECT_EQ(game.Window(12, 102), Opaque(kBall));
  EXPECT_EQ(game.Window(25, 102), Opaque(kBall));
  EXPECT_EQ(game.Window(26, 102), kStory);
  EXPECT_EQ(game.Screen(12, 102), kStory);
  EXPECT_EQ(game.Window(302, 102), Opaque(kBall));
  EXPECT_EQ(game.Screen(302, 102), Opaque(kBall));
  // A repaint shows the screen buffer: the set object goes, the fixed one stays.
  e.PBPaint();
  EXPECT_EQ(game.Window(12, 102), kStory);
  EXPECT_EQ(game.Window(302, 102), Opaque(kBall));
  const std::string state = e.DescribeState();
  EXPECT_NE(state.find("\"objects\":{\"slots\":[\"BALL\",null,"), std::string::npos) << state;
  EXPECT_NE(state.find("],\"buffer\":false}"), std::string::npos);
}

TEST(ObjectControlTest, TheBlendCoversTheObjectsWidthWithExactLastPixels) {
  SceneGame game;
  // Thirteen pixels: one group of eight, then five blended exactly. Over white, a half mask gives
  // 253 inside the group and 254 in the tail.
  Bitmap half = Stacked(13, 4, Bgr{255, 255, 255}, 128);
  // The first eight pixels of the second object are fully clear: that group copies the screen.
  Bitmap clearHead = Stacked(13, 4, Bgr{255, 255, 255}, 128);
  for (int y = 4; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      uint8_t* p = clearHead.At(x, y);
      p[0] = p[1] = p[2] = 0;
    }
  }
  game.fixture
      .Script("main",
              "@gra Sggg,4\n@obj_load 1,HALF\n@obj_load 2,CLEAR\n@obj_set 1,100,200\n"
              "@obj_set 2,100,300\n\\\n")
      .Entry("tq_gra.tvx", "HALF", Packed(half))
      .Entry("tq_gra.tvx", "CLEAR", Packed(clearHead));
  game.Start();
  game.RunToWait();
  const Bgr white{255, 255, 255};
  for (int x = 0; x < 13; ++x) {
    SCOPED_TRACE(x);
    const Bgr expected = Apply(white, white, 128, x < 8 ? GroupBlend : TailBlend);
    EXPECT_EQ(game.Window(100 + x, 201), expected);
    EXPECT_EQ(game.Window(100 + x, 301), x < 8 ? white : expected);
  }
  EXPECT_EQ(Apply(white, white, 128, GroupBlend), (Bgr{253, 253, 253}));
  EXPECT_EQ(game.Window(113, 201), white);
}

TEST(ObjectControlTest, TwentyFramesOfFiftyMillisecondsTakeOneSecond) {
  SceneGame game;
  std::string lines;
  for (int k = 0; k < 20; ++k) lines += "@obj_set 0," + std::to_string(10 * k) + ",100,50\n";
  lines += "@obj_fix 0,300,100\n";
  game.fixture.Script("main", "@gra S246,4\n@obj_load 0,BALL\n\\\n" + lines + "\\\n")
      .Entry("tq_gra.tvx", "BALL", Packed(Stacked(16, 16, kBall)));
  game.Start();
  game.RunToWait();
  game.Host().recording = true;
  game.Click(400, 300);
  game.RunToWait();
  std::vector<testing::RecordingHost::Shown> frames;
  for (const auto& s : game.Host().shown) {
    if (s.area.Width() == 16) frames.push_back(s);
  }
  ASSERT_EQ(frames.size(), 21u);
  const uint32_t t0 = frames[0].time;
  for (size_t k = 0; k < 20; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(frames[k].time, t0 + 50 * k);
    EXPECT_EQ(frames[k].area.left, static_cast<int>(10 * k));
    EXPECT_EQ(Px(frames[k].window, 10 * static_cast<int>(k) + 15, 102), Opaque(kBall));
    // The frame ahead of the object is still the story's picture.
    EXPECT_EQ(Px(frames[k].window, 10 * static_cast<int>(k) + 16, 102), kStory);
  }
  EXPECT_EQ(frames[20].time, t0 + 1000);
  // The wait lets the window take its messages at least every 100 ms.
  const auto& pumps = game.Host().pumps;
  for (size_t i = 1; i < pumps.size(); ++i) EXPECT_LE(pumps[i] - pumps[i - 1], 100u);
}

TEST(ObjectControlTest, FrameTimesAreCappedAndPassedMarksReturnAtOnce) {
  SceneGame game;
  game.fixture
      .Script("main",
              "@gra S246,4\n@obj_load 0,BALL\n\\\n"
              "@obj_set 0,0,0,100000\n"  // capped at 60 s
              "@obj_set 0,20,0,-40\n"    // ends before its mark
              "@obj_b_make\n"
              "@obj_set 0,40,0,100\n"
              "@obj_b_show 50\n"  // the mark is the set's: already past
              "@obj_set 0,60,0\n"
              "@obj_b_reset\n"
              "@obj_b_show 80\n"
              "@obj_set 0,80,0\n"
              "@obj_set 40,0,0,30\n"  // no such slot: only the wait
              "@obj_set 5,0,0,30\n"   // a free slot: only the wait
              "@obj_set 0,100,0\n"
              "\\\n")
      .Entry("tq_gra.tvx", "BALL", Packed(Stacked(16, 16, kBall)));
  game.Start();
  game.RunToWait();
  game.Host().recording = true;
  game.Click(400, 300);
  game.RunToWait();
  // What the click on the wait shows comes first; the objects follow.
  auto first = std::find_if(game.Host().shown.begin(), game.Host().shown.end(),
                            [](const auto& s) { return s.area.Width() == 16; });
  const std::vector<testing::RecordingHost::Shown> shown(first, game.Host().shown.end());
  ASSERT_EQ(shown.size(), 8u);
  const uint32_t t0 = shown[0].time;
  const uint32_t expected[] = {0, 60000, 60000, 60100, 60100, 60100, 60180, 60240};
  for (size_t k = 0; k < 8; ++k) EXPECT_EQ(shown[k].time, t0 + expected[k]) << k;
  EXPECT_EQ(shown[3].area.Width(), 800);  // the buffer
  EXPECT_EQ(shown[7].area.left, 100);
  // The long wait lets the window take its messages at least every 100 ms.
  std::vector<uint32_t> pumps{t0};
  for (uint32_t p : game.Host().pumps) {
    if (p > t0 && p <= t0 + 60240) pumps.push_back(p);
  }
  ASSERT_GE(pumps.size(), 600u);
  for (size_t i = 1; i < pumps.size(); ++i) EXPECT_LE(pumps[i] - pumps[i - 1], 100u) << i;
}

TEST(ObjectControlTest, EraPutsTheScreenBufferBackOverTheObject) {
  SceneGame game;
  Start(game, "@obj_set 0,0,100\n@obj_set 0,40,100\n@obj_era 0,0,100\n");
  EXPECT_EQ(game.Window(2, 102), kStory);
  EXPECT_EQ(game.Window(15, 115), kStory);
  EXPECT_EQ(game.Window(42, 102), Opaque(kBall));
}

TEST(ObjectControlTest, TheOffScreenBufferBuildsAFrameAndEndsInTheScreenBuffer) {
  SceneGame game;
  TForm1& e = Start(game, "@obj_b_make CARD\n");
  // The picture went into the screen buffer only; the new buffer is black.
  EXPECT_EQ(game.Screen(50, 50), kCard);
  EXPECT_EQ(game.Screen(150, 150), kStory);
  EXPECT_EQ(game.Window(50, 50), kStory);
  EXPECT_NE(e.DescribeState().find("],\"buffer\":true}"), std::string::npos);
  ASSERT_TRUE(e.objects.bufferExists);
  e.CmdObj("b_show");
  EXPECT_EQ(game.Window(50, 50), kBlack);
  // A second make while the buffer exists does nothing.
  e.CmdObj("b_make");
  e.CmdObj("b_reset");
  e.CmdObj("b_set 0,200,200");
  EXPECT_EQ(game.Window(202, 202), kBlack);
  EXPECT_EQ(game.Screen(202, 202), kStory);
  e.CmdObj("b_show");
  EXPECT_EQ(game.Window(50, 50), kCard);
  EXPECT_EQ(game.Window(202, 202), Opaque(kBall));
  e.CmdObj("b_end");
  EXPECT_FALSE(e.objects.bufferExists);
  EXPECT_EQ(game.Screen(202, 202), Opaque(kBall));
  // Without a buffer the buffer commands do nothing.
  e.CmdObj("b_set 0,300,300");
  e.CmdObj("b_show");
  EXPECT_EQ(game.Screen(302, 302), kStory);
}

TEST(ObjectControlTest, ObjectsAreClippedToTheScreen) {
  SceneGame game;
  TForm1& e = Start(game,
                    "@obj_set 0,-8,592\n@obj_fix 0,790,-5\n@obj_set 0,5000,-5000\n@obj_b_make\n"
                    "@obj_b_set 0,795,595\n@obj_b_show\n");
  EXPECT_EQ(game.Screen(799, 0), Opaque(kBall));
  EXPECT_EQ(game.Screen(789, 0), kStory);
  EXPECT_EQ(game.Window(799, 599), Opaque(kBall));
  EXPECT_EQ(game.Window(794, 599), kBlack);
  e.CmdObj("b_end");
  e.PBPaint();
  EXPECT_EQ(game.Window(0, 599), kBlack);
}

TEST(ObjectControlTest, DeletedSlotsDrawNothingAndSlotsOutsideTheRangeAreFree) {
  SceneGame game;
  TForm1& e = Start(game, "@obj_load 40,BALL\n@obj_del 0\n@obj_set 0,0,100\n@obj_set 40,20,100\n@obj_load 31,BALL\n");
  EXPECT_EQ(game.Window(2, 102), kStory);
  EXPECT_EQ(game.Window(22, 102), kStory);
  EXPECT_FALSE(e.objects.slot[0].inUse);
  EXPECT_TRUE(e.objects.slot[31].inUse);
  // A picture that cannot be loaded leaves the slot's picture as it was.
  e.CmdObj("load 31,NOSUCH");
  EXPECT_EQ(e.objects.slot[31].name, "BALL");
  e.CmdObj("set 31,0,100");
  EXPECT_EQ(game.Window(2, 102), Opaque(kBall));
}

}  // namespace
}  // namespace torvel
