// Animation playback through the headless host: frames shown on their clock (checked in shots
// against the stored pictures decoded again), the catch-up after a stall, patch drops and hold
// repairs, cuts by click and close, the enlarging player against its model, damaged entries, and
// the sound track's threshold between memory and streaming.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "effect_test_support.h"
#include "enlarge_model.h"
#include "platform/headless/recording_sound_device.h"
#include "sound/wady_encoder.h"

namespace torvel {
namespace {

using testing::AnimationEntry;
using testing::Bgr;
using testing::ClickAtTime;
using testing::GameFixture;
using testing::Gradient;
using testing::Px;
using testing::RunTimed;
using testing::Shows;
using testing::Solid;
using testing::StallAtTime;
using testing::Stored;
using testing::TestFrame;
using testing::TimedRun;

// Colours far apart, so a lossy decode never confuses two frames.
Bitmap Key(int i, int w = 64, int h = 48) {
  static const Bgr kColours[] = {{200, 30, 30},  {30, 200, 30},   {30, 30, 200},   {200, 200, 30}, {200, 30, 200},
                                 {30, 200, 200}, {120, 120, 120}, {240, 240, 240}, {90, 40, 10},   {10, 90, 160}};
  return Solid(w, h, kColours[i % 10]);
}

TestFrame K(int i) { return TestFrame{kKeyFrame, Key(i), 0, 0}; }

GameFixture& Started(GameFixture& g) {
  g.Script("main", "\\w\n");
  g.Start();
  g.RunToWait();
  return g;
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(AnimationPlayerTest, KeyPatchAndHoldFramesShowOnTheirClockAndTheLastStays) {
  GameFixture g;
  const Bitmap patch = Solid(16, 8, Bgr{250, 250, 0});
  g.Entry("tq_anim.tvx", "OPENING",
          AnimationEntry(100, 64, 48, {K(0), {kPatchFrame, patch, 10, 20}, {kHoldFrame, {}, 0, 0}, K(1)}));
  Started(g);
  TForm1& e = g.Engine();
  const TimedRun run = RunTimed(g, "@anim opening,100,50,0", {0, 100, 200, 300});
  EXPECT_EQ(run.result, 1);
  EXPECT_TRUE(Shows(run.shots[0], Stored(Key(0)), 100, 50));
  EXPECT_TRUE(Shows(run.shots[1], Stored(patch), 110, 70));
  EXPECT_EQ(Px(run.shots[1], 100, 50), Px(Stored(Key(0)), 0, 0)) << "the patch covers only its own area";
  EXPECT_TRUE(Shows(run.shots[2], Stored(patch), 110, 70)) << "a hold frame keeps the picture";
  EXPECT_TRUE(Shows(run.shots[3], Stored(Key(1)), 100, 50));
  EXPECT_EQ(run.elapsed, 400u);
  // The last frame stays on the window and in the screen buffer, which repaints it.
  EXPECT_TRUE(Shows(g.Host().Window(), Stored(Key(1)), 100, 50));
  EXPECT_TRUE(Shows(e.layers.screen, Stored(Key(1)), 100, 50));
  EXPECT_EQ(e.animation.drawn, 3);
  EXPECT_EQ(e.animation.dropped, 0);
  EXPECT_FALSE(e.ctl.blockingScene);
  EXPECT_FALSE(e.ctl.interruptibleWait);
  EXPECT_FALSE(e.ctl.menuLock);
}

// A clip that ends on a patch frame leaves that patch where it belongs, not at the clip's corner.
TEST(AnimationPlayerTest, ALastPatchFrameStaysAtItsOwnPlace) {
  GameFixture g;
  const Bitmap patch = Solid(16, 8, Bgr{250, 250, 0});
  g.Entry("tq_anim.tvx", "ENDPATCH", AnimationEntry(100, 64, 48, {K(0), {kPatchFrame, patch, 10, 20}}));
  Started(g);
  TForm1& e = g.Engine();
  const Bitmap before = e.layers.screen;
  RunTimed(g, "@anim endpatch,100,50,0", {});
  EXPECT_TRUE(Shows(g.Host().Window(), Stored(patch), 110, 70));
  EXPECT_EQ(Px(g.Host().Window(), 100, 50), Px(Stored(Key(0)), 0, 0));
  EXPECT_TRUE(Shows(e.layers.screen, Stored(patch), 110, 70));
  EXPECT_EQ(Px(e.layers.screen, 100, 50), Px(before, 100, 50)) << "the patch is not drawn at the corner";
}

TEST(AnimationPlayerTest, AStallSkipsTheFramesThereIsNoTimeFor) {
  GameFixture g;
  std::vector<TestFrame> frames;
  for (int i = 0; i < 8; ++i) frames.push_back(K(i));
  g.Entry("tq_anim.tvx", "RUN", AnimationEntry(100, 64, 48, frames));
  Started(g);
  // Frame 2 is shown at 200; the machine then stalls for 250 ms: 2.5 intervals late, frames 3
  // and 4 are skipped and frame 5 follows after the 50 ms left of its interval.
  const TimedRun run = RunTimed(g, "@anim RUN,0,0,0", {200, 450, 500, 700}, {StallAtTime(200, 250)});
  EXPECT_TRUE(Shows(run.shots[0], Stored(Key(2)), 0, 0));
  EXPECT_TRUE(Shows(run.shots[1], Stored(Key(2)), 0, 0)) << "nothing is drawn during the stall";
  EXPECT_TRUE(Shows(run.shots[2], Stored(Key(5)), 0, 0));
  EXPECT_TRUE(Shows(run.shots[3], Stored(Key(7)), 0, 0));
  EXPECT_EQ(run.elapsed, 800u);
  EXPECT_EQ(g.Engine().animation.drawn, 6);
}

struct CatchUpCase {
  const char* name;
  std::vector<int16_t> kinds;  // key frames show Key(index); the patch is yellow at (8, 8)
  int stall;                   // at time 0, after frame 0
  uint32_t shotAt;
  int shownKey;  // the key frame the shot shows at the origin
  bool patchShown;
  int drawn;
  int dropped;
};

class CatchUpTest : public ::testing::TestWithParam<CatchUpCase> {};

TEST_P(CatchUpTest, PatchesAreDroppedAndHoldsRepairFromTheNewestKeyFrame) {
  const CatchUpCase& c = GetParam();
  const Bitmap patch = Solid(16, 16, Bgr{0, 250, 250});
  std::vector<TestFrame> frames;
  for (size_t i = 0; i < c.kinds.size(); ++i) {
    if (c.kinds[i] == kKeyFrame) frames.push_back(K(static_cast<int>(i)));
    if (c.kinds[i] == kPatchFrame) frames.push_back({kPatchFrame, patch, 8, 8});
    if (c.kinds[i] == kHoldFrame) frames.push_back({kHoldFrame, Key(9), 0, 0});
  }
  GameFixture g;
  g.Entry("tq_anim.tvx", "C", AnimationEntry(100, 64, 48, frames));
  Started(g);
  const TimedRun run = RunTimed(g, "@anim C,0,0,0", {c.shotAt}, {StallAtTime(0, c.stall)});
  EXPECT_EQ(Px(run.shots[0], 0, 0), Px(Stored(Key(c.shownKey)), 0, 0));
  EXPECT_EQ(Px(run.shots[0], 10, 10), c.patchShown ? Px(Stored(patch), 0, 0) : Px(Stored(Key(c.shownKey)), 0, 0));
  EXPECT_EQ(g.Engine().animation.drawn, c.drawn);
  EXPECT_EQ(g.Engine().animation.dropped, c.dropped);
}

INSTANTIATE_TEST_SUITE_P(
    Animation, CatchUpTest,
    ::testing::Values(
        // Stalled 150 ms after frame 0: frame 1 is skipped and the patch that falls due right
        // after the catch-up is dropped; the hold after it repairs nothing (no frame skipped).
        CatchUpCase{"PatchAfterCatchUpIsDropped",
                    {kKeyFrame, kKeyFrame, kPatchFrame, kHoldFrame, kKeyFrame},
                    150,
                    300,
                    0,
                    false,
                    2,
                    1},
        // Stalled 250 ms: frames 1 and 2 are skipped and the hold at 3 brings back key frame 2,
        // the newest one skipped, not key frame 1 drawn over it.
        CatchUpCase{"HoldDrawsOnlyTheNewestSkippedKeyFrame",
                    {kKeyFrame, kKeyFrame, kKeyFrame, kHoldFrame, kKeyFrame},
                    250,
                    300,
                    2,
                    false,
                    3,
                    0},
        // A patch between the hold and the key frames ends the search: the picture stays.
        CatchUpCase{
            "PatchEndsTheHoldSearch", {kKeyFrame, kKeyFrame, kPatchFrame, kHoldFrame}, 250, 300, 0, false, 1, 0},
        // Without a catch-up the hold draws nothing and the patch stays.
        CatchUpCase{"HoldOnTimeKeepsThePatch", {kKeyFrame, kPatchFrame, kHoldFrame}, 0, 200, 0, true, 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct CutCase {
  const char* name;
  int cut;
  bool close;
  uint32_t elapsed;
  int s036;
};

class AnimationCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(AnimationCutTest, ClicksAndCloseRequestsEndOnlyACuttableAnimation) {
  const CutCase& c = GetParam();
  GameFixture g;
  std::vector<TestFrame> frames;
  for (int i = 0; i < 5; ++i) frames.push_back(K(i));
  g.Entry("tq_anim.tvx", "CUT", AnimationEntry(100, 64, 48, frames));
  Started(g);
  TForm1& e = g.Engine();
  e.vars.V(1) = c.cut;
  e.vars.S(36) = 7;
  InputEvent during = ClickAtTime(150);
  if (c.close) during.kind = InputEvent::Kind::Close;
  const TimedRun run = RunTimed(g, "@anim CUT,0,0,V001", {}, {during});
  EXPECT_EQ(run.elapsed, c.elapsed);
  EXPECT_EQ(e.vars.S(36), c.s036);
  // Whatever was showing, the last frame is what stays.
  EXPECT_TRUE(Shows(g.Host().Window(), Stored(Key(4)), 0, 0));
  EXPECT_TRUE(Shows(e.layers.screen, Stored(Key(4)), 0, 0));
  EXPECT_FALSE(g.Host().Closed());
  if (c.close) {
    // The close refused during playback is asked once the frame loop runs again.
    EXPECT_TRUE(g.Host().Messages().empty());
    g.Host().RunFrame();
    EXPECT_EQ(g.Host().Messages().size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Animation, AnimationCutTest,
                         ::testing::Values(
                             // The click arrives while frame 1 shows and is seen after frame 2:
                             // playback ends when frame 3 would follow.
                             CutCase{"ClickCutsShort", 1, false, 300, 1},
                             CutCase{"ClickDoesNothingWithoutCut", 0, false, 500, 7},
                             CutCase{"CloseCutsShort", 1, true, 300, 1},
                             CutCase{"CloseWaitsWithoutCut", 0, true, 500, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnimationPlayerTest, UnknownNameDoesNothing) {
  GameFixture g;
  g.Entry("tq_anim.tvx", "A", AnimationEntry(100, 64, 48, {K(0)}));
  Started(g);
  const Bitmap before = g.Host().Window();
  const TimedRun run = RunTimed(g, "@anim B,0,0,1", {});
  EXPECT_EQ(run.elapsed, 0u);
  EXPECT_EQ(g.Host().Window().pixels, before.pixels);
  EXPECT_EQ(g.Engine().animation.name, "");
}

TEST(AnimationPlayerTest, TheSecondArchiveIsSearchedAfterTheFirst) {
  GameFixture g;
  g.Entry("tq_anim.tvx", "A", AnimationEntry(100, 64, 48, {K(0)}));
  g.Entry("tq_anim2.tvx", "A", AnimationEntry(100, 64, 48, {K(1)}));
  g.Entry("tq_anim2.tvx", "B", AnimationEntry(100, 64, 48, {K(2)}));
  Started(g);
  RunTimed(g, "@anim a,0,0,0", {});
  EXPECT_TRUE(Shows(g.Host().Window(), Stored(Key(0)), 0, 0));
  RunTimed(g, "@anim B,0,0,0", {});
  EXPECT_TRUE(Shows(g.Host().Window(), Stored(Key(2)), 0, 0));
}

// Damaged entries: what still plays, and what plays nothing at all.
TEST(AnimationPlayerTest, DamagedEntriesNeverReachOutside) {
  GameFixture g;
  std::vector<uint8_t> good = AnimationEntry(100, 64, 48, {K(0), K(1), K(2)});
  // Interval 0 counts as 1 ms.
  std::vector<uint8_t> zero = good;
  zero[4] = 0;
  // No frames.
  std::vector<uint8_t> none = good;
  none[0] = 0;
  // More frames than the arrays the entry holds.
  std::vector<uint8_t> tooMany = good;
  tooMany[1] = 0x10;
  // Frame 1's data beyond the entry, frame 2 of an unknown kind.
  std::vector<uint8_t> broken = good;
  broken[24 + 6 + 6 + 6 + 4 + 3] = 0x7F;
  broken[24 + 4] = 9;
  // Frame 1's picture bytes no longer a JPEG stream.
  std::vector<uint8_t> garbage = good;
  {
    AnimationHeader h;
    std::vector<AnimationFrame> frames;
    ReadAnimationHeader(good, h);
    ReadAnimationFrames(std::span<const uint8_t>(good).subspan(kAnimationHeaderSize), h.frameCount, frames);
    std::fill_n(garbage.begin() + frames[1].offset, frames[1].length, uint8_t{0x5A});
  }
  // The sound block beyond the entry.
  std::vector<uint8_t> loudOutside = good;
  loudOutside[16] = 100;
  loudOutside[23] = 0x7F;
  g.Entry("tq_anim.tvx", "ZERO", zero);
  g.Entry("tq_anim.tvx", "NONE", none);
  g.Entry("tq_anim.tvx", "TOOMANY", tooMany);
  g.Entry("tq_anim.tvx", "BROKEN", broken);
  g.Entry("tq_anim.tvx", "OUTSIDE", loudOutside);
  g.Entry("tq_anim.tvx", "GARBAGE", garbage);
  g.Entry("tq_anim.tvx", "TINY", {1, 0, 0, 0});
  Started(g);
  TForm1& e = g.Engine();

  TimedRun run = RunTimed(g, "@anim ZERO,0,0,0", {});
  EXPECT_EQ(run.elapsed, 3u);
  EXPECT_EQ(e.animation.drawn, 3);

  for (const char* name : {"NONE", "TOOMANY", "TINY"}) {
    SCOPED_TRACE(name);
    e.animation = AnimationStatus{};
    run = RunTimed(g, std::string("@anim ") + name + ",0,0,0", {});
    EXPECT_EQ(run.elapsed, 0u);
    EXPECT_EQ(e.animation.name, "") << "nothing plays";
  }

  run = RunTimed(g, "@anim BROKEN,0,0,0", {0, 100, 200});
  EXPECT_TRUE(Shows(run.shots[1], Stored(Key(0)), 0, 0)) << "frame 1 lies outside the entry";
  EXPECT_TRUE(Shows(run.shots[2], Stored(Key(0)), 0, 0)) << "frame 2 is of no known kind";
  EXPECT_EQ(e.animation.drawn, 1);

  run = RunTimed(g, "@anim GARBAGE,0,0,0", {100, 200});
  EXPECT_TRUE(Shows(run.shots[0], Stored(Key(0)), 0, 0)) << "frame 1 does not decode";
  EXPECT_TRUE(Shows(run.shots[1], Stored(Key(2)), 0, 0));
  EXPECT_EQ(e.animation.drawn, 2);

  g.Host().Sound().ClearCalls();
  run = RunTimed(g, "@anim OUTSIDE,0,0,0", {});
  EXPECT_EQ(e.animation.drawn, 3);
  EXPECT_TRUE(g.Host().Sound().CallsOf(SoundOp::Create).empty());
}

TEST(AnimationPlayerTest, EnlargingPlayerRefusesFramesOutsideItsSizes) {
  for (auto [w, h] : {std::pair{1u, 240u}, std::pair{320u, 1u}, std::pair{801u, 240u}, std::pair{320u, 601u},
                      std::pair{0xFFFFFFFFu, 0xFFFFFFFFu}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    GameFixture g;
    g.Entry("tq_anim.tvx", "Q", AnimationEntry(100, w, h, {K(0)}));
    Started(g);
    const TimedRun run = RunTimed(g, "@animq Q,0,0,0", {});
    EXPECT_EQ(run.elapsed, 0u);
    EXPECT_EQ(g.Engine().animation.name, "");
  }
}

TEST(AnimationPlayerTest, EnlargedFramesDoubleAndTheScreenBufferIsLeftWhite) {
  GameFixture g;
  const Bitmap a = Gradient(320, 240);
  Bitmap b = Gradient(320, 240);
  for (uint8_t& v : b.pixels) v = static_cast<uint8_t>(255 - v);
  const Bitmap patch = Solid(40, 30, Bgr{10, 220, 90});
  g.Entry("tq_anim.tvx", "SMALL",
          AnimationEntry(50, 320, 240, {{kKeyFrame, a, 0, 0}, {kPatchFrame, patch, 100, 50}, {kKeyFrame, b, 0, 0}}));
  Started(g);
  TForm1& e = g.Engine();
  const TimedRun run = RunTimed(g, "@animq SMALL,80,60,0", {0, 50});
  EXPECT_TRUE(Shows(run.shots[0], testing::ModelDoubled(Stored(a)), 80, 60));
  // The patch is drawn into the frame picture, which is enlarged whole again.
  Bitmap patched = Stored(a);
  const Bitmap p = Stored(patch);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      for (int c = 0; c < 3; ++c) patched.At(100 + x, 50 + y)[c] = p.At(x, y)[c];
    }
  }
  EXPECT_TRUE(Shows(run.shots[1], testing::ModelDoubled(patched), 80, 60));
  EXPECT_TRUE(e.animation.enlarged);
  // The last frame is not drawn again at the end, and the buffer that repaints the window is white.
  EXPECT_TRUE(Shows(g.Host().Window(), testing::ModelDoubled(Stored(b)), 80, 60));
  EXPECT_EQ(e.layers.screen.pixels, Solid(800, 600, Bgr{255, 255, 255}).pixels);
}

TEST(AnimationPlayerTest, A640WideFrameFillsTheScreenButItsLastRowAndColumn) {
  GameFixture g;
  const Bitmap a = Gradient(640, 480);
  g.Entry("tq_anim.tvx", "WIDE", AnimationEntry(33, 640, 480, {{kKeyFrame, a, 0, 0}}));
  Started(g);
  g.Host().Present(Solid(800, 600, Bgr{9, 9, 9}), Rect{0, 0, 800, 600});
  const TimedRun run = RunTimed(g, "@animq WIDE,0,0,0", {0});
  const Bitmap expected = testing::ModelQuarter(Stored(a));
  EXPECT_TRUE(Shows(run.shots[0], expected, 0, 0));
  EXPECT_EQ(Px(run.shots[0], 400, 599), (Bgr{0, 0, 0}));
  EXPECT_EQ(Px(run.shots[0], 799, 300), (Bgr{0, 0, 0}));
}

TEST(AnimationPlayerTest, EnlargingPlayersDueTimesFollowThirtyAndFifteenFramesASecond) {
  GameFixture g;
  std::vector<TestFrame> ten;
  for (int i = 0; i < 10; ++i) ten.push_back(K(i));
  g.Entry("tq_anim.tvx", "THIRTY", AnimationEntry(33, 64, 48, ten));
  g.Entry("tq_anim.tvx", "FIFTEEN", AnimationEntry(15, 64, 48, {K(0), K(1), K(2)}));
  Started(g);
  // Frames fall due at 0, 33, 66, 99, 133, 166, 199, 233, 266, 299 (p × 33.333): frame 4, shown
  // on time at 132, is a millisecond early, so the loop waits 34 ms and frame 5 follows at 166
  // rather than 165; one more interval after the last frame ends the playback at 332. A shot is
  // taken with the first frame drawn at or after its time.
  TimedRun run = RunTimed(g, "@animq THIRTY,0,0,0", {132, 166, 266});
  EXPECT_EQ(run.elapsed, 332u);
  EXPECT_EQ(Px(run.shots[0], 0, 0), Px(testing::ModelDoubled(Stored(Key(4))), 0, 0));
  EXPECT_EQ(Px(run.shots[1], 0, 0), Px(testing::ModelDoubled(Stored(Key(5))), 0, 0));
  EXPECT_EQ(Px(run.shots[2], 0, 0), Px(testing::ModelDoubled(Stored(Key(8))), 0, 0));
  // 15 stands for 66.666 ms per frame, but the wait is counted in 15 ms: frame 1 follows 15 ms
  // after frame 0, frame 2 is due at 133 and follows at 15 + 66, the end at 81 + 67.
  run = RunTimed(g, "@animq FIFTEEN,0,0,0", {15, 81});
  EXPECT_EQ(run.elapsed, 148u);
  EXPECT_EQ(Px(run.shots[0], 0, 0), Px(testing::ModelDoubled(Stored(Key(1))), 0, 0));
  EXPECT_EQ(Px(run.shots[1], 0, 0), Px(testing::ModelDoubled(Stored(Key(2))), 0, 0));
}

// A type A sound padded to `size` bytes.
std::vector<uint8_t> SoundBlock(size_t size) {
  std::vector<int16_t> samples(16000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i % 40) * 300 - 6000);
  std::vector<uint8_t> block = EncodeTypeA(samples, 1, 16000);
  block.resize(size, 0);
  return block;
}

std::vector<SoundCall> CreatesIn(const RecordingSoundDevice& d, int slot) {
  std::vector<SoundCall> out;
  for (const SoundCall& c : d.CallsOf(SoundOp::Create)) {
    if (c.slot == slot) out.push_back(c);
  }
  return out;
}

TEST(AnimationPlayerTest, SoundUpToThreshold999999BytesPlaysFromMemoryAboveItStreams) {
  GameFixture g;
  g.Entry("tq_anim.tvx", "WHOLE", AnimationEntry(100, 64, 48, {K(0), K(1)}, SoundBlock(3999999)));
  g.Entry("tq_anim.tvx", "STREAM", AnimationEntry(100, 64, 48, {K(0), K(1)}, SoundBlock(4000000)));
  g.Entry("tq_bgm.tvx", "M01", SoundBlock(100000));
  g.Script("main", "@music 1\n\\w\n");
  g.Start();
  g.RunToWait();
  TForm1& e = g.Engine();
  RecordingSoundDevice& d = g.Host().Sound();
  ASSERT_EQ(e.vars.S(5), 1);
  ASSERT_EQ(CreatesIn(d, 3).size(), 1u);

  RunTimed(g, "@anim WHOLE,0,0,0", {});
  ASSERT_EQ(CreatesIn(d, 5).size(), 1u);
  EXPECT_EQ(CreatesIn(d, 5)[0].name, "ANIMATION");
  EXPECT_FALSE(d.Filled(5)) << "the sound is stopped and released at the end";
  EXPECT_EQ(e.vars.S(5), 1) << "a sound from memory leaves the music alone";
  EXPECT_TRUE(d.Filled(3));

  RunTimed(g, "@anim STREAM,0,0,0", {});
  ASSERT_EQ(CreatesIn(d, 3).size(), 2u);
  EXPECT_EQ(CreatesIn(d, 3)[1].name, "ANIMATION");
  EXPECT_EQ(CreatesIn(d, 5).size(), 1u);
  EXPECT_FALSE(d.Filled(3));
  // The track the stream replaced is not playing: asking for it again plays it.
  EXPECT_EQ(e.vars.S(5), 0);
  e.SetMusic(1);
  ASSERT_EQ(CreatesIn(d, 3).size(), 3u);
  EXPECT_EQ(CreatesIn(d, 3)[2].name, "M01");
}

TEST(AnimationPlayerTest, StateReportShowsThePlaybackAndTheClock) {
  GameFixture g;
  g.Entry("tq_anim.tvx", "OPENING", AnimationEntry(100, 64, 48, {K(0), K(1), K(2), K(3)}));
  Started(g);
  InputEvent state;
  state.kind = InputEvent::Kind::State;
  state.time = 200;
  state.file = (g.Dir() / "mid.json").string();
  const TimedRun run = RunTimed(g, "@animq OPENING,0,0,0", {}, {state});
  const std::string mid = ReadText(g.Dir() / "mid.json");
  EXPECT_NE(mid.find("\"animation\":{\"name\":\"OPENING\",\"playing\":true,\"enlarged\":true,\"frame\":2,\"drawn\":3,"
                     "\"dropped\":0}"),
            std::string::npos)
      << mid;
  EXPECT_NE(mid.find("\"clock\":" + std::to_string(run.start + 200)), std::string::npos) << mid;
  const std::string after = g.Engine().DescribeState();
  EXPECT_NE(after.find("\"animation\":{\"name\":\"OPENING\",\"playing\":false,\"enlarged\":true,\"frame\":-1,"
                       "\"drawn\":4,\"dropped\":0}"),
            std::string::npos)
      << after;
}

}  // namespace
}  // namespace torvel
