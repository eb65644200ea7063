// The headless input file: one timed event per line.
#include "platform/headless/input_script.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(InputScriptTest, ReadsEveryEventKind) {
  InputScript s = ParseInputScript(
      "0 move 10 20\n"
      "# a comment\n"
      "\n"
      "40 click 400 300\n"
      "60 click 1 2 right\n"
      "80 key Enter\n"
      "90 key ctrl down\n"
      "95 key Ctrl up\n"
      "100 char z\n"
      "110 wheel up\n"
      "120 wheel down\n"
      "130 shot a.png\n"
      "140 state s.json\n"
      "150 answer cancel\n"
      "160 close\n");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.events.size(), 13u);
  EXPECT_EQ(s.events[0].kind, InputEvent::Kind::Move);
  EXPECT_EQ(s.events[1].kind, InputEvent::Kind::Click);
  EXPECT_EQ(s.events[1].button, MouseButton::Left);
  EXPECT_EQ(s.events[2].button, MouseButton::Right);
  EXPECT_EQ(s.events[3].key, vk::Return);
  EXPECT_EQ(s.events[3].character, '\r');
  EXPECT_EQ(s.events[3].keyAction, InputEvent::KeyAction::Press);
  EXPECT_EQ(s.events[4].key, vk::Control);
  EXPECT_EQ(s.events[4].keyAction, InputEvent::KeyAction::Down);
  EXPECT_EQ(s.events[5].keyAction, InputEvent::KeyAction::Up);
  EXPECT_EQ(s.events[6].character, 'z');
  EXPECT_EQ(s.events[7].wheel, 1);
  EXPECT_EQ(s.events[8].wheel, -1);
  EXPECT_EQ(s.events[9].file, "a.png");
  EXPECT_EQ(s.events[10].kind, InputEvent::Kind::State);
  EXPECT_FALSE(s.events[11].answerOk);
  EXPECT_EQ(s.events[12].kind, InputEvent::Kind::Close);
}

TEST(InputScriptTest, NamesEveryKeyThePlayerUses) {
  const std::pair<const char*, int> kKeys[] = {
      {"Enter", vk::Return},
      {"Z", 'Z'},
      {"V", 'V'},
      {"Backspace", vk::Back},
      {"Escape", vk::Escape},
      {"Space", vk::Space},
      {"C", 'C'},
      {"L", 'L'},
      {"S", 'S'},
      {"Q", 'Q'},
      {"W", 'W'},
      {"X", 'X'},
      {"Tab", vk::Tab},
      {"Up", vk::Up},
      {"Down", vk::Down},
      {"Left", vk::Left},
      {"Right", vk::Right},
      {"Shift", vk::Shift},
      {"Ctrl", vk::Control},
      {"Alt", vk::Menu},
  };
  for (const auto& [name, code] : kKeys) {
    SCOPED_TRACE(name);
    EXPECT_EQ(KeyCodeByName(name), code);
  }
}

TEST(InputScriptTest, ReadsAHeldKeysRepeat) {
  InputScript s = ParseInputScript("10 key shift repeat\n");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.events.size(), 1u);
  EXPECT_EQ(s.events[0].key, vk::Shift);
  EXPECT_EQ(s.events[0].keyAction, InputEvent::KeyAction::Repeat);
}

TEST(InputScriptTest, ReadsSaveAndLoadWithTheirSlot) {
  InputScript s = ParseInputScript("10 save 1\n20 LOAD 99\n");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.events.size(), 2u);
  EXPECT_EQ(s.events[0].kind, InputEvent::Kind::Save);
  EXPECT_EQ(s.events[0].slot, 1);
  EXPECT_EQ(s.events[1].kind, InputEvent::Kind::Load);
  EXPECT_EQ(s.events[1].slot, 99);
}

TEST(InputScriptTest, EventsAreOrderedByTimeKeepingFileOrderForTies) {
  InputScript s = ParseInputScript("50 char b\n10 char a\n50 char c\n");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.events.size(), 3u);
  EXPECT_EQ(s.events[0].character, 'a');
  EXPECT_EQ(s.events[1].character, 'b');
  EXPECT_EQ(s.events[2].character, 'c');
}

