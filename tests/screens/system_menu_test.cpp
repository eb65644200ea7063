// The right button through the real engine on the headless host: the pop-up menu shown by the
// input lines, the entries it offers, what each does, the menu-open flag and the RC_MODE actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/headless/input_script.h"
#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

constexpr const char* kStory =
    "!S000=0\n!S028=1\n@gra AB01,1\n@music 1\n!V001=11\n>少女\nおはよう。\n\\\n!V001=22\n次。\n\\\n";

std::vector<std::string> EnabledIds(const PopupMenuModel& menu) {
  std::vector<std::string> ids;
  for (const PopupMenuEntry& e : menu.entries) {
    if (!e.Separator() && e.enabled) ids.push_back(e.id);
  }
  return ids;
}

class SystemMenu : public ::testing::Test {
 protected:
  TForm1& Start() {
    AddSaveGameAssets(game);
    game.Script("main", kStory).Script("STITLE", "タイトル。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  HeadlessHost& H() { return game.Host(); }
  // Input lines with times counted from now.
  void Play(const std::string& lines) {
    const uint32_t now = H().TickCount();
    InputScript script = ParseInputScript(InputLinesFrom(now, lines));
    ASSERT_EQ(script.error, "");
    H().SetInput(script.events);
    H().RunUntil(now + 1000);
  }

  GameFixture game;
};

TEST_F(SystemMenu, TheMenuOpensRightOfThePointerWithEveryEntryInOrder) {
  Start();
  E().vars.S(27) = 0;
  Play("10 click 300 200 right\n40 menu popup auto\n");
  ASSERT_EQ(H().ShownMenus().size(), 1u);
  const HeadlessHost::ShownMenu& shown = H().ShownMenus()[0];
  EXPECT_EQ(shown.at.x, 316);
  EXPECT_EQ(shown.at.y, 200);
  std::vector<std::string> captions;
  for (const PopupMenuEntry& e : shown.menu.entries) captions.push_back(SjisToUtf8(e.caption));
  const std::vector<std::string> expected{"自動送り",
                                          "スキップ",
                                          "ログ",
                                          "ウィンドウ消去",
                                          "直前の音声を再生",
                                          "-",
                                          "クイックロード",
                                          "クイックセーブ",
                                          "ロード",
                                          "セーブ",
                                          "-",
                                          "設定",
                                          "-",
                                          "タイトルへ戻る",
                                          "終了"};
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(E().vars.S(27), 4) << "自動送り with no speed chosen takes 4";
  EXPECT_EQ(E().vars.S(26), 4);
  EXPECT_FALSE(E().systemMenu.menuOpen) << "the entry took the flag down";
  const std::string state = E().DescribeState();
  EXPECT_NE(state.find("\"lastPopup\":{\"enabled\":[\"auto\",\"skip\",\"log\",\"hide-window\",\"replay-voice\","
                       "\"quick-load\",\"quick-save\",\"load\",\"save\",\"settings\",\"title\",\"quit\"],"
                       "\"chosen\":\"auto\"}"),
            std::string::npos)
      << state;
}

TEST_F(SystemMenu, TheEnabledEntriesFollowThePlayPhaseAndTheStoryStart) {
  Start();
  const std::vector<std::string> always{"auto", "skip", "log", "hide-window", "replay-voice"};
  auto with = [&](std::vector<std::string> middle) {
    std::vector<std::string> ids = always;
    ids.insert(ids.end(), middle.begin(), middle.end());
    ids.push_back("settings");
    ids.push_back("title");
    ids.push_back("quit");
    return ids;
  };
  const struct {
    int phase, started;
    std::vector<std::string> enabled;
  } cases[] = {
      {0, 1, with({"quick-load", "quick-save", "load", "save"})},
      {1, 1, with({"quick-load", "load"})},
      {2, 1, with({})},
      {3, 1, with({})},
      {7, 1, with({})},
      {-1, 1, with({})},
      {0, 0, with({"quick-load", "load"})},
  };
  for (const auto& c : cases) {
    E().vars.S(0) = c.phase;
    E().vars.S(28) = c.started;
    E().UpdateMenus();
    EXPECT_EQ(EnabledIds(E().PopupMenu3()), c.enabled) << "S000 " << c.phase << " S028 " << c.started;
  }
  E().vars.S(0) = 0;
  E().vars.S(28) = 1;
  E().SetMenuLock(true);
  EXPECT_EQ(EnabledIds(E().PopupMenu3()),
            (std::vector<std::string>{"auto", "skip", "log", "hide-window", "replay-voice", "title", "quit"}));
}

TEST_F(SystemMenu, AfterADismissedMenuTheNextRightClickOnlyTakesTheFlagDown) {
  Start();
  Play("10 click 300 200 right\n50 click 300 200 right\n90 key Tab\n90 menu popup skip\n");
  EXPECT_EQ(H().ShownMenus().size(), 2u) << "shown, flag cleared, shown again";
  EXPECT_TRUE(E().ctl.skipActive);
  EXPECT_EQ(E().vars.S(60), 2);
  EXPECT_FALSE(E().systemMenu.menuOpen);
  // A left click or Escape also clears the flag.
  for (const char* clear : {"30 click 300 200\n", "30 key Escape\n"}) {
    E().ctl.skipActive = false;
    Play(std::string("10 click 300 200 right\n") + clear + "60 click 300 200 right\n60 menu popup auto\n");
    EXPECT_FALSE(E().systemMenu.menuOpen) << clear;
  }
  EXPECT_EQ(H().ShownMenus().size(), 6u);
}

TEST_F(SystemMenu, ADisabledEntryDismissesTheMenu) {
  Start();
  E().vars.S(0) = 2;
  E().UpdateMenus();
  Play("10 click 300 200 right\n20 menu popup save\n");
  EXPECT_TRUE(E().systemMenu.menuOpen);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  EXPECT_NE(E().DescribeState().find("\"chosen\":null"), std::string::npos);
  EXPECT_EQ(ParseInputScript("10 menu popup nothing\n").error, "line 1: unknown entry nothing");
  EXPECT_NE(ParseInputScript("10 menu bar auto\n").error, "");
}

TEST_F(SystemMenu, EachEntryDoesItsOwnThing) {
  Start();
  // The voice replayed is the last one named.
  E().sound.lastVoice = "SSE06";
  const uint32_t startTime = H().TickCount();
  Play("10 click 300 200 right\n20 menu popup replay-voice\n");
  auto plays = [&](const std::string& name) {
    for (const SoundCall& c : H().Sound().CallsOf(SoundOp::Create)) {
      if (c.name == name && c.time >= startTime) return true;
    }
    return false;
  };
  EXPECT_TRUE(plays("SSE06"));

  Play("10 click 300 200 right\n20 menu popup log\n");
  EXPECT_TRUE(E().ctl.backlogOpen);
  Play("10 click 300 200 right\n");
  EXPECT_FALSE(E().ctl.backlogOpen);

  Play("10 click 300 200 right\n20 menu popup hide-window\n");
  EXPECT_EQ(E().ctl.screenMode, smWindowHidden);
  Play("10 click 300 200\n");
  EXPECT_EQ(E().ctl.screenMode, smScenario);

  // Load and save play their sounds and open the screen (here the list window, no screen pictures).
  for (const auto& [entry, sound] : {std::pair{"load", "SSE06"}, std::pair{"save", "SSE05"}}) {
    H().Sound().ClearCalls();
    Play(std::string("10 click 300 200 right\n20 menu popup ") + entry + "\n");
    EXPECT_TRUE(plays(sound)) << entry;
    EXPECT_EQ(E().ctl.saveLoadScreen, 0) << entry;
    EXPECT_TRUE(E().ctl.scriptRunning) << entry;
  }
  // Settings: without configuration pictures, the settings dialog, which the run closes at once.
  Play("10 click 300 200 right\n20 menu popup settings\n");
  EXPECT_EQ(E().settings.CONFIG_MODE, 1);
  EXPECT_FALSE(E().ctl.menuLock);

  Play("10 click 300 200 right\n20 menu popup quick-save\n");
  EXPECT_TRUE(std::filesystem::exists(E().SlotFile(99)));

  Play("10 click 300 200 right\n20 menu popup quick-load\n");
  EXPECT_EQ(E().ctl.dialogOpen, 1);
  Play("10 click 0 0 right\n");
  EXPECT_EQ(E().ctl.dialogOpen, 0);

  Play("10 click 300 200 right\n20 menu popup title\n");
  EXPECT_EQ(E().ctl.dialogOpen, 3);
  EXPECT_NE(E().DescribeState().find("\"dialog\":{\"kind\":3,\"hover\":0},\"menuOpen\":false,\"menuLock\":true"),
            std::string::npos);
  Play("10 click 330 210\n");
  EXPECT_EQ(E().script.currentScript, "STITLE");

  Play("5 answer cancel\n10 click 300 200 right\n20 menu popup quit\n");
  ASSERT_FALSE(H().Messages().empty());
  EXPECT_EQ(SjisToUtf8(H().Messages().back().text), "ゲームを終了しますか？");
  EXPECT_FALSE(H().Closed());
}

TEST_F(SystemMenu, TheRightButtonModesSkipAutoAndThePanicScreen) {
  Start();
  E().settings.RC_MODE = 3;
  E().vars.S(27) = 0;
  Play("10 click 300 200 right\n");
  EXPECT_EQ(E().vars.S(27), 5) << "the right button's auto mode with no speed chosen takes 5";
  EXPECT_EQ(E().vars.S(26), 5);
  EXPECT_TRUE(H().ShownMenus().empty());

  E().vars.S(26) = 0;
  E().settings.RC_MODE = 2;
  Play("10 click 300 200 right\n");
  EXPECT_TRUE(E().ctl.skipActive);
  EXPECT_EQ(E().vars.S(60), 2);

  E().ctl.skipActive = false;
  E().vars.S(60) = 0;
  E().settings.RC_MODE = 4;
  Play("10 key Tab\n");
  EXPECT_TRUE(E().PanicShown());
  EXPECT_NE(E().DescribeState().find("\"panic\":true"), std::string::npos);
}

}  // namespace
}  // namespace torvel
