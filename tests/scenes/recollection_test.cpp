// Recollection played through the headless host: the scene table and what unlocks, the page as
// drawn, drags into and out of a play list, double clicks, list plays with the replay entries,
// slot names and the dialog that renames them, and damaged play lists.
#include <gtest/gtest.h>

#include <string>

#include "scene_test_support.h"
#include "scenes/recollection.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::Packed;
using testing::Px;
using testing::SceneGame;
using testing::Solid;

constexpr const char* kTable =
    ":SETTING\npage1,page2\npage3\n"
    ":PAGE1\n*First Header\nAlpha,s_alpha\nBeta,s_beta\n*\nGamma,s_gamma\n"
    ":PAGE2\nDelta,s_delta\n"
    ":PAGE3\nEps,s_eps\n:END\nLost,s_lost\n";

std::span<const uint8_t> Bytes(const std::string& s) {
  return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

std::string Lines(std::string text) {
  for (char& c : text) c = c == '\n' ? '\0' : c;
  return text;
}

TEST(RecollectionTable, LinesTabsAndUnlocks) {
  const std::string body = Lines(kTable);
  const RecollectionTable t = ParseRecollectionTable(Bytes(body));
  ASSERT_EQ(t.titles.size(), 11u);
  EXPECT_EQ(t.titles[0], ":PAGE1");
  EXPECT_EQ(t.titles[2], "ALPHA");
  EXPECT_EQ(t.scripts[2], "S_ALPHA");
  EXPECT_EQ(t.scripts[1], "");
  EXPECT_EQ(t.titles[10], ":END");
  EXPECT_EQ(t.tabCount, 2);
  EXPECT_EQ(t.pageCounts[0], 2);
  EXPECT_EQ(t.pages[0][1], ":PAGE2");
  EXPECT_EQ(t.pages[1][0], ":PAGE3");
  struct Case {
    const char* script;
    int line;
    int header;
  };
  // A bare "*" is passed over on the way up; a page label does not stop the search.
  const Case cases[] = {{"S_ALPHA", 2, 1}, {"S_GAMMA", 5, 1}, {"S_DELTA", 7, 1}, {"S_LOST", -1, -1}, {"", -1, -1}};
  for (const Case& c : cases) {
    const RecollectionUnlock u = FindRecollectionUnlock(t, c.script);
    EXPECT_EQ(u.line, c.line) << c.script;
    EXPECT_EQ(u.header, c.header) << c.script;
  }
  EXPECT_TRUE(IsRecollectionScene(t, 5));
  for (int line : {0, 1, 4, 10, 11, -3, 1000}) EXPECT_FALSE(IsRecollectionScene(t, line)) << line;
}

TForm1& Start(SceneGame& game, bool withTable = true) {
  game.fixture.Entry("tq_gra.tvx", "ss_kaiso", Packed(Solid(800, 600, Bgr{60, 30, 30})))
      .Entry("tq_gra.tvx", "ss_kaiso2", Packed(Solid(800, 600, Bgr{90, 90, 30})))
      .Entry("tq_gra.tvx", "ss_kaiso_p", Packed(Solid(56, 116, Bgr{0, 90, 0})))
      .Entry("tq_gra.tvx", "APREVIEW", Packed(Solid(800, 600, Bgr{0, 0, 240})))
      .Script("main", "@call s_alpha\n@call s_gamma\n\\\n@kaisou\n!V001=1\n\\\n")
      .Script("s_alpha", "!V020=1\n")
      .Script("s_beta", "@gra APREVIEW,0\n@cv x\n")
      .Script("s_gamma", "!V021=1\n")
      .Script("k_S_ALPHA", "!V010=1\n\\\n@exit\n")
      .Script("k_S_GAMMA", "!V011=1\n\\\n@exit\n");
  if (withTable) game.fixture.Script("sys_flashbak", kTable);
  TForm1& e = game.Start();
  game.RunToWait();
  game.Click(400, 300);
  game.RunToWait();
  return e;
}

// Whether any pixel of the window in the rectangle is of the colour the predicate wants.
template <typename Want>
bool AnyPixel(SceneGame& game, Rect r, Want want) {
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (want(game.Window(x, y))) return true;
    }
  }
  return false;
}

