// Saving and loading through the real engine on the headless host: what a slot file holds, what a
// load brings back, and what happens when the disk or the file lets the player down.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <string>

#include "platform/headless/input_script.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

// The story: saving allowed, a title, a picture with a sprite, music, a speaker and a page; then
// a second page on another background.
constexpr const char* kStory =
    "!S000=0\n"
    "!S028=1\n"
    "@title 夜明けの駅\n"
    "@gra AB01,1\n"
    "@spr BC01\n"
    "@music 1\n"
    "!V001=11\n"
    "!V200=7\n"
    "!V201=8\n"
    "!V202=9\n"
    ">少女\n"
    "おはようございます。\n"
    "\\\n"
    "!V001=22\n"
    "@gra AB02,1\n"
    "次のページ。\n"
    "\\\n";

class Saves : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& main = kStory) {
    AddSaveGameAssets(game);
    game.Script("main", main);
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  std::filesystem::path Slot(int n) { return E().SlotFile(n); }
  RecordingSoundDevice& Device() { return game.Host().Sound(); }
  // Names of the sounds created in a slot since the last ClearCalls.
  std::vector<std::string> Played(int slot) {
    std::vector<std::string> names;
    for (const SoundCall& c : Device().CallsOf(SoundOp::Create)) {
      if (c.slot == slot) names.push_back(c.name);
    }
    return names;
  }
  void NextPage() {
    game.Host().RunFrames(3);
    game.Click();
    game.RunToWait();
  }
  std::string Banner() { return SjisToUtf8(E().saves.lastBanner); }

  GameFixture game;
};

TEST_F(Saves, ASaveHoldsTheStoryAndALoadBringsItBack) {
  Start();
  ASSERT_EQ(E().ctl.waitKind, 1);
  const int pc = E().script.pc;
  const std::string firstRow = PageRow(E(), 1);
  Device().ClearCalls();
  ASSERT_TRUE(E().SaveGame(3, false));
  EXPECT_EQ(Banner(), "セーブしました");
  EXPECT_EQ(Played(kEffectSlot), std::vector<std::string>{"SSE05"});

  const std::vector<uint8_t> file = FileBytes(Slot(3));
  ASSERT_EQ(file.size(), kSlotEnd);
  EXPECT_EQ(Le32At(file, kSlotVars + 4), 11);
  EXPECT_EQ(StateAt(file, 26), pc);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[kSlotNames + 300])), "main");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[kSlotNames + 330])), "AB01");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[kSlotNames + 360])), "BC01");
  // The thumbnail is the scene: the background's colour where no sprite stands.
  EXPECT_EQ(file[kSlotThumbnail], 40);
  EXPECT_EQ(file[kSlotThumbnail + 1], 80);
  EXPECT_EQ(file[kSlotThumbnail + 2], 120);

  NextPage();
  ASSERT_EQ(E().vars.V(1), 22);
  ASSERT_EQ(E().layers.backgroundName, "AB02");
  E().vars.G(6) = 0;
  E().textWindow.page.large[1][0] = true;  // a large character on the page being left
  Device().ClearCalls();
  ASSERT_TRUE(E().LoadGame(3, false));
  EXPECT_FALSE(E().textWindow.page.large[1][0]);
  EXPECT_EQ(Banner(), "ロードします");
  EXPECT_EQ(E().vars.V(1), 11);
  EXPECT_EQ(E().script.pc, pc);
  EXPECT_EQ(E().ctl.waitKind, 1);
  EXPECT_EQ(PageRow(E(), 1), firstRow);
  EXPECT_EQ(E().layers.backgroundName, "AB01");
  EXPECT_EQ(E().layers.spriteCount, 1);
  EXPECT_EQ(E().layers.lastTransition, 10);
  EXPECT_EQ((std::array<int, 3>{E().vars.G(6), E().vars.G(7), E().vars.G(8)}), (std::array<int, 3>{7, 8, 9}));
  // The picture is the saved scene again, with the window over it.
  EXPECT_EQ(Px(game.Host().Window(), 5, 5), (Bgr{40, 80, 120}));
  EXPECT_EQ(Played(kEffectSlot), std::vector<std::string>{"SSE06"});
  EXPECT_EQ(Played(kMusicSlot), std::vector<std::string>{"M01"}) << "the track of the save plays again";
  EXPECT_EQ(E().vars.S(5), 1);
  // In the order of a load: everything stops (the music too), then the load sound, then the saved
  // music from its start.
  const std::vector<SoundCall>& calls = Device().Calls();
  auto first = [&](auto match) { return std::find_if(calls.begin(), calls.end(), match) - calls.begin(); };
  const auto sound = first([](const SoundCall& c) { return c.op == SoundOp::Create && c.name == "SSE06"; });
  const auto music = first([](const SoundCall& c) { return c.op == SoundOp::Create && c.name == "M01"; });
  const auto stop = first([](const SoundCall& c) { return c.op == SoundOp::Release && c.slot == kMusicSlot; });
  EXPECT_LT(stop, sound);
  EXPECT_LT(sound, music);

  // The story goes on from there.
  NextPage();
  EXPECT_EQ(E().vars.V(1), 22);
}

