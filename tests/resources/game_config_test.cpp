// The `_config` reader: line grammar, value shapes, the key table, speakers and the guards
// applied after reading.
#include "resources/game_config.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

GameConfig Parse(std::vector<std::string> lines) { return ParseGameConfiguration(lines); }

struct IntKey {
  const char* key;
  int GameConfig::*member;
};

// Every plain integer key of the table, listed here independently of the reader.
const IntKey kIntKeys[] = {
    {"TXW_OFS_X", &GameConfig::TXW_OFS_X},
    {"TXW_OFS_Y", &GameConfig::TXW_OFS_Y},
    {"TXW_OFS_Y2", &GameConfig::TXW_OFS_Y2},
    {"TXW_SIZE_X", &GameConfig::TXW_SIZE_X},
    {"TXW_SIZE_Y", &GameConfig::TXW_SIZE_Y},
    {"TXW_COLOR_R", &GameConfig::TXW_COLOR_R},
    {"TXW_COLOR_G", &GameConfig::TXW_COLOR_G},
    {"TXW_COLOR_B", &GameConfig::TXW_COLOR_B},
    {"TXW_ALPHA", &GameConfig::TXW_ALPHA},
    {"TXW_ALPHA2", &GameConfig::TXW_ALPHA2},
    {"FONT_SIZE", &GameConfig::FONT_SIZE},
    {"SELECT_Y_POS", &GameConfig::SELECT_Y_POS},
    {"SELECT_Y_PITCH", &GameConfig::SELECT_Y_PITCH},
    {"SELECT_EXPAND", &GameConfig::SELECT_EXPAND},
    {"SELECT_TXT_OY", &GameConfig::SELECT_TXT_OY},
    {"CLICK_WAIT_OFS_X", &GameConfig::CLICK_WAIT_OFS_X},
    {"CLICK_WAIT_OFS_Y", &GameConfig::CLICK_WAIT_OFS_Y},
    {"CLICK_WAIT_SIZE_X", &GameConfig::CLICK_WAIT_SIZE_X},
    {"CLICK_WAIT_SIZE_Y", &GameConfig::CLICK_WAIT_SIZE_Y},
    {"CLICK_WAIT_PAT", &GameConfig::CLICK_WAIT_PAT},
    {"NP_OFS_X", &GameConfig::NP_OFS_X},
    {"NP_OFS_Y", &GameConfig::NP_OFS_Y},
    {"NP_SZ_X", &GameConfig::NP_SZ_X},
    {"NP_SZ_Y", &GameConfig::NP_SZ_Y},
    {"NP_TYPE", &GameConfig::NP_TYPE},
    {"TX_OFS_X", &GameConfig::TX_OFS_X},
    {"TX_OFS_Y", &GameConfig::TX_OFS_Y},
    {"TX_PITCH_X", &GameConfig::TX_PITCH_X},
    {"TX_PITCH_Y", &GameConfig::TX_PITCH_Y},
    {"TX2_OFS_X", &GameConfig::TX2_OFS_X},
    {"TX2_OFS_Y", &GameConfig::TX2_OFS_Y},
    {"TX2_PITCH_X", &GameConfig::TX2_PITCH_X},
    {"TX2_PITCH_Y", &GameConfig::TX2_PITCH_Y},
    {"VOLUME1", &GameConfig::VOLUME1},
    {"VOLUME2", &GameConfig::VOLUME2},
    {"VOLUME3", &GameConfig::VOLUME3},
    {"VOLUME4", &GameConfig::VOLUME4},
    {"TACHI_TYPE", &GameConfig::TACHI_TYPE},
    {"PANEL_USE", &GameConfig::PANEL_USE},
    {"SPD_DIR", &GameConfig::SPD_DIR},
    {"SPD_TW", &GameConfig::SPD_TW},
    {"SPD_MAX", &GameConfig::SPD_MAX},
    {"SPD_OFS_X", &GameConfig::SPD_OFS_X},
    {"SPD_OFS_Y", &GameConfig::SPD_OFS_Y},
    {"SPD_DOT_OFS_X", &GameConfig::SPD_DOT_OFS_X},
    {"SPD_DOT_OFS_Y", &GameConfig::SPD_DOT_OFS_Y},
    {"SPD_DOT_SIZE", &GameConfig::SPD_DOT_SIZE},
    {"LOG_FONTSIZE", &GameConfig::LOG_FONTSIZE},
    {"LOG_PITCH", &GameConfig::LOG_PITCH},
    {"LOG_LINES", &GameConfig::LOG_LINES},
    {"TQD_GRA", &GameConfig::TQD_GRA},
    {"TQD_GJP", &GameConfig::TQD_GJP},
    {"TQD_GDT", &GameConfig::TQD_GDT},
    {"TQD_WAV", &GameConfig::TQD_WAV},
    {"TQD_OGG", &GameConfig::TQD_OGG},
    {"TQD_SE", &GameConfig::TQD_SE},
    {"TQD_ANIM", &GameConfig::TQD_ANIM},
};

