// The demo's menus and display modes as the build made them, played with headless input lines:
// full screen from the configuration screen and back by the tool bar's window button, saves and
// loads as the play phase (S000 0, 1, 2) and the story flag (S028 0, 1) allow them, the
// right-click menu cut down while a background animation runs, and the replay's end entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "demo_story_fixture.h"

namespace torvel {
namespace {

// One entry's state in the state report's "menus", or "" when it is not there.
std::string EntryState(const std::string& state, const std::string& menu, const std::string& id) {
  const size_t menus = state.find("\"menus\":{");
  if (menus == std::string::npos) return "";
  const size_t at = state.find("\"" + menu + "\":{", menus);
  if (at == std::string::npos) return "";
  const std::string key = "\"" + id + "\":\"";
  const size_t entry = state.find(key, at);
  const size_t end = state.find('}', at);
  if (entry == std::string::npos || entry > end) return "";
  const size_t from = entry + key.size();
  return state.substr(from, state.find('"', from) - from);
}

// The state report's "display" object.
std::string Display(const std::string& state) {
  const size_t at = state.find("\"display\":{");
  return at == std::string::npos ? "" : state.substr(at, state.find('}', at) - at + 1);
}

std::string DisplayOf(bool fullScreen, bool menuBar, bool toolBar, int mode) {
  auto b = [](bool v) { return v ? std::string("true") : std::string("false"); };
  return "\"display\":{\"SMode\":" + std::to_string(mode) + ",\"fullScreen\":" + b(fullScreen) +
         ",\"borderless\":" + b(fullScreen) + ",\"menuBar\":" + b(menuBar) + ",\"toolBar\":" + b(toolBar) +
         ",\"windowScale\":1,\"integerScaling\":false}";
}

class DemoDisplayMenus : public testing::DemoStory {
 protected:
  // The save and load entries of the menu bar, the right-click menu and the tool bar.
  void ExpectSavesAndLoads(const char* save, const char* load) {
    const std::string state = engine->DescribeState();
    for (const auto& [menu, id] : std::vector<std::pair<std::string, std::string>>{
             {"main", "save"}, {"popup", "save"}, {"popup", "quick-save"}, {"toolbar", "save"}}) {
      EXPECT_EQ(EntryState(state, menu, id), save) << menu << " " << id;
    }
    for (const auto& [menu, id] : std::vector<std::pair<std::string, std::string>>{
             {"main", "load"}, {"popup", "load"}, {"popup", "quick-load"}, {"toolbar", "load"}}) {
      EXPECT_EQ(EntryState(state, menu, id), load) << menu << " " << id;
    }
  }
};

TEST_F(DemoDisplayMenus, FullScreenPlayPhasesBackgroundAnimationAndReplay) {
  TForm1& e = *engine;
  // ---- the story's first page: S000 0, S028 1 ----
  ASSERT_EQ(e.vars.S(0), 0);
  ASSERT_EQ(e.vars.S(28), 1);
  ExpectSavesAndLoads("enabled", "enabled");
  EXPECT_EQ(Display(e.DescribeState()), DisplayOf(false, true, false, 0));

  // ---- full screen from the configuration screen, back by the tool bar ----
  Input({"menu main settings"});
  ASSERT_TRUE(e.ctl.configScreenOpen);
  Click(360, 86);   // 全画面
  Click(740, 558);  // 閉じる
  ASSERT_FALSE(e.ctl.configScreenOpen);
  EXPECT_EQ(Display(e.DescribeState()), DisplayOf(true, false, false, 1));
  Input({"move 400 10"});
  EXPECT_EQ(Display(e.DescribeState()), DisplayOf(true, false, true, 1));
  Input({"menu toolbar window"});
  EXPECT_EQ(Display(e.DescribeState()), DisplayOf(false, true, false, 0));
  Input({"move 400 300"});

  // ---- the effects showcase: no saving while it runs (S028 0), a background animation ----
  ASSERT_TRUE(ClickUntilChoice());
  ASSERT_EQ(e.script.currentScript, "crossroads");
  Choose(3);
  ASSERT_EQ(e.script.currentScript, "showcase");
  EXPECT_EQ(e.vars.S(28), 0);
  ExpectSavesAndLoads("disabled", "enabled");
  for (int i = 0; i < 30 && !e.BackgroundAnimationRunning(); ++i) Click(400, 100);
  ASSERT_TRUE(e.BackgroundAnimationRunning());
  std::string state = e.DescribeState();
  for (const char* id : {"auto", "skip", "hide-window", "replay-voice", "title", "quit"}) {
    EXPECT_EQ(EntryState(state, "popup", id), "enabled") << id;
  }
  for (const char* id : {"log", "quick-load", "quick-save", "load", "save", "settings"}) {
    EXPECT_EQ(EntryState(state, "popup", id), "disabled") << id;
  }
  for (const char* id : {"save", "load", "settings"}) EXPECT_EQ(EntryState(state, "main", id), "disabled") << id;
  Click(400, 100, "right");
  state = e.DescribeState();
  EXPECT_NE(state.find("\"lastPopup\":{\"enabled\":[\"auto\",\"skip\",\"hide-window\",\"replay-voice\",\"title\","
                       "\"quit\"]"),
            std::string::npos)
      << state;
  // Back at the crossroads, declining the text and command showcases, the story saves again.
  ASSERT_TRUE(ClickUntilChoice(1, 30));
  ASSERT_EQ(e.script.currentScript, "showcase");
  Choose(1);
  ASSERT_EQ(e.script.currentScript, "crossroads");
  EXPECT_EQ(e.vars.S(28), 1);
  EXPECT_FALSE(e.BackgroundAnimationRunning());
  ExpectSavesAndLoads("enabled", "enabled");

  // ---- the title: S000 1, loads only ----
  Input({"menu main title"});
  ASSERT_EQ(e.ctl.dialogOpen, 3) << "タイトルへ戻りますか？";
  ASSERT_TRUE(e.question.panelLook);
  const Rect yes = e.question.yesRect;
  Click((yes.left + yes.right) / 2, (yes.top + yes.bottom) / 2);
  ASSERT_TRUE(ClickUntilChoice());
  ASSERT_EQ(e.script.currentScript, "STITLE");
  ASSERT_EQ(e.vars.S(0), 1);
  ExpectSavesAndLoads("disabled", "enabled");

  // ---- the scene gallery from the title's extras: S000 2, then a replay ----
  Choose(2);
  ASSERT_TRUE(ClickUntilChoice());
  ASSERT_EQ(e.script.currentScript, "extras");
  Choose(1);
  ASSERT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_EQ(e.vars.S(0), 2);
  ExpectSavesAndLoads("disabled", "disabled");
  EXPECT_EQ(EntryState(e.DescribeState(), "main", "end-replay"), "hidden");
  Click(100, 120);
  ASSERT_EQ(e.script.replayMode, 1);
  state = e.DescribeState();
  EXPECT_EQ(EntryState(state, "main", "end-replay"), "enabled");
  EXPECT_EQ(EntryState(state, "quit-popup", "end-replay"), "enabled");
  ExpectSavesAndLoads("disabled", "disabled");
  Input({"menu main end-replay"});
  EXPECT_EQ(e.script.replayMode, 0);
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_EQ(EntryState(e.DescribeState(), "main", "end-replay"), "hidden");
  EXPECT_TRUE(host->Messages().empty());
}

}  // namespace
}  // namespace torvel
