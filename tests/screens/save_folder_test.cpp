// Where the save files go when the game's own folder cannot be written.
#include <gtest/gtest.h>

#include <sstream>

#include "resources/storage_paths.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

class SaveFolder : public ::testing::Test {
 protected:
  SaveFolder() {
    AddSaveGameAssets(game);
    game.Script("main", "!S000=0\n!S028=1\n\\\n");
  }
  TForm1& Start(bool writable) {
    game.GameDirWritable(writable);
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  std::filesystem::path DataFolder() { return game.Dir() / "config" / "data" / "software" / "testmaker" / "alpha"; }

  GameFixture game;
};

TEST_F(SaveFolder, AWritableGameFolderKeepsTheFiles) {
  TForm1& e = Start(true);
  EXPECT_EQ(e.SaveFolder(), game.Dir());
  EXPECT_TRUE(std::filesystem::exists(game.Dir() / "save0.dat"));
  EXPECT_TRUE(std::filesystem::exists(game.Dir() / "kaiso.dat"));
  ASSERT_TRUE(e.SaveGame(1, true));
  EXPECT_TRUE(std::filesystem::exists(game.Dir() / "save" / "save01.dat"));
}

TEST_F(SaveFolder, AReadOnlyGameFolderSavesInThePlayersDataFolderAndCopiesItsSavesOnce) {
  // The game folder's saves from before, as the original engine left them.
  TForm1& first = Start(true);
  ASSERT_TRUE(first.SaveGame(3, true));
  const std::vector<uint8_t> slot3 = FileBytes(game.Dir() / "save" / "save03.dat");
  const std::vector<uint8_t> global = FileBytes(game.Dir() / "save0.dat");

  TForm1& e = Start(false);
  EXPECT_EQ(e.SaveFolder(), DataFolder());
  EXPECT_EQ(FileBytes(DataFolder() / "save" / "save03.dat"), slot3);
  EXPECT_EQ(FileBytes(DataFolder() / "save0.dat").size(), global.size());
  EXPECT_TRUE(std::filesystem::exists(DataFolder() / "kaiso.dat"));
  ASSERT_TRUE(e.LoadGame(3, true));
  ASSERT_TRUE(e.SaveGame(4, true));
  EXPECT_TRUE(std::filesystem::exists(DataFolder() / "save" / "save04.dat"));
  EXPECT_FALSE(std::filesystem::exists(game.Dir() / "save" / "save04.dat"));
  EXPECT_NE(e.DescribeState().find("\"saveFolder\":\"" + DataFolder().string() + "\""), std::string::npos);

  // Copied once: a later start takes nothing more from the game folder.
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "save" / "save05.dat", slot3));
  std::filesystem::remove(DataFolder() / "save" / "save03.dat");
  Start(false);
  EXPECT_FALSE(std::filesystem::exists(DataFolder() / "save" / "save05.dat"));
  EXPECT_FALSE(std::filesystem::exists(DataFolder() / "save" / "save03.dat"));
}

TEST_F(SaveFolder, PathsPrintsTheFolderInUse) {
  game.Write();
  std::ostringstream out;
  ASSERT_EQ(PrintStoragePaths(game.Dir(), game.Dir() / "config", out, game.Dir() / "data", false), 0);
  const std::string expected = (game.Dir() / "data" / "software" / "testmaker" / "alpha").string();
  EXPECT_NE(out.str().find("saves:        " + expected + "/save\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("global data:  " + expected + "/save0.dat\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(game.Dir() / "data")) << "printing writes nothing";
}

}  // namespace
}  // namespace torvel
