// Message text on the headless engine: where characters land on the page, the inline tags,
// speaker lines, waits, auto mode and skip mode.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "support/text_game.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::kTextConfig;
using testing::PageRow;
using testing::Sj;

class MessageText : public ::testing::Test {
 protected:
  // Starts a game whose main script is `main` and runs it to its first wait.
  TForm1& Run(const std::string& main, int delay = 1) {
    game.Script("_config", kTextConfig).Script("main", main);
    TForm1& e = game.Start();
    e.settings.Delay = delay;
    game.RunToWait();
    return e;
  }
  // Puts a text line into the line buffer as the interpreter does.
  static void Feed(TForm1& e, const std::string& utf8) {
    e.script.lineBuffer = Sj(utf8);
    e.script.linePos = 0;
    e.script.needLine = false;
  }
  // Types a text line through the message processor until it ends or waits.
  static void Type(TForm1& e, const std::string& utf8) {
    Feed(e, utf8);
    for (int i = 0; i < 1000 && !e.script.needLine; ++i) {
      e.ShowTextLine();
      if (e.ctl.waitTicks != 0 || e.ctl.waitKind != 0) break;
    }
  }
  // The byte at (row, col) of the page.
  static uint8_t At(const TForm1& e, int row, int col) {
    return static_cast<uint8_t>(e.textWindow.page.bytes[static_cast<size_t>(row)][static_cast<size_t>(col)]);
  }

  GameFixture game;
};

TEST_F(MessageText, BracketsAreNotIndentedOtherRowsStartAtColumnTwo) {
  TForm1& e = Run("「あ」\nい\n\\\n");
  EXPECT_EQ(e.ctl.waitKind, 1);
  EXPECT_EQ(At(e, 1, 0), 0x81);  // 「 at column 0 of the first text row
  EXPECT_EQ(At(e, 1, 1), 0x75);
  EXPECT_EQ(At(e, 2, 0), 0);  // い is indented by one full-width blank
  EXPECT_EQ(PageRow(e, 2), "い");
  EXPECT_EQ(At(e, 2, 2), 0x82);
  // The page wait closed one more, empty, backlog line.
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 2), Sj("い"));
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 1), "");
}

struct MarginCase {
  std::string name;
  std::string last;  // the character arriving at column MOJI_MAX_X (10)
  bool staysOnRow;
};

class MarginTest : public MessageText, public ::testing::WithParamInterface<MarginCase> {};

TEST_P(MarginTest, LineBreakingCharactersStandPastTheMargin) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  Type(e, "「あいうえ" + GetParam().last);
  if (GetParam().staysOnRow) {
    EXPECT_EQ(PageRow(e, 1), "「あいうえ" + GetParam().last);
    EXPECT_EQ(PageRow(e, 2), "");
  } else {
    EXPECT_EQ(PageRow(e, 1), "「あいうえ");
    // The new row is a continuation row and starts after the indent.
    EXPECT_EQ(PageRow(e, 2), GetParam().last);
    EXPECT_NE(At(e, 2, 2), 0);
  }
}

std::vector<MarginCase> MarginCases() {
  std::vector<MarginCase> cases = {{"Kanji", "漢", false}, {"Hiragana", "か", false}, {"Ascii", "a", false}};
  // All 33 characters of the line-breaking set stay on the row.
  const std::string set = "　、。？！ー～）」』％♪ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヶ";
  for (size_t pos = 0; pos < set.size();) {
    size_t n = (static_cast<uint8_t>(set[pos]) >= 0xF0) ? 4 : (static_cast<uint8_t>(set[pos]) >= 0xE0 ? 3 : 2);
    cases.push_back({"Breaking" + std::to_string(cases.size() - 3), set.substr(pos, n), true});
    pos += n;
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Text, MarginTest, ::testing::ValuesIn(MarginCases()),
                         [](const auto& info) { return info.param.name; });

TEST_F(MessageText, ACharacterPastTheOverhangBreaksEvenFromTheSet) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  // 「 + four kana end at 10; 、 stands at 10, 。 at 12 is past the overhang and breaks.
  Type(e, "「あいうえ、。");
  EXPECT_EQ(PageRow(e, 1), "「あいうえ、");
  EXPECT_EQ(PageRow(e, 2), "。");
}

