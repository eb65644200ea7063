// What a load takes from a slot image: refusals and the ranges values are brought into.
#include "screens/slot_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace torvel {
namespace {

// Scripts "main" (500 bytes) and "sub" (80 bytes).
int Sizes(std::string_view name) {
  static const std::map<std::string, int, std::less<>> kSizes = {{"main", 500}, {"sub", 80}};
  auto it = kSizes.find(name);
  return it == kSizes.end() ? -1 : it->second;
}

std::unique_ptr<SlotImage> Sound() {
  auto image = std::make_unique<SlotImage>();
  image->names.loadedScript = "sub";
  image->state.resumePosition = 40;
  image->state.callDepth = 1;
  image->names.frameScripts[0] = "main";
  image->state.returnPc[0] = 120;
  image->lineBuffer = "line";
  return image;
}

struct Refusal {
  const char* name;
  std::function<void(SlotImage&)> damage;
};

class SlotRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(SlotRefusals, AreRefusedWhole) {
  std::unique_ptr<SlotImage> image = Sound();
  ASSERT_TRUE(CheckSlotImage(*image, Sizes));
  image = Sound();
  GetParam().damage(*image);
  EXPECT_FALSE(CheckSlotImage(*image, Sizes));
}

INSTANTIATE_TEST_SUITE_P(
    Images, SlotRefusals,
    ::testing::Values(Refusal{"NegativeCallDepth", [](SlotImage& i) { i.state.callDepth = -1; }},
                      Refusal{"CallDepthOverNine", [](SlotImage& i) { i.state.callDepth = 10; }},
                      Refusal{"FrameNamingNoScript", [](SlotImage& i) { i.names.frameScripts[0] = "gone"; }},
                      Refusal{"DeeperFrameNamingNoScript", [](SlotImage& i) { i.state.callDepth = 2; }},
                      Refusal{"ReturnPastItsScript", [](SlotImage& i) { i.state.returnPc[0] = 501; }},
                      Refusal{"NegativeReturn", [](SlotImage& i) { i.state.returnPc[0] = -1; }},
                      Refusal{"LoadedScriptMissing", [](SlotImage& i) { i.names.loadedScript = "nothing"; }},
                      Refusal{"LoadedScriptEmpty", [](SlotImage& i) { i.names.loadedScript.clear(); }},
                      Refusal{"ResumePastTheScript", [](SlotImage& i) { i.state.resumePosition = 81; }},
                      Refusal{"NegativeResume", [](SlotImage& i) { i.state.resumePosition = -5; }}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(SlotCheck, EdgesOfTheScriptsAreAccepted) {
  std::unique_ptr<SlotImage> image = Sound();
  image->state.resumePosition = 80;
  image->state.returnPc[0] = 500;
  // Frames past the depth are not looked at.
  image->names.frameScripts[1] = "gone";
  image->state.returnPc[1] = -9;
  EXPECT_TRUE(CheckSlotImage(*image, Sizes));
  image->state.callDepth = 0;
  image->names.frameScripts[0] = "";
  image->state.resumePosition = 0;
  EXPECT_TRUE(CheckSlotImage(*image, Sizes));
}

struct Clamp {
  const char* name;
  int32_t SlotState::*member;
  int32_t stored;
  int32_t expected;
};

class SlotClamps : public ::testing::TestWithParam<Clamp> {};

TEST_P(SlotClamps, BringValuesIntoRange) {
  std::unique_ptr<SlotImage> image = Sound();
  image->state.*GetParam().member = GetParam().stored;
  ASSERT_TRUE(CheckSlotImage(*image, Sizes));
  EXPECT_EQ(image->state.*GetParam().member, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SlotClamps,
    ::testing::Values(
        Clamp{"CursorColumnHigh", &SlotState::cursorCol, 101, 100},
        Clamp{"CursorColumnNegative", &SlotState::cursorCol, -3, 0},
        Clamp{"CursorColumnEdge", &SlotState::cursorCol, 100, 100},
        Clamp{"CursorRowHigh", &SlotState::cursorRow, 21, 20},
        Clamp{"CursorRowNegative", &SlotState::cursorRow, INT32_MIN, 0},
        Clamp{"BacklogLinesHigh", &SlotState::backlogLines, 201, 200},
        Clamp{"BacklogLinesNegative", &SlotState::backlogLines, -1, 0},
        Clamp{"WritePositionBeyondTheLine", &SlotState::backlogWritePosition, 70, 69},
        Clamp{"WritePositionNegative", &SlotState::backlogWritePosition, -70, 0},
        Clamp{"HistoryCountNegative", &SlotState::historyCount, -1, 0},
        Clamp{"HistoryCountLarge", &SlotState::historyCount, 1000000, 1000000},
        Clamp{"WaitTicksNegative", &SlotState::waitTicks, -8, 0},
        Clamp{"TextSpeedNegative", &SlotState::textSpeed, -1, 0}, Clamp{"WaitKindFive", &SlotState::waitKind, 5, 5},
        Clamp{"WaitKindSix", &SlotState::waitKind, 6, 0}, Clamp{"WaitKindNegative", &SlotState::waitKind, -1, 0},
        Clamp{"ScreenModeTitleMap", &SlotState::screenMode, 4, 4},
        Clamp{"ScreenModeHidden", &SlotState::screenMode, 1, 0},
        Clamp{"ScreenModeGallery", &SlotState::screenMode, 6, 0},
        Clamp{"WindowShownFlag", &SlotState::windowShown, 7, 1}, Clamp{"GrbPendingFlag", &SlotState::grbPending, -1, 1},
        Clamp{"LargeTextFlag", &SlotState::largeText, 2, 1},
        Clamp{"ScriptRunningFlag", &SlotState::scriptRunning, 9, 1}, Clamp{"NeedLineFlag", &SlotState::needLine, 3, 1},
        Clamp{"PageEmptyFlag", &SlotState::pageEmpty, 5, 1},
        Clamp{"ReservedFlagKept", &SlotState::reservedFlag, 77, 77},
        Clamp{"LinePosPastTheLine", &SlotState::linePos, 5, 4}, Clamp{"LinePosNegative", &SlotState::linePos, -2, 0},
        Clamp{"LineStartPastTheScript", &SlotState::lineStart, 81, 80}),
    [](const ::testing::TestParamInfo<Clamp>& info) { return std::string(info.param.name); });

TEST(SlotCheck, TheWritePositionStaysInTheLineBeingBuilt) {
  std::unique_ptr<SlotImage> image = Sound();
  image->state.backlogLines = 3;
  image->state.backlogWritePosition = 10;  // inside line 0
  ASSERT_TRUE(CheckSlotImage(*image, Sizes));
  EXPECT_EQ(image->state.backlogWritePosition, 210);
  image->state.backlogLines = 300;
  image->state.backlogWritePosition = INT32_MAX;
  ASSERT_TRUE(CheckSlotImage(*image, Sizes));
  EXPECT_EQ(image->state.backlogLines, 200);
  EXPECT_EQ(image->state.backlogWritePosition, 14069);
}

}  // namespace
}  // namespace torvel
