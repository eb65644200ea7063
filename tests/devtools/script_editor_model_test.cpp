// The script editor's rules: where the text opens, line kinds, the picture search and its
// grid, trims, filters, the history block, saving with backups and the edit log, and the
// restart ten lines back on the running engine.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fstream>

#include "devtools/edit_history.h"
#include "devtools/script_editor_model.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;
using testing::GameFixture;
using testing::TempFolder;

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

DebugScriptSet SetWithLines(int count, int length) {
  DebugScriptSet set;
  set.sourceLines.assign(static_cast<size_t>(count), std::string(static_cast<size_t>(length), 'x'));
  set.lineTable = BuildLineTable(set.sourceLines);
  set.tableEnd = count * (length + 1);
  return set;
}

TEST(ScriptEditorTest, TopLineIsFourAboveTheCurrentOne) {
  const DebugScriptSet set = SetWithLines(30, 3);  // line i starts at 4i
  struct Case {
    int pc, top;
  };
  for (Case c : std::vector<Case>{{0, 0}, {12, 0}, {16, 0}, {17, 1}, {40, 6}, {116, 25}, {10000, 26}})
    EXPECT_EQ(EditorTopLine(set, c.pc), c.top) << c.pc;
}

TEST(ScriptEditorTest, InsertionGoesBeforeTheCaretOrTheRecordedCommand) {
  const DebugScriptSet set = SetWithLines(30, 3);  // line i starts at 4i
  struct Case {
    const char* what;
    int caret;
    int lineCount;
    std::optional<int> recorded;
    int pc;
    int line;
  };
  const std::vector<Case> cases = {
      {"caret in the text", 5, 30, 40, 80, 5},
      {"caret on the first line", 0, 30, 40, 80, 0},
      {"caret on the last line", 29, 30, 40, 80, 29},
      {"no caret: the recorded command's line", -1, 30, 40, 80, 10},
      {"a position inside a line: the next line", -1, 30, 41, 80, 11},
      {"caret past the text", 30, 30, 40, 80, 10},
      {"no record: the line being run", -1, 30, std::nullopt, 80, 20},
      {"a record past the table: the end", -1, 30, 5000, 80, 30},
      {"a text shorter than the table: its end", -1, 12, 80, 80, 12},
      {"an empty text", -1, 0, 40, 80, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InsertionLine(set, c.caret, c.lineCount, c.recorded, c.pc), c.line) << c.what;
  }
}

TEST(ScriptEditorTest, TypedLinesAreClassifiedByTheirFirstCharacter) {
  struct Case {
    const char* line;
    int kind;
  };
  const std::vector<Case> cases = {{"@spr a,b", kEditedPicture},
                                   {"*gra x", kEditedPicture},
                                   {"@BG room", kEditedPicture},
                                   {"@if V001=1", kEditedBranch},
                                   {"@music m01", kEditedCommand},
                                   {"*go label", kEditedCommand},
                                   {"!V001=3", kEditedVariable},
                                   {";note", kEditedOther},
                                   {"{", kEditedBranch},
                                   {"}", kEditedBranch},
                                   {"「こんにちは」", kEditedText},
                                   {"\\name", kEditedText},
                                   {"", 0},
                                   {"@", kEditedCommand}};
  for (const Case& c : cases) EXPECT_EQ(ClassifyEditedLine(S(c.line)), c.kind) << c.line;
}

TEST(ScriptEditorTest, SearchModes) {
  const std::vector<std::string> jpeg{"BG_ROOM", "BG_PARK", "CH_AYA_SMILE"};
  const std::vector<std::string> gra{"ch_aya_room", "CH_BEN", "EV_PARK"};
  const std::vector<const std::vector<std::string>*> archives{&jpeg, &gra, nullptr, nullptr};
  struct Case {
    const char* what;
    const char* w1;
    const char* w2;
    SearchMode mode;
    std::vector<std::string> found;
    bool trim;
  };
  const std::vector<Case> cases = {
      {"one word, lower case", "bg", "", SearchMode::And, {"BG_ROOM", "BG_PARK"}, false},
      {"AND", "ch", "room", SearchMode::And, {"ch_aya_room"}, false},
      {"OR finds names with only the second word",
       "bg",
       "park",
       SearchMode::Or,
       {"BG_ROOM", "BG_PARK", "EV_PARK"},
       false},
      {"NOT leaves out names with both", "ch", "aya", SearchMode::Not, {"CH_BEN"}, false},
      {"# trims and searches the rest", "#ch_b", "", SearchMode::And, {"CH_BEN"}, true},
      {"empty word 1 finds nothing", "", "park", SearchMode::Or, {}, false},
  };
  for (const Case& c : cases) {
    PictureSearchResult r = SearchPictures(archives, c.w1, c.w2, c.mode);
    EXPECT_EQ(r.names, c.found) << c.what;
    EXPECT_EQ(r.trim, c.trim) << c.what;
  }
}