TEST(GameConfigTest, EveryIntegerKeyReachesItsValue) {
  for (const IntKey& k : kIntKeys) {
    SCOPED_TRACE(k.key);
    // 17 lies inside every guarded range, so the guards leave it alone.
    GameConfig c = Parse({std::string(k.key) + ":17"});
    EXPECT_EQ(c.*k.member, 17);
    // The other integer keys stay at 0 (or their guarded minimum).
    GameConfig base = Parse({});
    for (const IntKey& other : kIntKeys) {
      if (other.member != k.member) {
        EXPECT_EQ(c.*other.member, base.*other.member) << other.key;
      }
    }
  }
}

struct TextKey {
  const char* key;
  std::string GameConfig::*member;
};

TEST(GameConfigTest, EveryTextKeyKeepsItsValueExactly) {
  const TextKey keys[] = {
      {"TITLE", &GameConfig::TITLE},
      {"MAKER_REG", &GameConfig::MAKER_REG},
      {"GAME_ID", &GameConfig::GAME_ID},
      {"DEFAULT_NAME", &GameConfig::DEFAULT_NAME},
      {"DEFAULT_NAME2", &GameConfig::DEFAULT_NAME2},
      {"DEFAULT_NAME3", &GameConfig::DEFAULT_NAME3},
      {"FONT_NAME", &GameConfig::FONT_NAME},
      {"CFG_VOL_KNOB", &GameConfig::CFG_VOL_KNOB},
      {"CFG_AUTO_KNOB", &GameConfig::CFG_AUTO_KNOB},
      {"MAKER", &GameConfig::MAKER},
      {"DEFAULT_NAME4", &GameConfig::DEFAULT_NAME4},
  };
  for (const TextKey& k : keys) {
    SCOPED_TRACE(k.key);
    // Blanks, colons and commas are part of a text value.
    GameConfig c = Parse({std::string(k.key) + ": Ab c:d,e "});
    EXPECT_EQ(c.*k.member, " Ab c:d,e ");
  }
}

TEST(GameConfigTest, LineGrammar) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::string title;
  };
  const Case cases[] = {
      {"lower case key, value kept exactly", {"title:My Game  Title "}, "My Game  Title "},
      {"mixed case key", {"TiTlE:X"}, "X"},
      {"split at the first colon", {"TITLE:a:b:c"}, "a:b:c"},
      {"empty value", {"TITLE:first", "TITLE:"}, ""},
      {"later line wins", {"TITLE:one", "TITLE:two"}, "two"},
      {"END stops reading", {"TITLE:one", "END", "TITLE:two"}, "one"},
      {"end in lower case does not", {"TITLE:one", "end", "TITLE:two"}, "two"},
      {"END with a blank does not", {"TITLE:one", "END ", "TITLE:two"}, "two"},
      {"semicolon comment", {"TITLE:one", ";TITLE:two"}, "one"},
      {"star comment", {"TITLE:one", "*TITLE:two"}, "one"},
      {"empty line", {"", "TITLE:one", ""}, "one"},
      {"no colon", {"TITLE one"}, ""},
      {"blank before the colon", {"TITLE :one"}, ""},
      {"blank before the key", {" TITLE:one"}, ""},
      {"unknown key", {"TITLES:one"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Parse(c.lines).TITLE, c.title);
  }
}