TEST_F(Saves, SavingALoadedGameWritesTheSameFileButForTheTimeAndTheThumbnail) {
  Start();
  ASSERT_TRUE(E().SaveGame(1, true));
  NextPage();
  game.Host().RunUntil(game.Host().TickCount() + 3000);
  ASSERT_TRUE(E().LoadGame(1, true));
  ASSERT_TRUE(E().SaveGame(2, true));
  std::vector<uint8_t> first = FileBytes(Slot(1));
  std::vector<uint8_t> second = FileBytes(Slot(2));
  ASSERT_EQ(first.size(), kSlotEnd);
  ASSERT_EQ(second.size(), kSlotEnd);
  EXPECT_NE(std::vector<uint8_t>(first.begin(), first.begin() + 19),
            std::vector<uint8_t>(second.begin(), second.begin() + 19));
  std::fill(first.begin(), first.begin() + 19, 0);
  std::fill(second.begin(), second.begin() + 19, 0);
  std::fill(first.begin() + kSlotThumbnail, first.end(), 0);
  std::fill(second.begin() + kSlotThumbnail, second.end(), 0);
  size_t differ = 0;
  while (differ < first.size() && first[differ] == second[differ]) ++differ;
  EXPECT_EQ(differ, first.size()) << "first difference at byte " << differ;
}

TEST_F(Saves, BytesTheEngineOnlyKeepsAreWrittenAsTheyWereLoaded) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  std::vector<uint8_t> file = FileBytes(Slot(2));
  file[256] = 0x5A;  // reserved block
  file[256 + 1023] = 0xA5;
  file[kSlotState + 4 * 16] = 77;                                                               // reserved flag
  for (size_t i = 0; i < 20; ++i) file[kSlotNames + 540 + i] = static_cast<uint8_t>(0xE0 + i);  // text buffer
  ASSERT_TRUE(WriteFileAtomically(Slot(2), file));
  ASSERT_TRUE(E().LoadGame(2, true));
  ASSERT_TRUE(E().SaveGame(3, true));
  const std::vector<uint8_t> again = FileBytes(Slot(3));
  EXPECT_EQ(again[256], 0x5A);
  EXPECT_EQ(again[256 + 1023], 0xA5);
  EXPECT_EQ(StateAt(again, 16), 77);
  EXPECT_EQ(std::vector<uint8_t>(again.begin() + kSlotNames + 540, again.begin() + kSlotNames + 560),
            std::vector<uint8_t>(file.begin() + kSlotNames + 540, file.begin() + kSlotNames + 560));
}

TEST_F(Saves, TheLabelCarriesTheTimeAndTheSceneTitleAndTheCommentIsEmpty) {
  Start();
  game.Host().RunUntil(65000);
  ASSERT_TRUE(E().SaveGame(7, true));
  const std::vector<uint8_t> file = FileBytes(Slot(7));
  const std::string label(reinterpret_cast<const char*>(&file[kSlotLabel]));
  EXPECT_EQ(SjisToUtf8(label), "2000/01/01 00:01:05  夜明けの駅");
  EXPECT_TRUE(std::all_of(file.begin() + static_cast<long>(label.size()), file.begin() + 128,
                          [](uint8_t b) { return b == 0; }));
}