TEST(ScriptEditorTest, EachArchiveScanStopsPastSixtyNames) {
  std::vector<std::string> a(100, "P"), b(5, "P");
  EXPECT_EQ(SearchPictures({&a, &b}, "p", "", SearchMode::And).names.size(), 62u);
}

TEST(ScriptEditorTest, GridSizes) {
  struct Case {
    int results, columns, width, height, drawn;
  };
  for (Case c : std::vector<Case>{{0, 5, 192, 150, 0},
                                  {8, 5, 192, 150, 8},
                                  {9, 8, 120, 100, 9},
                                  {24, 8, 120, 100, 24},
                                  {25, 10, 96, 75, 25},
                                  {40, 10, 96, 75, 40},
                                  {41, 12, 80, 60, 41},
                                  {62, 12, 80, 60, 60}}) {
    ThumbnailGrid g = GridForResults(c.results);
    EXPECT_EQ(g.columns, c.columns) << c.results;
    EXPECT_EQ(g.cellWidth, c.width) << c.results;
    EXPECT_EQ(g.cellHeight, c.height) << c.results;
    EXPECT_EQ(g.drawn, c.drawn) << c.results;
  }
}

TEST(ScriptEditorTest, ThumbnailIndexesStayInsideTheResults) {
  const ThumbnailGrid g = GridForResults(7);  // 5 columns of 192 × 150
  struct Case {
    int x, y, cell;
  };
  for (Case c : std::vector<Case>{{0, 0, 0},
                                  {191, 149, 0},
                                  {192, 0, 1},
                                  {959, 0, 4},
                                  {0, 150, 5},
                                  {383, 299, 6},
                                  {384, 150, -1},
                                  {960, 0, -1},
                                  {0, 300, -1},
                                  {-1, 0, -1},
                                  {0, -1, -1}})
    EXPECT_EQ(ThumbnailAt(g, c.x, c.y), c.cell) << c.x << "," << c.y;
  // 12 columns of 80 fill the 960 width; 60 drawn of 62 results.
  const ThumbnailGrid big = GridForResults(62);
  EXPECT_EQ(ThumbnailAt(big, 959, 299), 59);  // five rows of 60 fill the 300 height
  const ThumbnailGrid some = GridForResults(50);
  EXPECT_EQ(ThumbnailAt(some, 959, 299), -1);  // cell 59 holds no result
  EXPECT_EQ(ThumbnailAt(big, 959, 239), 47);
}

