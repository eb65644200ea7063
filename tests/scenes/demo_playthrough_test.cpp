// The two demos played by their playthrough inputs from start to their own exitgame, as an author
// runs them: `torvel --headless --seed 1` on a copy of the built game in a scratch folder. Every
// state checkpoint of the inputs is checked: the screen mode of each screen, the save and load
// screens, the backlog, the page history, the configuration screen, the questions, the dialog
// windows with their answers, and the window closed at the end; the title menu and the plain
// demo's band-look question are checked by their pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/picture_test_support.h"
#include "graphics/png_io.h"
#include "support/built_demo.h"
#include "support/game_fixture.h"
#include "support/program_run.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;
using testing::Bgr;
using testing::Px;

const fs::path kBuild = TORVEL_BINARY_DIR;
const fs::path kSource = TORVEL_SOURCE_DIR;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// One playthrough: the built game copied into a scratch folder, the input played there.
class Playthrough {
 public:
  Playthrough(const std::string& game, const fs::path& input) {
    testing::CopyBuiltDemo(game.c_str(), folder_.Path() / "game");
    fs::create_directories(folder_.Path() / "config");
    run_ = testing::RunCommand("cd " + folder_.Path().string() + " && XDG_CONFIG_HOME=" +
                               (folder_.Path() / "config").string() + " " + (kBuild / "src" / "torvel").string() +
                               " --headless --seed 1 --input " + input.string() + " --state end.json game 2>&1");
  }
  const testing::ProgramRun& Run() const { return run_; }
  // The state a checkpoint wrote (empty when it wrote none).
  std::string State(const std::string& name) const { return ReadText(folder_.Path() / (name + ".json")); }
  Bitmap Shot(const std::string& name) const {
    Bitmap b;
    EXPECT_TRUE(ReadPng(folder_.Path() / (name + ".png"), b)) << name;
    return b;
  }

 private:
  testing::TempFolder folder_;
  testing::ProgramRun run_;
};

struct Checkpoint {
  const char* name;
  int screenMode;
  std::vector<const char*> shows;  // parts of the state text
};

void ExpectCheckpoints(const Playthrough& play, const std::vector<Checkpoint>& checkpoints) {
  for (const Checkpoint& c : checkpoints) {
    const std::string state = play.State(c.name);
    ASSERT_FALSE(state.empty()) << c.name << " was not written\n" << play.Run().output;
    EXPECT_NE(state.find("\"screenMode\":" + std::to_string(c.screenMode) + ","), std::string::npos)
        << c.name << " screen mode " << c.screenMode;
    for (const char* part : c.shows) EXPECT_NE(state.find(part), std::string::npos) << c.name << ": " << part;
  }
}

