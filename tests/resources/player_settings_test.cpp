// The player settings at start-up, through the real engine on the headless host.
#include <gtest/gtest.h>

#include <sstream>

#include "resources/file_io.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "resources/storage_paths.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kConfig =
    "TITLE:テスト\n"
    "MAKER_REG:Software\\TestMaker\n"
    "GAME_ID:alpha\n"
    "DEFAULT_NAME:湊\n"
    "DEFAULT_NAME2:みなと\n"
    "DEFAULT_NAME3:朝倉\n"
    "FONT_NAME:ＭＳ ゴシック\n"
    "FONT_SIZE:22\n"
    "VOLUME1:-100\n"
    "VOLUME2:-200\n"
    "VOLUME3:-300\n"
    "VOLUME4:-400\n"
    "TXW_COLOR_R:10\n"
    "TXW_COLOR_G:20\n"
    "TXW_COLOR_B:30\n"
    "TXW_ALPHA:140\n"
    "TXW_ALPHA2:120\n";

std::string ConfigWithGameId(const std::string& id) {
  std::string text = kConfig;
  text.replace(text.find("GAME_ID:alpha"), 13, "GAME_ID:" + id);
  return text;
}

fs::path SettingsRoot(const testing::GameFixture& game) { return game.Dir() / "config"; }

SettingsStore Store(const testing::GameFixture& game, std::string_view section = "alpha") {
  return SettingsStore(SettingsRoot(game), "Software\\TestMaker", section);
}