TEST(ScriptEditorTest, TrimIsCutAroundTheMiddleAndClippedToThePicture) {
  struct Case {
    const char* what;
    int w, h, start, size;
    PixelRect r;
  };
  // size 200: width ⌊266.6⌋ = 266, left ⌊400 − 133.3⌋ = 266.
  const std::vector<Case> cases = {
      {"inside", 800, 600, 50, 200, {266, 50, 266, 200}},
      {"odd width rounds the middle down", 801, 600, 0, 100, {333, 0, 133, 100}},
      // size 600: width ⌊799.8⌋ = 799, left ⌊400 − 399.9⌋ = 0.
      {"clipped at the bottom", 800, 600, 300, 600, {0, 300, 799, 300}},
      {"wider than the picture", 200, 600, 0, 600, {0, 0, 200, 600}},
      {"start below the picture", 800, 100, 150, 100, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    PixelRect r = TrimRegion(c.w, c.h, c.start, c.size);
    EXPECT_EQ((std::vector<int>{r.x, r.y, r.w, r.h}), (std::vector<int>{c.r.x, c.r.y, c.r.w, c.r.h})) << c.what;
  }
}

TEST(ScriptEditorTest, FiltersRoundTripAndStopAtABadField) {
  PictureFilter f;
  f.name = "girls";
  f.words[0] = "CH";
  f.words[7] = "#EV";
  f.word2 = "SMILE";
  f.mode = SearchMode::Not;
  f.trimStart = 10;
  f.trimSize = 300;
  const std::string record = FormatFilter(f);
  EXPECT_EQ(record, "girls,CH,,,,,,,#EV,SMILE,2,10,300");
  PictureFilter back = ParseFilter(record);
  EXPECT_EQ(FormatFilter(back), record);
  struct Case {
    const char* record;
    int mode, start, size;
  };
  for (Case c : std::vector<Case>{{"n,a,b", 0, 50, 200},
                                  {"n,,,,,,,,,,1,x,300", 1, 50, 200},
                                  {"n,,,,,,,,,,7,0,300", 0, 50, 200},
                                  {"n:,,,,,,,,,2,0,999", 2, 0, 200},
                                  {"n,,,,,,,,,,2,0,100", 2, 0, 100}}) {
    PictureFilter p = ParseFilter(c.record);
    EXPECT_EQ(static_cast<int>(p.mode), c.mode) << c.record;
    EXPECT_EQ(p.trimStart, c.start) << c.record;
    EXPECT_EQ(p.trimSize, c.size) << c.record;
  }
}

TEST(EditHistoryTest, EntryCarriesTimeUserLineTagsAndNote) {
  const DateTime when{2026, 3, 4, 5, 6, 7};
  EXPECT_EQ(HistoryEntry(when, "kei", 12, kEditedPicture | kEditedText | kEditedOther, HistoryNotePreset()),
            S(";2026/03/04 05:06:07 kei [行:12][絵][文章][その他]"));
  EXPECT_EQ(HistoryEntry(when, "kei", 0, 0, S("直した")), S(";2026/03/04 05:06:07 kei [行:0] 直した"));
  EXPECT_FALSE(LoginName().empty());
}

TEST(EditHistoryTest, HistoryMerging) {
  const std::string start = S(";◇◆編集履歴ここから◆◇"), end = S(";◇◆編集履歴ここまで◆◇");
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::vector<std::string> history;  // as StartHistory builds it for entry "N"
    std::vector<std::string> saved;
  };
  std::vector<std::string> twelve{"a", start};
  for (int i = 0; i < 12; ++i) twelve.push_back("o" + std::to_string(i));
  twelve.push_back(end);
  std::vector<std::string> nine{"N"};
  for (int i = 0; i < 9; ++i) nine.push_back("o" + std::to_string(i));
  std::vector<std::string> nineSaved{"a", start};
  nineSaved.insert(nineSaved.end(), nine.begin(), nine.end());
  nineSaved.push_back(end);
  const std::vector<Case> cases = {
      {"no block", {"a", "b"}, {"N"}, {"a", "b", start, "N", end}},
      {"block moves to the end, newest first",
       {"a", start, "o1", end, "b"},
       {"N", "o1"},
       {"a", "b", start, "N", "o1", end}},
      {"at most ten entries", twelve, nine, nineSaved},
      {"end line missing: nothing removed", {"a", start, "o1"}, {"N"}, {"a", start, "o1", start, "N", end}},
      {"end line above start: nothing removed", {end, "a", start}, {"N"}, {end, "a", start, start, "N", end}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> history = StartHistory(c.lines, "N");
    EXPECT_EQ(history, c.history) << c.what;
    EXPECT_EQ(MergeHistory(c.lines, history), c.saved) << c.what;
  }
}

TEST(EditHistoryTest, ThreeSavesGiveThreeBackupsNewestInBk1) {
  TempFolder folder;
  const DebugScriptFile file{"main", folder.Path() / "main.S", ScriptSourceForm::ShiftJis};
  std::ofstream(file.path, std::ios::binary) << "v0\r\n";
  for (int v = 1; v <= 3; ++v) ASSERT_TRUE(SaveScriptFile(file, {"v" + std::to_string(v)}).ok) << v;
  EXPECT_EQ(ReadText(file.path), "v3\r\n");
  EXPECT_EQ(ReadText(folder.Path() / "main.BK1"), "v2\r\n");
  EXPECT_EQ(ReadText(folder.Path() / "main.BK2"), "v1\r\n");
  EXPECT_EQ(ReadText(folder.Path() / "main.BK3"), "v0\r\n");
  EXPECT_FALSE(fs::exists(folder.Path() / "main.BK4"));
  for (int v = 4; v <= 8; ++v) ASSERT_TRUE(SaveScriptFile(file, {"v" + std::to_string(v)}).ok) << v;
  EXPECT_EQ(ReadText(folder.Path() / "main.BK5"), "v3\r\n");
  EXPECT_FALSE(fs::exists(folder.Path() / "main.BK6"));
  EXPECT_FALSE(fs::exists(folder.Path() / "main.new~"));
  // A UTF-8 source is written back as UTF-8.
  const DebugScriptFile text{"day", folder.Path() / "day.txt", ScriptSourceForm::Utf8};
  ASSERT_TRUE(SaveScriptFile(text, {S("あ")}).ok);
  EXPECT_EQ(ReadText(text.path), "\xE3\x81\x82\n");
}

TEST(EditHistoryTest, RefusedOrFailedSavesKeepEverything) {
  TempFolder folder;
  const DebugScriptFile file{"main", folder.Path() / "main.S", ScriptSourceForm::ShiftJis};
  std::ofstream(file.path, std::ios::binary) << "old\r\n";
  std::ofstream(folder.Path() / "main.BK1", std::ios::binary) << "bk\r\n";
  SaveOutcome refused = SaveScriptFile(file, {"ok", "\x85\x40"});
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.message.find("line 2"), std::string::npos) << refused.message;
  EXPECT_EQ(ReadText(file.path), "old\r\n");
  EXPECT_EQ(ReadText(folder.Path() / "main.BK1"), "bk\r\n");
  if (geteuid() != 0) {
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    SaveOutcome failed = SaveScriptFile(file, {"new"});
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.message.find("main."), std::string::npos) << failed.message;
    EXPECT_EQ(ReadText(file.path), "old\r\n");
    EXPECT_EQ(ReadText(folder.Path() / "main.BK1"), "bk\r\n");
    EXPECT_FALSE(fs::exists(folder.Path() / "main.BK2"));
  }
}