TEST_F(Saves, QuickSaveWritesSlot99WithItsCommentShowsTheBannerAndPlaysNoSound) {
  Start();
  Device().ClearCalls();
  char q = 'q';
  E().FormKeyPress(q);
  const std::vector<uint8_t> file = FileBytes(Slot(99));
  ASSERT_EQ(file.size(), kSlotEnd);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[kSlotComment]), 32), "Quick Save" + std::string(22, '\0'));
  EXPECT_EQ(Banner(), "セーブしました");
  EXPECT_TRUE(Played(kEffectSlot).empty());
  EXPECT_EQ(E().settings.LastSaveSlot, 0) << "slot 99 is above 60";
}

TEST_F(Saves, SoundsAndBannersFollowTheSlotAndQuiet) {
  Start();
  Device().ClearCalls();
  ASSERT_TRUE(E().SaveGame(20, true));
  EXPECT_TRUE(Played(kEffectSlot).empty());
  EXPECT_EQ(Banner(), "");
  ASSERT_TRUE(E().SaveGame(21, false));
  EXPECT_TRUE(Played(kEffectSlot).empty());
  EXPECT_EQ(Banner(), "セーブしました");

  E().saves.lastBanner.clear();
  ASSERT_TRUE(E().LoadGame(21, true));
  EXPECT_TRUE(Played(kEffectSlot).empty());
  EXPECT_EQ(Banner(), "");
  ASSERT_TRUE(E().LoadGame(20, true));
  EXPECT_EQ(Played(kEffectSlot), std::vector<std::string>{"SSE06"}) << "every load of slots 1..20 sounds";
  EXPECT_EQ(Banner(), "");
}

TEST_F(Saves, LastSaveSlotRemembersSlotsUpTo60) {
  Start();
  ASSERT_TRUE(E().SaveGame(60, true));
  ASSERT_TRUE(E().SaveGame(61, true));
  EXPECT_EQ(E().settings.LastSaveSlot, 60);
  EXPECT_EQ(E().ReadSetting("LastSaveSlot", 0), 60);
}

TEST_F(Saves, SlotsOutsideOneTo99AreNeitherSavedNorLoaded) {
  Start();
  EXPECT_FALSE(E().SaveGame(0, true));
  EXPECT_FALSE(E().SaveGame(100, true));
  EXPECT_FALSE(E().LoadGame(0, true));
  EXPECT_FALSE(std::filesystem::exists(game.Dir() / "save" / "save00.dat"));
}

// A choice on screen is offered again after a load; `backto` moves the place to go back to.
TEST_F(Saves, AChoiceSavedOnScreenIsOfferedAgain) {
  Start(
      "!S000=0\n!S028=1\n"
      "!V001=1\n"
      "@select\n{North\n!V002=1\n\\went north\n{South\n!V002=2\n\\went south\n}\n\\after\n");
  ASSERT_EQ(E().ctl.choiceMode, 1);
  const int selectLine = E().script.lineStart;
  ASSERT_TRUE(E().SaveGame(4, true));
  EXPECT_EQ(StateAt(FileBytes(Slot(4)), 26), selectLine);
  E().vars.V(1) = 5;
  ASSERT_TRUE(E().LoadGame(4, true));
  EXPECT_EQ(E().ctl.choiceMode, 0);
  EXPECT_EQ(E().script.pc, selectLine);
  game.RunToWait();
  EXPECT_EQ(E().ctl.choiceMode, 1) << "the choice is on screen again";
  EXPECT_EQ(E().vars.V(1), 1);
}

TEST_F(Saves, BacktoSetsWhereASavedChoiceResumes) {
  Start(
      "!S000=0\n!S028=1\n"
      "@backto\n"
      "!V003=V003+1\n"
      "@select\n{North\n\\went north\n{South\n\\went south\n}\n");
  ASSERT_EQ(E().ctl.choiceMode, 1);
  ASSERT_EQ(E().vars.V(3), 1);
  const int backto = E().vars.S(10);
  ASSERT_GT(backto, 0);
  ASSERT_TRUE(E().SaveGame(4, true));
  EXPECT_EQ(StateAt(FileBytes(Slot(4)), 26), backto);
  ASSERT_TRUE(E().LoadGame(4, true));
  game.RunToWait();
  EXPECT_EQ(E().ctl.choiceMode, 1);
  EXPECT_EQ(E().vars.V(3), 2) << "the lines after `backto` ran again";
}

