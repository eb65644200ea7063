// The window's four menus through the real engine on the headless host: which entries the play
// phase, the busy flag, the save screen, a background animation and a replay leave enabled, the
// "menu" input lines for every menu, and the "menus" member of the state report.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/input_script.h"
#include "screens/save_test_game.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using namespace testing;

// The entries UpdateMenus decides; the others keep their own state.
struct Tracked {
  MenuId menu;
  const char* id;
};
constexpr Tracked kTracked[] = {
    {MenuId::Main, "menu-end"},    {MenuId::Main, "load"},    {MenuId::Main, "save"},
    {MenuId::Main, "settings"},    {MenuId::Popup, "log"},    {MenuId::Popup, "quick-load"},
    {MenuId::Popup, "quick-save"}, {MenuId::Popup, "load"},   {MenuId::Popup, "save"},
    {MenuId::Popup, "settings"},   {MenuId::ToolBar, "quit"}, {MenuId::ToolBar, "settings"},
    {MenuId::ToolBar, "save"},     {MenuId::ToolBar, "load"}, {MenuId::ToolBar, "window"},
};

std::string Key(MenuId menu, const char* id) { return std::string(kMenuNames[static_cast<size_t>(menu)]) + " " + id; }

// The tracked entries that are enabled, as "menu id".
std::set<std::string> EnabledTracked(const TForm1& e) {
  std::set<std::string> out;
  for (const Tracked& t : kTracked) {
    if (e.menus.State(t.menu, t.id) == MenuEntryState::Enabled) out.insert(Key(t.menu, t.id));
  }
  return out;
}

const std::set<std::string> kAllTracked = [] {
  std::set<std::string> all;
  for (const Tracked& t : kTracked) all.insert(Key(t.menu, t.id));
  return all;
}();

std::set<std::string> AllBut(std::initializer_list<const char*> off) {
  std::set<std::string> s = kAllTracked;
  for (const char* k : off) s.erase(k);
  return s;
}

const std::initializer_list<const char*> kSaves = {"main save", "popup quick-save", "popup save", "toolbar save"};
const std::initializer_list<const char*> kLoads = {"main load", "popup quick-load", "popup load", "toolbar load"};

std::set<std::string> AllBut(std::initializer_list<const char*> a, std::initializer_list<const char*> b) {
  std::set<std::string> s = AllBut(a);
  for (const char* k : b) s.erase(k);
  return s;
}