TEST(EditHistoryTest, EditLogGainsTheNewestEntryFirst) {
  TempFolder folder;
  ASSERT_TRUE(AppendEditLog(folder.Path(), "main", ";one").ok);
  ASSERT_TRUE(AppendEditLog(folder.Path(), "longscriptname", ";two").ok);
  EXPECT_EQ(ReadText(folder.Path() / "_EDITLOG.TXT"), "longscriptname: ;two\r\nmain        : ;one\r\n");
}

TEST(ScriptEditorTest, RestartFromLineFiveStartsAtTheTop) {
  GameFixture game;
  game.Script("main", "\\l0\n\\l1\n\\l2\n\\l3\n\\l4\n\\l5\n");
  TForm1& engine = game.Start();
  DebugScriptSet& set = engine.devtools.scripts;
  set.sourceLines = {"\\l0", "\\l1", "\\l2", "\\l3", "\\l4", "\\l5"};
  set.lineTable = BuildLineTable(set.sourceLines);
  set.tableEnd = 24;
  for (int i = 0; i < 5; ++i) game.Click(), game.RunToWait();
  // Waiting at "\l4": the next line, line 5, starts at 20.
  EXPECT_EQ(engine.script.pc, 20);
  const int tag = RestartTenLinesBack(set, engine.script.pc, engine.script.scenarioSize);
  EXPECT_EQ(tag, 0);
  engine.ReturnFromScriptEditor(tag);
  EXPECT_EQ(engine.script.pc, 0);
  // The click the story waited for still holds it; the next one runs from the top.
  game.Click();
  EXPECT_EQ(game.RunToWait(), "\\l0");
}

}  // namespace
}  // namespace torvel