TEST_F(Saves, OnTheTitleMapTheStoryIsSavedAtTheMapsLine) {
  Start();
  E().ctl.screenMode = smTitleMap;
  const int lineStart = E().script.lineStart;
  ASSERT_TRUE(E().SaveGame(9, true));
  const std::vector<uint8_t> file = FileBytes(Slot(9));
  EXPECT_EQ(StateAt(file, 14), 0);
  EXPECT_EQ(StateAt(file, 26), lineStart);
  const std::string label(reinterpret_cast<const char*>(&file[kSlotLabel]));
  EXPECT_EQ(SjisToUtf8(label.substr(19)), "  夜明けの駅(Map)");
  E().ctl.screenMode = smScenario;
  NextPage();
  ASSERT_TRUE(E().LoadGame(9, true));
  EXPECT_EQ(E().ctl.screenMode, smScenario);
  EXPECT_EQ(E().layers.backgroundName, "AB01");
  EXPECT_EQ(E().script.pc, lineStart);
}

TEST_F(Saves, ALoadWithoutMusicLeavesTheMusicStopped) {
  Start(
      "!S000=0\n!S028=1\n@gra AB01,1\n\\\n"
      "@music 1\n\\\n");
  ASSERT_EQ(E().vars.S(5), 0);
  ASSERT_TRUE(E().SaveGame(2, true));
  NextPage();
  ASSERT_EQ(E().vars.S(5), 1);
  ASSERT_TRUE(Device().Status(kMusicSlot).playing);
  Device().ClearCalls();
  ASSERT_TRUE(E().LoadGame(2, true));
  EXPECT_EQ(E().vars.S(5), 0);
  EXPECT_FALSE(Device().Filled(kMusicSlot));
  EXPECT_TRUE(Played(kMusicSlot).empty());
}

TEST_F(Saves, TheLoopingEffectComesBackUnlessItsCategoryIsOff) {
  Start("!S000=0\n!S028=1\n@seloop SEH1_RAIN\n\\\n@seoff\n\\\n");
  ASSERT_TRUE(Device().Status(kLoopEffectSlot).looping);
  ASSERT_TRUE(E().SaveGame(2, true));
  NextPage();
  ASSERT_FALSE(Device().Filled(kLoopEffectSlot));
  ASSERT_TRUE(E().LoadGame(2, true));
  EXPECT_TRUE(Device().Status(kLoopEffectSlot).playing);
  EXPECT_TRUE(Device().Status(kLoopEffectSlot).looping);
  EXPECT_EQ(E().sound.loopEffectName, "SEH1_RAIN");

  E().settings.SE[1] = 0;
  ASSERT_TRUE(E().LoadGame(2, true));
  EXPECT_FALSE(Device().Filled(kLoopEffectSlot)) << "category 1 is switched off";
  EXPECT_EQ(E().sound.loopEffectName, "SEH1_RAIN") << "kept for the next save";
}

TEST_F(Saves, TheCurrentPlayerNamesReplaceTheSavedOnes) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  E().settings.PlayerName = Utf8ToSjis("透");
  E().vars.S(6) = 0;
  ASSERT_TRUE(E().LoadGame(2, true));
  EXPECT_EQ(SjisToUtf8(E().text.nameSlots[0]), "透");
  EXPECT_EQ(E().vars.S(6), 1);
  EXPECT_EQ(SjisToUtf8(E().text.nameSlots[9]), "夜明けの駅");
}

