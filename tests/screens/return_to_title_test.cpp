// Returning to the title through the real engine on the headless host: the story ends wherever it
// is, "STITLE" runs from its first line, and a game without a title script starts again.
#include <gtest/gtest.h>

#include <string>

#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

class ReturnToTitle : public ::testing::Test {
 protected:
  TForm1& Start(bool withTitle) {
    AddSaveGameAssets(game);
    game.Script("main", "!V030=V030+1\n@gra AB01,1\n@music 1\n!S079=1\n@call one\n")
        .Script("one", "@call two\n")
        .Script("two", "@call three\n")
        .Script("three", "!V010=5\n>少女\n三つ目。\n\\\n");
    if (withTitle) game.Script("STITLE", "!V020=V020+1\nタイトル。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }

  GameFixture game;
};

TEST_F(ReturnToTitle, FromDeepInACallTheTitleRunsFromItsStartWithTheMusicStopped) {
  Start(true);
  ASSERT_EQ(E().script.callDepth, 3);
  ASSERT_EQ(E().vars.S(5), 1) << "music 1 plays";
  ASSERT_EQ(E().vars.S(79), 1);
  E().vars.E.Set(7);
  E().ReturnToTitle();
  EXPECT_EQ(E().script.callDepth, 0);
  EXPECT_EQ(E().script.currentScript, "STITLE");
  EXPECT_EQ(E().vars.S(5), 0);
  EXPECT_EQ(E().vars.S(79), 0);
  EXPECT_EQ(E().textWindow.y, 440) << "the window back in its lower place";
  EXPECT_FALSE(E().text.windowShown);
  EXPECT_NE(E().DescribeState().find("\"music\":0"), std::string::npos);
  game.RunToWait();
  EXPECT_EQ(E().vars.V(20), 1) << "from its first line";
  EXPECT_EQ(E().vars.V(10), 5) << "variables stay";
  EXPECT_TRUE(E().vars.E.Test(7)) << "flags stay";
  EXPECT_EQ(E().ctl.waitKind, 1);
}

TEST_F(ReturnToTitle, WithoutATitleScriptMainRunsAgainAndWithNeitherTheInterpreterStops) {
  Start(false);
  E().ReturnToTitle();
  EXPECT_EQ(E().script.currentScript, "main");
  game.RunToWait();
  EXPECT_EQ(E().vars.V(30), 2);
  EXPECT_EQ(E().script.callDepth, 3);

  // The data archive gone: neither script can be read.
  std::filesystem::remove(game.Dir() / "tq_data.tvx");
  E().ReturnToTitle();
  EXPECT_FALSE(E().ctl.scriptRunning);
  EXPECT_EQ(E().script.callDepth, 0);
  game.Host().RunFrames(20);
  EXPECT_EQ(E().vars.V(30), 2) << "the old script does not go on";
}

}  // namespace
}  // namespace torvel
