// The animation entry layout: a small entry written out and compared with its bytes worked by
// hand, and the reader's refusals of tables that do not fit.
#include <gtest/gtest.h>

#include "graphics/animation_clock.h"
#include "graphics/animation_entry.h"

namespace torvel {
namespace {

TEST(AnimationEntryTest, WriterLaysOutHeaderArraysPicturesAndSound) {
  AnimationBlueprint b;
  b.header.interval = 100;
  b.header.width = 4;
  b.header.height = 2;
  b.pictures = {{0xAA, 0xBB}, {0xCC}};
  b.frames = {{kKeyFrame, 0, 0, 0}, {kHoldFrame, 0, 0, 0}, {kPatchFrame, -2, 3, 1}};
  b.sound = {1, 2, 3};
  std::vector<uint8_t> out;
  ASSERT_TRUE(BuildAnimationEntry(b, out));
  // Header 24 bytes, arrays 3 × 14 = 42 bytes: pictures at 66 and 68, the sound at 69.
  const std::vector<uint8_t> expected = {3,    0,    0,    0, 100,  0,    0, 0, 4,  0, 0, 0,
                                         2,    0,    0,    0, 3,    0,    0, 0, 69, 0, 0, 0,  // header
                                         0,    0,    2,    0, 1,    0,                        // kinds
                                         0,    0,    0,    0, 0xFE, 0xFF,                     // x
                                         0,    0,    0,    0, 3,    0,                        // y
                                         66,   0,    0,    0, 66,   0,    0, 0, 68, 0, 0, 0,  // offsets
                                         2,    0,    0,    0, 2,    0,    0, 0, 1,  0, 0, 0,  // lengths
                                         0xAA, 0xBB, 0xCC, 1, 2,    3};
  EXPECT_EQ(out, expected);

  AnimationHeader h;
  ASSERT_TRUE(ReadAnimationHeader(out, h));
  EXPECT_EQ(h.frameCount, 3u);
  EXPECT_EQ(h.soundOffset, 69u);
  ASSERT_TRUE(AnimationTableFits(h, out.size()));
  std::vector<AnimationFrame> frames;
  ASSERT_TRUE(ReadAnimationFrames(std::span<const uint8_t>(out).subspan(kAnimationHeaderSize), 3, frames));
  EXPECT_EQ(frames[2].kind, kPatchFrame);
  EXPECT_EQ(frames[2].x, -2);
  EXPECT_EQ(frames[2].y, 3);
  EXPECT_EQ(frames[2].offset, 68u);
  EXPECT_EQ(frames[2].length, 1u);
}

TEST(AnimationEntryTest, TablesThatDoNotFitAreRefused) {
  AnimationHeader h;
  h.frameCount = 2;
  EXPECT_TRUE(AnimationTableFits(h, 24 + 28));
  EXPECT_FALSE(AnimationTableFits(h, 24 + 27));
  h.frameCount = 0;
  EXPECT_FALSE(AnimationTableFits(h, 1000)) << "no frame plays nothing";
  h.frameCount = 0xFFFFFFFFu;
  EXPECT_FALSE(AnimationTableFits(h, 0xFFFFFFFFull)) << "a count that would pass 4 GiB of arrays";
  h.frameCount = kMaxAnimationFrames + 1;
  EXPECT_FALSE(AnimationTableFits(h, 1ull << 40));
  std::vector<AnimationFrame> frames;
  EXPECT_FALSE(ReadAnimationFrames(std::vector<uint8_t>(27), 2, frames));
  EXPECT_FALSE(ReadAnimationHeader(std::vector<uint8_t>(23), h));
}

TEST(AnimationEntryTest, BlocksMustLieInsideTheEntry) {
  EXPECT_TRUE(BlockInside(10, 90, 100));
  EXPECT_FALSE(BlockInside(10, 91, 100));
  EXPECT_FALSE(BlockInside(0xFFFFFFFFu, 0xFFFFFFFFu, 100)) << "no wrap-around";
}

TEST(AnimationEntryTest, WriterRefusesAFrameWithoutPicture) {
  AnimationBlueprint b;
  b.frames = {{kKeyFrame, 0, 0, -1}};
  std::vector<uint8_t> out;
  EXPECT_FALSE(BuildAnimationEntry(b, out));
}

// The catch-up worked by hand: lateness t after frame p against its due time, in the interval.
struct AdvanceCase {
  const char* name;
  uint64_t p;
  int64_t elapsed;
  uint32_t interval;
  bool enlarged;
  uint64_t next;
  uint64_t skipped;
  int64_t sleep;
};

class AdvanceFrameTest : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(AdvanceFrameTest, NextFrameSkipAndSleep) {
  const AdvanceCase& c = GetParam();
  const FrameAdvance a = AdvanceFrame(c.p, c.elapsed, c.interval, c.enlarged);
  EXPECT_EQ(a.next, c.next);
  EXPECT_EQ(a.skipped, c.skipped);
  EXPECT_EQ(a.sleepMs, c.sleep);
}

INSTANTIATE_TEST_SUITE_P(Clock, AdvanceFrameTest,
                         ::testing::Values(
                             // On time: a whole interval's sleep.
                             AdvanceCase{"OnTime", 3, 300, 100, false, 4, 0, 100},
                             // 40 ms late: the rest of the interval.
                             AdvanceCase{"SlightlyLate", 3, 340, 100, false, 4, 0, 60},
                             // Exactly one interval late: no sleep, no skip.
                             AdvanceCase{"OneIntervalLate", 3, 400, 100, false, 4, 0, 0},
                             // 250 ms late: two frames skipped, 100 − 50 ms sleep.
                             AdvanceCase{"Behind", 3, 550, 100, false, 6, 2, 50},
                             // Early (a clock that went back): the sleep grows by the lead.
                             AdvanceCase{"Early", 3, 290, 100, false, 4, 0, 110},
                             // The enlarging player's 33 ms stands for 33.333 ms: frame 3 is due at 99, not 99.999.
                             AdvanceCase{"ThirtyFramesDueTime", 3, 100, 33, true, 4, 0, 32},
                             // 15 ms stands for 66.666 ms: frame 2 is due at 133; skips still count in 15 ms.
                             AdvanceCase{"FifteenFramesDueTime", 2, 133 + 40, 15, true, 2 + 2 + 1, 2, 5},
                             // Any other interval is plain milliseconds for both players.
                             AdvanceCase{"OtherIntervalsEnlarged", 5, 250, 50, true, 6, 0, 50},
                             // Interval 0 counts as 1 ms.
                             AdvanceCase{"ZeroIntervalIsOneMs", 10, 13, 0, false, 14, 3, 1},
                             // A huge frame count and interval stay in 64 bits.
                             AdvanceCase{
                                 "LargeNumbers", 1u << 20, int64_t{1} << 40, 0xFFFFFFFFu, true, (1u << 20) + 1, 0,
                                 0xFFFFFFFFll - ((int64_t{1} << 40) - int64_t{0xFFFFFFFF} * 1000 * (1 << 20) / 1000)}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace torvel
