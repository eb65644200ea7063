// Start-up, the idle frame, the service tick and closing, on the virtual clock.
#include <gtest/gtest.h>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

TEST(FrameLoopTest, IdleFrameLastsTwentyMilliseconds) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  game.Start();
  game.Host().RunFrames(3);
  uint32_t before = game.Host().TickCount();
  game.Host().RunFrames(50);
  EXPECT_EQ(game.Host().TickCount() - before, 1000u);
}

TEST(FrameLoopTest, ARepaintAppliesTheVolumes) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  TForm1& e = game.Start();
  game.RunToWait();
  ASSERT_TRUE(e.sound.available);
  // The mute flag changed without being applied; the next repaint applies it.
  e.sound.muted = true;
  game.Host().Sound().ClearCalls();
  e.PBPaint();
  const std::vector<SoundCall> master = game.Host().Sound().CallsOf(SoundOp::MasterVolume);
  ASSERT_EQ(master.size(), 1u);
  EXPECT_EQ(master[0].volume, -9999);
}

TEST(FrameLoopTest, DarkeningTheFullScreenPageRestartsTheFrameClock) {
  GameFixture game;
  game.Script("main", "@mode 1\n\\wait\n");
  TForm1& e = game.Start();
  game.RunToWait();
  game.Host().RunFrames(5);
  e.layers.frameClock = 0;
  e.textWindow.cacheValid = false;
  e.ComposeWindow();
  EXPECT_EQ(e.layers.frameClock, game.Host().TickCount());
}

TEST(FrameLoopTest, TimerTicksEveryFiftyFiveMilliseconds) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  game.Start();
  // Ticks are due at 55, 110, …; the frame that starts at a tick's time delivers it.
  game.Host().RunUntil(1101);
  EXPECT_EQ(game.Engine().ctl.timerCounter, 20);
  game.Host().RunUntil(11001);
  EXPECT_EQ(game.Engine().ctl.timerCounter, 200);
}

struct AutoCase {
  int s026;
  uint32_t frameMs;
};

class AutoModeFrameTest : public ::testing::TestWithParam<AutoCase> {};

TEST_P(AutoModeFrameTest, AutoModePacesTheFrame) {
  GameFixture game;
  // No click wait: the auto countdown of a wait would hold the first frames at the plain pace.
  game.Script("main", "; idle\n");
  game.Start();
  game.Host().RunFrames(3);
  game.Engine().vars.S(26) = GetParam().s026;
  uint32_t before = game.Host().TickCount();
  game.Host().RunFrames(10);
  EXPECT_EQ(game.Host().TickCount() - before, 10 * GetParam().frameMs);
}

INSTANTIATE_TEST_SUITE_P(FrameLoop, AutoModeFrameTest,
                         ::testing::Values(AutoCase{5, 35}, AutoCase{1, 19}, AutoCase{250, 1015},
                                           AutoCase{100000, 1015}, AutoCase{-7, 19}),
                         [](const auto& info) {
                           return "S026_" + std::to_string(info.param.s026 < 0 ? 0 : info.param.s026);
                         });

TEST(FrameLoopTest, StartUpSetsTheSystemVariables) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(engine.vars.S(0), 3);
  EXPECT_EQ(engine.vars.S(8), 8);
  EXPECT_EQ(engine.vars.S(20), 250);
  EXPECT_EQ(engine.vars.S(21), 550);
  EXPECT_EQ(engine.vars.S(27), 5);
  EXPECT_EQ(engine.vars.S(32), 520);
  EXPECT_EQ(engine.vars.S(33), 30);
  EXPECT_EQ(engine.vars.S(37), 0xFFFFFF);
  EXPECT_TRUE(engine.ctl.startPending);
  game.Host().RunFrame();
  EXPECT_FALSE(engine.ctl.startPending);
  EXPECT_EQ(engine.script.currentScript, "main");
  EXPECT_TRUE(engine.ctl.scriptRunning);
}

TEST(FrameLoopTest, SoundDevicePresenceComesFromTheOutputDevices) {
  for (int devices : {0, 2}) {
    GameFixture game;
    game.Script("main", "\\wait\n");
    game.Write();
    HeadlessHost host(game.Dir() / "config");
    host.Sound().SetOutputDeviceCount(devices);
    TForm1 engine(host, EngineOptions{game.Dir(), 1});
    host.Attach(&engine);
    ASSERT_TRUE(host.Start());
    EXPECT_EQ(engine.ctl.soundDevicePresent, devices > 0) << devices;
  }
}

TEST(FrameLoopTest, CaptionComesFromTheConfiguration) {
  GameFixture game;
  game.Script("_config", "TITLE:夜明けの駅\n").Script("main", "\\wait\n");
  game.Start();
  EXPECT_EQ(SjisToUtf8(game.Host().Caption()), "夜明けの駅");
}

// Game data that cannot be read, for each of the two archives the game needs: the engine names
// the file and the reason under the fixed message, and closes.
struct UnreadableArchiveCase {
  const char* name;
  const char* archive;
  enum { Missing, Folder, CountPastEnd, CutShort } damage;
  const char* reason;
};

class UnreadableArchiveTest : public ::testing::TestWithParam<UnreadableArchiveCase> {};