// A small story on the headless host, and input lines played on it.
class MenuGame {
 public:
  TForm1& Start(const std::string& story = "!S000=0\n!S028=1\n次。\n\\\n次。\n\\\n") {
    AddSaveGameAssets(game);
    game.Script("main", story).Script("STITLE", "タイトル。\n\\\n");
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  HeadlessHost& H() { return game.Host(); }
  // Input lines with times counted from now; what the run wrote on stderr.
  std::string Play(const std::string& lines, uint32_t runMs = 600) {
    const uint32_t now = H().TickCount();
    InputScript script = ParseInputScript(InputLinesFrom(now, lines));
    EXPECT_EQ(script.error, "");
    ::testing::internal::CaptureStderr();
    H().SetInput(script.events);
    H().RunUntil(now + runMs);
    return ::testing::internal::GetCapturedStderr();
  }

  GameFixture game;
};

class Menus : public ::testing::Test, public MenuGame {};

TEST_F(Menus, UpdateMenusFollowsThePlayPhaseTheLockAndTheScreens) {
  Start();
  struct Case {
    const char* name;
    int phase;
    int started;
    bool locked;
    bool saveScreen;
    std::set<std::string> enabled;
  };
  const Case cases[] = {
      {"phase 0", 0, 1, false, false, kAllTracked},
      {"phase 1: loading only", 1, 1, false, false, AllBut(kSaves)},
      {"phase 2", 2, 1, false, false, AllBut(kSaves, kLoads)},
      {"phase 3", 3, 1, false, false, AllBut(kSaves, kLoads)},
      // After phase 0 enabled everything, a phase outside 0 … 3 leaves nothing of it behind.
      {"phase 7", 7, 1, false, false, AllBut(kSaves, kLoads)},
      {"phase -1", -1, 1, false, false, AllBut(kSaves, kLoads)},
      {"story not started", 0, 0, false, false, AllBut(kSaves)},
      {"locked", 0, 1, true, false,
       AllBut(
           {"main menu-end", "main settings", "popup settings", "toolbar quit", "toolbar settings", "toolbar window"},
           {"main save", "main load", "popup quick-save", "popup quick-load", "popup save", "popup load",
            "toolbar save", "toolbar load"})},
      {"save screen open", 0, 1, false, true,
       AllBut({"main settings", "main save", "main load", "toolbar save", "toolbar load"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Everything enabled first, so that a step that fails to act shows.
    E().vars.S(0) = 0;
    E().vars.S(28) = 1;
    E().SetMenuLock(false);
    E().ctl.saveLoadScreen = 0;
    E().UpdateMenus();
    ASSERT_EQ(EnabledTracked(E()), kAllTracked);
    E().vars.S(0) = c.phase;
    E().vars.S(28) = c.started;
    E().ctl.saveLoadScreen = c.saveScreen ? 2 : 0;
    if (c.locked) {
      E().SetMenuLock(true);
    } else {
      E().UpdateMenus();
    }
    EXPECT_EQ(EnabledTracked(E()), c.enabled);
  }
}

TEST_F(Menus, ScriptAssignmentsAndTheLockUpdateTheMenusAtOnce) {
  Start("!S000=0\n!S028=1\n一。\n\\\n!S000=1\n二。\n\\\n!S028=0\n三。\n\\\n!S000=2\n四。\n\\\n");
  EXPECT_TRUE(E().menus.Choosable(MenuId::Popup, "save"));
  game.Click();
  game.RunToWait();
  EXPECT_FALSE(E().menus.Choosable(MenuId::Popup, "save")) << "S000 = 1: saves off";
  EXPECT_TRUE(E().menus.Choosable(MenuId::Main, "load")) << "S000 = 1: loads on";
  game.Click();
  game.RunToWait();
  EXPECT_FALSE(E().menus.Choosable(MenuId::Main, "save"));
  EXPECT_TRUE(E().menus.Choosable(MenuId::Popup, "quick-load"));
  game.Click();
  game.RunToWait();
  EXPECT_FALSE(E().menus.Choosable(MenuId::Main, "load"));
  EXPECT_FALSE(E().menus.Choosable(MenuId::Popup, "load"));
}

TEST_F(Menus, ABackgroundAnimationLeavesTheRightClickMenuItsSixQuietEntries) {
  Start("!S000=0\n!S028=1\n@bg_anim 2,AB01,AB02\n動く。\n\\\n@bg_anim END\n止まる。\n\\\n");
  ASSERT_TRUE(E().BackgroundAnimationRunning());
  std::vector<std::string> offered;
  for (const MenuEntryText& t : kPopupMenuEntries) {
    if (E().menus.Choosable(MenuId::Popup, t.id)) offered.push_back(t.id);
  }
  EXPECT_EQ(offered, (std::vector<std::string>{"auto", "skip", "hide-window", "replay-voice", "title", "quit"}));
  EXPECT_FALSE(E().menus.Choosable(MenuId::Main, "settings"));
  EXPECT_FALSE(E().menus.Choosable(MenuId::Main, "load"));
  EXPECT_TRUE(E().menus.Choosable(MenuId::Main, "quit"));
  // The right button shows the same.
  Play("10 click 300 200 right\n");
  ASSERT_FALSE(H().ShownMenus().empty());
  std::vector<std::string> shown;
  for (const PopupMenuEntry& e : H().ShownMenus().back().menu.entries) {
    if (!e.Separator() && e.enabled) shown.push_back(e.id);
  }
  EXPECT_EQ(shown, offered);
  Play("10 click 300 200\n");
  game.RunToWait();
  ASSERT_FALSE(E().BackgroundAnimationRunning());
  EXPECT_TRUE(E().menus.Choosable(MenuId::Popup, "save"));
  EXPECT_TRUE(E().menus.Choosable(MenuId::Popup, "log"));
  EXPECT_TRUE(E().menus.Choosable(MenuId::Main, "settings"));
}

TEST_F(Menus, AReplayKeepsSavingAndLoadingOffToItsEndAndShowsItsEntries) {
  game.Script("view",
              ":VIEW_2\n{\nTYPE:1\nSET:1\nTHM_SIZE:100,80\nEXIT:130,500,180,550\n1:0,0\n}\n{\n1:5,scene,First\n}\n")
      .Script("scene", "!S000=0\n場面\n\\\n!S028=1\n次\n\\\n@exit\n:skip\n@end\n");
  Start("!S000=0\n!S028=1\n@call scene:skip\n@viewer VIEW_2\n終わり\n\\\n");
  ASSERT_EQ(E().ctl.screenMode, smCgViewer);
  EXPECT_EQ(E().menus.State(MenuId::Main, "end-replay"), MenuEntryState::Hidden);
  EXPECT_EQ(E().menus.State(MenuId::QuitPopup, "end-replay"), MenuEntryState::Hidden);
  Play("10 click 20 20\n");
  game.RunToWait();
  ASSERT_EQ(E().script.replayMode, 1);
  for (int page = 0; page < 2; ++page) {
    SCOPED_TRACE(page);
    if (page == 1) {
      // The replayed scene sets S000 = 0 and S028 = 1: still neither saving nor loading.
      game.Click();
      game.RunToWait();
      ASSERT_EQ(E().vars.S(0), 0);
      ASSERT_EQ(E().vars.S(28), 1);
    }
    for (const char* id : {"save", "load"}) EXPECT_FALSE(E().menus.Choosable(MenuId::Main, id)) << id;
    for (const char* id : {"quick-save", "quick-load", "save", "load"}) {
      EXPECT_FALSE(E().menus.Choosable(MenuId::Popup, id)) << id;
    }
    EXPECT_EQ(E().menus.State(MenuId::Main, "end-replay"), MenuEntryState::Enabled);
    EXPECT_EQ(E().menus.State(MenuId::QuitPopup, "end-replay"), MenuEntryState::Enabled);
    EXPECT_EQ(E().menus.State(MenuId::Main, "next-scene"), MenuEntryState::Hidden) << "a single scene";
  }
  EXPECT_EQ(Play("10 menu main end-replay\n"), "");
  game.RunToWait();
  EXPECT_EQ(E().script.replayMode, 0);
  EXPECT_EQ(E().menus.State(MenuId::Main, "end-replay"), MenuEntryState::Hidden);
}

TEST_F(Menus, MenuLinesChooseEntriesOrSayTheyAreDisabled) {
  struct Case {
    const char* name;
    int phase;
    const char* line;
    std::string stderrText;
    const char* sound;  // played by the entry (the save list opens here: no screen pictures)
    int dialog;         // afterwards
  };
  const Case cases[] = {
      {"save", 0, "menu main save", "", "SSE05", 0},
      {"load", 1, "menu main load", "", "SSE06", 0},
      {"save in phase 1", 1, "menu main save", "menu: main save is disabled\n", nullptr, 0},
      {"load in phase 2", 2, "menu main load", "menu: main load is disabled\n", nullptr, 0},
      {"title", 0, "menu main title", "", nullptr, 3},
      {"the hidden control menu", 0, "menu main skip", "menu: main skip is disabled\n", nullptr, 0},
      {"no replay", 0, "menu main end-replay", "menu: main end-replay is disabled\n", nullptr, 0},
      {"the tool bar outside full screen", 0, "menu toolbar save", "menu: toolbar save is disabled\n", nullptr, 0},
      {"no pop-up shown", 0, "menu quit-popup quit", "menu: no quit-popup menu is shown", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MenuGame g;
    g.Start(std::string("!S000=") + std::to_string(c.phase) + "\n!S028=1\n次。\n\\\n");
    const uint32_t before = g.H().TickCount();
    const std::string err = g.Play(std::string("10 ") + c.line + "\n", 1500);
    EXPECT_EQ(err.substr(0, c.stderrText.size()), c.stderrText);
    if (c.stderrText.empty()) EXPECT_EQ(err, "");
    std::vector<std::string> played;
    for (const SoundCall& call : g.H().Sound().CallsOf(SoundOp::Create)) {
      if (call.time >= before) played.push_back(call.name);
    }
    EXPECT_EQ(played, c.sound ? std::vector<std::string>{c.sound} : std::vector<std::string>{});
    EXPECT_EQ(g.E().ctl.dialogOpen, c.dialog);
  }
}

TEST_F(Menus, AMenuChosenDuringABlockingLoopRunsAfterIt) {
  Start("!S000=0\n!S028=1\n一。\n\\\n@bg AB02,1000\n二。\n\\\n");
  std::vector<int> scalesWhileBlocked;
  H().onShown = [&](const Bitmap&, Point) {
    if (E().ctl.blockingScene) scalesWhileBlocked.push_back(E().settings.WindowScale);
  };
  // The click starts a one-second cross-fade; the view menu is chosen in the middle of it.
  EXPECT_EQ(Play("10 click 400 300\n400 menu main scale-fit\n", 1500), "");
  ASSERT_GT(scalesWhileBlocked.size(), 20u);
  EXPECT_EQ(std::count(scalesWhileBlocked.begin(), scalesWhileBlocked.end(), 1), scalesWhileBlocked.size())
      << "no menu command runs inside the loop";
  EXPECT_EQ(E().settings.WindowScale, 0);
  EXPECT_EQ(H().WindowScale(), 0);
  H().onShown = nullptr;
}

TEST_F(Menus, TheViewMenuSetsAndStoresTheScale) {
  Start();
  EXPECT_EQ(E().menus.State(MenuId::Main, "scale-2"), MenuEntryState::Disabled) << "1600×1200 is too big for 1080";
  EXPECT_EQ(Play("10 menu main scale-2\n"), "menu: main scale-2 is disabled\n");
  EXPECT_EQ(E().settings.WindowScale, 1);
  EXPECT_EQ(Play("10 menu main scale-fit\n20 menu main integer-scaling\n"), "");
  EXPECT_EQ(E().settings.WindowScale, 0);
  EXPECT_EQ(E().settings.IntegerScaling, 1);
  EXPECT_TRUE(H().IntegerScaling());
  EXPECT_TRUE(E().menus.Entry(MenuId::Main, "scale-fit").checked);
  EXPECT_FALSE(E().menus.Entry(MenuId::Main, "scale-1").checked);
  EXPECT_EQ(E().ReadSetting("WindowScale", 9), 0);
  EXPECT_EQ(E().ReadSetting("IntegerScaling", 9), 1);
  H().SetScreenSize(Point{3840, 2160});
  E().UpdateMenus();
  EXPECT_EQ(Play("10 menu main scale-2\n"), "");
  EXPECT_EQ(E().settings.WindowScale, 2);
}

TEST_F(Menus, TheStateReportNamesEveryEntryOfEveryMenu) {
  Start();
  const std::string state = E().DescribeState();
  const size_t at = state.find("\"menus\":{\"main\":{\"menu-end\":\"enabled\",\"quit\":\"enabled\"");
  ASSERT_NE(at, std::string::npos);
  for (int m = 0; m < kMenuCount; ++m) {
    for (const MenuEntryText& t : MenuEntries(static_cast<MenuId>(m))) {
      EXPECT_NE(state.find(std::string("\"") + t.id + "\":\"", at), std::string::npos) << t.id;
    }
  }
  EXPECT_NE(state.find("\"menu-control\":\"hidden\"", at), std::string::npos);
  EXPECT_NE(state.find("\"quit-popup\":{\"quit\":\"enabled\",\"title\":\"enabled\",\"end-replay\":\"hidden\"}", at),
            std::string::npos);
  EXPECT_NE(state.find("\"toolbar\":{\"quit\":\"enabled\",\"settings\":\"enabled\",\"save\":\"enabled\",\"load\":"
                       "\"enabled\",\"window\":\"enabled\"}}",
                       at),
            std::string::npos);
}

}  // namespace
}  // namespace torvel
