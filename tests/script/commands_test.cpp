// The commands as a script sees them, through the real engine on the headless host.
#include <gtest/gtest.h>

#include "resources/settings_store.h"

#include <string>

#include "graphics/picture_test_support.h"
#include "platform/headless/input_script.h"
#include "resources/file_io.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::Bgr;

class Commands : public ::testing::Test {
 protected:
  // Starts the game with `main` and runs the first tick, which loads it; the next frame runs
  // the first step.
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

TEST_F(Commands, GoJumpsAndContinuesInTheSameStep) {
  Start("@go L\n!V001=9\n:L\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(2), 1);
  EXPECT_EQ(E().ctl.waitKind, 1);
}

TEST_F(Commands, UnknownCommandIsSkipped) {
  Start("@nosuch thing\n!V001=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 1);
}

TEST_F(Commands, FalseIfCostsOneStep) {
  Start("@if (V001=1) L\n:L\n;comment\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(2), 0);
  Steps(1);
  EXPECT_EQ(V(2), 1);
}

TEST_F(Commands, TrueIfJumpsToItsLabelAndEndsTheStep) {
  Start("@if (v001 = 0) L\n!V009=1\n:L\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(2), 0);
  Steps(1);
  EXPECT_EQ(V(9), 0);
  EXPECT_EQ(V(2), 1);
}

TEST_F(Commands, TrueIfRunsACommandOrCalculationInTheSameStep) {
  Start("@if (1=1) !V001=4\n@if (V001=4)  @go L\n!V003=1\n:L\n@IF (1=1) *calc V002=6\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 4);
  EXPECT_EQ(V(3), 0);
  EXPECT_EQ(V(2), 6);
  EXPECT_EQ(E().ctl.waitKind, 1);
}

TEST_F(Commands, IfWithATooLongThenPartDoesNothing) {
  Start("@if (1=1) !V001=1;V002=" + std::string(200, '1') + "\n!V003=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(3), 0);
  Steps(1);
  EXPECT_EQ(V(3), 1);
}

TEST_F(Commands, EndAtDepthZeroOutsideAReplayIsIgnored) {
  Start("@end\n!V001=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 0);
  Steps(1);
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(E().script.currentScript, "main");
}

TEST_F(Commands, ExitAndVendOutsideAReplayOnlyYield) {
  Start("@exit\n!V001=1\n@vend\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 0);
  Steps(1);
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(V(2), 0);
  Steps(1);
  EXPECT_EQ(V(2), 1);
}

TEST_F(Commands, CallFindsScriptAndLabelWhateverTheirCaseAndEndReturns) {
  game.Script("sub", "!V001=9\n:label\n!V003=1\n@end\n!V004=1\n");
  Start("@CALL SUB:LABEL and more words\n!V002=1\n\\\n");
  Steps(1);
  EXPECT_EQ(E().script.callDepth, 1);
  EXPECT_EQ(E().script.currentScript, "SUB");
  Steps(3);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(3), 1);
  EXPECT_EQ(V(4), 0);
  EXPECT_EQ(V(2), 1);
  EXPECT_EQ(E().script.callDepth, 0);
  EXPECT_EQ(E().script.currentScript, "main");
}

TEST_F(Commands, CalledScriptWithoutEndReturnsToTheLineAfterTheCall) {
  game.Script("sub", "!V001=1\n");
  Start("@call sub\n!V002=V001+1\n\\\n");
  Steps(4);
  EXPECT_EQ(V(2), 2);
  EXPECT_EQ(E().script.callDepth, 0);
}

TEST_F(Commands, CallThroughANameSlot) {
  game.Script("sub", "!V001=5\n");
  Start("@string 4 sub\n@call $4\n\\\n");
  Steps(4);
  EXPECT_EQ(V(1), 5);
}

TEST_F(Commands, ChainDiscardsTheCallStack) {
  game.Script("a", "@chain b:L\n");
  game.Script("b", "!V009=1\n:L\n@end\n!V002=1\n\\\n");
  Start("@call a\n!V001=1\n");
  Steps(5);
  EXPECT_EQ(E().script.callDepth, 0);
  EXPECT_EQ(E().script.currentScript, "b");
  EXPECT_EQ(V(9), 0);
  EXPECT_EQ(V(2), 1);
  EXPECT_EQ(V(1), 0);
}

TEST_F(Commands, CalculationLinesAndCalc) {
  Start("!v001 = v001 + 1\n@calc V001=V001+1;E010=1\n!E010=2\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 2);
  EXPECT_TRUE(E().vars.E.Test(10));
}

TEST_F(Commands, MenuVariablesRefreshTheMenus) {
  Start("!V001=1\n\\\n!S000=1\n\\\n@calc S028=1\n\\\n");
  const int atStart = game.Host().MenuRefreshes();
  Steps(1);
  EXPECT_EQ(game.Host().MenuRefreshes(), atStart);
  E().ResolveClickWait();
  Steps(1);
  EXPECT_EQ(game.Host().MenuRefreshes(), atStart + 1);
  E().ResolveClickWait();
  Steps(1);
  EXPECT_EQ(game.Host().MenuRefreshes(), atStart + 2);
}

TEST_F(Commands, ShortSleepWaitsForAClick) {
  Start("@sleep 20\n!V001=1\n\\\n");
  Steps(1);
  EXPECT_EQ(E().ctl.sleepTicks, -1);
  Steps(50);
  EXPECT_EQ(V(1), 0);
  E().PBMouseDown(MouseButton::Left, ShiftState{}, 10, 10);
  EXPECT_EQ(E().vars.S(19), 1);
  Steps(1);
  EXPECT_EQ(V(1), 1);
}

TEST_F(Commands, SleepPausesWholeFrames) {
  Start("@sleep 90\n!V001=1\n\\\n");
  Steps(1);
  EXPECT_EQ(E().ctl.sleepTicks, 3);
  Steps(3);
  EXPECT_EQ(V(1), 0);
  Steps(1);
  EXPECT_EQ(V(1), 1);
}

TEST_F(Commands, SleepDoesNotPauseInAutoOrSkipMode) {
  Start("!S026=5\n@sleep 90\n!V001=1\n!S026=0\n@sleep 90\n!V002=1\n\\\n");
  E().ctl.skipActive = false;
  Steps(1);
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(V(2), 0);
  EXPECT_EQ(E().ctl.sleepTicks, 3);
}

TEST_F(Commands, StringAndTitleFillNameSlots) {
  const std::string longText(70, 'x');
  std::string wide;
  for (int i = 0; i < 40; ++i) wide += "あ";
  Start("@string 3 abc\n@string 12 zz\n@string -1 zz\n@string 4 " + longText + "\n@string 5 " + wide +
        "\n@title Scene one\n\\\n");
  Steps(1);
  const auto& slots = E().text.nameSlots;
  EXPECT_EQ(slots[3], "abc");
  EXPECT_EQ(slots[4], std::string(63, 'x'));
  // 31 two-byte characters: a 32nd would pass 63 bytes.
  EXPECT_EQ(slots[5].size(), 62u);
  EXPECT_EQ(SjisToUtf8(slots[5]).substr(0, 3), "あ");
  EXPECT_EQ(slots[9], "Scene one");
  for (int i : {0, 1, 2, 6, 7, 8}) EXPECT_EQ(slots[static_cast<size_t>(i)], "") << i;
}

TEST_F(Commands, BacktoRecordsItsOwnLine) {
  Start("!V001=1\n@backto\n\\\n");
  Steps(1);
  EXPECT_EQ(E().vars.S(10), 8);
}

TEST_F(Commands, GameinitClearsPerPlayFlags) {
  Start("!F001=1;T0002=1;E003=1;G6=11;G7=12;G8=13\n@gameinit\n\\\n");
  Steps(1);
  EXPECT_FALSE(E().vars.F.Test(1));
  EXPECT_FALSE(E().vars.T.Test(2));
  EXPECT_TRUE(E().vars.E.Test(3));
  EXPECT_EQ(V(200), 11);
  EXPECT_EQ(V(201), 12);
  EXPECT_EQ(V(202), 13);
}

TEST_F(Commands, GameclrCountsCompletedGames) {
  Start("@gameclr\n@gameclr\n\\\n");
  SettingsStore counter(game.Host().SettingsFolder(), kCompletedGamesKeyPath, "VESK");
  ASSERT_TRUE(counter.WriteInt("clear", 5));
  Steps(1);
  EXPECT_EQ(E().vars.S(100), 7);
  EXPECT_TRUE(E().vars.E.Test(999));
  counter.Load();
  EXPECT_EQ(counter.ReadInt("Clear", 0), 7);
}

TEST_F(Commands, GameclrStartsFromNothing) {
  Start("@gameclr\n\\\n");
  Steps(1);
  EXPECT_EQ(E().vars.S(100), 1);
}

TEST_F(Commands, MarkStopsSkipAtUnreadText) {
  Start("@mark 7\n!V001=1\n@mark 7\n@mark 80001\n@mark -1\n\\\n");
  E().ctl.skipActive = true;
  E().vars.S(60) = 1;
  E().text.alreadyRead = true;
  // Stop right after the first mark to see what it did.
  E().script.scenario[8] = '\\';
  Steps(1);
  EXPECT_TRUE(E().text.readMarks.Test(7));
  EXPECT_FALSE(E().text.alreadyRead);
  EXPECT_FALSE(E().ctl.skipActive);
  EXPECT_EQ(E().vars.S(60), 0);
  E().ResolveClickWait();
  Steps(1);
  EXPECT_TRUE(E().text.alreadyRead);
  EXPECT_FALSE(E().text.readMarks.Test(80001));
}

TEST_F(Commands, MarkLeavesSkipOnWhenSeenIsOff) {
  Start("@mark 7\n\\\n");
  E().settings.Seen = 0;
  E().ctl.skipActive = true;
  Steps(1);
  EXPECT_TRUE(E().text.readMarks.Test(7));
  EXPECT_TRUE(E().ctl.skipActive);
}

TEST_F(Commands, FixKeepsWhatTheWindowShows) {
  Start("!S023=4\n@fix\n\\\n");
  Bitmap shown(kScreenWidth, kScreenHeight);
  shown.Fill(1, 2, 3);
  game.Host().Present(shown, Rect{0, 0, kScreenWidth, kScreenHeight});
  Steps(1);
  EXPECT_EQ(E().layers.scene.pixels, shown.pixels);
  EXPECT_EQ(E().layers.screen.pixels, shown.pixels);
  EXPECT_EQ(E().vars.S(23), 0);
}

TEST_F(Commands, BreakStopsSkipAndAuto) {
  Start("!S060=1;S061=1;S026=3\n@break\n!V001=1\n\\\n");
  E().ctl.skipActive = true;
  Steps(1);
  EXPECT_EQ(E().vars.S(60), 0);
  EXPECT_EQ(E().vars.S(61), 0);
  EXPECT_EQ(E().vars.S(26), 0);
  EXPECT_FALSE(E().ctl.skipActive);
  EXPECT_EQ(V(1), 0);
}

TEST_F(Commands, ScreensStopAutoModeOnlyWhenBreakonSelectIsOn) {
  Start("!S026=3\n@save\n!S026=3\n@load\n\\\n");
  E().settings.BreakonSelect = 0;
  Steps(1);
  EXPECT_EQ(E().vars.S(26), 3);
  E().settings.BreakonSelect = 1;
  Steps(1);
  EXPECT_EQ(E().vars.S(26), 0);
}

TEST_F(Commands, SetnameComparesTheNamesWithTheirDefaults) {
  Start("@setname\n!V001=S006\n@string 1 Foo\n@setname\n\\\n");
  E().vars.S(6) = 1;
  Steps(1);
  EXPECT_EQ(E().vars.S(6), 0);
  EXPECT_FALSE(E().ctl.blockingScene);
  Steps(1);
  EXPECT_EQ(E().vars.S(6), 1);
}

TEST_F(Commands, ExitgameAsksTheQuitQuestion) {
  Start("@exitgame\n!V001=1\n\\\n");
  game.Host().QueueAnswer(MessageResult::Cancel);
  Steps(1);
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(SjisToUtf8(game.Host().Messages()[0].text), "ゲームを終了しますか？");
  EXPECT_FALSE(game.Host().Closed());
  Steps(1);
  EXPECT_EQ(V(1), 1);
}

TEST_F(Commands, ExitgameClosesWhenConfirmed) {
  Start("@exitgame\n\\\n");
  Steps(1);
  EXPECT_TRUE(game.Host().Closed());
}

TEST_F(Commands, RecStartsOrRestartsTheChoiceRecord) {
  Start("!F001=1;S162=4;S163=5\n@rec\n\\\n!S161=2;S162=4;S163=5\n@rec\n\\\n");
  Steps(1);
  EXPECT_FALSE(E().vars.F.Test(1));
  EXPECT_EQ(E().script.recordStart, "main");
  EXPECT_EQ(E().vars.S(161), 1);
  EXPECT_EQ(E().vars.S(162), 0);
  EXPECT_EQ(E().vars.S(163), 0);
  E().ResolveClickWait();
  Steps(1);
  EXPECT_EQ(E().vars.S(161), 2);
  EXPECT_EQ(E().vars.S(162), 4);
  EXPECT_EQ(E().vars.S(163), 0);
}

TEST_F(Commands, TwSetSetsWhetherTheWindowCountsAsShown) {
  Start("@tw_set 0\n!V001=1\n\\\n@tw_set 2\n\\\n");
  Steps(1);
  EXPECT_FALSE(E().text.windowShown);
  E().ResolveClickWait();
  Steps(1);
  EXPECT_TRUE(E().text.windowShown);
}

TEST_F(Commands, WebOpensAddressesAndGameFilesOnly) {
  Start("@web https://example.com/\n@web file:///etc/passwd\n@web ..\\outside.txt\n@web manual.txt\n\\\n");
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "manual.txt", std::string_view("read me")));
  Steps(4);
  const auto& opened = game.Host().OpenedTargets();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], "https://example.com/");
  EXPECT_EQ(opened[1], std::filesystem::canonical(game.Dir() / "manual.txt").string());
}

// What reaches the screen while the step runs: one entry each time the window may repaint.
struct ShownFrame {
  uint32_t time;
  Bgr colour;  // the window's top-left pixel; the flash fills the whole window
  Point windowPos;
  bool whole;  // every pixel has the colour of the top-left one
};

std::vector<ShownFrame> RecordShown(testing::GameFixture& game) {
  std::vector<ShownFrame> frames;
  game.Host().onShown = [&frames, &game](const Bitmap& w, Point pos) {
    const uint8_t* p = w.At(0, 0);
    bool whole = true;
    for (size_t i = 0; whole && i < w.pixels.size(); i += 3) {
      whole = w.pixels[i] == p[0] && w.pixels[i + 1] == p[1] && w.pixels[i + 2] == p[2];
    }
    frames.push_back(ShownFrame{game.Host().TickCount(), Bgr{p[0], p[1], p[2]}, pos, whole});
  };
  game.Host().RunFrames(1);
  game.Host().onShown = nullptr;
  return frames;
}

TEST_F(Commands, SpecialFlashShowsSevenWhiteFramesOnTheWindow) {
  Start("@special 0\n!V001=1\n\\\n");
  Bitmap shown(kScreenWidth, kScreenHeight);
  shown.Fill(9, 8, 7);
  game.Host().Present(shown, Rect{0, 0, kScreenWidth, kScreenHeight});
  // A click during the flash is not a click on the story.
  game.Host().SetInput(ParseInputScript(std::to_string(game.Host().TickCount() + 30) + " click 400 300\n").events);
  const uint32_t before = game.Host().TickCount();
  const std::vector<ShownFrame> frames = RecordShown(game);
  // Seven times white for 20 ms, then the picture again for 20 ms; the frame loop's own repaint
  // at the end of the frame shows the picture.
  ASSERT_EQ(frames.size(), 15u);
  for (size_t i = 0; i < 14; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(frames[i].whole);
    EXPECT_EQ(frames[i].colour, i % 2 == 0 ? (Bgr{255, 255, 255}) : (Bgr{9, 8, 7}));
    EXPECT_EQ(frames[i].time, before + 20 * i);
  }
  EXPECT_EQ(game.Host().Window().pixels, shown.pixels);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(E().ctl.waitKind, 0);
  EXPECT_FALSE(E().ctl.blockingScene);
}

TEST_F(Commands, SpecialShakeMovesTheWindowUpAndDownAndBack) {
  Start("@special 1\n\\\n");
  const Point home = game.Host().WindowPos();
  const std::vector<ShownFrame> frames = RecordShown(game);
  // Amplitudes 20, 18, …, 2: down 20 when bit 1 is set, else up 20; 50 ms each.
  ASSERT_EQ(frames.size(), 11u);
  for (size_t i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(frames[i].windowPos.x, home.x);
    EXPECT_EQ(frames[i].windowPos.y, home.y + (i % 2 == 0 ? -20 : 20));
  }
  EXPECT_EQ(frames[10].windowPos.y, home.y);
  EXPECT_EQ(game.Host().WindowPos().x, home.x);
  EXPECT_EQ(game.Host().WindowPos().y, home.y);
}

TEST_F(Commands, SpecialSepiaTurnsTheSceneToSepia) {
  Start("@special 3\n\\\n");
  E().layers.scene.Fill(10, 20, 30);
  Steps(1);
  const uint8_t* p = E().layers.scene.At(400, 300);
  EXPECT_EQ(p[0], 5);
  EXPECT_EQ(p[1], 15);
  EXPECT_EQ(p[2], 20);
  EXPECT_EQ(E().layers.screen.pixels, E().layers.scene.pixels);
  EXPECT_EQ(game.Host().Window().pixels, E().layers.screen.pixels);
  EXPECT_FALSE(E().ctl.blockingScene);
}

TEST_F(Commands, SpecialIsCutInSkipModeWithEfxCut) {
  Start("@special 0\n@special 1\n!V001=1\n\\\n");
  E().ctl.skipActive = true;
  const uint32_t before = game.Host().TickCount();
  // Each still ends its step: three frames of 20 ms.
  Steps(3);
  EXPECT_LT(game.Host().TickCount() - before, 100u);
  EXPECT_EQ(V(1), 1);
}

TEST_F(Commands, GraAnswersAnInterruptAfterItsPictureChange) {
  Start("@gra A1\n!V001=1\n@gra A2\n!V002=1\n@gra A3\n!V003=1\n\\\n");
  // Input arriving while the next transition runs.
  auto during = [&](InputEvent::Kind kind) {
    InputEvent e;
    e.kind = kind;
    e.time = game.Host().TickCount() + 5;
    e.x = 400;
    e.y = 300;
    game.Host().SetInput({e});
  };
  during(InputEvent::Kind::Click);
  Steps(1);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(E().ctl.interruptRequest, 0);
  EXPECT_TRUE(game.Host().Messages().empty());
  // A close asked for during the change: the quit question, answered Cancel.
  during(InputEvent::Kind::Close);
  game.Host().QueueAnswer(MessageResult::Cancel);
  Steps(1);
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(V(2), 0);
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(SjisToUtf8(game.Host().Messages()[0].text), "ゲームを終了しますか？");
  EXPECT_FALSE(E().ctl.quitRequested);
  EXPECT_TRUE(E().ctl.scriptRunning);
  EXPECT_EQ(E().ctl.interruptRequest, 0);
  // Answered OK, the engine closes on the next frame.
  during(InputEvent::Kind::Close);
  Steps(1);
  EXPECT_EQ(V(2), 1);
  EXPECT_TRUE(E().ctl.quitRequested);
  Steps(1);
  EXPECT_TRUE(game.Host().Closed());
}

TEST_F(Commands, GraWithoutAnInterruptGoesOn) {
  Start("@gra A\n!V001=1\n\\\n");
  Steps(1);
  EXPECT_EQ(V(1), 1);
}

}  // namespace
}  // namespace torvel
