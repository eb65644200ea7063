// The demo's town chapter and ending, played from their sources: the day panel, the status
// screen, both destinations chosen on the map (one of them listed only because of the path taken
// at the crossroads), the lines that follow S115 and S116, and both staff rolls to their end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "scene_shots_support.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::GameFixture;
using testing::Px;

const std::filesystem::path kDemo = std::filesystem::path(TORVEL_SOURCE_DIR) / "demo";

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The demo's scripts, pictures (PNG sources packed as the build packs them) and JPEG background.
void DemoGame(GameFixture& g, const std::string& main) {
  for (const auto& entry : std::filesystem::directory_iterator(kDemo / "data")) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(entry.path(), bytes));
    const std::string name = entry.path().stem().string();
    if (name != "main") g.Script(name, std::string(bytes.begin(), bytes.end()));
  }
  for (const auto& entry : std::filesystem::directory_iterator(kDemo / "gra")) {
    std::vector<uint8_t> bytes;
    if (entry.path().extension() == ".png") {
      Bitmap picture;
      ASSERT_TRUE(ReadPng(entry.path(), picture)) << entry.path();
      g.Entry("tq_gra.tvx", Upper(entry.path().stem().string()), testing::Packed(picture));
    } else {
      ASSERT_TRUE(ReadWholeFile(entry.path(), bytes));
      g.Entry("tq_gra.tvx", entry.path().filename().string(), bytes);
    }
  }
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(ReadWholeFile(kDemo / "gjp" / "AB01", jpeg));
  g.Entry("tq_gjp.tvx", "AB01", jpeg);
  g.Script("main", main);
}

// The text on the page, all rows together.
std::string PageText(const TForm1& e) {
  std::string out;
  for (size_t row = 0; row < e.textWindow.page.bytes.size(); ++row) out += testing::PageRow(e, static_cast<int>(row));
  return out;
}

void ClickAt(TForm1& e, int x, int y) {
  e.PBMouseMove(ShiftState{}, x, y);
  e.PBMouseDown(MouseButton::Left, ShiftState{}, x, y);
  e.PBMouseUp(MouseButton::Left, ShiftState{}, x, y);
}

TEST(DemoScenesTest, TownChapterAndEndingPlayThrough) {
  GameFixture g;
  DemoGame(g, "!V050=1\n@call chapter2:start\n\\back\n");
  TForm1& e = g.Start();
  g.RunToWait();
  // Day 3's panel in the corner, one level darker through its opaque mask.
  Bitmap panel;
  ASSERT_TRUE(ReadPng(kDemo / "gra" / "day03.png", panel));
  for (auto [x, y] : std::vector<std::pair<int, int>>{{90, 5}, {30, 40}}) {
    const Bgr p = Px(panel, x, y);
    EXPECT_EQ(Px(g.Host().Window(), 15 + x, 15 + y), (Bgr{p[0] * 255 >> 8, p[1] * 255 >> 8, p[2] * 255 >> 8}));
  }
  EXPECT_TRUE(e.vars.F.Test(10));

  // The status screen, as the quick button opens it, and a click that closes it.
  e.OpenStatusScreen();
  EXPECT_EQ(e.ctl.screenMode, smTitleScreen);
  ClickAt(e, 400, 300);
  EXPECT_EQ(e.ctl.screenMode, smScenario);

  for (int i = 0; i < 3; ++i) {
    g.Click();
    g.RunToWait();
  }
  ASSERT_EQ(e.ctl.screenMode, smTitleMap);
  ClickAt(e, 490, 200);  // the station street
  ASSERT_EQ(e.titleMap.listArea, 1);
  ClickAt(e, 480, 300);  // its first destination
  ASSERT_EQ(e.titleMap.step, 2);
  ClickAt(e, 690, 450);  // the harbour: its second row is listed because F010 is set
  ASSERT_EQ(e.titleMap.listArea, 4);
  ClickAt(e, 530, 309 + 45 + 10);
  ASSERT_EQ(e.titleMap.step, 3);
  EXPECT_EQ(SjisToUtf8(e.titleMap.second), "灯台");
  ClickAt(e, 300, 390);
  EXPECT_EQ(e.vars.S(115), 1);
  EXPECT_EQ(e.vars.S(116), 41);
  EXPECT_TRUE(e.vars.F.Test(482 + 15 + 3 * 1 + 0));
  EXPECT_TRUE(e.vars.F.Test(482 + 15 + 3 * 4 + 1));

  g.RunToWait();
  EXPECT_NE(PageText(e).find("駅前通り"), std::string::npos) << PageText(e);
  g.Click();
  g.RunToWait();
  EXPECT_NE(PageText(e).find("港の方まで"), std::string::npos) << PageText(e);
  g.Click();
  const uint32_t before = g.Host().TickCount();
  g.RunToWait();
  // Both rolls ran to their ends: the page roll's waits alone take 11 s, the slide roll's 7.5 s.
  EXPECT_GT(g.Host().TickCount() - before, 18500u);
  EXPECT_EQ(e.staffRoll.kind, RollKind::None);
  EXPECT_FALSE(e.staffRoll.aborted);
  EXPECT_EQ(e.staffRoll.darkness, 255);
  EXPECT_EQ(e.vars.S(4), 0);
  g.Click();
  EXPECT_EQ(g.RunToWait(), "\\back");
}

}  // namespace
}  // namespace torvel
