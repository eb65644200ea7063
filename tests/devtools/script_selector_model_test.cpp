// The script selector: the delayed, upper-cased filter, the kept list on an emptied mask, and
// starting the chosen script on the running engine.
#include <gtest/gtest.h>

#include "devtools/script_selector_model.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

using Names = std::vector<std::string>;

TEST(ScriptSelectorTest, FilterAppearsOnTheSeventhTickAfterTheLastKeyUpperCased) {
  ScriptSelectorModel model;
  model.Show({"DAY2", "MAIN", "DAY1", "END"});
  EXPECT_EQ(model.shownList, (Names{"DAY1", "DAY2", "END", "MAIN"}));
  model.MaskChanged("d");
  for (int i = 0; i < 3; ++i) model.Tick();
  model.MaskChanged("da");  // the countdown starts again
  for (int i = 0; i < 6; ++i) model.Tick();
  EXPECT_EQ(model.shownList.size(), 4u) << "shown before 700 ms";
  model.Tick();
  EXPECT_EQ(model.shownList, (Names{"DAY1", "DAY2"}));
  model.MaskChanged("n");
  EXPECT_EQ(model.shownList.size(), 4u) << "a new mask shows the full list until it filters";
  for (int i = 0; i < 7; ++i) model.Tick();
  EXPECT_EQ(model.shownList, (Names{"END", "MAIN"}));
  model.MaskChanged("");
  for (int i = 0; i < 20; ++i) model.Tick();
  EXPECT_EQ(model.shownList, (Names{"END", "MAIN"})) << "an emptied mask keeps the list";
}

TEST(ScriptSelectorTest, MaskLeftInTheBoxFiltersAtTheFirstTickOfTheNextShowing) {
  ScriptSelectorModel model;
  model.MaskChanged("ay");
  model.Show({"DAY1", "MAIN"});
  EXPECT_EQ(model.shownList.size(), 2u);
  model.Tick();
  EXPECT_EQ(model.shownList, (Names{"DAY1"}));
}

TEST(ScriptSelectorTest, ChoosingAndClosing) {
  ScriptSelectorModel model;
  model.Show({"B", "A"});
  EXPECT_FALSE(model.Choose(-1));
  EXPECT_FALSE(model.Choose(2));
  EXPECT_TRUE(model.chosen.empty());
  EXPECT_TRUE(model.Choose(1));
  EXPECT_EQ(model.chosen, "B");
  model.Close();
  EXPECT_TRUE(model.chosen.empty());
}

TEST(ScriptSelectorTest, AChoiceRestartsAtTheTopWithAnEmptyCallStack) {
  GameFixture game;
  game.Script("main", "\\m0\n@call sub\n\\m1\n").Script("sub", "\\s0\n\\s1\n").Script("other", "\\o0\n\\o1\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(game.RunToWait(), "\\m0");
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\s0");
  ASSERT_EQ(engine.script.callDepth, 1);
  // A name that does not load leaves the story and its call stack as they were.
  EXPECT_FALSE(StartChosenScript(engine, "missing"));
  EXPECT_EQ(engine.script.callDepth, 1);
  EXPECT_EQ(engine.script.loadedScript, "sub");
  ASSERT_TRUE(StartChosenScript(engine, "OTHER"));
  EXPECT_EQ(engine.script.callDepth, 0);
  EXPECT_EQ(engine.script.pc, 0);
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\o0");
}

}  // namespace
}  // namespace torvel
