// Name entry through the headless host: the name rule, the fields the "ＯＫ" button accepts or
// refuses, and what reaches the name slots and the settings store.
#include "screens/name_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/input_script.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

struct NameCase {
  const char* label;
  std::string sjis;
  bool valid;
};

class NameRuleTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameRuleTest, DecidesAsTheRuleSays) { EXPECT_EQ(IsValidPlayerName(GetParam().sjis), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(Names, NameRuleTest,
                         ::testing::Values(NameCase{"OneCharacter", Utf8ToSjis("湊"), true},
                                           NameCase{"SixCharacters", Utf8ToSjis("ろくもじのな"), true},
                                           NameCase{"SevenCharacters", Utf8ToSjis("ななもじのなま"), false},
                                           NameCase{"Empty", "", false}, NameCase{"SingleByteLetters", "Alex", false},
                                           NameCase{"SingleByteAfterFullWidth", Utf8ToSjis("湊a"), false},
                                           NameCase{"SingleBytePairedWithFullWidth", Utf8ToSjis("ab湊"), false},
                                           NameCase{"HalfWidthKana", "\xB1\xB2", false},
                                           NameCase{"LeadByteWithUndefinedTrail", "\x82\x41", false},
                                           NameCase{"UnassignedRow", "\x85\x40", false},
                                           NameCase{"LoneLeadByteAtEnd", "\x82\xA0\x82", false},
                                           NameCase{"IdeographicSpace", "\x81\x40", true},
                                           NameCase{"CircledDigit", "\x87\x40", true}),
                         [](const auto& info) { return std::string(info.param.label); });

constexpr const char* kConfig =
    "MAKER_REG:Software\\NameTest\n"
    "GAME_ID:names\n"
    "DEFAULT_NAME:湊\n"
    "DEFAULT_NAME2:みなと\n"
    "DEFAULT_NAME3:朝倉\n";

SettingsStore Store(const GameFixture& game) {
  SettingsStore store(game.Dir() / "config", "Software\\NameTest", "names");
  store.Load();
  return store;
}

// A game whose first line is `setname`, answered by the given input lines.
class NameEntryGame {
 public:
  explicit NameEntryGame(const std::string& config = kConfig) {
    game_.Script("_config", config).Script("main", "@setname\n@end\n");
  }
  GameFixture& Game() { return game_; }
  TForm1& Engine() { return game_.Engine(); }
  std::string Slot(int i) { return SjisToUtf8(game_.Engine().text.nameSlots[static_cast<size_t>(i)]); }
  std::optional<std::string> Stored(std::string_view name) {
    std::optional<std::string> value = Store(game_).Value(name);
    if (value) *value = SjisToUtf8(*value);
    return value;
  }
  void Run(const std::string& input) {
    game_.Start();
    InputScript script = ParseInputScript(input);
    ASSERT_EQ(script.error, "");
    game_.Host().SetInput(std::move(script.events));
    game_.RunToWait();
  }

 private:
  GameFixture game_;
};

TEST(NameEntryTest, AcceptedNamesReachTheSlotsAndAllThreeSettings) {
  NameEntryGame g;
  g.Run("0 dialog name ろくもじのな - ミナ\n");
  EXPECT_EQ(g.Slot(0), "ろくもじのな");
  EXPECT_EQ(g.Slot(1), "みなと");
  EXPECT_EQ(g.Slot(2), "ミナ");
  EXPECT_EQ(g.Stored("PlayerName"), "ろくもじのな");
  EXPECT_EQ(g.Stored("PlayerName2"), "みなと");
  EXPECT_EQ(g.Stored("PlayerName3"), "ミナ");
  EXPECT_EQ(g.Engine().settings.PlayerName, Utf8ToSjis("ろくもじのな"));
  EXPECT_EQ(g.Engine().vars.S(6), 1);
  const std::string state = g.Engine().DescribeState();
  EXPECT_NE(state.find("\"nameSlots\":[\"ろくもじのな\",\"みなと\",\"ミナ\",\"\""), std::string::npos) << state;
}

TEST(NameEntryTest, ARefusedNameKeepsTheWindowForTheNextAnswer) {
  NameEntryGame g;
  g.Run("0 dialog name ななもじのなまえ\n0 dialog name Alex\n0 dialog name 春\n");
  EXPECT_EQ(g.Slot(0), "春");
  EXPECT_EQ(g.Stored("PlayerName"), "春");
}

TEST(NameEntryTest, ARefusedFieldShowsItsSlotAgainAndStoresNothing) {
  NameEntryGame g;
  ::testing::internal::CaptureStderr();
  g.Run("0 dialog name Alex\n");
  // With no answer left the run goes on without the names, and says so.
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("dialog name: names refused"), std::string::npos);
  EXPECT_EQ(g.Slot(0), "湊");
  EXPECT_FALSE(g.Stored("PlayerName"));

  NameEntryModel model(g.Engine());
  model.SetField(0, "秋");
  model.SetField(1, "nick");
  EXPECT_FALSE(model.PressOk());
  EXPECT_EQ(model.RefusedField(), 1);
  EXPECT_EQ(model.Field(0), "秋");
  EXPECT_EQ(model.Field(1), "みなと");
}

TEST(NameEntryTest, ANicknameRefusedAfterAnAcceptedNameLeavesTheNameInItsSlotAndTheSettingsUnwritten) {
  NameEntryGame g;
  g.Run("0 dialog name 春 nick\n");
  EXPECT_EQ(g.Slot(0), "春");
  EXPECT_EQ(g.Slot(1), "みなと");
  EXPECT_FALSE(g.Stored("PlayerName"));
  EXPECT_FALSE(g.Stored("PlayerName2"));
  EXPECT_FALSE(g.Stored("PlayerName3"));
}

TEST(NameEntryTest, CharactersTheCodePageCannotHoldAreRefusedNotReplaced) {
  NameEntryGame g;
  g.Run("0 dialog name 한글\n0 dialog name \"\"\n");
  EXPECT_EQ(g.Slot(0), "湊");
  EXPECT_FALSE(g.Stored("PlayerName"));
}

TEST(NameEntryTest, TheDefaultButtonPutsTheConfiguredNamesBack) {
  NameEntryGame g;
  SettingsStore seeded(g.Game().Dir() / "config", "Software\\NameTest", "names");
  ASSERT_TRUE(seeded.Write("PlayerName", Utf8ToSjis("春")));
  ASSERT_TRUE(seeded.Write("PlayerName2", Utf8ToSjis("はる")));
  g.Run("0 dialog name default\n");
  EXPECT_EQ(g.Slot(0), "湊");
  EXPECT_EQ(g.Slot(1), "みなと");
  EXPECT_EQ(g.Stored("PlayerName"), "湊");
  EXPECT_EQ(g.Stored("PlayerName2"), "みなと");
  EXPECT_EQ(g.Engine().vars.S(6), 0);
}

TEST(NameEntryTest, NothingQueuedPressesOk) {
  NameEntryGame g;
  g.Run("");
  EXPECT_EQ(g.Stored("PlayerName"), "湊");
  EXPECT_EQ(g.Stored("PlayerName3"), "朝倉");
}

TEST(NameEntryTest, ANameWithoutDefaultIsNotAskedForAndKeepsItsValue) {
  NameEntryGame g("MAKER_REG:Software\\NameTest\nGAME_ID:names\nDEFAULT_NAME:湊\nDEFAULT_NAME2:みなと\n");
  SettingsStore seeded(g.Game().Dir() / "config", "Software\\NameTest", "names");
  ASSERT_TRUE(seeded.Write("PlayerName3", Utf8ToSjis("旧姓")));
  g.Run("0 dialog name 春 はる family\n");
  EXPECT_EQ(g.Slot(0), "春");
  EXPECT_EQ(g.Slot(2), "旧姓");
  EXPECT_EQ(g.Stored("PlayerName3"), "旧姓");

  NameEntryGame fresh("MAKER_REG:Software\\NameTest\nGAME_ID:names\nDEFAULT_NAME:湊\n");
  fresh.Run("0 dialog name 春 x y\n");
  EXPECT_EQ(fresh.Slot(0), "春");
  EXPECT_EQ(fresh.Slot(2), "");
  // Rewritten with the current, empty name.
  EXPECT_EQ(fresh.Stored("PlayerName3"), "");
}

TEST(NameEntryTest, AFieldLeftAtItsDefaultPassesEvenWhenTheDefaultBreaksTheRule) {
  NameEntryGame g("MAKER_REG:Software\\NameTest\nGAME_ID:names\nDEFAULT_NAME:Alex\n");
  g.Run("0 dialog name -\n");
  EXPECT_EQ(g.Stored("PlayerName"), "Alex");

  NameEntryModel model(g.Engine());
  model.SetField(0, "Bob");
  EXPECT_FALSE(model.PressOk());
  model.PressDefault();
  EXPECT_TRUE(model.PressOk());
}

TEST(NameEntryTest, ALongDefaultIsKeptToSixtyThreeBytesAtACharacterBoundary) {
  std::string longName;
  for (int i = 0; i < 40; ++i) longName += "名";
  NameEntryGame g("MAKER_REG:Software\\NameTest\nGAME_ID:names\nDEFAULT_NAME:" + longName + "\n");
  g.Run("");
  const std::string slot = g.Engine().text.nameSlots[0];
  EXPECT_EQ(slot.size(), 62u);
  EXPECT_EQ(slot, Utf8ToSjis(longName).substr(0, 62));
  EXPECT_EQ(Utf8ToSjis(*g.Stored("PlayerName")), slot);

  NameEntryModel model(g.Engine());
  model.PressDefault();
  EXPECT_TRUE(model.PressOk());
  EXPECT_EQ(g.Engine().text.nameSlots[0].size(), 62u);
}

}  // namespace
}  // namespace torvel
