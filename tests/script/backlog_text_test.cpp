// The backlog text buffer keeps 200 finished lines of at most 69 bytes in fixed 70-byte slots.
#include "script/backlog_text.h"

#include <gtest/gtest.h>

#include <string>

namespace torvel {
namespace {

TEST(BacklogText, LinesGoToConsecutiveSlots) {
  BacklogText log;
  log.Append("Yuki");
  log.CloseLine();
  log.Append("Hello, ");
  log.Append("world");
  EXPECT_EQ(log.Lines(), 1);
  EXPECT_EQ(log.Line(0), "Yuki");
  EXPECT_EQ(log.Building(), "Hello, world");
  // The building line sits at byte 70, NUL-terminated.
  EXPECT_EQ(std::string(log.Bytes().data() + 70, 12), "Hello, world");
  EXPECT_EQ(log.Bytes()[82], 0);
}

TEST(BacklogText, LongLineStopsAtItsSlot) {
  BacklogText log;
  log.Append(std::string(50, 'a'));
  log.Append(std::string(50, 'b'));
  EXPECT_EQ(log.Building(), std::string(50, 'a') + std::string(19, 'b'));
  EXPECT_EQ(log.Bytes()[69], 0);
  EXPECT_EQ(log.Bytes()[70], 0);  // the next slot is untouched
}

TEST(BacklogText, TwoHundredAndFirstLineDropsTheOldest) {
  BacklogText log;
  for (int i = 0; i < 203; ++i) {
    log.Append("line " + std::to_string(i));
    log.CloseLine();
  }
  EXPECT_EQ(log.Lines(), 200);
  EXPECT_EQ(log.Line(0), "line 3");
  EXPECT_EQ(log.Line(199), "line 202");
  EXPECT_EQ(log.Building(), "");
  log.Append(std::string(80, 'z'));  // the last slot never overruns the buffer
  EXPECT_EQ(log.Building().size(), 69u);
}

}  // namespace
}  // namespace torvel
