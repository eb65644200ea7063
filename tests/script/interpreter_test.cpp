// The interpreter loop through the headless host: line kinds, labels, calls, chains, returns.
#include <gtest/gtest.h>

#include "platform/headless/input_script.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

TEST(InterpreterTest, CalledScriptWithoutEndReturnsAfterTheCall) {
  GameFixture game;
  game.Script("main", "@call sub\n\\after\n").Script("sub", "\\in sub\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\in sub");
  EXPECT_EQ(game.Engine().script.callDepth, 1);
  EXPECT_EQ(game.Engine().script.currentScript, "sub");
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\after");
  EXPECT_EQ(game.Engine().script.callDepth, 0);
  EXPECT_EQ(game.Engine().script.currentScript, "main");
}

TEST(InterpreterTest, EndReturnsAndEndAtDepthZeroIsIgnored) {
  GameFixture game;
  game.Script("main", "@call sub\n@end\n\\after end\n").Script("sub", "@end\n\\never\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\after end");
}

TEST(InterpreterTest, ScriptEndAtDepthZeroLeavesTheInterpreterIdle) {
  GameFixture game;
  game.Script("main", ";only a comment\n");
  game.Start();
  ASSERT_TRUE(game.Host().RunFrames(10));
  EXPECT_TRUE(game.Engine().WaitsForPlayer());
  EXPECT_EQ(game.Engine().script.pc, game.Engine().script.scenarioSize);
  EXPECT_TRUE(game.Host().Messages().empty());
}

TEST(InterpreterTest, NamesAndLabelsMatchWithoutCase) {
  GameFixture game;
  game.Script("main", "@CALL SUB:There\n\\back\n").Script("sub", "\\not here\n:THERE\n\\there\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\there");
}

TEST(InterpreterTest, LabelSearchLooksAtEveryColonInOrder) {
  // A text line ending in ":A" stands before the label line and wins.
  GameFixture game;
  game.Script("main", "@go a\n\\skipped\nsome text:A\n\\after text\n:A\n\\after label\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\after text");
}

TEST(InterpreterTest, MissingLabelGoesOnAfterTheJump) {
  GameFixture game;
  game.Script("main", "@go nowhere\n\\next\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\next");
}

TEST(InterpreterTest, UnknownCommandIsSkipped) {
  GameFixture game;
  game.Script("main", "@frobnicate 1 2\n*nothing\n\\next\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\next");
}

TEST(InterpreterTest, CallTakesOnlyTheNameBeforeABlank) {
  GameFixture game;
  game.Script("main", "@call sub and more words\n\\back\n").Script("sub", "\\in sub\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\in sub");
}

TEST(InterpreterTest, ContinueWaitIsPassedOverInSkipMode) {
  GameFixture game;
  game.Script("main", "=\n\\page\n");
  game.Start();
  game.Engine().ctl.skipActive = true;
  // In skip mode the frame loop resolves click waits itself, so look at the first step only.
  game.Host().RunFrames(2);
  EXPECT_EQ(game.Engine().script.lineBuffer, "\\page");
}

struct WaitCase {
  const char* line;
  int waitKind;
};

class WaitLineTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitLineTest, WaitLinesSetTheirKindAndYield) {
  GameFixture game;
  game.Script("main", std::string(GetParam().line) + " rest is ignored\n\\next\n");
  game.Start();
  game.RunToWait();
  EXPECT_EQ(game.Engine().ctl.waitKind, GetParam().waitKind);
  EXPECT_EQ(game.Engine().script.lineBuffer.substr(0, 1), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Interpreter, WaitLineTest,
                         ::testing::Values(WaitCase{"\\", 1}, WaitCase{"~", 4}, WaitCase{"+", 5}, WaitCase{"=", 2}),
                         [](const auto& info) { return "Kind" + std::to_string(info.param.waitKind); });

TEST(InterpreterTest, BlockReachedInSequenceIsSkipped) {
  GameFixture game;
  game.Script("main", "{first\n\\inside\n{second\n\\inside too\n}\n\\after block\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\after block");
}

TEST(InterpreterTest, TenthNestedCallIsRefusedAndTheScriptGoesOn) {
  GameFixture game;
  game.Script("main", "@call s1\n");
  for (int i = 1; i <= 9; ++i) {
    game.Script("s" + std::to_string(i), "@call s" + std::to_string(i + 1) + "\n\\depth " + std::to_string(i) + "\n");
  }
  game.Script("s10", "\\never\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\depth 9");
  EXPECT_EQ(game.Engine().script.callDepth, 9);
  EXPECT_EQ(game.Engine().script.currentScript, "s9");
  // The stack unwinds normally afterwards.
  for (int i = 8; i >= 1; --i) {
    game.Click();
    EXPECT_EQ(game.RunToWait(), "\\depth " + std::to_string(i));
  }
}

TEST(InterpreterTest, FailedChainKeepsTheLoadedScriptAndItsName) {
  GameFixture game;
  game.Script("main", "@call sub\n").Script("sub", "@chain missing\n\\still sub\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\still sub");
  EXPECT_EQ(game.Engine().script.currentScript, "sub");
  EXPECT_EQ(game.Engine().script.callDepth, 0);  // the stack is discarded all the same
}

TEST(InterpreterTest, FailedCallSearchesTheLabelInTheCurrentScript) {
  // The call line itself holds ":here" too; the label stands before it, so it is found first.
  GameFixture game;
  game.Script("main", "@go start\n:here\n\\here\n:start\n@call missing:here\n\\skipped\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\here");
  EXPECT_EQ(game.Engine().script.callDepth, 0);
}

TEST(InterpreterTest, ChainDiscardsTheStackAndJumps) {
  GameFixture game;
  game.Script("main", "@call sub\n\\never\n").Script("sub", "@chain other:B\n").Script("other", "\\a\n:b\n\\b\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\b");
  EXPECT_EQ(game.Engine().script.callDepth, 0);
  EXPECT_EQ(game.Engine().script.currentScript, "other");
}

TEST(InterpreterTest, ANameLongerThanTheInterpreterKeepsIsRefusedAtLoad) {
  // The call stack keeps 29 bytes of a name: a longer one could not be reloaded on return, so
  // it is never loaded at all and the story goes on where it is.
  const std::string longName(35, 'x');
  GameFixture game;
  game.Script("main", "@chain " + longName + "\n\\still main\n")
      .Script(longName, "@call sub\n\\stale\n")
      .Script("sub", "@end\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\still main");
  EXPECT_TRUE(game.Engine().ctl.scriptRunning);
  EXPECT_EQ(game.Engine().script.currentScript, "main");
  EXPECT_FALSE(game.Engine().LoadScript(longName, 1));
}

TEST(InterpreterTest, ALongestNameIsCalledAndReturnedFrom) {
  const std::string name(29, 'n');
  GameFixture game;
  game.Script("main", "@call " + name + "\n\\back\n").Script(name, "@call sub\n\\after sub\n").Script("sub", "@end\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\after sub");
  EXPECT_EQ(game.Engine().script.currentScript, name);
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\back");
}

TEST(InterpreterTest, ALoopThatNeverYieldsEndsItsStepAndGoesOnNextFrame) {
  for (const char* loop : {":a\n!V001=V001+1\n@go a\n", ":a\n!V001=V001+1\n@if (1=1) @go a\n"}) {
    SCOPED_TRACE(loop);
    GameFixture game;
    game.Script("main", loop);
    TForm1& e = game.Start();
    ASSERT_TRUE(game.Host().RunFrames(2));  // loads main, then the first step returns
    const int first = e.vars.V(1);
    EXPECT_GT(first, 100);
    ASSERT_TRUE(game.Host().RunFrame());
    EXPECT_GT(e.vars.V(1), first);
    // The window still answers: the player closes it.
    game.Host().SetInput(ParseInputScript(std::to_string(game.Host().TickCount()) + " close\n").events);
    game.Host().RunFrames(3);
    EXPECT_TRUE(game.Host().Closed());
  }
}

TEST(InterpreterTest, AScriptOfTenThousandCalculationsRunsInOneStep) {
  std::string main;
  for (int i = 0; i < 10000; ++i) main += "!V001=V001+1\n";
  GameFixture game;
  game.Script("main", main + "\\done\n");
  TForm1& e = game.Start();
  game.Host().RunFrames(2);
  EXPECT_EQ(e.vars.V(1), 10000);
  EXPECT_EQ(e.script.lineBuffer, "\\done");
  EXPECT_EQ(e.ctl.waitKind, 1);
}

TEST(InterpreterTest, OverlongLineIsCutAndTheNextLineFollows) {
  GameFixture game;
  game.Script("main", "\\" + std::string(5000, 'a') + "\n\\second\n");
  game.Start();
  game.RunToWait();
  EXPECT_EQ(game.Engine().script.lineBuffer.size(), 2047u);
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\second");
}

TEST(InterpreterTest, TraceModeRunsOneLinePerStepAndHolds) {
  GameFixture game;
  game.Script("main", ";one\n;two\n\\three\n");
  TForm1& engine = game.Start();
  game.Host().RunFrame();  // loads main
  engine.ctl.traceMode = true;
  game.Host().RunFrame();
  EXPECT_EQ(engine.script.lineBuffer, ";one");
  EXPECT_EQ(engine.ctl.sleepTicks, -1);
  game.Host().RunFrames(5);
  EXPECT_EQ(engine.script.lineBuffer, ";one");  // held until released
  engine.ctl.sleepTicks = 0;
  game.Host().RunFrame();
  EXPECT_EQ(engine.script.lineBuffer, ";two");
}

TEST(InterpreterTest, LastLineWithoutNulEndsAtTheEndOfTheData) {
  GameFixture game;
  game.ScriptBytes("main", {'@', 'g', 'o', ' ', 'x', 0, '\\', 'e', 'n', 'd'});
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\end");
}

}  // namespace
}  // namespace torvel
