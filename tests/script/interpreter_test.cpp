// The interpreter loop as scripts see it: labels, waits, the end of a script and the call stack.
#include <gtest/gtest.h>

#include <string>

#include "support/game_fixture.h"

namespace torvel {
namespace {

class Interpreter : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& main) {
    game.Script("main", main);
    TForm1& e = game.Start();
    game.Host().RunFrames(1);
    return e;
  }
  void Steps(int frames) { game.Host().RunFrames(frames); }
  TForm1& E() { return game.Engine(); }
  int V(int n) { return E().vars.V(n); }

  testing::GameFixture game;
};

TEST_F(Interpreter, LabelsMatchWhateverTheirCase) {
  Start("@go a\n!V001=1\n:A\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(2), 1);
}

TEST_F(Interpreter, AColonAtTheEndOfATextLineCountsAsALabel) {
  // The search looks at every colon, so the text line's ":L" comes first.
  Start("!V003=1\n@go L\n\\\ntext:L\n!V001=1\n\\\n:L\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(V(2), 0);
}

TEST_F(Interpreter, MissingLabelLeavesTheScriptWhereItIs) {
  Start("@go nowhere\n!V001=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 1);
}

TEST_F(Interpreter, ContinueWaitIsPassedInSkipMode) {
  Start("=\n!V001=1\n=\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(E().ctl.waitKind, 2);
  EXPECT_EQ(V(1), 0);
  E().ctl.skipActive = true;
  E().ResolveClickWait();
  Steps(1);
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(V(2), 1);
}

TEST_F(Interpreter, ScriptEndAtDepthZeroLeavesTheInterpreterIdle) {
  Start("!V001=1\n");
  Steps(5);
  EXPECT_EQ(V(1), 1);
  EXPECT_TRUE(E().WaitsForPlayer());
  EXPECT_EQ(E().script.currentScript, "main");
  EXPECT_TRUE(game.Host().Messages().empty());
}

TEST_F(Interpreter, CallToAMissingScriptSearchesTheLabelHere) {
  // The words after the name keep the call line's own ":L" from counting as the label.
  Start("@call nosuch:L then\n!V001=1\n:L\n!V002=1\n\\\n");
  Steps(2);
  EXPECT_EQ(E().script.callDepth, 0);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(2), 1);
}

TEST_F(Interpreter, CallsBeyondNineFramesAreRefused) {
  // Each level calls itself again before counting.
  game.Script("deep", "@call deep\n!V001=V001+1\n");
  Start("@call deep\n!V002=1\n\\\n");
  Steps(60);
  EXPECT_EQ(E().script.callDepth, 0);
  EXPECT_EQ(V(1), 9);
  EXPECT_EQ(V(2), 1);
}

}  // namespace
}  // namespace torvel