TEST_F(MessageText, ContinuationRowDropsALeadingFullWidthBlank) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  Type(e, "「あいうえかき　く");
  EXPECT_EQ(PageRow(e, 2), "かき　く");
  e.ClearPage();
  // 、 stands past the margin; the blank after it breaks the line.
  Type(e, "「あいうえ、　く");
  EXPECT_EQ(PageRow(e, 1), "「あいうえ、");
  // The blank would start the continuation row: it is dropped and く takes column 2.
  EXPECT_EQ(PageRow(e, 2), "く");
  EXPECT_EQ(At(e, 2, 2), 0x82);
}

TEST_F(MessageText, NumberTagTypesTheExpressionsValue) {
  TForm1& e = Run("!V001=42\nは[?V001]です\n\\\n");
  EXPECT_EQ(PageRow(e, 1), "は42です");
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 2), Sj("は42です"));
}

TEST_F(MessageText, ColourTagSelectsTheCodeAndZeroReturnsToTheSpeakersColour) {
  TForm1& e = Run(">湊\nあ[col 2]い[col 0]う\n\\\n");
  const auto& colours = e.textWindow.page.colours[1];
  EXPECT_EQ(colours[2], 0);
  EXPECT_EQ(colours[4], 2);
  EXPECT_EQ(colours[6], 0);
  EXPECT_EQ(ColourOfCode(2, 0), 0x0000FFu);
  // Code 0 is the speaker's colour, which the name plate made the default.
  EXPECT_EQ(static_cast<uint32_t>(e.vars.S(kVarTextColour)), e.config.NAME[1].colour);
  // The character in code 2 is drawn red: the brightest pixel of its cell is red.
  const int x = e.textWindow.x + e.config.TX_OFS_X + 4 * e.config.TX_PITCH_X;
  const int y = e.textWindow.y + e.config.TX_OFS_Y + e.config.TX_PITCH_Y;
  int bestR = 0, bestB = 255;
  for (int dy = 0; dy < kGlyphCellHeight; ++dy) {
    for (int dx = 0; dx < kGlyphCellWidth; ++dx) {
      const uint8_t* p = e.layers.screen.At(x + dx, y + dy);
      if (p[2] > bestR) {
        bestR = p[2];
        bestB = p[0];
      }
    }
  }
  EXPECT_GT(bestR, 200);
  EXPECT_LT(bestB, 120);
}

struct TagCase {
  const char* name;
  std::string tag;
  int waitTicks;
  int textSpeed;
  int colour;
};

class TagNumberTest : public MessageText, public ::testing::WithParamInterface<TagCase> {};

TEST_P(TagNumberTest, TagNumbersAreKeptInRange) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  e.ctl.waitKind = 0;
  Type(e, "あ" + GetParam().tag + "い");
  EXPECT_EQ(e.ctl.waitTicks, GetParam().waitTicks);
  EXPECT_EQ(e.text.textSpeed, GetParam().textSpeed);
  EXPECT_EQ(e.text.colourIndex, GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TagNumberTest,
    ::testing::Values(TagCase{"Wait", "[wait 7]", 7, 1, 0}, TagCase{"NegativeWait", "[wait -5]", 0, 1, 0},
                      TagCase{"Delay", "[delay 3]", 0, 3, 0}, TagCase{"NegativeDelay", "[DELAY -3]", 0, 0, 0},
                      TagCase{"Colour", "[col 5]", 0, 1, 5}, TagCase{"ColourNine", "[col 9]", 0, 1, 1},
                      TagCase{"ColourEight", "[col 8]", 0, 1, 8}, TagCase{"NegativeColour", "[col -1]", 0, 1, 7},
                      TagCase{"NegativeEight", "[col -8]", 0, 1, 8}, TagCase{"Unknown", "[zzz 5]", 0, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageText, PercentWaitsTenTicksButNotInSkipMode) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  e.ctl.waitKind = 0;
  Feed(e, "あ%い");
  e.ShowTextLine();
  EXPECT_EQ(e.ctl.waitTicks, 10);
  EXPECT_EQ(PageRow(e, 1), "あ");
  e.ctl.waitTicks = 0;
  e.ShowTextLine();
  EXPECT_EQ(PageRow(e, 1), "あい");
  Type(e, "う%25え");
  EXPECT_EQ(e.ctl.waitTicks, 25);
  e.ctl.waitTicks = 0;
  e.ctl.skipActive = true;
  Type(e, "お%か[wait 9]き");
  EXPECT_EQ(e.ctl.waitTicks, 0);
}

TEST_F(MessageText, SpeakerLineWithANameSlotShowsThePlayerName) {
  TForm1& e = Run(">＄_O\nこんにちは\n\\\n");
  ASSERT_FALSE(e.text.nameSlots[0].empty());
  EXPECT_EQ(e.text.speakerName, e.text.nameSlots[0]);
  EXPECT_EQ(PageRow(e, 0), SjisToUtf8(e.text.nameSlots[0]));
  EXPECT_EQ(e.text.backlog.Line(0), e.text.nameSlots[0]);
  // The first player name is 湊, the first entry of the speaker table.
  EXPECT_EQ(e.text.nameSlots[0], Sj("湊"));
  EXPECT_EQ(static_cast<uint32_t>(e.vars.S(kVarTextColour)), e.config.NAME[1].colour);
}

TEST_F(MessageText, NameMarksInTextInsertNameSlots) {
  TForm1& e = Run("[$1]＄_P＄_Aと[$x]\n\\\n");
  EXPECT_EQ(PageRow(e, 1), "ミミと");
}

struct SpeakerCase {
  const char* name;
  std::string speaker;
  uint32_t colour;
};

class SpeakerColourTest : public MessageText, public ::testing::WithParamInterface<SpeakerCase> {};

TEST_P(SpeakerColourTest, TheSpeakerTableGivesTheDefaultTextColour) {
  TForm1& e = Run(">" + GetParam().speaker + "\nあ\n\\\n");
  EXPECT_EQ(static_cast<uint32_t>(e.vars.S(kVarTextColour)), GetParam().colour);
  EXPECT_EQ(e.text.speakerName, Sj(GetParam().speaker));
}

INSTANTIATE_TEST_SUITE_P(Text, SpeakerColourTest,
                         ::testing::Values(SpeakerCase{"First", "湊", 0xFF0000},
                                           SpeakerCase{"Second", "少女", 0x0000FF},
                                           SpeakerCase{"Unknown", "駅員", 0xFFFFFF},
                                           SpeakerCase{"TrailingBlank", "湊 ", 0xFFFFFF}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageText, UnloggedMarksAreDrawnButNotKept) {
  TForm1& e = Run("あ◆い√\n§\n\\\n");
  EXPECT_EQ(PageRow(e, 1), "あ◆い√");
  EXPECT_EQ(PageRow(e, 2), "§");
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 3), Sj("あい"));
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 2), "");
}