struct BadLine {
  const char* text;
  const char* error;
};

class BadInputLineTest : public ::testing::TestWithParam<BadLine> {};

TEST_P(BadInputLineTest, IsReportedWithItsLineNumber) {
  InputScript s = ParseInputScript(std::string("0 char a\n") + GetParam().text + "\n");
  EXPECT_EQ(s.error.substr(0, 7), "line 2:") << s.error;
  EXPECT_NE(s.error.find(GetParam().error), std::string::npos) << s.error;
  EXPECT_TRUE(s.events.empty());
}

INSTANTIATE_TEST_SUITE_P(
    InputScript, BadInputLineTest,
    ::testing::Values(
        BadLine{"soon click 1 2", "time"}, BadLine{"-5 click 1 2", "time"}, BadLine{"10", "event"},
        BadLine{"10 jump", "unknown event"}, BadLine{"10 click 1", "X Y"}, BadLine{"10 click a b", "X Y"},
        BadLine{"10 click 1 2 up", "left, right or middle"}, BadLine{"10 move 1 2 3", "X Y"},
        BadLine{"10 key F13", "unknown key"}, BadLine{"10 key z sideways", "down or up"},
        BadLine{"10 char ab", "one character"}, BadLine{"10 wheel left", "up or down"}, BadLine{"10 shot", "file name"},
        BadLine{"10 answer maybe", "ok or cancel"}, BadLine{"10 close now", "too many"}, BadLine{"10 save", "slot"},
        BadLine{"10 save 0", "slot"}, BadLine{"10 load 100", "slot"}, BadLine{"10 load x", "slot"},
        BadLine{"10 save 1 2", "slot"}, BadLine{"10 press 1", "X Y"}, BadLine{"10 release 1 2 3 4", "X Y"},
        BadLine{"10 menu main jump", "unknown entry"}, BadLine{"10 menu popup end-replay", "unknown entry"},
        BadLine{"10 menu title next-scene", "quit-popup or toolbar"}, BadLine{"10 menu toolbar title", "unknown entry"},
        BadLine{"10 menu quit-popup save", "unknown entry"}, BadLine{"10 menu main", "an entry"},
        BadLine{"10 text", "a text"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace torvel

namespace torvel {
namespace {

TEST(InputScriptTest, StallTakesMilliseconds) {
  InputScript s = ParseInputScript("100 stall 250\n");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.events.size(), 1u);
  EXPECT_EQ(s.events[0].kind, InputEvent::Kind::Stall);
  EXPECT_EQ(s.events[0].stallMs, 250);
  for (const char* bad : {"100 stall\n", "100 stall -5\n", "100 stall soon\n", "100 stall 5 6\n"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ParseInputScript(bad).error, "line 1: expected milliseconds");
  }
}

}  // namespace
}  // namespace torvel

namespace torvel {
namespace {

TEST(InputScriptTest, ReadsPressReleaseMenuAndText) {
  InputScript s = ParseInputScript(
      "5 press 10 20\n6 release 30 40 right\n7 click 1 2 middle\n8 menu main next-scene\n"
      "9 menu main end-replay\n10 text 回想  の名前\n");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.events.size(), 6u);
  EXPECT_EQ(s.events[0].kind, InputEvent::Kind::Press);
  EXPECT_EQ(s.events[0].x, 10);
  EXPECT_EQ(s.events[0].button, MouseButton::Left);
  EXPECT_EQ(s.events[1].kind, InputEvent::Kind::Release);
  EXPECT_EQ(s.events[1].y, 40);
  EXPECT_EQ(s.events[1].button, MouseButton::Right);
  EXPECT_EQ(s.events[2].button, MouseButton::Middle);
  EXPECT_EQ(s.events[3].kind, InputEvent::Kind::Menu);
  EXPECT_EQ(s.events[3].menu, "main");
  EXPECT_EQ(s.events[3].entry, "next-scene");
  EXPECT_EQ(s.events[4].entry, "end-replay");
  EXPECT_EQ(s.events[5].kind, InputEvent::Kind::Text);
  EXPECT_EQ(s.events[5].text, "回想  の名前");  // the rest of the line, blanks kept
}

}  // namespace
}  // namespace torvel
