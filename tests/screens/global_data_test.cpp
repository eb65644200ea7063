// The global data files through the engine: merged at start-up and at every save and load,
// written whole, never losing a bit, and set aside when damaged.
#include <gtest/gtest.h>

#include "resources/settings_store.h"
#include "screens/global_data_file.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

class GlobalFiles : public ::testing::Test {
 protected:
  GlobalFiles() {
    AddSaveGameAssets(game);
    game.Script("main", "!S000=0\n!S028=1\n\\\n");
  }
  TForm1& Start() {
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  // Writes a valid save0.dat with `data` before the engine starts.
  void Prepare(const GlobalData& data) {
    game.Write();
    ASSERT_TRUE(WriteFileAtomically(game.Dir() / "save0.dat", EncodeGlobalData(data)));
  }
  std::vector<uint8_t> GlobalFile() { return FileBytes(game.Dir() / "save0.dat"); }
  TForm1& E() { return game.Engine(); }

  GameFixture game;
};

TEST_F(GlobalFiles, StartUpMakesTheFilesAndMergesWhatTheyHold) {
  GlobalData stored;
  stored.sceneFlags[0] = 0x04;     // E2
  stored.pictureSeen[1] = 0x01;    // D8
  stored.sceneSeen[249] = 0x80;    // C1999
  stored.readMarks[10000] = 0xFF;  // mark 80000 and bits past it
  stored.pictureSeen[500] = 0xAB;  // spare bytes, kept as they are
  stored.sceneSeen[255] = 0xCD;
  stored.SetSpriteCounter(1234567);
  Prepare(stored);
  Start();
  EXPECT_TRUE(E().vars.E.Test(2));
  EXPECT_TRUE(E().vars.D.Test(8));
  EXPECT_TRUE(E().vars.C.Test(1999));
  EXPECT_TRUE(E().text.readMarks.Test(80000));
  EXPECT_EQ(E().layers.spriteChanges, 1234567) << "the start-up reads the counter";
  const std::optional<GlobalData> written = DecodeGlobalData(GlobalFile());
  ASSERT_TRUE(written);
  EXPECT_EQ(written->readMarks[10000], 0x01) << "marks past 80000 are not kept";
  EXPECT_EQ(written->pictureSeen[500], 0xAB);
  EXPECT_EQ(written->sceneSeen[255], 0xCD);
  EXPECT_EQ(written->SpriteCounter(), 1234567u);
  EXPECT_EQ(FileBytes(game.Dir() / "kaiso.dat"), std::vector<uint8_t>(2640, 0));
}

TEST_F(GlobalFiles, BitsOnlyGainAndTheCounterIsStored) {
  Start();
  E().vars.E.Set(5);
  E().text.readMarks.Set(42);
  E().layers.spriteChanges = 77;
  // Another copy of the game added a flag meanwhile.
  std::optional<GlobalData> other = DecodeGlobalData(GlobalFile());
  ASSERT_TRUE(other);
  other->sceneFlags[0] |= 0x08;  // E3
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "save0.dat", EncodeGlobalData(*other)));
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_TRUE(E().vars.E.Test(3));
  EXPECT_TRUE(E().vars.E.Test(5));
  const std::optional<GlobalData> written = DecodeGlobalData(GlobalFile());
  ASSERT_TRUE(written);
  EXPECT_EQ(written->sceneFlags[0], 0x28);
  EXPECT_EQ(written->readMarks[5], 0x04);
  EXPECT_EQ(written->SpriteCounter(), 77u);
}

TEST_F(GlobalFiles, TwoWritesInARowGiveTheSameFile) {
  Start();
  E().vars.D.Set(100);
  ASSERT_TRUE(E().SaveGlobalData(0));
  const std::vector<uint8_t> first = GlobalFile();
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_EQ(GlobalFile(), first);
  EXPECT_EQ(first.size(), 11140u);
}

TEST_F(GlobalFiles, AMissingFileClearsTheReadMarksInMemory) {
  Start();
  E().text.readMarks.Set(9);
  E().vars.E.Set(9);
  std::filesystem::remove(game.Dir() / "save0.dat");
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_FALSE(E().text.readMarks.Test(9));
  EXPECT_TRUE(E().vars.E.Test(9));
  EXPECT_TRUE(DecodeGlobalData(GlobalFile()));
}

TEST_F(GlobalFiles, ADamagedFileIsSetAsideAndMemoryKeepsItsFlagsAndMarks) {
  Start();
  E().text.readMarks.Set(9);
  E().vars.E.Set(9);
  std::vector<uint8_t> damaged = GlobalFile();
  damaged[300] ^= 1;
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "save0.dat", damaged));
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_EQ(FileBytes(game.Dir() / "save0.dat.damaged"), damaged);
  EXPECT_TRUE(E().text.readMarks.Test(9));
  const std::optional<GlobalData> written = DecodeGlobalData(GlobalFile());
  ASSERT_TRUE(written);
  EXPECT_EQ(written->sceneFlags[1], 0x02);
  EXPECT_EQ(written->readMarks[1], 0x02);
  EXPECT_EQ(written->pictureSeen[300 - 128], 0) << "nothing of the damaged file came in";
}

TEST_F(GlobalFiles, ACorruptOrShortFileAtStartUpIsNotMerged) {
  game.Write();
  GlobalData stored;
  stored.sceneFlags[0] = 0xFF;
  std::vector<uint8_t> bytes = EncodeGlobalData(stored);
  bytes.resize(11000);
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "save0.dat", bytes));
  Start();
  EXPECT_FALSE(E().vars.E.Test(0));
  EXPECT_EQ(FileBytes(game.Dir() / "save0.dat.damaged"), bytes);
  EXPECT_TRUE(DecodeGlobalData(GlobalFile()));
}

TEST_F(GlobalFiles, GlobalVariablesAndThePlayListsAreWrittenEachTime) {
  Start();
  for (int i = 0; i < 10; ++i) E().vars.G(i) = 100 + i;
  E().recollection.playLists[3][0] = 12;
  E().recollection.names[3] = {'m', 'y'};
  ASSERT_TRUE(E().SaveGlobalData(0));
  SettingsStore store(game.Dir() / "config", "Software\\TestMaker", "alpha");
  store.Load();
  for (int i = 0; i < 10; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "GV%02d", i);
    EXPECT_EQ(store.ReadInt(name, -1), 100 + i) << name;
  }
  const std::vector<uint8_t> kaiso = FileBytes(game.Dir() / "kaiso.dat");
  ASSERT_EQ(kaiso.size(), 2640u);
  EXPECT_EQ(kaiso[4 * 150], 12);
  EXPECT_EQ(kaiso[2000 + 3 * 64], 'm');
}

TEST_F(GlobalFiles, ThePlayListsAreReadAtStartUp) {
  game.Write();
  std::vector<uint8_t> kaiso(204, 0);  // short: the rest reads as zero
  kaiso[4 * 50] = 3;
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "kaiso.dat", kaiso));
  Start();
  EXPECT_EQ(E().recollection.playLists[1][0], 3);
  EXPECT_EQ(FileBytes(game.Dir() / "kaiso.dat").size(), 2640u);
}

}  // namespace
}  // namespace torvel
