// Movies: which paths a script may open, the request to the host, the grace ticks, and ending by
// the player's stop or a click.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "resources/file_io.h"
#include "sound/movie_path.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::TempFolder;

struct PathCase {
  const char* name;
  const char* scriptPath;
  const char* found;  // relative to the game folder; empty when refused
};

class MoviePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(MoviePath, OnlyFilesInsideTheGameFolder) {
  TempFolder outside;
  TempFolder folder;
  const std::filesystem::path game = folder.Path() / "game";
  std::filesystem::create_directories(game / "movie");
  ASSERT_TRUE(WriteFileAtomically(game / "movie" / "op.mpg", std::vector<uint8_t>{1}));
  ASSERT_TRUE(WriteFileAtomically(game / "ed.mpg", std::vector<uint8_t>{1}));
  ASSERT_TRUE(WriteFileAtomically(folder.Path() / "secret.mpg", std::vector<uint8_t>{1}));
  ASSERT_TRUE(WriteFileAtomically(outside.Path() / "far.mpg", std::vector<uint8_t>{1}));
  std::filesystem::create_symlink(outside.Path() / "far.mpg", game / "link.mpg");
  std::filesystem::create_directory_symlink(outside.Path(), game / "away");
  std::filesystem::create_symlink(game / "ed.mpg", game / "inner.mpg");

  std::string scriptPath = GetParam().scriptPath;
  if (scriptPath == "ABSOLUTE") scriptPath = (game / "ed.mpg").string();
  const std::filesystem::path found = MovieFileInGame(game, scriptPath);
  if (std::string(GetParam().found).empty()) {
    EXPECT_TRUE(found.empty()) << found;
  } else {
    EXPECT_EQ(found, std::filesystem::canonical(game / GetParam().found));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sound, MoviePath,
    ::testing::Values(PathCase{"Plain", "ed.mpg", "ed.mpg"},
                      PathCase{"BackslashFolders", "movie\\op.mpg", "movie/op.mpg"},
                      PathCase{"SlashFolders", "movie/op.mpg", "movie/op.mpg"},
                      PathCase{"LinkInside", "inner.mpg", "ed.mpg"}, PathCase{"Missing", "none.mpg", ""},
                      PathCase{"Folder", "movie", ""}, PathCase{"Empty", "", ""}, PathCase{"Absolute", "ABSOLUTE", ""},
                      PathCase{"Parent", "..\\secret.mpg", ""}, PathCase{"ParentInside", "movie/../ed.mpg", ""},
                      PathCase{"LinkOut", "link.mpg", ""}, PathCase{"FolderLinkOut", "away/far.mpg", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class MovieGame : public ::testing::Test {
 protected:
  TForm1& Start() {
    game.Script("main", "@movie op.mpg\n!V001=1\n\\\n");
    game.Write();
    if (!WriteFileAtomically(game.Dir() / "op.mpg", std::vector<uint8_t>{1})) std::abort();
    TForm1& e = game.Start();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  GameFixture game;
};

TEST_F(MovieGame, PlaysUntilThePlayerStopsAfterTheGraceTicks) {
  Start();
  game.Host().SetMovieLength(300);  // shorter than the grace period
  game.Host().RunFrames(3);
  ASSERT_EQ(game.Host().MovieRequests().size(), 1u);
  EXPECT_EQ(game.Host().MovieRequests()[0].filename(), "op.mpg");
  EXPECT_TRUE(E().MoviePlaying());
  const int tick = E().ctl.timerCounter;
  while (E().MoviePlaying() && E().ctl.timerCounter < tick + 40) game.Host().RunFrames(1);
  EXPECT_FALSE(E().MoviePlaying());
  // 19 ticks count the grace down, the 20th finds the player stopped.
  EXPECT_GE(E().ctl.timerCounter - tick, 19);
  EXPECT_LE(E().ctl.timerCounter - tick, 21);
  EXPECT_EQ(game.Host().MovieStops(), 1);
}

TEST_F(MovieGame, ClickEndsItOnlyAfterTheGracePeriod) {
  Start();
  game.Host().SetMovieLength(60000);
  game.Host().RunFrames(3);
  ASSERT_TRUE(E().MoviePlaying());
  E().EndMovie();  // a click during the grace ticks
  EXPECT_TRUE(E().MoviePlaying());
  game.Host().RunUntil(game.Host().TickCount() + 25 * 55);
  ASSERT_TRUE(E().MoviePlaying());
  const uint32_t before = game.Host().TickCount();
  E().EndMovie();
  EXPECT_FALSE(E().MoviePlaying());
  EXPECT_EQ(game.Host().MovieStops(), 1);
  EXPECT_LT(game.Host().TickCount() - before, 3000u);
}

TEST_F(MovieGame, PlayersClickEndsItWithoutAdvancingTheText) {
  Start();
  game.Host().SetMovieLength(60000);
  game.Host().RunUntil(game.Host().TickCount() + 25 * 55);
  ASSERT_TRUE(E().MoviePlaying());
  ASSERT_EQ(E().ctl.waitKind, 1);
  E().PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
  EXPECT_FALSE(E().MoviePlaying());
  EXPECT_EQ(E().ctl.waitKind, 1);  // the page wait is still there
}

TEST_F(MovieGame, MovieThatDoesNotOpenIsSkipped) {
  Start();
  game.Host().SetMovieOpens(false);
  game.Host().RunFrames(4);
  EXPECT_EQ(game.Host().MovieRequests().size(), 1u);
  EXPECT_FALSE(E().MoviePlaying());
  EXPECT_EQ(E().vars.V(1), 1);
}

}  // namespace
}  // namespace torvel
