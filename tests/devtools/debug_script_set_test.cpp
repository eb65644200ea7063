// The debug script set: the folder scan, source decoding, the line table and its lookups, and
// the debug settings file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "devtools/debug_script_set.h"
#include "devtools/debug_settings.h"
#include "resources/file_io.h"
#include "resources/storage_paths.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;
using testing::GameFixture;
using testing::TempFolder;

void WriteBytes(const fs::path& file, std::string_view bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> Names(const std::vector<DebugScriptFile>& files) {
  std::vector<std::string> names;
  for (const DebugScriptFile& f : files) names.push_back(f.name);
  return names;
}

TEST(DebugScriptScanTest, TakesShiftJisAndUtf8SourcesWithoutFollowingLinks) {
  TempFolder folder;
  const fs::path root = folder.Path() / "src";
  WriteBytes(root / "main.S", "a\r\n");
  WriteBytes(root / "sub" / "day1.txt", "b\n");
  WriteBytes(root / "sub" / "UPPER.TXT", "c\n");
  WriteBytes(root / "notes.md", "x");
  WriteBytes(root / "archive.SS", "x");
  WriteBytes(folder.Path() / "outside" / "hidden.S", "x");
  WriteBytes(folder.Path() / "linked.S", "x");
  fs::create_directory_symlink(folder.Path() / "outside", root / "linkdir");
  fs::create_symlink(folder.Path() / "linked.S", root / "linkfile.S");
  const std::vector<DebugScriptFile> files = ScanDebugScripts(root);
  EXPECT_EQ(Names(files), (std::vector<std::string>{"main", "UPPER", "day1"}));
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].form, ScriptSourceForm::ShiftJis);
  EXPECT_EQ(files[1].form, ScriptSourceForm::Utf8);
  EXPECT_TRUE(ScanDebugScripts(folder.Path() / "missing").empty());
  EXPECT_TRUE(ScanDebugScripts("").empty());
}

TEST(DebugScriptScanTest, LinkedRootFolderIsNotScanned) {
  TempFolder folder;
  WriteBytes(folder.Path() / "real" / "main.S", "a\n");
  fs::create_directory_symlink(folder.Path() / "real", folder.Path() / "link");
  EXPECT_TRUE(ScanDebugScripts(folder.Path() / "link").empty());
  EXPECT_EQ(ScanDebugScripts(folder.Path() / "real").size(), 1u);
}

TEST(ScriptSourceTest, DecodesEachForm) {
  struct Case {
    const char* what;
    std::string bytes;
    ScriptSourceForm form;
    std::optional<std::vector<std::string>> lines;
  };
  const std::vector<Case> cases = {
      {"CR LF, CR and LF all end lines", "a\r\nb\rc\nd", ScriptSourceForm::ShiftJis,
       std::vector<std::string>{"a", "b", "c", "d"}},
      {"empty lines kept", "\n\nx\n", ScriptSourceForm::ShiftJis, std::vector<std::string>{"", "", "x"}},
      {"Shift-JIS kept as it stands", "\x82\xA0\n", ScriptSourceForm::ShiftJis, std::vector<std::string>{"\x82\xA0"}},
      {"UTF-8 becomes Shift-JIS", "\xE3\x81\x82\n", ScriptSourceForm::Utf8, std::vector<std::string>{"\x82\xA0"}},
      {"byte-order mark dropped", "\xEF\xBB\xBFq\n", ScriptSourceForm::Utf8, std::vector<std::string>{"q"}},
      {"malformed UTF-8", "\xE3\x81\n", ScriptSourceForm::Utf8, std::nullopt},
      {"UTF-8 without a Shift-JIS form", "\xF0\x9F\x98\x80\n", ScriptSourceForm::Utf8, std::nullopt},
      {"lone lead byte", "ab\x82", ScriptSourceForm::ShiftJis, std::nullopt},
      {"undefined pair", "\x85\x40", ScriptSourceForm::ShiftJis, std::nullopt},
      {"NUL byte", std::string("a\0b", 3), ScriptSourceForm::ShiftJis, std::nullopt},
  };
  for (const Case& c : cases) {
    std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
    EXPECT_EQ(DecodeScriptSource(bytes, c.form), c.lines) << c.what;
  }
}

TEST(ScriptSourceTest, EncodesBackAndNamesTheFirstLineItCannotCarry) {
  EXPECT_EQ(EncodeScriptSource({"a", "\x82\xA0"}, ScriptSourceForm::ShiftJis), std::string("a\r\n\x82\xA0\r\n"));
  EXPECT_EQ(EncodeScriptSource({"a", "\x82\xA0"}, ScriptSourceForm::Utf8), std::string("a\n\xE3\x81\x82\n"));
  size_t bad = 99;
  EXPECT_FALSE(EncodeScriptSource({"ok", "ok", "\x85\x40", "\x82"}, ScriptSourceForm::ShiftJis, &bad));
  EXPECT_EQ(bad, 2u);
}