TEST_F(Saves, TheBacklogComesBackAndItsLastRecordAndThePagesVoicesAreEmptied) {
  Start();
  E().text.backlog.Append("half a line");
  const int lines = E().text.backlog.Lines();
  ASSERT_TRUE(E().SaveGame(2, true));
  E().text.backlog.Clear();
  for (int i = 0; i < 200; ++i) {
    E().text.backlog.Append("old" + std::to_string(i));
    E().text.backlog.CloseLine();
  }
  E().text.backlog.Append("stale");
  E().sound.pageVoices = "V001 ";
  ASSERT_TRUE(E().LoadGame(2, true));
  EXPECT_EQ(E().text.backlog.Lines(), lines);
  EXPECT_EQ(E().text.backlog.Line(200), "");
  EXPECT_EQ(E().text.backlog.Building().substr(E().text.backlog.Building().size() - 11), "half a line");
  EXPECT_EQ(E().sound.pageVoices, "");
  E().text.backlog.Append("!");
  EXPECT_EQ(E().text.backlog.Building().back(), '!') << "the line goes on where it stood";
}

// ---- failures ----

// Limits the size of files this process writes, as a full disk would; writes past it fail.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, SIG_DFL);
  }

 private:
  rlimit old_{};
};

TEST_F(Saves, AFailedWriteIsNeverReportedAsSavedAndKeepsTheOldFile) {
  Start();
  ASSERT_TRUE(E().SaveGame(5, true));
  const std::vector<uint8_t> old = FileBytes(Slot(5));
  NextPage();
  E().saves.lastBanner.clear();
  {
    FileSizeLimit limit(100000);  // less than a slot file
    EXPECT_FALSE(E().SaveGame(5, true));
    EXPECT_FALSE(E().SaveGame(6, false));
  }
  EXPECT_EQ(Banner(), "セーブできませんでした") << "shown even for a quiet save";
  EXPECT_EQ(FileBytes(Slot(5)), old);
  EXPECT_FALSE(std::filesystem::exists(Slot(6)));
  EXPECT_EQ(E().settings.LastSaveSlot, 5);
  EXPECT_EQ(E().ReadSetting("LastSaveSlot", 0), 5);
  // No temporary file is left behind.
  for (const auto& entry : std::filesystem::directory_iterator(game.Dir() / "save")) {
    EXPECT_TRUE(entry.path().filename() == "save05.dat") << entry.path();
  }
}

TEST_F(Saves, ASaveFolderThatCannotBeMadeFailsTheSave) {
  AddSaveGameAssets(game);
  game.Script("main", kStory);
  game.Write();
  WriteFileAtomically(game.Dir() / "save", std::string("not a folder"));
  game.Start();
  game.RunToWait();
  EXPECT_FALSE(E().SaveGame(1, false));
  EXPECT_EQ(Banner(), "セーブできませんでした");
}

TEST_F(Saves, GlobalDataThatCannotBeWrittenFailsTheSave) {
  Start();
  std::filesystem::remove(game.Dir() / "save0.dat");
  std::filesystem::create_directory(game.Dir() / "save0.dat");
  EXPECT_FALSE(E().SaveGame(1, true));
  EXPECT_EQ(Banner(), "セーブできませんでした");
  EXPECT_EQ(E().settings.LastSaveSlot, 0);
}

TEST_F(Saves, ARefusedLoadLeavesTheGameAsItWas) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  std::vector<uint8_t> file = FileBytes(Slot(2));
  file[kSlotState] = 10;  // a call depth of ten
  ASSERT_TRUE(WriteFileAtomically(Slot(2), file));
  std::filesystem::create_directory(Slot(3));  // a slot that cannot be read
  NextPage();
  const int pc = E().script.pc;
  Device().ClearCalls();
  EXPECT_FALSE(E().LoadGame(2, false));
  EXPECT_EQ(Banner(), "ロードできませんでした");
  EXPECT_EQ(E().vars.V(1), 22);
  EXPECT_EQ(E().script.pc, pc);
  EXPECT_EQ(E().layers.backgroundName, "AB02");
  EXPECT_TRUE(E().ctl.scriptRunning);
  EXPECT_FALSE(E().ctl.blockingScene);
  EXPECT_TRUE(Device().CallsOf(SoundOp::Stop).empty()) << "nothing was stopped";
  E().saves.lastBanner.clear();
  EXPECT_FALSE(E().LoadGame(3, true));
  EXPECT_EQ(Banner(), "ロードできませんでした");
  E().saves.lastBanner.clear();
  EXPECT_FALSE(E().LoadGame(4, true)) << "no file: nothing happens";
  EXPECT_EQ(Banner(), "");
}