TEST(Recollection, PageCellsHoverAndDrags) {
  SceneGame game;
  TForm1& e = Start(game);
  ASSERT_EQ(e.ctl.screenMode, smRecollection);
  for (int line : {1, 2, 5}) EXPECT_TRUE(e.vars.C.Test(line)) << line;
  EXPECT_FALSE(e.vars.C.Test(3));
  // The header row, Alpha and the locked Beta on the second row, the bare "*" row left blank.
  EXPECT_EQ(e.recollectionScreen.cells[3], 2);
  EXPECT_EQ(e.recollectionScreen.cells[4], 0);
  EXPECT_EQ(e.recollectionScreen.cells[9], 5);
  auto green = [](Bgr c) { return c[1] > 200 && c[0] < 60 && c[2] < 60; };
  const Rect alpha{25, 170, 191, 185};
  EXPECT_FALSE(AnyPixel(game, alpha, green));
  game.Input({"move 30 175"});
  EXPECT_EQ(e.recollectionScreen.highlight, 4);
  EXPECT_TRUE(AnyPixel(game, alpha, green));

  const auto& list = e.recollection.playLists[0];
  game.Input({"press 30 175", "move 600 160", "release 600 160"});
  EXPECT_EQ(list[0], 2);      // onto an empty row: appended
  game.Host().RunFrames(10);  // the double-click time runs out
  game.Input({"press 30 205", "move 600 160", "release 600 160"});
  EXPECT_EQ(list[0], 5);  // onto a used row: inserted before it
  EXPECT_EQ(list[1], 2);
  game.Host().RunFrames(10);
  game.Input({"move 600 172", "press 600 172", "move 600 500", "release 600 500"});
  EXPECT_EQ(list[0], 5);  // dropped outside the panel: removed
  EXPECT_EQ(list[1], 0);

  // A full list: the last entry falls out.
  auto& full = e.recollection.playLists[0];
  for (int i = 0; i < 25; ++i) full[static_cast<size_t>(i)] = 2;
  game.Host().RunFrames(10);
  game.Input({"press 30 205", "move 600 202", "release 600 202"});
  EXPECT_EQ(full[3], 5);
  EXPECT_EQ(full[24], 2);
  EXPECT_EQ(full[25], 0);
  int fives = 0;
  for (int i = 0; i < 25; ++i) fives += full[static_cast<size_t>(i)] == 5;
  EXPECT_EQ(fives, 1);
}

TEST(Recollection, DoubleClickPlaysAndTheListPlaysInOrder) {
  SceneGame game;
  TForm1& e = Start(game);
  const int pc = e.script.pc;
  game.Input({"move 30 175", "press 30 175", "release 30 175", "press 30 175"});
  EXPECT_EQ(e.script.replayMode, 2);
  EXPECT_EQ(e.script.currentScript, "k_S_ALPHA");
  EXPECT_FALSE(e.replayMenu.nextScene);
  EXPECT_TRUE(e.replayMenu.endReplay);
  game.RunToWait();
  game.Click(400, 300);  // `exit`: the queue is over
  game.RunToWait();
  EXPECT_EQ(e.ctl.screenMode, smRecollection);
  EXPECT_EQ(e.script.replayMode, 0);
  EXPECT_EQ(e.script.pc, pc);
  EXPECT_EQ(e.vars.S(3), 11);

  // A list with a line that is no scene ends there; entries past it are not played.
  auto& list = e.recollection.playLists[0];
  list = {};
  list[0] = 5;
  list[1] = 2;
  list[2] = 4;
  list[3] = 2;
  game.Input({"move 700 560"});
  game.Input({"press 700 560", "release 700 560"});
  EXPECT_EQ(e.script.currentScript, "k_S_GAMMA");
  EXPECT_EQ(e.recollectionScreen.queue[2], 0);
  EXPECT_TRUE(e.replayMenu.nextScene);
  game.Input({"menu main next-scene"});
  EXPECT_EQ(e.script.currentScript, "k_S_ALPHA");
  EXPECT_FALSE(e.replayMenu.nextScene);
  game.RunToWait();
  game.Input({"menu main end-replay"});
  EXPECT_EQ(e.ctl.screenMode, smRecollection);
  EXPECT_EQ(e.script.currentScript, "main");
  EXPECT_EQ(e.script.pc, pc);
  EXPECT_FALSE(e.replayMenu.endReplay);

  // The play-list button on an empty slot does nothing; the exit button gives the script back.
  list = {};
  game.Input({"move 700 560"});
  game.Input({"press 700 560", "release 700 560"});
  EXPECT_EQ(e.ctl.screenMode, smRecollection);
  game.Input({"move 600 560"});
  game.Input({"press 600 560", "release 600 560"});
  game.RunToWait();
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.vars.V(1), 1);
}