struct AutoCase {
  const char* name;
  int speed;
  int chars;
  int countdown;
};

class AutoCountdownTest : public MessageText, public ::testing::WithParamInterface<AutoCase> {};

TEST_P(AutoCountdownTest, CountdownFollowsCharactersAndSpeed) {
  TForm1& e = Run("\\\n");
  e.vars.S(kVarAutoSpeed) = GetParam().speed;
  e.text.charsSinceWait = GetParam().chars;
  e.StartAutoCountdown();
  EXPECT_EQ(e.ctl.autoCountdown, GetParam().countdown);
}

// SPD_MAX is 10: the divisor is 22 − S026.
INSTANTIATE_TEST_SUITE_P(Text, AutoCountdownTest,
                         ::testing::Values(AutoCase{"Example", 5, 34, 14}, AutoCase{"ZeroDivisor", 22, 100, 46},
                                           AutoCase{"NegativeDivisor", 30, 100, 62},
                                           AutoCase{"NegativeSpeed", -3, 5, 0}, AutoCase{"NoText", 1, 0, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageText, TypedCharactersCountTowardsTheAutoDelay) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  e.ctl.waitKind = 0;
  e.vars.S(kVarAutoSpeed) = 5;
  e.ctl.skipActive = true;  // no per-character pauses
  Type(e, "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめ▼");
  EXPECT_EQ(e.text.charsSinceWait, 34);
  EXPECT_EQ(e.ctl.waitKind, 1);
  EXPECT_EQ(e.ctl.autoCountdown, 14);
}

TEST_F(MessageText, PerCharacterDisplayTypesOneCharacterPerStep) {
  TForm1& e = Run("\\\n", 0);
  e.OpenWindow();
  e.ctl.waitKind = 0;
  Feed(e, "あいう");
  e.ShowTextLine();
  EXPECT_EQ(PageRow(e, 1), "あ");
  EXPECT_EQ(e.ctl.waitTicks, 0);  // textSpeed 1: the next frame goes on
  e.ShowTextLine();
  EXPECT_EQ(PageRow(e, 1), "あい");
  e.text.instantText = true;
  e.ShowTextLine();
  EXPECT_EQ(PageRow(e, 1), "あいう");
  // A slower speed pauses textSpeed − 1 ticks (only a wait ends an instant request).
  e.text.instantText = false;
  Feed(e, "[delay 4]えお");
  e.ShowTextLine();
  EXPECT_EQ(e.ctl.waitTicks, 3);
}

TEST_F(MessageText, WaitsInTextAndTheirAnswers) {
  TForm1& e = Run("あ〓い\n\\\n");
  // 〓 after a character keeps the line going after the wait.
  EXPECT_EQ(e.ctl.waitKind, 2);
  EXPECT_FALSE(e.script.needLine);
  game.Click();
  game.RunToWait();
  EXPECT_EQ(PageRow(e, 1), "あい");
  EXPECT_EQ(e.ctl.waitKind, 1);
  game.Click();
  game.Host().RunFrames(2);
  // The page wait started a new page.
  EXPECT_TRUE(e.textWindow.page.empty);
  EXPECT_EQ(PageRow(e, 1), "");
}

TEST_F(MessageText, NewPageMarkClearsThePage) {
  TForm1& e = Run("あ▽い\n\\\n");
  EXPECT_EQ(PageRow(e, 1), "");
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 2), Sj("あ"));
}