TEST(PlayerSettingsTest, NoStoredSettingsGiveTheDefaults) {
  testing::GameFixture game;
  game.Script("_config", kConfig).Script("main", "@end\n");
  TForm1& engine = game.Start();
  const PlayerSettings& s = engine.settings;
  EXPECT_EQ(s.Left, (1920 - 800) / 2);
  EXPECT_EQ(s.Top, (1080 - 600) / 2);
  EXPECT_EQ(game.Host().WindowPos().x, s.Left);
  EXPECT_EQ(game.Host().WindowPos().y, s.Top);
  EXPECT_EQ(s.BGM_ENA, 1);
  EXPECT_EQ(s.SE_ENA, 1);
  EXPECT_EQ(s.Delay, 0);
  EXPECT_EQ(s.GMode, 0);
  EXPECT_EQ(s.SMode, 0);
  EXPECT_EQ(s.Clear, 0);
  EXPECT_EQ(s.Seen, 1);
  EXPECT_EQ(s.BreakonSelect, 1);
  EXPECT_EQ(s.MemorySaveMode, 0);
  EXPECT_EQ(s.FontName, Utf8ToSjis("ＭＳ ゴシック"));
  EXPECT_EQ(s.DirectSoundGlobal, 0);
  EXPECT_EQ(s.AnimQuality, 0);
  EXPECT_EQ(s.RC_MODE, 0);
  EXPECT_EQ(s.WHEEL_MODE, 0);
  EXPECT_EQ(s.CS_SWAP, 0);
  EXPECT_EQ(s.EFX_CUT, 1);
  EXPECT_EQ(s.CONFIG_MODE, 0);
  EXPECT_EQ(s.DatePanel, 1);
  EXPECT_EQ(s.TXWStyle, 1);
  EXPECT_EQ(s.CV_THROUGH, 0);
  EXPECT_EQ(s.CV1, 1);
  EXPECT_EQ(s.CV2, 1);
  EXPECT_EQ(s.SE, (std::array<int, 5>{1, 1, 1, 1, 1}));
  EXPECT_EQ(s.Vol1, -100);
  EXPECT_EQ(s.Vol2, -200);
  EXPECT_EQ(s.Vol3, -300);
  EXPECT_EQ(s.Vol4, -400);
  EXPECT_EQ(s.FONTAA, 0);
  EXPECT_EQ(s.FONTSIZE, 22);
  EXPECT_EQ(s.FONTBold, 0);
  EXPECT_EQ(s.PlayerName, Utf8ToSjis("湊"));
  EXPECT_EQ(s.PlayerName2, Utf8ToSjis("みなと"));
  EXPECT_EQ(s.PlayerName3, Utf8ToSjis("朝倉"));
  EXPECT_EQ(s.LastSaveSlot, 0);
  EXPECT_EQ(s.TXBG_R, 10);
  EXPECT_EQ(s.TXBG_G, 20);
  EXPECT_EQ(s.TXBG_B, 30);
  EXPECT_EQ(s.TXBG_A, 140);
  EXPECT_EQ(s.TXBG_A2, 120);
  EXPECT_EQ(engine.vars.S(6), 0);
  EXPECT_EQ(engine.vars.S(50), 1);
  EXPECT_EQ(engine.vars.S(51), 1);
  EXPECT_EQ(engine.vars.S(100), 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(engine.vars.G(i), 0);
  EXPECT_EQ(engine.text.nameSlots[0], Utf8ToSjis("湊"));
  // Reading writes nothing; the start-up's global data write stores G0–G9 alone.
  SettingsStore stored = Store(game);
  stored.Load();
  IniDocument expected;
  for (int i = 0; i < 10; ++i) expected.Set("alpha", "GV0" + std::to_string(i), "0");
  ASSERT_EQ(stored.State(), SettingsStore::FileState::Read);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(stored.File(), bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            FormatIni(expected, "Torvel player settings of the key Software\\TestMaker, one section per game"));
}

TEST(PlayerSettingsTest, StoredSettingsAreReadAndClamped) {
  testing::GameFixture game;
  game.Script("_config", kConfig).Script("main", "@end\n");
  SettingsStore store = Store(game);
  struct Stored {
    const char* name;
    const char* value;
  };
  const Stored stored[] = {
      {"left", "100"},
      {"Top", "99999"},
      {"BGM_ENA", "0"},
      {"se_ena", "0"},
      {"Delay", "1"},
      {"GMode", "1"},
      {"SMode", "1"},
      {"Clear", "4"},
      {"Seen", "0"},
      {"BREAKONSELECT", "0"},
      {"MemorySaveMode", "1"},
      {"FontName", "IPAGothic"},
      {"RC_MODE", "9"},
      {"WHEEL_MODE", "1"},
      {"CS_SWAP", "1"},
      {"EFX_CUT", "0"},
      {"CONFIG_MODE", "1"},
      {"DatePanel", "0"},
      {"TXWStyle", "3"},
      {"CV_THROUGH", "1"},
      {"CV1", "0"},
      {"CV2", "0"},
      {"SE0", "0"},
      {"SE4", "0"},
      {"Vol1", "letters"},
      {"Vol2", "-5000"},
      {"Vol3", "200"},
      {"Vol4", "-1500"},
      {"FONTAA", "1"},
      {"FONTSIZE", "400"},
      {"FONTBold", "1"},
      {"PlayerName3", "Asa"},
      {"LastSaveSlot", "12"},
      {"GV00", "-5"},
      {"gv09", "77"},
      {"TXBG_R", "300"},
      {"TXBG_G", "-4"},
      {"TXBG_B", "7"},
      {"TXBG_A", "255"},
      {"TXBG_A2", "0"},
  };
  for (const Stored& v : stored) ASSERT_TRUE(store.Write(v.name, v.value));
  std::string longName = Utf8ToSjis("あ") + std::string(70, 'x');
  ASSERT_TRUE(store.Write("PlayerName", longName));

  TForm1& engine = game.Start();
  const PlayerSettings& s = engine.settings;
  EXPECT_EQ(s.Left, 100);
  EXPECT_EQ(s.Top, 1080 - 600);  // kept on the screen
  EXPECT_EQ(s.BGM_ENA, 0);
  EXPECT_EQ(s.SE_ENA, 0);
  EXPECT_EQ(s.Delay, 1);
  EXPECT_EQ(s.GMode, 1);
  EXPECT_EQ(s.SMode, 1);
  EXPECT_EQ(s.Clear, 4);
  EXPECT_EQ(engine.vars.S(100), 4);
  EXPECT_EQ(s.Seen, 0);
  EXPECT_EQ(s.BreakonSelect, 0);
  EXPECT_EQ(s.MemorySaveMode, 1);
  EXPECT_EQ(s.FontName, "IPAGothic");
  EXPECT_EQ(s.RC_MODE, 4);
  EXPECT_EQ(s.WHEEL_MODE, 1);
  EXPECT_EQ(s.CS_SWAP, 1);
  EXPECT_EQ(s.EFX_CUT, 0);
  EXPECT_EQ(s.CONFIG_MODE, 1);
  EXPECT_EQ(engine.vars.S(50), 0);
  EXPECT_EQ(engine.vars.S(51), 3);
  EXPECT_EQ(s.CV_THROUGH, 1);
  EXPECT_EQ(s.CV1, 0);
  EXPECT_EQ(s.CV2, 0);
  EXPECT_EQ(s.SE, (std::array<int, 5>{0, 1, 1, 1, 0}));
  EXPECT_EQ(s.Vol1, -100);  // letters read as the configured VOLUME1
  EXPECT_EQ(s.Vol2, -3000);
  EXPECT_EQ(s.Vol3, 0);
  EXPECT_EQ(s.Vol4, -1500);
  EXPECT_EQ(s.FONTAA, 1);
  EXPECT_EQ(s.FONTSIZE, 32);
  EXPECT_EQ(s.FONTBold, 1);
  EXPECT_EQ(s.PlayerName, longName.substr(0, 63));
  EXPECT_EQ(s.PlayerName2, Utf8ToSjis("みなと"));
  EXPECT_EQ(s.PlayerName3, "Asa");
  EXPECT_EQ(engine.text.nameSlots[0], longName.substr(0, 63));
  EXPECT_EQ(engine.vars.S(6), 1);
  EXPECT_EQ(s.LastSaveSlot, 12);
  EXPECT_EQ(engine.vars.G(0), -5);
  EXPECT_EQ(engine.vars.G(9), 77);
  EXPECT_EQ(s.TXBG_R, 255);
  EXPECT_EQ(s.TXBG_G, 0);
  EXPECT_EQ(s.TXBG_B, 7);
  EXPECT_EQ(s.TXBG_A, 255);
  EXPECT_EQ(s.TXBG_A2, 0);
}

TEST(PlayerSettingsTest, NameEqualToTheDefaultLeavesS006Clear) {
  for (const char* name : {"PlayerName", "PlayerName2", "PlayerName3"}) {
    SCOPED_TRACE(name);
    testing::GameFixture game;
    game.Script("_config", kConfig).Script("main", "@end\n");
    SettingsStore store = Store(game);
    ASSERT_TRUE(store.Write("PlayerName", Utf8ToSjis("湊")));
    ASSERT_TRUE(store.Write(name, "Other"));
    EXPECT_EQ(game.Start().vars.S(6), 1);
  }
  testing::GameFixture same;
  same.Script("_config", kConfig).Script("main", "@end\n");
  ASSERT_TRUE(Store(same).Write("PlayerName2", Utf8ToSjis("みなと")));
  EXPECT_EQ(same.Start().vars.S(6), 0);
}

TEST(PlayerSettingsTest, WriteAndReadThroughTheEngine) {
  testing::GameFixture game;
  game.Script("_config", kConfig).Script("main", "@end\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(engine.ReadSetting("LastSaveSlot", 5), 5);
  engine.WriteSetting("LastSaveSlot", 17);
  engine.WriteSetting("PlayerName", std::string_view(Utf8ToSjis("ハル")));
  EXPECT_EQ(engine.ReadSetting("lastsaveslot", 5), 17);
  EXPECT_EQ(engine.ReadSetting("PlayerName", ""), Utf8ToSjis("ハル"));
  engine.WriteSetting("Vol1", -9000);
  EXPECT_EQ(engine.ReadSetting("Vol1", 0), -3000);
  EXPECT_EQ(engine.SettingsFile(), SettingsRoot(game) / "software" / "testmaker.ini");
  SettingsStore store = Store(game);
  store.Load();
  EXPECT_EQ(store.Value("Vol1"), "-9000");  // what was written is kept as written
}

TEST(PlayerSettingsTest, GamesWithDifferentIdsKeepIndependentSettings) {
  testing::GameFixture alpha;
  alpha.Script("_config", ConfigWithGameId("alpha")).Script("main", "@end\n");
  TForm1& a = alpha.Start();
  a.WriteSetting("Vol1", -1234);
  a.WriteSetting("PlayerName", "Alpha");

  // A second game with the same maker key, in the same settings folder.
  testing::GameFixture beta;
  beta.Script("_config", ConfigWithGameId("beta")).Script("main", "@end\n");
  beta.Write();
  HeadlessHost host(SettingsRoot(alpha));
  TForm1 b(host, EngineOptions{beta.Dir(), 1});
  host.Attach(&b);
  host.Start();
  EXPECT_EQ(b.settings.Vol1, -100);
  EXPECT_EQ(b.settings.PlayerName, Utf8ToSjis("湊"));
  b.WriteSetting("Vol1", -55);
  EXPECT_EQ(a.ReadSetting("Vol1", 0), -1234);
  EXPECT_EQ(b.ReadSetting("Vol1", 0), -55);
}

class NarrowHost : public HeadlessHost {
 public:
  NarrowHost(fs::path folder, Point screen) : HeadlessHost(std::move(folder)), screen_(screen) {}
  Point ScreenSize() override { return screen_; }

 private:
  Point screen_;
};

TEST(PlayerSettingsTest, NarrowScreensStartBorderless) {
  struct Case {
    const char* name;
    Point screen;
    const char* stored;  // SMode in the store, or null
    int mode;
    Point window;
  };
  const Case cases[] = {
      {"600 wide", {600, 800}, nullptr, 2, {0, 100}},
      {"601 wide", {601, 800}, nullptr, 0, {0, 100}},
      {"narrow, full screen chosen", {600, 800}, "1", 1, {0, 100}},
      {"narrow, window stored", {480, 640}, "0", 2, {0, 20}},
      {"wide", {1024, 768}, nullptr, 0, {112, 84}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::GameFixture game;
    game.Script("_config", kConfig).Script("main", "@end\n");
    if (c.stored) {
      ASSERT_TRUE(Store(game).Write("SMode", c.stored));
    }
    game.Write();
    NarrowHost host(SettingsRoot(game), c.screen);
    TForm1 engine(host, EngineOptions{game.Dir(), 1});
    host.Attach(&engine);
    host.Start();
    EXPECT_EQ(engine.settings.SMode, c.mode);
    EXPECT_EQ(engine.settings.Left, c.window.x);
    EXPECT_EQ(engine.settings.Top, c.window.y);
  }
}

TEST(PlayerSettingsTest, MissingConfigurationUsesTheFallbackLocation) {
  testing::GameFixture game;
  game.Script("main", "@end\n");
  TForm1& engine = game.Start();
  engine.WriteSetting("Seen", 0);
  EXPECT_EQ(engine.SettingsFile(), SettingsRoot(game) / "@default.ini");
  EXPECT_TRUE(fs::is_regular_file(SettingsRoot(game) / "@default.ini"));
  EXPECT_EQ(engine.ReadSetting("Seen", 1), 0);
  // Nothing else lands in the folder's root.
  int entries = 0;
  for (const auto& e : fs::directory_iterator(SettingsRoot(game))) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(PlayerSettingsTest, DamagedFileStartsWithDefaultsAndIsKept) {
  testing::GameFixture game;
  game.Script("_config", kConfig).Script("main", "@end\n");
  SettingsStore store = Store(game);
  fs::create_directories(store.File().parent_path());
  const std::string damaged = "[alpha]\nVol1=-5\n\x01\x02 not a settings line\n";
  ASSERT_TRUE(WriteFileAtomically(store.File(), damaged));
  TForm1& engine = game.Start();
  EXPECT_EQ(engine.settings.Vol1, -100);
  // The start-up's global data write (G0–G9) sets the damaged file aside, whole.
  fs::path aside = store.File();
  aside += ".damaged";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(aside, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), damaged);
  engine.WriteSetting("Vol2", -10);
  EXPECT_EQ(engine.ReadSetting("Vol2", 0), -10);
  EXPECT_EQ(engine.ReadSetting("Vol1", 0), 0) << "nothing of the damaged file is read";
}

TEST(PlayerSettingsTest, CompletedGamesCounterIgnoresTheGamesLocation) {
  testing::GameFixture game;
  game.Script("_config", kConfig).Script("main", "@end\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(engine.IncrementCompletedGames(), 1);
  EXPECT_EQ(engine.IncrementCompletedGames(), 2);
  EXPECT_EQ(engine.ReadSetting("Clear", 0), 0);  // the game's own section is untouched
  SettingsStore fixed(SettingsRoot(game), "Software\\Grevholt", "vesk");
  fixed.Load();
  EXPECT_EQ(fixed.ReadInt("Clear", 0), 2);
}

TEST(StoragePathsTest, PrintsWhereEverythingLives) {
  testing::GameFixture game;
  game.Script("_config", kConfig).Script("main", "@end\n");
  game.Write();
  std::ostringstream out;
  ASSERT_EQ(PrintStoragePaths(game.Dir(), "/home/u/.config/torvel", out), 0);
  std::string text = out.str();
  EXPECT_NE(text.find("/home/u/.config/torvel/software/testmaker.ini [alpha]"), std::string::npos) << text;
  EXPECT_NE(text.find("/home/u/.config/torvel/software/grevholt.ini [vesk]"), std::string::npos) << text;
  EXPECT_NE(text.find((game.Dir() / "save").string() + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find((game.Dir() / "save0.dat").string()), std::string::npos) << text;
  EXPECT_NE(text.find((game.Dir() / "kaiso.dat").string()), std::string::npos) << text;
  testing::TempFolder empty;
  std::ostringstream none;
  EXPECT_EQ(PrintStoragePaths(empty.Path(), "/x", none), 1);
}

}  // namespace
}  // namespace torvel