TEST(LineTableTest, EachLineStartsAfterTheLinesBeforeItAndTheirNuls) {
  // Lengths 3, 0, 2 (one two-byte character), 1: starts 0, 4, 5, 8.
  EXPECT_EQ(BuildLineTable({"abc", "", "\x82\xA0", "z"}), (std::vector<int>{0, 4, 5, 8}));
  std::vector<std::string> many(kDebugLineTableMax + 5, "x");
  std::vector<int> table = BuildLineTable(many);
  ASSERT_EQ(table.size(), kDebugLineTableMax);
  EXPECT_EQ(table.back(), static_cast<int>(2 * (kDebugLineTableMax - 1)));
}

TEST(LineTableTest, LookupsPastTheTableUseItsEndAndRestartsStayInTheScript) {
  DebugScriptSet set;
  set.lineTable = {0, 4, 5, 8};
  set.tableEnd = 10;
  struct Case {
    int line, start;
  };
  for (Case c : std::vector<Case>{{-3, 0}, {0, 0}, {3, 8}, {4, 10}, {1000000, 10}})
    EXPECT_EQ(set.LineStart(c.line), c.start) << c.line;
  struct Pc {
    int pc, line;
  };
  for (Pc c : std::vector<Pc>{{-1, 0}, {0, 0}, {1, 1}, {4, 1}, {6, 3}, {8, 3}, {9, 4}})
    EXPECT_EQ(set.FirstLineAtOrAfter(c.pc), c.line) << c.pc;
  EXPECT_EQ(ClampRestartPosition(-5, 100), 0);
  EXPECT_EQ(ClampRestartPosition(50, 100), 50);
  EXPECT_EQ(ClampRestartPosition(500, 100), 100);
  EXPECT_EQ(ClampRestartPosition(5, -1), 0);
}

constexpr const char* kConfig =
    "TITLE:テスト\n"
    "MAKER_REG:Software\\TestMaker\n"
    "GAME_ID:alpha\n";

TEST(DebugScriptSetTest, LoadingAScriptOfTheSetFillsItsLineTable) {
  GameFixture game;
  game.Script("_config", kConfig).Script("main", "\\hello\n@end\n").Script("other", "\\x\n");
  TForm1& engine = game.Start();
  game.RunToWait();  // the story runs "main"
  // Utf-8 source: "\\hello" is 6 bytes, "あい" 4 bytes in Shift-JIS, "@end" 4.
  const fs::path sources = game.Dir() / "sources";
  WriteBytes(sources / "main.txt", "\\hello\n\xE3\x81\x82\xE3\x81\x84\n@end\n");
  WriteBytes(sources / "_config.txt", "x\n");
  SettingsStore store = DebugSettingsStore(game.Host().SettingsFolder(), "alpha");
  ASSERT_TRUE(store.Write("DBG_SCRIPT_PATH", sources.string()));
  engine.RebuildDebugScriptSet();
  EXPECT_TRUE(engine.devtools.scripts.hasConfig);
  EXPECT_EQ(engine.devtools.scripts.lineTable, (std::vector<int>{0, 7, 12}));
  EXPECT_EQ(engine.devtools.scripts.tableEnd, 17);
  ASSERT_TRUE(engine.LoadScript("other", 1));
  EXPECT_EQ(engine.devtools.scripts.current, -1);
  EXPECT_TRUE(engine.devtools.scripts.lineTable.empty());
  ASSERT_TRUE(engine.LoadScript("MAIN", 1));
  EXPECT_EQ(engine.devtools.scripts.files[static_cast<size_t>(engine.devtools.scripts.current)].name, "main");
  EXPECT_EQ(engine.devtools.scripts.lineTable, (std::vector<int>{0, 7, 12}));
  EXPECT_FALSE(engine.devtools.scripts.sourceReadOnly);
  // A source that does not decode is shown but never written.
  WriteBytes(sources / "main.txt", "\\hello\n\xFF\n");
  ASSERT_TRUE(engine.LoadScript("main", 1));
  EXPECT_TRUE(engine.devtools.scripts.sourceReadOnly);
}

TEST(DebugSettingsTest, LiveUnderTheDebugFolderAndArePrintedWithThePaths) {
  GameFixture game;
  game.Script("_config", kConfig).Script("main", "@end\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(engine.DebugSettingsFile(), game.Host().SettingsFolder() / "debug" / "alpha.ini");
  std::ostringstream out;
  ASSERT_EQ(PrintStoragePaths(game.Dir(), "/home/u/.config/torvel", out), 0);
  EXPECT_NE(out.str().find("debug:        /home/u/.config/torvel/debug/alpha.ini [DBG]"), std::string::npos)
      << out.str();
}

}  // namespace
}  // namespace torvel

namespace torvel {
namespace {

// The demo's sources are what `torvel --dev` edits: the folder passes as a debug script set and
// every script in it decodes, so none opens read-only.
TEST(DebugScriptSetTest, TheDemosSourcesAreAnEditableSet) {
  DebugScriptSet set;
  set.Rebuild(std::filesystem::path(TORVEL_SOURCE_DIR) / "demo" / "data");
  EXPECT_TRUE(set.hasConfig);
  ASSERT_GE(set.Find("main"), 0);
  for (const DebugScriptFile& file : set.files) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(ReadWholeFile(file.path, bytes, kDebugSourceMaxBytes, error)) << error;
    EXPECT_TRUE(DecodeScriptSource(bytes, file.form).has_value()) << file.path;
  }
}

}  // namespace
}  // namespace torvel