TEST_F(MessageText, SkipModeRunsTextLinesInOneStep) {
  TForm1& e = Run("\\\n一行目\n二行目\n三行目\n\\\n", 0);
  ASSERT_EQ(e.ctl.waitKind, 1);
  e.ctl.waitKind = 0;
  e.ctl.skipActive = true;
  // Three text lines typed without pauses, up to the next page wait, in a single step.
  e.Step();
  EXPECT_EQ(e.ctl.waitKind, 1);
  EXPECT_EQ(e.script.pc, e.script.scenarioSize);
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 2), Sj("三行目"));
}

TEST_F(MessageText, LargeTextAdvancesThreeColumns) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  Type(e, "[2]あい[1]う");
  EXPECT_EQ(At(e, 1, 2), 0x82);
  EXPECT_EQ(At(e, 1, 5), 0x82);
  EXPECT_EQ(At(e, 1, 8), 0x82);
  EXPECT_EQ(PageRow(e, 1), "あいう");
}

TEST_F(MessageText, RubyIsDrawnButNeitherStoredNorLogged) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  const Bitmap before = e.layers.screen;
  Type(e, "<えき>駅");
  EXPECT_EQ(PageRow(e, 1), "駅");
  EXPECT_EQ(e.text.backlog.Building(), "");  // the line ended and was closed
  EXPECT_EQ(e.text.backlog.Line(e.text.backlog.Lines() - 1), Sj("駅"));
  // Something was drawn just above the character's row.
  const int y = e.textWindow.y + e.config.TX_OFS_Y + e.config.TX_PITCH_Y - 7;
  int changed = 0;
  for (int dy = 0; dy < 9; ++dy) {
    for (int dx = 0; dx < 30; ++dx) {
      const int x = e.textWindow.x + e.config.TX_OFS_X + 2 * e.config.TX_PITCH_X + 3 + dx;
      changed += before.At(x, y + dy)[0] != e.layers.screen.At(x, y + dy)[0];
    }
  }
  EXPECT_GT(changed, 5);
  // A ruby left open finishes the line.
  Type(e, "あ<ひらいたまま");
  EXPECT_TRUE(e.script.needLine);
}

TEST_F(MessageText, VoiceTagNamesTheRestOfTheLineAndTextGoesOnAfterItsBracket) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  Type(e, "あ[cv V001]いう");
  EXPECT_EQ(PageRow(e, 1), "あいう");
  EXPECT_EQ(e.sound.lastVoice, Sj("V001]いう"));
  // Written last on its line without "]", the tag names the voice alone.
  Type(e, "え[cv V002");
  EXPECT_EQ(e.sound.lastVoice, "V002");
  EXPECT_TRUE(e.script.needLine);
  EXPECT_EQ(PageRow(e, 2), "え");
}

TEST_F(MessageText, LargeTextIsRedrawnAsItWasTyped) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  Type(e, "[2]あ[1]い");
  const Bitmap typed = e.layers.screen;
  // A redraw of the page (a scene change under the window) draws the same picture.
  e.RedrawTextWindow();
  for (int y = e.textWindow.y; y < e.textWindow.y + e.config.TXW_SIZE_Y; ++y) {
    ASSERT_EQ(0, std::memcmp(typed.Row(y), e.layers.screen.Row(y), kScreenWidth * 3)) << y;
    ASSERT_EQ(0, std::memcmp(typed.Row(y), game.Host().Window().Row(y), kScreenWidth * 3)) << y;
  }
}