TEST(DemoPlaythrough, TheDemoFromItsTitleMenuThroughEveryScreenToItsExit) {
  const Playthrough play("game", kSource / "demo" / "playthrough.input");
  ASSERT_EQ(play.Run().code, 0) << play.Run().output;
  // The only message box is the quit question, answered OK.
  EXPECT_EQ(play.Run().output, "確認: ゲームを終了しますか？\n");
  const char* closedNo = "\"windowClosed\":false";
  ExpectCheckpoints(
      play,
      {
          {"01_title", 0, {"\"current\":\"STITLE\"", "\"choiceMode\":1", closedNo}},
          {"02_backlog",
           0,
           {"\"current\":\"lookback\"", "\"backlog\":{\"open\":true,", "\"nameSlots\":[\"奏\",\"かなで\",\"朝倉\","}},
          {"03_page_history", 9, {"\"backlog\":{\"open\":false,", "\"pageHistory\":{\"count\":14,\"position\":2,"}},
          {"04_window_hidden", 1, {"\"waitKind\":1"}},
          {"05_config", 0, {"\"config\":{\"open\":true", "\"Delay\":0,", "\"FONTBold\":0,"}},
          // The detail button's settings dialog took its answers and closed the screen with it.
          {"06_config_after_settings_dialog", 0, {"\"config\":{\"open\":false", "\"Delay\":1,", "\"FONTBold\":1,"}},
          {"07_question", 0, {"\"dialog\":{\"kind\":1,"}},
          {"08_question_refused", 0, {"\"dialog\":{\"kind\":0,", "\"current\":\"lookback\""}},
          {"09_save_screen", 0, {"\"saveScreen\":{\"open\":true,\"mode\":1,\"page\":0,", "\"saves\":[]"}},
          {"10_scroll", 7, {"\"current\":\"chapter2\"", "\"saves\":[{\"slot\":1,", "\"title\":\"改札の向こう\""}},
          {"11_status", 10, {"\"current\":\"chapter2\""}},
          {"12_map", 4, {"\"titleMap\":{\"step\":2,", "\"first\":\"駅前通り\",\"second\":\"灯台\""}},
          {"13_page_roll", 3, {"\"current\":\"ending\"", "\"staffRoll\":{\"kind\":\"page\","}},
          {"14_back_at_title", 0, {"\"current\":\"STITLE\"", "\"choiceMode\":1", "\"callDepth\":0"}},
          {"15_gallery", 6, {"\"viewer\":{\"page\":\"VIEW_1\","}},
          {"16_scene_replay", 0, {"\"current\":\"LOOKBACK\"", "\"replayMode\":1"}},
          {"17_back_in_gallery", 6, {"\"viewer\":{\"page\":\"VIEW_2\",", "\"replayMode\":0"}},
          {"18_music_room", 6, {"\"viewer\":{\"page\":\"VIEW_3\",", "\"musicCell\":2,"}},
          {"19_recollection", 8, {"\"recollection\":{\"open\":true,"}},
          {"20_play_list", 8, {"\"slots\":[{\"name\":\"Record Slot 1\",\"list\":[2,3]}"}},
          {"21_list_plays", 0, {"\"current\":\"k_PROLOGUE\"", "\"replayMode\":2"}},
          {"22_next_scene", 0, {"\"current\":\"k_CHAPTER1\"", "\"replayMode\":2"}},
          {"23_back_in_recollection", 8, {"\"replayMode\":0", "\"recollection\":{\"open\":true,"}},
          {"24_title_again", 0, {"\"current\":\"STITLE\"", "\"recollection\":{\"open\":false,"}},
          {"25_selection_tree", 0, {"\"choiceMode\":6", "\"selectionTree\":{\"tree\":1,"}},
          {"26_tree_leaf", 0, {"\"current\":\"shops\"", "\"waitKind\":1"}},
          {"27_load_screen", 0, {"\"saveScreen\":{\"open\":true,\"mode\":0,\"page\":0,", "\"used\":[true,false,"}},
          {"28_load_question", 0, {"\"dialog\":{\"kind\":5,"}},
          {"29_loaded", 0, {"\"current\":\"chapter2\"", "\"saveScreen\":{\"open\":false,", "\"dialog\":{\"kind\":0,"}},
          {"30_title_question", 0, {"\"dialog\":{\"kind\":3,", "\"current\":\"chapter2\""}},
          {"31_title_last", 0, {"\"current\":\"STITLE\"", "\"choiceMode\":1", "\"dialog\":{\"kind\":0,"}},
          // Written by --state after the quit question: the window has closed from the title's exitgame.
          {"end", 0, {"\"current\":\"STITLE\"", "\"windowClosed\":true"}},
      });

  // The title menu: its eight bars over the title picture, which shows between and beside them.
  const Bitmap shot = play.Shot("01_title");
  Bitmap title;
  ASSERT_TRUE(ReadPng(kSource / "demo" / "gra" / "TITLE.png", title));
  for (auto [x, y] : std::vector<std::pair<int, int>>{{40, 30}, {100, 300}, {700, 200}, {620, 390}, {400, 560}}) {
    EXPECT_EQ(Px(shot, x, y), Px(title, x, y)) << x << "," << y;
  }
  for (int bar = 0; bar < 8; ++bar) {
    const int y = 68 + 48 * bar;
    EXPECT_EQ(Px(shot, 400, y + 44), Px(title, 400, y + 44)) << "below bar " << bar;
    EXPECT_NE(Px(shot, 210, y + 20), Px(title, 210, y + 20)) << "bar " << bar;
    EXPECT_NE(Px(shot, 590, y + 20), Px(title, 590, y + 20)) << "bar " << bar;
  }
}