TEST_F(Saves, AShortFileIsReadAsFarAsItGoes) {
  Start();
  ASSERT_TRUE(E().SaveGame(2, true));
  std::vector<uint8_t> file = FileBytes(Slot(2));
  file.resize(34898);  // through the names record
  ASSERT_TRUE(WriteFileAtomically(Slot(2), file));
  NextPage();
  ASSERT_TRUE(E().LoadGame(2, true));
  EXPECT_EQ(E().vars.V(1), 11);
  EXPECT_EQ(E().text.nameSlots[9], "") << "the scene title was past the end";
  EXPECT_EQ(E().text.nameSlots[0], E().settings.PlayerName);
}

// ---- the comment writer, the state report and the headless input lines ----

TEST_F(Saves, WriteSlotCommentReplacesOnlyTheComment) {
  Start();
  ASSERT_TRUE(E().SaveGame(8, true));
  std::vector<uint8_t> before = FileBytes(Slot(8));
  const std::string kanji = Utf8ToSjis("駅");
  ASSERT_TRUE(E().WriteSlotComment(8, std::string(29, 'c') + kanji));
  std::vector<uint8_t> after = FileBytes(Slot(8));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&after[kSlotComment]), 32),
            std::string(29, 'c') + std::string(3, '\0'));
  std::fill(before.begin() + kSlotComment, before.begin() + 128, 0);
  std::fill(after.begin() + kSlotComment, after.begin() + 128, 0);
  EXPECT_EQ(before, after);
  EXPECT_FALSE(E().WriteSlotComment(9, "none"));
  EXPECT_FALSE(std::filesystem::exists(Slot(9)));
}

TEST_F(Saves, TheStateReportListsTheSlotsTheFolderAndTheLastBanner) {
  Start();
  game.Host().RunUntil(125000);
  ASSERT_TRUE(E().SaveGame(12, false));
  ASSERT_TRUE(E().WriteSlotComment(12, "memo"));
  std::vector<uint8_t> file = FileBytes(Slot(12));
  file[kSlotNames + 300] = 'x';  // a loaded script that is not there
  ASSERT_TRUE(WriteFileAtomically(Slot(3), file));
  const std::string state = E().DescribeState();
  const int pc = StateAt(file, 26);
  EXPECT_NE(state.find("\"saveFolder\":\"" + game.Dir().string() + "\""), std::string::npos);
  EXPECT_NE(state.find("\"saves\":[{\"slot\":3,\"time\":\"2000/01/01 00:02:05\",\"title\":\"夜明けの駅\","
                       "\"comment\":\"memo\",\"script\":\"xain\",\"pc\":" +
                       std::to_string(pc) + ",\"valid\":false},{\"slot\":12,"),
            std::string::npos)
      << state;
  EXPECT_NE(state.find("\"script\":\"main\",\"pc\":" + std::to_string(pc) + ",\"valid\":true}]"), std::string::npos);
  EXPECT_NE(state.find("\"lastBanner\":\"セーブしました\""), std::string::npos);
}

TEST_F(Saves, HeadlessSaveAndLoadLinesActWhereTheKeysWould) {
  Start();
  const uint32_t now = game.Host().TickCount();
  InputScript input =
      ParseInputScript(std::to_string(now + 10) + " save 14\n" + std::to_string(now + 2000) + " load 14\n");
  ASSERT_EQ(input.error, "");
  E().vars.V(1) = 99;
  game.Host().SetInput(input.events);
  game.Host().RunUntil(now + 1000);
  EXPECT_TRUE(std::filesystem::exists(Slot(14)));
  EXPECT_EQ(Banner(), "セーブしました");
  E().vars.V(1) = 5;
  game.Host().RunUntil(now + 3000);
  EXPECT_EQ(Banner(), "ロードします");
  EXPECT_EQ(E().vars.V(1), 99) << "saved with 99";

  // S000 = 3 locks saving and loading: the lines do nothing.
  E().vars.S(0) = 3;
  const uint32_t later = game.Host().TickCount();
  game.Host().SetInput(ParseInputScript(std::to_string(later + 10) + " save 15\n").events);
  game.Host().RunUntil(later + 100);
  EXPECT_FALSE(std::filesystem::exists(Slot(15)));
}

}  // namespace
}  // namespace torvel
