// The frame clock on the headless host's virtual clock.
#include <gtest/gtest.h>

#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

struct PaceCase {
  const char* label;
  int period;
  int lateBy;  // ms spent in the frame before PaceFrame
  int frames;
  int endsAt;  // ms after the clock start
};

class PaceFrameTest : public ::testing::TestWithParam<PaceCase> {};

TEST_P(PaceFrameTest, DropsFramesInsteadOfSlowingDown) {
  const PaceCase& c = GetParam();
  GameFixture g;
  g.Script("main", "\\w\n");
  g.Start();
  TForm1& e = g.Engine();
  e.StartFrameClock();
  const uint32_t start = g.Host().TickCount();
  if (c.lateBy > 0) g.Host().Sleep(c.lateBy);
  EXPECT_EQ(e.PaceFrame(c.period), c.frames);
  EXPECT_EQ(g.Host().TickCount() - start, static_cast<uint32_t>(c.endsAt));
  EXPECT_EQ(e.layers.frameClock - start, static_cast<uint32_t>(c.endsAt));
}

INSTANTIATE_TEST_SUITE_P(Cases, PaceFrameTest,
                         ::testing::Values(PaceCase{"OnTime", 20, 5, 1, 20}, PaceCase{"NoWorkAtAll", 20, 0, 1, 20},
                                           PaceCase{"ExactlyOnePeriod", 20, 20, 2, 40},
                                           PaceCase{"LateByTwoAndAHalf", 20, 45, 3, 60},
                                           PaceCase{"ZeroPeriodCountsAsOne", 0, 5, 6, 6},
                                           PaceCase{"NegativePeriodCountsAsOne", -3, 0, 1, 1}),
                         [](const ::testing::TestParamInfo<PaceCase>& info) { return std::string(info.param.label); });

TEST(WaitUntilTest, SleepsOnlyForAFutureTick) {
  GameFixture g;
  g.Script("main", "\\w\n");
  g.Start();
  TForm1& e = g.Engine();
  const uint32_t now = g.Host().TickCount();
  e.WaitUntil(now + 30);
  EXPECT_EQ(g.Host().TickCount(), now + 30);
  e.WaitUntil(now);
  EXPECT_EQ(g.Host().TickCount(), now + 30);
}

}  // namespace
}  // namespace torvel