TEST(DemoPlaythrough, ThePlainDemoThroughItsDialogWindowsAndBandQuestionToItsExit) {
  const Playthrough play("plain", kSource / "demo" / "plain" / "playthrough.input");
  ASSERT_EQ(play.Run().code, 0) << play.Run().output;
  EXPECT_EQ(play.Run().output, "確認: ゲームを終了しますか？\n");
  ExpectCheckpoints(play, {
                              {"01_name_entered", 0, {"\"nameSlots\":[\"奏\",\"かなで\",\"朝倉\",", "\"Delay\":0,"}},
                              {"02_settings_dialog_answered", 0, {"\"Delay\":1,", "\"FONTBold\":1,", "\"saves\":[]"}},
                              {"03_saved", 0, {"\"saves\":[{\"slot\":1,", "\"comment\":\"駅のベンチで\""}},
                              // Loaded from slot 1, the story stands again on the page after the save.
                              {"04_loaded", 0, {"\"pc\":530,", "\"waitKind\":1"}},
                              {"05_load_window_closed", 0, {"\"pc\":643,"}},
                              {"06_band_question", 0, {"\"dialog\":{\"kind\":3,\"hover\":0}"}},
                              {"08_question_refused", 0, {"\"dialog\":{\"kind\":0,", "\"current\":\"main\""}},
                              {"end", 0, {"\"windowClosed\":true"}},
                          });

  // The band look: 88 rows from y = 150 darkened over the scene, softly at the edges and to a
  // quarter in the middle; "はい" grey, then yellow under the pointer.
  const Bitmap band = play.Shot("06_band_question");
  const Bitmap hovered = play.Shot("07_band_question_yes_hovered");
  const Bitmap scene = play.Shot("08_question_refused");
  struct Row {
    int y;
    int factor;
  };
  for (const Row& r : {Row{150, 255}, Row{152, 255 - 24}, Row{165, 255 - 180}, Row{166, 63}, Row{200, 63}, Row{221, 63},
                       Row{222, 255 - 180}, Row{237, 255}}) {
    for (int x : {10, 150, 790}) {
      const Bgr under = Px(scene, x, r.y);
      EXPECT_EQ(Px(band, x, r.y), (Bgr{under[0] * r.factor >> 8, under[1] * r.factor >> 8, under[2] * r.factor >> 8}))
          << x << "," << r.y;
    }
  }
  EXPECT_EQ(Px(band, 150, 149), Px(scene, 150, 149));
  EXPECT_EQ(Px(band, 150, 238), Px(scene, 150, 238));
  // The glyphs' solid cores, one level under the colour at most.
  auto count = [](const Bitmap& b, Bgr colour) {
    int n = 0;
    for (int y = 194; y < 224; ++y) {
      for (int x = 300; x < 370; ++x) {
        const Bgr p = Px(b, x, y);
        bool near = true;
        for (size_t c = 0; c < 3; ++c) near = near && p[c] <= colour[c] && p[c] >= colour[c] - 1;
        n += near;
      }
    }
    return n;
  };
  const Bgr yellow{0, 255, 255}, grey{128, 128, 128};
  EXPECT_GT(count(band, grey), 20);
  EXPECT_EQ(count(band, yellow), 0);
  EXPECT_GT(count(hovered, yellow), 20);
  EXPECT_EQ(count(hovered, grey), 0);
}

}  // namespace
}  // namespace torvel
