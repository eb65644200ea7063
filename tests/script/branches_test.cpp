// `switch` and `cjmp` through the headless host: which block runs and where a construct ends.
#include <gtest/gtest.h>

#include <string>

#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

struct BranchCase {
  const char* name;
  const char* script;
  const char* waitsAt;
};

class BranchTest : public ::testing::TestWithParam<BranchCase> {};

TEST_P(BranchTest, RunsTheRightBlockAndSkipsTheRest) {
  GameFixture game;
  game.Script("main", GetParam().script);
  game.Start();
  EXPECT_EQ(game.RunToWait(), GetParam().waitsAt);
  // The next wait is always the line after the construct.
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\after");
}

constexpr const char* kSwitch =
    "!V001=2\n"
    "@switch\n"
    "{(V001=1)\n\\one\n"
    "{(V001=2)\n\\two\n"
    "{(V001>0)\n\\positive\n"
    "}\n\\after\n";

INSTANTIATE_TEST_SUITE_P(
    Branches, BranchTest,
    ::testing::Values(
        BranchCase{"SwitchTakesTheFirstTrueCase", kSwitch, "\\two"},
        BranchCase{"SwitchWithoutATrueCaseOrDefaultContinuesAfterTheEnd",
                   "@switch\n{(V001=1)\n\\one\n{(V001=2)\n\\two\n}\n\\after\n", "\\after"},
        BranchCase{"SwitchDefaultIsTakenWhereverItStands", "@switch\n{\n\\default\n{(V001=0)\n\\zero\n}\n\\after\n",
                   "\\default"},
        BranchCase{"SwitchPassesOverCasesWithOtherText", "@switch\n{x(V001=0)\n\\x\n{(V001=0)\n\\zero\n}\n\\after\n",
                   "\\zero"},
        BranchCase{"NamedSwitchMatchesWithoutCaseAndPassesOverLongerNames",
                   "@switch ab\n{:ABC(V001=0)\n\\longer\n{:Ab(V001=0)\n\\ab\n{:ab\n\\default\n}:AB\n\\after\n", "\\ab"},
        BranchCase{"NamedSwitchWithoutMatchContinuesAtItsEnd",
                   "@switch ab\n{:ab(V001=1)\n\\one\n}\n\\inner end\n}:ab\n\\after\n", "\\after"},
        BranchCase{"CjmpJumpsIntoTheNthBlock", "@cjmp 1\n{\n\\zero\n{\n\\one\n{\n\\two\n}\n\\after\n", "\\one"},
        BranchCase{"CjmpWithoutArgumentTakesS006", "!S006=2\n@cjmp\n{\n\\zero\n{\n\\one\n{\n\\two\n}\n\\after\n",
                   "\\two"},
        BranchCase{"CjmpBeyondTheBlocksContinuesAfterTheEnd", "@cjmp 7\n{\n\\zero\n{\n\\one\n}\n\\after\n", "\\after"},
        BranchCase{"CjmpNegativeSkipsTheConstruct", "@cjmp -1\n{\n\\zero\n{\n\\one\n}\n\\after\n", "\\after"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BranchesTest, NamedSwitchWithoutAnEndRunsOffTheScript) {
  GameFixture game;
  game.Script("main", "@switch gone\n{:gone(V001=1)\n\\one\n\\never\n");
  game.Start();
  game.Host().RunFrames(10);
  EXPECT_TRUE(game.Engine().WaitsForPlayer());
  EXPECT_EQ(game.Engine().script.pc, game.Engine().script.scenarioSize);
}

}  // namespace
}  // namespace torvel
