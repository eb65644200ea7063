// The demo's text and command showcases as the build made them, played with headless input lines
// from the crossroads: names, numbers and tags in text, a voice waited for, pictures prepared and
// shown at once, parts stamped and kept, a postcard drawn straight to the window, a pan across the
// town, the fixed effects, a movie, a recorded choice taken by number, the play flags reset, a
// completed game counted, the gallery opened, the configuration screen and the manual, the story
// back at the crossroads; and replayed from the scene gallery, up to the movie only.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_story_fixture.h"
#include "support/text_game.h"

namespace torvel {
namespace {

using testing::Bgr;
using testing::Px;

// Colours the demo's build draws (demo/effects/make_effects.sh), as blue, green, red.
constexpr Bgr kStar{0x66, 0xE0, 0xFF};
constexpr Bgr kCardSky{0xE0, 0xB5, 0x86};
constexpr Bgr kLitWindow{0x6B, 0xD3, 0xFF};
constexpr Bgr kAqua{0xFF, 0xFF, 0x00};

class DemoShowcaseParts : public testing::DemoStory {
 protected:
  bool ClickUntilPage(const std::string& part) {
    return ClickUntil([&] { return Page().find(part) != std::string::npos; });
  }
  // The text on the page, all rows together, as UTF-8.
  std::string Page() const {
    std::string out;
    for (size_t row = 0; row < engine->textWindow.page.bytes.size(); ++row) {
      out += testing::PageRow(*engine, static_cast<int>(row));
    }
    return out;
  }
  // Whether a picture shown on the window since recording began had `colour` at (x, y).
  bool Showed(int x, int y, Bgr colour) const {
    return std::any_of(host->shown.begin(), host->shown.end(),
                       [&](const testing::RecordingHost::Shown& s) { return Px(s.window, x, y) == colour; });
  }
  void Record() {
    host->shown.clear();
    host->recording = true;
  }
  void StopRecording() {
    host->recording = false;
    host->shown.clear();
  }
};

TEST_F(DemoShowcaseParts, TextAndCommandShowcasesFromTheCrossroads) {
  TForm1& e = *engine;
  ASSERT_TRUE(ClickUntilChoice());
  ASSERT_EQ(e.script.currentScript, "crossroads");
  Choose(3);
  ASSERT_EQ(e.script.currentScript, "showcase");
  // At the end of the effects the two showcases that follow are offered.
  ASSERT_TRUE(ClickUntilChoice());
  ASSERT_EQ(e.choices.choiceCount, 2);
  Choose(0);

  // ---- text: a name slot on the name plate and in the text, a computed number ----
  ASSERT_TRUE(ClickUntilPage("わたしはミナ。"));
  EXPECT_EQ(e.script.currentScript, "showcase_text");
  EXPECT_EQ(e.vars.S(28), 1) << "the text showcase saves";
  EXPECT_EQ(e.text.speakerName, testing::Sj("ミナ"));
  ASSERT_TRUE(ClickUntilPage("十二の三倍は36。"));
  // Tags inside one line change the sky, bring figures and take them away again.
  ASSERT_TRUE(ClickUntilPage("いなくなった。"));
  EXPECT_EQ(e.layers.backgroundName, "EF_SKY1");
  EXPECT_EQ(e.layers.spriteCount, 0);
  // A voice from the end of a text line, waited for before the story goes on.
  ASSERT_TRUE(ClickUntilPage("声が終わるのを待ってから"));
  int voices = 0;
  for (const SoundCall& c : host->Sound().CallsOf(SoundOp::Create)) voices += c.name == "V0003";
  EXPECT_EQ(voices, 1);
  EXPECT_FALSE(e.ctl.voiceWait);
  // A background prepared without showing it, then shown together with a figure.
  ASSERT_TRUE(ClickUntilPage("一度に現れた。"));
  EXPECT_EQ(e.layers.backgroundName, "AB01");
  EXPECT_EQ(e.layers.spriteSpec, "BC01");
  EXPECT_FALSE(e.layers.grbPending);
  ASSERT_TRUE(ClickUntilPage("二人になった。"));
  EXPECT_EQ(e.layers.spriteSpec, "BC01,BC02");

  // ---- commands: stars stamped from the parts sheet and kept as the scene ----
  ASSERT_TRUE(ClickUntilPage("そのまま残した。"));
  EXPECT_EQ(e.script.currentScript, "showcase_commands");
  EXPECT_EQ(Px(e.layers.scene, 140 + 32, 90 + 32), kStar);
  EXPECT_EQ(Px(host->Window(), 330 + 32, 40 + 32), kStar);
  EXPECT_NE(Px(e.layers.scene, 140, 90), kAqua) << "the parts' aqua is left out";
  EXPECT_TRUE(e.text.windowShown);
  // The postcard drawn straight onto the window; the window shown again for the next line.
  Record();
  ASSERT_TRUE(ClickUntilPage("絵はがきを、しまっておいた。"));
  EXPECT_TRUE(Showed(200 + 100, 120 + 50, kCardSky));
  EXPECT_NE(Px(e.layers.scene, 300, 170), kCardSky) << "the card is not part of the scene";
  EXPECT_TRUE(e.text.windowShown);
  StopRecording();
  // The pan across the town ends on its right half, which is kept.
  ASSERT_TRUE(ClickUntilPage("端から端まで見渡した。"));
  EXPECT_EQ(Px(e.layers.scene, 1010 - 800, 430), kLitWindow);
  // Faded out to black and back to the station.
  Record();
  ASSERT_TRUE(ClickUntilPage("朝の駅に戻った。"));
  EXPECT_TRUE(Showed(400, 100, (Bgr{0, 0, 0})));
  EXPECT_EQ(e.layers.backgroundName, "AB01");
  StopRecording();
  // The white flash, the window shaken up and down, the sepia flashback, the percentage.
  Record();
  ASSERT_TRUE(ClickUntilPage("何度もまたたいた。"));
  EXPECT_TRUE(Showed(400, 100, (Bgr{255, 255, 255})));
  EXPECT_TRUE(Showed(10, 590, (Bgr{255, 255, 255})));
  StopRecording();
  const Point home = host->WindowPos();
  const size_t movesBefore = host->WindowMoves().size();
  ASSERT_TRUE(ClickUntilPage("上下に揺れた。"));
  ASSERT_GE(host->WindowMoves().size(), movesBefore + 10);
  // Amplitudes 20, 18, …: up when bit 1 is clear, down when it is set.
  EXPECT_EQ(host->WindowMoves()[movesBefore].y, home.y - 20);
  EXPECT_EQ(host->WindowMoves()[movesBefore + 1].y, home.y + 20);
  EXPECT_EQ(host->WindowPos().y, home.y);
  ASSERT_TRUE(ClickUntilPage("昔の写真のような色"));
  for (auto [x, y] : std::vector<std::pair<int, int>>{{400, 100}, {100, 300}, {700, 400}}) {
    const Bgr p = Px(e.layers.scene, x, y);
    EXPECT_EQ(p[0], p[2] / 4) << x << "," << y;
    EXPECT_EQ(p[1], 3 * p[2] / 4) << x << "," << y;
  }
  ASSERT_TRUE(ClickUntilPage("見た場面の割合です。"));
  int drawn = 0;
  for (int y = 12; y < 44; ++y) {
    for (int x = 520; x < 570; ++x) drawn += Px(host->Window(), x, y) != Px(e.layers.screen, x, y);
  }
  EXPECT_GT(drawn, 0) << "the percentage is drawn onto the window only";
  // The movie from the game folder.
  ASSERT_TRUE(ClickUntilPage("通り過ぎていった。"));
  ASSERT_EQ(host->MovieRequests().size(), 1u);
  EXPECT_EQ(host->MovieRequests()[0].filename(), "train.gif");
  EXPECT_EQ(host->MovieRequests()[0].parent_path().filename(), "movie");

  // ---- a recorded choice, its body found by number ----
  ASSERT_TRUE(ClickUntilChoice());
  EXPECT_EQ(e.vars.S(161), 1);
  Choose(1);
  ASSERT_TRUE(ClickUntilPage("月が、雲の間から"));
  ASSERT_TRUE(ClickUntilPage("記録した選択は1回です。"));
  // ---- the play flags: one set, all cleared ----
  ASSERT_TRUE(ClickUntilPage("目印の数は1。"));
  EXPECT_EQ(e.vars.S(161), 0) << "recording stopped";
  ASSERT_TRUE(ClickUntilPage("目印の数は0。"));
  EXPECT_FALSE(e.vars.F.Test(20));
  // ---- a completed game counted ----
  ASSERT_TRUE(ClickUntilPage("見終えた回数は、1回です。"));
  EXPECT_TRUE(e.vars.E.Test(999));
  EXPECT_NE(e.SaveFolder(), testing::kBuiltDemo);
  // ---- every gallery picture opened ----
  ASSERT_TRUE(ClickUntilChoice());
  Choose(0);
  ASSERT_GT(e.CgPictureCount(), 0);
  for (int i = 0; i < e.CgPictureCount(); ++i) EXPECT_TRUE(e.vars.D.Test(i)) << i;
  // ---- the configuration screen, closed by its button ----
  ASSERT_TRUE(ClickUntil([&] { return e.ctl.configScreenOpen; }));
  Click(740, 558);
  ASSERT_FALSE(e.ctl.configScreenOpen);
  // ---- the manual, handed to the desktop ----
  ASSERT_TRUE(ClickUntilChoice());
  Choose(0);
  ASSERT_EQ(host->OpenedTargets().size(), 1u);
  EXPECT_EQ(std::filesystem::path(host->OpenedTargets()[0]),
            std::filesystem::canonical(testing::kBuiltDemo / "manual" / "index.html"));

  // ---- back at the crossroads, saving again ----
  ASSERT_TRUE(ClickUntil([&] { return e.script.currentScript == "crossroads"; }));
  EXPECT_EQ(e.vars.S(28), 1);
  EXPECT_EQ(e.script.callDepth, 1);

  // ---- replayed from the scene gallery, the showcases end before the records and flags change ----
  e.CallScript("extras", "start");
  ASSERT_TRUE(ClickUntilChoice());
  ASSERT_EQ(e.script.currentScript, "extras");
  Choose(1);
  ASSERT_EQ(e.ctl.screenMode, smCgViewer);
  Input({"move 650 165", "click 650 165 left"});
  ASSERT_EQ(e.script.replayMode, 1);
  ASSERT_EQ(e.script.currentScript, "SHOWCASE");
  e.vars.F.Set(20);
  ASSERT_TRUE(ClickUntilChoice());
  Choose(0);
  ASSERT_TRUE(ClickUntil([&] { return e.script.replayMode == 0; }));
  EXPECT_EQ(e.ctl.screenMode, smCgViewer);
  EXPECT_EQ(host->MovieRequests().size(), 2u) << "the movie was replayed";
  EXPECT_TRUE(e.vars.F.Test(20)) << "the flags were left alone";
  EXPECT_EQ(e.vars.S(161), 0) << "no choice was recorded";
  EXPECT_EQ(e.vars.S(100), 1) << "no second completed game";
  EXPECT_TRUE(host->Messages().empty());
}

}  // namespace
}  // namespace torvel
