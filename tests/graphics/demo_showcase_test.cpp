// The demo's showcase scene as the build made it: reached from the crossroads, it plays the
// opening clip, the enlarged clip and every screen effect and, with the text and command showcases
// that follow declined, returns to the story.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/headless/headless_host.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

const std::filesystem::path kDemo = std::filesystem::path(TORVEL_BINARY_DIR) / "demo" / "game";

TEST(DemoShowcaseTest, EveryEffectPlaysAndTheStoryGoesOn) {
  testing::TempFolder settings;
  HeadlessHost host(settings.Path());
  TForm1 e(host, EngineOptions{kDemo, 1, false});  // saves in the test's own folder
  host.Attach(&e);
  ASSERT_TRUE(host.Start());
  host.RunUntilSettled(2000);
  const Point home = host.WindowPos();
  const int depth = e.script.callDepth;
  e.CallScript("showcase", "start");
  ASSERT_EQ(e.script.currentScript, "showcase");

  std::set<std::string> animations;
  std::set<int> markModes;
  std::set<std::vector<int>> pictureSequences, offsetSequences;
  std::set<std::string> backgrounds;
  for (int wait = 0; wait < 40 && e.script.callDepth > depth; ++wait) {
    host.RunUntilSettled(5000);
    if (!e.animation.name.empty()) animations.insert(e.animation.name + (e.animation.enlarged ? " enlarged" : ""));
    if (e.effects.mark.active) markModes.insert(e.effects.mark.mode);
    const BackgroundAnimation& a = e.effects.bgAnim;
    if (a.count > 0) (a.offsets ? offsetSequences : pictureSequences).insert(a.sequence);
    backgrounds.insert(e.layers.backgroundName);
    // At the end the text and command showcases are offered: the second choice declines them.
    const int y = e.ctl.choiceMode == 1 ? e.choices.listTop + e.config.SELECT_Y_PITCH + e.choices.barHeight / 2 : 300;
    e.PBMouseMove(ShiftState{}, 400, y);
    e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, y);
    e.PBMouseUp(MouseButton::Left, ShiftState{}, 400, y);
  }
  EXPECT_LE(e.script.callDepth, depth) << "the showcase returns to its caller";
  EXPECT_EQ(animations, (std::set<std::string>{"EF_OPEN", "EF_SMALL enlarged"}));
  EXPECT_EQ(markModes, (std::set<int>{0, 1, 2}));
  EXPECT_EQ(pictureSequences, (std::set<std::vector<int>>{{0, 1, 2, 1}}));
  EXPECT_EQ(offsetSequences, (std::set<std::vector<int>>{{0, 1, 0, 2}}));
  EXPECT_TRUE(backgrounds.count("EF_SKY0"));
  EXPECT_FALSE(e.BackgroundAnimationRunning());
  EXPECT_EQ(e.vars.S(36), 0) << "nothing was cut short";
  EXPECT_EQ(host.WindowPos().x, home.x);
  EXPECT_EQ(host.WindowPos().y, home.y);
  EXPECT_TRUE(host.Messages().empty());
}

}  // namespace
}  // namespace torvel