TEST(Recollection, SlotNamesAndRenaming) {
  SceneGame game;
  TForm1& e = Start(game);
  EXPECT_EQ(e.recollection.Name(0), "Record Slot 1");
  game.Input({"move 165 530"});
  game.Input({"press 165 530", "release 165 530"});
  EXPECT_EQ(e.recollectionScreen.slot, 2);
  EXPECT_EQ(e.recollection.Name(2), "Record Slot 3");
  struct Case {
    const char* line;
    const char* expected;  // UTF-8
  };
  const Case cases[] = {
      {"text 回想の名前", "回想の名前"},
      {"answer cancel", "回想の名前"},
      {"text あいうえおかきくけこさしすせそ", "あいうえおかきくけこさし"},  // 24 bytes
      {"text a😀b", "ab"},
  };
  for (const Case& c : cases) {
    game.Input({"move 450 570"});
    game.Input({c.line, "press 450 570", "release 450 570"});
    EXPECT_EQ(SjisToUtf8(e.recollection.Name(2)), c.expected) << c.line;
  }
}

TEST(Recollection, PreviewBlendsTheScenesPicturesAndPutsTheLayersBack) {
  SceneGame game;
  TForm1& e = Start(game);
  // Beta's story script is only read for the preview; seeing it unlocks it.
  e.vars.C.Set(3);
  e.recollectionScreen.cells[4] = 3;
  const std::string background = e.layers.backgroundName;
  const Bgr before = Px(e.layers.background, 700, 400);
  const Bgr screen = game.Screen(700, 400);
  game.Input({"move 200 175"});
  ASSERT_EQ(e.recollectionScreen.highlight, 5);
  game.Host().recording = true;
  game.Input({"press 200 175 right", "release 200 175 right"});
  game.Host().recording = false;
  Bgr blended{};
  for (int i = 0; i < 3; ++i) {
    blended[static_cast<size_t>(i)] = (screen[static_cast<size_t>(i)] * 80 >> 8) + ((i == 2 ? 240 : 0) * 176 >> 8);
  }
  bool shown = false;
  for (const auto& s : game.Host().shown) shown = shown || Px(s.window, 700, 400) == blended;
  EXPECT_TRUE(shown);
  EXPECT_EQ(e.recollectionScreen.preview, 0);
  EXPECT_EQ(game.Window(700, 400), screen);
  EXPECT_EQ(e.layers.backgroundName, background);
  EXPECT_EQ(Px(e.layers.background, 700, 400), before);
  EXPECT_EQ(e.ctl.screenMode, smRecollection);
}

TEST(Recollection, WithoutASceneTableTheScriptGoesOn) {
  SceneGame game;
  TForm1& e = Start(game, false);
  EXPECT_EQ(e.ctl.screenMode, smScenario);
  EXPECT_EQ(e.vars.V(1), 1);
}

}  // namespace
}  // namespace torvel