TEST(GameConfigTest, IntegerValues) {
  struct Case {
    std::vector<std::string> lines;
    int expected;
  };
  const Case cases[] = {
      {{"FONT_SIZE:22"}, 22},
      {{"FONT_SIZE:-12"}, -12},
      {{"FONT_SIZE:+7"}, 7},
      {{"FONT_SIZE:22px"}, 22},  // digits up to the first other character
      {{"FONT_SIZE:99999999999"}, INT_MAX},
      {{"FONT_SIZE:-99999999999"}, INT_MIN},
      // A value that is no number leaves the previous value.
      {{"FONT_SIZE:20", "FONT_SIZE:abc"}, 20},
      {{"FONT_SIZE:20", "FONT_SIZE:"}, 20},
      {{"FONT_SIZE:20", "FONT_SIZE: 24"}, 20},
      {{"FONT_SIZE:20", "FONT_SIZE:-"}, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.back());
    EXPECT_EQ(Parse(c.lines).FONT_SIZE, c.expected);
  }
}

TEST(GameConfigTest, ListsSplitAtCommaOrColon) {
  GameConfig c = Parse({"CFG_WM_WIN:1,2:3,4", "CFG_VOL1:5", "LOG_BAR:x,-6, 7,8 ,9",
                        "CFG_RIGHT_CLICK:1,2,3,4,5,6,7,8,9,10,11,12,13", "CFG_GRA:cfg_base:cfg_on", "SAVE_BG:sv_bg",
                        "LOG_LINES:18,5", "GAIJI:ab,cd", "SV_FORMAT:%d:%s", "SV_EMPTY:-- empty --,x"});
  EXPECT_EQ(c.CFG_WM_WIN, (ConfigRect{1, 2, 3, 4}));
  EXPECT_EQ(c.CFG_VOL1, (ConfigPair{5, 0}));        // a missing field reads as 0
  EXPECT_EQ(c.LOG_BAR, (ConfigRect{0, -6, 0, 8}));  // fields are not trimmed
  EXPECT_EQ(c.CFG_RIGHT_CLICK, (std::array<int, 12>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(c.CFG_GRA, (ConfigNames{"cfg_base", "cfg_on"}));
  EXPECT_EQ(c.SAVE_BG, (ConfigNames{"sv_bg", ""}));
  EXPECT_EQ(c.LOG_LINES, 18);
  EXPECT_EQ(c.GAIJI, "ab");
  EXPECT_EQ(c.SV_FORMAT, "%d");
  EXPECT_EQ(c.SV_EMPTY, "-- empty --");
}

TEST(GameConfigTest, SavePositions) {
  struct Case {
    const char* name;
    std::string line;
    size_t numbers;
    int slots;
  };
  std::string many = "SV_POS:";
  for (int i = 0; i < 250; ++i) many += std::to_string(i) + ",";
  std::string manyPages = "SV_PAGE_POS:";
  for (int i = 0; i < 30; ++i) manyPages += std::to_string(i) + ",";
  const Case cases[] = {
      {"six numbers, three slots", "SV_POS:10,20,30,40,50,60", 6, 3},
      {"an odd count drops the half pair", "SV_POS:10,20,30,40,50,60,70", 7, 3},
      {"stops at an empty field", "SV_POS:10,20,,30,40", 2, 1},
      {"empty value", "SV_POS:", 0, 0},
      {"at most 200 numbers", many, kSavePositionMax, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameConfig config = Parse({c.line});
    EXPECT_EQ(config.SV_POS.size(), c.numbers);
    EXPECT_EQ(config.SaveSlotCount(), c.slots);
  }
  GameConfig config = Parse({"SV_POS:1,2,3,4", "SV_POS:5,6"});
  EXPECT_EQ(config.SV_POS, (std::vector<int>{5, 6}));
  config = Parse({manyPages});
  EXPECT_EQ(config.SV_PAGE_POS.size(), kSavePagePositionMax);
  EXPECT_EQ(config.SavePageCount(), 10);
  EXPECT_EQ(Parse({"SV_PAGE_POS:600,560,640,560"}).SavePageCount(), 2);
}

TEST(GameConfigTest, QuickButtons) {
  ASSERT_EQ(kQuickButtonKeys.size(), 19u);
  for (size_t i = 0; i < kQuickButtonKeys.size(); ++i) {
    SCOPED_TRACE(std::string(kQuickButtonKeys[i]));
    GameConfig c = Parse({"qb_" + std::string(kQuickButtonKeys[i]).substr(3) + ":2,10,20,30,40,50,60"});
    for (size_t k = 0; k < c.QB.size(); ++k) {
      const QuickButtonConfig& b = c.QB[k];
      if (k == i) {
        EXPECT_EQ(b.type, 2);
        EXPECT_EQ((std::array<int, 6>{b.w, b.h, b.x, b.y, b.sx, b.sy}), (std::array<int, 6>{10, 20, 30, 40, 50, 60}));
      } else {
        EXPECT_EQ(b.type, 0);
      }
    }
  }
  // Field 0 equal to 0 leaves the button disabled and its geometry unread.
  GameConfig off = Parse({"QB_MS:0,10,20,30,40,50,60"});
  EXPECT_EQ(off.QB[0].type, 0);
  EXPECT_EQ(off.QB[0].w, 0);
  EXPECT_EQ(off.QB[0].sy, 0);
  GameConfig again = Parse({"QB_A-:1,1,2,3,4,5,6", "QB_A-:0,9,9,9,9,9,9"});
  EXPECT_EQ(again.QB[11].type, 0);
  EXPECT_EQ(again.QB[11].w, 1);
  GameConfig short_ = Parse({"QB_S7:1,5"});
  EXPECT_EQ(short_.QB[18].type, 1);
  EXPECT_EQ(short_.QB[18].w, 5);
  EXPECT_EQ(short_.QB[18].h, 0);
}

TEST(GameConfigTest, SpeakerColours) {
  struct Case {
    const char* field;
    uint32_t colour;  // 0xBBGGRR worked out by hand
  };
  const Case cases[] = {
      {"G80", 0x0080FF},  // R 255, G 128, B 0
      {"", 0xFFFFFF},       {"GGG", 0xFFFFFF}, {"000", 0x000000}, {"FFF", 0xF0F0F0},
      {"fa1", 0x10A0F0},    {"g0g", 0xFF00FF}, {"F", 0x0000F0},  // missing characters count as 0
      {"9C", 0x00C090},     {"xyz", 0x000000},                   // other characters count as 0
      {"123456", 0x302010},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(SpeakerColour(c.field), c.colour);
  }
}

TEST(GameConfigTest, SpeakerTable) {
  GameConfig c = Parse({"NAME:1,Aki,G80", "NAME:59:Last:0G0", "NAME:2,Bo", "NAME:3,Cy,F", "NAME:0,Zero,GGG",
                        "NAME:60,Sixty,GGG", "NAME:-1,Neg,GGG", "NAME:x,Bad,GGG", "NAME:2,Bo2,00G"});
  EXPECT_TRUE(c.NAME[1].defined);
  EXPECT_EQ(c.NAME[1].name, "Aki");
  EXPECT_EQ(c.NAME[1].colour, 0x0080FFu);
  EXPECT_TRUE(c.NAME[59].defined);
  EXPECT_EQ(c.NAME[59].name, "Last");
  EXPECT_EQ(c.NAME[59].colour, 0x00FF00u);
  // The later line wins for its index.
  EXPECT_EQ(c.NAME[2].name, "Bo2");
  EXPECT_EQ(c.NAME[2].colour, 0xFF0000u);
  EXPECT_EQ(c.NAME[3].colour, 0x0000F0u);
  EXPECT_FALSE(c.NAME[0].defined);
  int defined = 0;
  for (const SpeakerEntry& e : c.NAME) defined += e.defined ? 1 : 0;
  EXPECT_EQ(defined, 4);
  GameConfig white = Parse({"NAME:4,Dee"});
  EXPECT_EQ(white.NAME[4].colour, 0xFFFFFFu);
}

TEST(GameConfigTest, GuardsAfterReading) {
  GameConfig none = Parse({});
  EXPECT_GE(none.SELECT_Y_PITCH, 1);
  EXPECT_GE(none.CLICK_WAIT_PAT, 1);
  EXPECT_GE(none.SPD_DOT_SIZE, 1);
  EXPECT_EQ(none.SPD_MAX, 0);  // kept as the game gives it: it sets the auto delay
  GameConfig zero =
      Parse({"SELECT_Y_PITCH:0", "CLICK_WAIT_PAT:0", "SPD_DOT_SIZE:0", "SPD_MAX:0", "CLICK_WAIT_TIMING:99",
             "MOJI_MAX_X:500", "MOJI_MAX_Y:-3", "MOJI_MAX2_X:99", "MOJI_MAX2_Y:21"});
  EXPECT_GE(zero.SELECT_Y_PITCH, 1);
  EXPECT_GE(zero.CLICK_WAIT_PAT, 1);
  EXPECT_GE(zero.SPD_DOT_SIZE, 1);
  EXPECT_EQ(zero.SPD_MAX, 0);
  EXPECT_LT(zero.CLICK_WAIT_TIMING, 31);
  EXPECT_EQ(zero.MOJI_MAX_X, 98);
  EXPECT_EQ(zero.MOJI_MAX_Y, 0);
  EXPECT_EQ(zero.MOJI_MAX2_X, 98);
  EXPECT_EQ(zero.MOJI_MAX2_Y, 20);
  EXPECT_EQ(Parse({"SPD_MAX:1"}).SPD_MAX, 1);
  GameConfig given = Parse({"SELECT_Y_PITCH:40", "CLICK_WAIT_PAT:8", "SPD_DOT_SIZE:6", "SPD_MAX:10",
                            "CLICK_WAIT_TIMING:2", "MOJI_MAX_X:56", "MOJI_MAX_Y:4"});
  EXPECT_EQ(given.SELECT_Y_PITCH, 40);
  EXPECT_EQ(given.CLICK_WAIT_PAT, 8);
  EXPECT_EQ(given.SPD_DOT_SIZE, 6);
  EXPECT_EQ(given.SPD_MAX, 10);
  EXPECT_EQ(given.CLICK_WAIT_TIMING, 2);
  EXPECT_EQ(given.MOJI_MAX_X, 56);
  EXPECT_EQ(given.MOJI_MAX_Y, 4);
}

TEST(GameConfigTest, DefaultNamesFitTheNameSlots) {
  std::string kana = Utf8ToSjis("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも");  // 70 bytes
  ASSERT_EQ(kana.size(), 70u);
  GameConfig c =
      Parse({"DEFAULT_NAME:" + kana, "DEFAULT_NAME2:" + std::string(64, 'a'), "DEFAULT_NAME3:" + kana.substr(0, 10)});
  EXPECT_EQ(c.DEFAULT_NAME, kana.substr(0, 62));  // no half character at the end
  EXPECT_EQ(c.DEFAULT_NAME2, std::string(63, 'a'));
  EXPECT_EQ(c.DEFAULT_NAME3, kana.substr(0, 10));
}

TEST(GameConfigTest, PanelKeysAreNoticed) {
  EXPECT_FALSE(Parse({"TITLE:x"}).panelKeyGiven);
  GameConfig c = Parse({"PANEL_YES:100,200"});
  EXPECT_TRUE(c.panelKeyGiven);
  EXPECT_EQ(c.PANEL_YES, (ConfigPair{100, 200}));
  EXPECT_TRUE(Parse({"PANEL_USE:0"}).panelKeyGiven);
}

TEST(GameConfigEngineTest, ReadFromTheDataArchive) {
  testing::GameFixture game;
  game.Script("_config",
              "; 設定\ntitle:体験版 タイトル\nMAKER_REG:Software\\Test\nNAME:1,ナレーション,G80\nEND\nTITLE:後\n")
      .Script("main", "@end\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(engine.config.TITLE, Utf8ToSjis("体験版 タイトル"));
  EXPECT_EQ(engine.config.MAKER_REG, "Software\\Test");
  EXPECT_EQ(engine.config.NAME[1].name, Utf8ToSjis("ナレーション"));
  EXPECT_EQ(engine.config.NAME[1].colour, 0x0080FFu);
  EXPECT_EQ(game.Host().Caption(), Utf8ToSjis("体験版 タイトル"));
}

TEST(GameConfigEngineTest, MissingConfigurationLeavesEverythingEmpty) {
  testing::GameFixture game;
  game.Script("main", "@end\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(engine.config.TITLE, "");
  EXPECT_EQ(engine.config.MAKER_REG, "");
  EXPECT_EQ(engine.config.GAME_ID, "");
  EXPECT_EQ(engine.config.FONT_SIZE, 0);
  EXPECT_GE(engine.config.SELECT_Y_PITCH, 1);
  EXPECT_EQ(engine.config.SPD_MAX, 0);
}

TEST(GameConfigDemoTest, DemoConfigurationSetsWhatTheDemoUses) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(std::string(TORVEL_SOURCE_DIR) + "/demo/data/_config.txt", bytes));
  std::vector<std::string> lines;
  std::string text(bytes.begin(), bytes.end());
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(Utf8ToSjis(text.substr(start, end - start)));
    start = end + 1;
  }
  GameConfig c = ParseGameConfiguration(lines);
  EXPECT_EQ(c.TITLE, Utf8ToSjis("Torvel 体験版 ～夜明けの駅～"));
  EXPECT_FALSE(c.MAKER_REG.empty());
  EXPECT_FALSE(c.GAME_ID.empty());
  EXPECT_FALSE(c.DEFAULT_NAME.empty());
  EXPECT_FALSE(c.FONT_NAME.empty());
  EXPECT_GT(c.FONT_SIZE, 0);
  EXPECT_GT(c.TXW_SIZE_X, 0);
  EXPECT_GT(c.MOJI_MAX_X, 0);
  EXPECT_GT(c.MOJI_MAX_Y, 0);
  // The window fits the 800 × 600 picture.
  EXPECT_LE(c.TXW_OFS_X + c.TXW_SIZE_X, 800);
  EXPECT_LE(c.TXW_OFS_Y + c.TXW_SIZE_Y, 600);
  EXPECT_LE(c.TX_OFS_X + (c.MOJI_MAX_X + 2) * c.TX_PITCH_X, c.TXW_SIZE_X);
  // The speaker of the opening scene has an entry.
  bool narrator = false;
  for (const SpeakerEntry& e : c.NAME) narrator |= e.defined && e.name == Utf8ToSjis("ナレーション");
  EXPECT_TRUE(narrator);
}

}  // namespace
}  // namespace torvel