TEST_P(UnreadableArchiveTest, EndsTheEngineWithAMessageNamingTheFile) {
  const UnreadableArchiveCase& c = GetParam();
  GameFixture game;
  game.Script("main", "\\wait\n").Entry("tq_gra.tvx", "BG01", {1, 2, 3});
  game.Write();
  const std::filesystem::path file = game.Dir() / c.archive;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(file, bytes));
  game.Without(c.archive);
  std::filesystem::remove(file);
  switch (c.damage) {
    case UnreadableArchiveCase::Missing: break;
    case UnreadableArchiveCase::Folder: std::filesystem::create_directory(file); break;
    case UnreadableArchiveCase::CountPastEnd:
      bytes[3] = 0x7F;  // the entry count's high byte: millions of entries in a small file
      ASSERT_TRUE(WriteFileAtomically(file, bytes));
      break;
    case UnreadableArchiveCase::CutShort:
      bytes.resize(3);
      ASSERT_TRUE(WriteFileAtomically(file, bytes));
      break;
  }
  TForm1& engine = game.Start();
  EXPECT_TRUE(game.Host().Closed());
  EXPECT_TRUE(engine.ctl.startupFailed);
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(game.Host().Messages()[0].caption, "Error!");
  EXPECT_EQ(SjisToUtf8(game.Host().Messages()[0].text),
            "ゲームデータを読み込めません。\n" + file.string() + ": " + c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    FrameLoop, UnreadableArchiveTest,
    ::testing::Values(UnreadableArchiveCase{"DataMissing", "tq_data.tvx", UnreadableArchiveCase::Missing,
                                            "No such file or directory"},
                      UnreadableArchiveCase{"DataFolder", "tq_data.tvx", UnreadableArchiveCase::Folder, "is a folder"},
                      UnreadableArchiveCase{"DataIndexPastEnd", "tq_data.tvx", UnreadableArchiveCase::CountPastEnd,
                                            "the archive index runs past the end of the file"},
                      UnreadableArchiveCase{"DataCutShort", "tq_data.tvx", UnreadableArchiveCase::CutShort,
                                            "the archive header is cut short"},
                      UnreadableArchiveCase{"GraphicsMissing", "tq_gra.tvx", UnreadableArchiveCase::Missing,
                                            "No such file or directory"},
                      UnreadableArchiveCase{"GraphicsIndexPastEnd", "tq_gra.tvx", UnreadableArchiveCase::CountPastEnd,
                                            "the archive index runs past the end of the file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameLoopTest, SetupProgramIsStartedInsteadOfTheGame) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  game.Write();
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "setup.exe", std::string_view("MZ")));
  game.Start();
  EXPECT_TRUE(game.Host().Closed());
  ASSERT_EQ(game.Host().OpenedTargets().size(), 1u);
  EXPECT_EQ(game.Host().OpenedTargets()[0], (game.Dir() / "setup.exe").string());
  EXPECT_TRUE(game.Host().Messages().empty());  // no quit question
}

TEST(FrameLoopTest, SkipModeResolvesClickWaitsAndDropsAContinueWait) {
  GameFixture game;
  game.Script("main", "\\one\n~two\n+three\n\\four\n");
  TForm1& engine = game.Start();
  game.RunToWait();
  engine.ctl.skipActive = true;
  game.Host().RunFrames(4);
  EXPECT_EQ(engine.script.lineBuffer, "\\four");
  // A continue wait is dropped, not resolved as a click.
  engine.ctl.waitKind = 2;
  engine.text.cursorRow = 3;
  game.Host().RunFrame();
  EXPECT_EQ(engine.text.cursorRow, 3);
}

TEST(ClosingTest, CloseAsksAndCancelContinues) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  TForm1& engine = game.Start();
  game.RunToWait();
  game.Host().QueueAnswer(MessageResult::Cancel);
  EXPECT_FALSE(engine.FormCloseQuery());
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(SjisToUtf8(game.Host().Messages()[0].text), "ゲームを終了しますか？");
  EXPECT_TRUE(engine.ctl.scriptRunning);
  EXPECT_TRUE(engine.FormCloseQuery());  // OK
}

TEST(ClosingTest, CloseDuringAnInterruptibleEffectIsDeferred) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  TForm1& engine = game.Start();
  engine.ctl.interruptibleWait = true;
  EXPECT_FALSE(engine.FormCloseQuery());
  EXPECT_EQ(engine.ctl.interruptRequest, 2);
  EXPECT_TRUE(game.Host().Messages().empty());
  engine.ctl.interruptibleWait = false;
  engine.ctl.blockingScene = true;
  EXPECT_FALSE(engine.FormCloseQuery());
  EXPECT_TRUE(game.Host().Messages().empty());
}

TEST(ClosingTest, PlayersCloseFromTheInputClosesAfterTheQuestion) {
  GameFixture game;
  game.Script("main", "\\wait\n");
  game.Start();
  InputScript input = ParseInputScript("100 answer cancel\n100 close\n300 close\n");
  ASSERT_EQ(input.error, "");
  game.Host().SetInput(input.events);
  game.Host().RunUntil(200);
  EXPECT_FALSE(game.Host().Closed());
  game.Host().RunUntil(400);
  EXPECT_TRUE(game.Host().Closed());
  EXPECT_EQ(game.Host().Messages().size(), 2u);
}

}  // namespace
}  // namespace torvel