TEST_F(MessageText, ModeInForceResetsTheColourOfTheTextToCome) {
  TForm1& e = Run("あ[col 2]い\n@mode 0\nう\n\\\n");
  EXPECT_EQ(e.vars.S(160), 0);
  EXPECT_EQ(e.vars.S(37), 0xFFFFFF);
  const TextPage& page = e.textWindow.page;
  EXPECT_EQ(page.colours[1][4], 2);  // い, before the mode
  EXPECT_EQ(PageRow(e, 2), "う");
  EXPECT_EQ(page.colours[2][2], 0);  // う, after it: the default colour
}

// Full-screen text mode: what a ruby before the character that wraps changes on the screen.
std::vector<Point> RubyPixels(const std::string& rubyOrNothing) {
  GameFixture g;
  g.Script("_config", kTextConfig).Script("main", "@mode 1\n\\\n");
  TForm1& e = g.Start();
  e.settings.Delay = 1;
  g.RunToWait();
  std::string line;
  for (int i = 0; i < 30; ++i) line += "あ";  // 60 bytes: the margin
  e.script.lineBuffer = Sj(line + rubyOrNothing + "漢");
  e.script.linePos = 0;
  e.script.needLine = false;
  for (int i = 0; i < 100 && !e.script.needLine; ++i) e.ShowTextLine();
  std::vector<Point> inked;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      if (e.layers.screen.At(x, y)[0] > 128) inked.push_back(Point{x, y});
    }
  }
  return inked;
}

TEST_F(MessageText, FullScreenRubyOverAWrappingCharacterGoesToColumnTwoOfTheRowBelow) {
  const std::vector<Point> without = RubyPixels("");
  const std::vector<Point> with = RubyPixels("<かん>");
  std::set<std::pair<int, int>> before;
  for (Point p : without) before.insert({p.x, p.y});
  int added = 0;
  for (Point p : with) {
    if (before.count({p.x, p.y}) != 0) continue;
    ++added;
    // Row 1, column 2: x from 2 × 11 + 60 + 3 = 85, y from 1 × 32 + 48 − 7 = 73.
    EXPECT_GE(p.x, 85);
    EXPECT_GE(p.y, 73);
    EXPECT_LT(p.y, 73 + 14);
  }
  EXPECT_GT(added, 5);
}

TEST_F(MessageText, PageWritesPastTheGridAreDropped) {
  TForm1& e = Run("\\\n");
  e.OpenWindow();
  e.config.MOJI_MAX_X = 200;  // a configuration wider than the page
  std::string longLine;
  for (int i = 0; i < 60; ++i) longLine += "あ";
  Type(e, longLine);
  EXPECT_EQ(At(e, 1, 98), 0x82);
  EXPECT_EQ(At(e, 1, 99), 0xA0);
  EXPECT_EQ(At(e, 2, 0), 0);
  e.text.cursorRow = 25;
  Type(e, "い");
  EXPECT_EQ(e.text.cursorRow, 26);
  for (int r = 2; r < kPageRows; ++r) EXPECT_EQ(PageRow(e, r), "") << r;
}

TEST_F(MessageText, InvalidShiftJisDrawsABlankCellAndStopsAtTheLineEnd) {
  for (const std::string& bad : {std::string("\x85\x40"), std::string("\x82")}) {
    SCOPED_TRACE(static_cast<int>(static_cast<uint8_t>(bad[0])));
    GameFixture g;
    g.Script("_config", kTextConfig).Script("main", "\\\n");
    TForm1& e = g.Start();
    e.settings.Delay = 1;
    g.RunToWait();
    e.OpenWindow();
    e.script.lineBuffer = Sj("あ") + bad;
    e.script.linePos = 0;
    e.script.needLine = false;
    e.ShowTextLine();
    EXPECT_TRUE(e.script.needLine);
    EXPECT_EQ(static_cast<uint8_t>(e.textWindow.page.bytes[1][4]), static_cast<uint8_t>(bad[0]));
    // The cell of the bad character is the clean window.
    const int x0 = e.config.TX_OFS_X + 4 * e.config.TX_PITCH_X;
    const int y0 = e.config.TX_OFS_Y + e.config.TX_PITCH_Y;
    int differing = 0;
    for (int dy = 0; dy < kGlyphCellHeight; ++dy) {
      for (int dx = 2 * e.config.TX_PITCH_X + 2; dx < kGlyphCellWidth; ++dx) {
        differing += e.layers.screen.At(e.textWindow.x + x0 + dx, e.textWindow.y + y0 + dy)[1] !=
                     e.textWindow.clean.At(x0 + dx, y0 + dy)[1];
      }
    }
    EXPECT_EQ(differing, 0);
  }
}

}  // namespace
}  // namespace torvel
