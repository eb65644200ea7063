// `torvel --lint`: one line per fault, each kind found where the engine would pass it over, and
// nothing for what the engine resolves (composites, solid colours, names known only at run time).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "devtools/game_lint.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::TempFolder;

struct LintCase {
  std::string line;     // one line of the script MAIN (plain bytes)
  std::string finding;  // what the checker says about it ("KIND: DETAIL"), empty for nothing
};

const std::vector<LintCase>& MainCases() {
  static const std::vector<LintCase> cases = {
      {":start", ""},
      {"@bg BG01,1", ""},
      {"@bg S0f0", ""},     // a solid colour
      {"@bg #HALL", ""},    // a composite of _bgset
      {"@gra AB01,3", ""},  // from the JPEG archive
      {"@spr BC01,#GIRL,-,2", ""},
      {"@music 1", ""},
      {"@music 0", ""},
      {"@se SE01", ""},
      {"@cv V001", ""},  // a voice, found before the effects
      {"@anim ANIM1,0,0", ""},
      {"@efxanim FX,50", ""},  // the series needs only its first frame
      {"@call $1", ""},        // the name is known only while the story runs
      {"@call other:here", ""},
      {"@roll staff", ""},
      {"@sroll slides", ""},
      {"@go start", ""},
      {"!v001 = v001 + 1; E010=1", ""},
      {"@if (V001=1&F002!0) start", ""},
      {"@if (V001>2) @bg BG01", ""},
      {"{go left", ""},
      {"}", ""},
      {"@effect flash", ""},
      {"@clickmap tow", ""},  // the first map whose name starts so
      {"@viewer page1", ""},
      {"@map", ""},
      {"@bogus 1", "unknown command: bogus"},
      {"@bg ", "missing argument: bg"},
      {"@call", "unknown command: call"},  // "call " needs its blank
      {"@if (V001=5 x) start", "bad condition: (V001=5 x) start"},
      {"@if V001=5 start", "bad condition: V001=5 start"},
      {"!Q001=1", "bad assignment: Q001=1"},
      {"@calc V01=1", "bad assignment: V01=1"},
      {"}", "unbalanced block: \"}\" closes no \"{\""},
      {std::string(2100, 'a'), "line too long: 2100 bytes (at most 2047)"},
      {"\x82\x20text", "bad text: not Shift-JIS text"},
      {"@go nowhere", "missing label: nowhere"},
      {"@if (V001=1) lost", "missing label: lost"},
      {"@call other:gone", "missing label: other:gone"},
      {"@chain absent", "missing script: absent"},
      {"@sroll absent2", "missing script: absent2"},
      {"@bg BG99", "missing picture: BG99"},
      {"@gra BX01", "missing picture: BX01"},
      {"@spr BC01,#NOBODY", "missing picture: #NOBODY"},
      {"@if (V001>2) @ovr OV9,1", "missing picture: OV9"},
      {"@music 2", "missing sound: music 2"},
      {"@se SE99", "missing sound: SE99"},
      {"@anim NOANIM", "missing animation: NOANIM"},
      {"@efxanim GONE", "missing animation: GONE_000"},
      {"@movie none.mpg", "missing file: none.mpg"},
      {"@effect NONE", "missing label: effect:NONE"},
      {"@clickmap city", "missing label: map:city"},
      {"@viewer NOPAGE", "missing label: view:NOPAGE"},
  };
  return cases;
}

std::vector<uint8_t> Body(const std::vector<std::string>& lines) {
  std::vector<uint8_t> body;
  for (const std::string& line : lines) {
    body.insert(body.end(), line.begin(), line.end());
    body.push_back(0);
  }
  return body;
}

// A game with every kind of name the checker resolves, and a script line for each case.
void MakeGame(GameFixture& game) {
  std::vector<std::string> main;
  for (const LintCase& c : MainCases()) main.push_back(c.line);
  game.ScriptBytes("main", Body(main))
      .Script("other", ":here\n@end\n")
      .Script("staff", "@not a scenario command\n@GRA BG01\n@GRA S000\n@GRA BG98,2\n")
      .Script("slides", "@GRA S000\n@GRA BG01,2\n@GRA BG97\n")
      .Script("blocks", "{:CASE1(V001=1)\n{\nbody\n")
      .Script("_config", "TITLE:lint\nCFG_VOL_KNOB:NOKNOB\nCFG_AUTO_KNOB:BG01\n")
      .Script("_bgset", ":HALL\nBG01\n:END\n")
      .Script("_sprset", ":GIRL\nBC01\nMISSING,10,20\n:END\n")
      .Script("effect", ":FLASH\nF,30\n")
      .Script("map", ":town\n1\nstation,0,0,10,10\n")
      .Script("view", ":PAGE1\n")
      // Chapter 1's map is there, chapter 2's and the hit map are not; ":X" is no chapter.
      .Script("mapctrl", ":1\n1,a,1\n:2\n:X\n:END\n:3\n")
      .Entry("tq_gra.tvx", "tr_base1a", {1})
      .Entry("tq_gjp.tvx", "AB01", {1})
      .Entry("tq_gra.tvx", "BG01", {1})
      .Entry("tq_gra.tvx", "BC01", {1})
      .Entry("tq_gra2.tvx", "FX_000", {1})
      .Entry("tq_bgm.tvx", "M01", {1})
      .Entry("tq_se0.tvx", "SE01", {1})
      .Entry("tq_ogg1.tvx", "V001", {1})
      .Entry("tq_anim.tvx", "ANIM1", {1});
  game.Write();
  // An effect archive whose index claims more entries than the file holds.
  std::ofstream(game.Dir() / "tq_se1.tvx", std::ios::binary) << std::string("\xFF\xFF\x00\x00\x20\x00\x00\x00", 8);
}

TEST(GameLintTest, OneLinePerFaultOfEachKind) {
  GameFixture game;
  MakeGame(game);
  std::vector<std::string> expected = {
      "BLOCKS:1: unbalanced block: \"{:CASE1\" is never closed by \"}:CASE1\"",
      "BLOCKS:2: unbalanced block: \"{\" is never closed by \"}\"",
  };
  for (size_t i = 0; i < MainCases().size(); ++i) {
    if (!MainCases()[i].finding.empty()) {
      expected.push_back("MAIN:" + std::to_string(i + 1) + ": " + MainCases()[i].finding);
    }
  }
  expected.push_back("MAPCTRL:1: missing picture: tr_hitmap");
  expected.push_back("MAPCTRL:3: missing picture: tr_base2a");
  expected.push_back("SLIDES:3: missing picture: BG97");
  expected.push_back("STAFF:4: missing picture: BG98");
  expected.push_back("_CONFIG:2: missing picture: NOKNOB");
  expected.push_back("_SPRSET:3: missing picture: MISSING");
  expected.push_back("tq_se1.tvx: bad archive: the archive index runs past the end of the file");

  const LintResult result = LintGame(game.Dir());
  ASSERT_TRUE(result.gameFound);
  std::vector<std::string> lines;
  for (const LintFinding& finding : result.findings) lines.push_back(finding.Text());
  EXPECT_EQ(lines, expected);
}

TEST(GameLintTest, ExitStatusAndReport) {
  TempFolder empty;
  std::ostringstream out, err;
  EXPECT_EQ(RunLint(empty.Path(), out, err), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str(), "");

  GameFixture clean;
  clean.Script("main", "@bg BG01\n\\\n").Entry("tq_gra.tvx", "BG01", {1});
  clean.Write();
  out.str("");
  EXPECT_EQ(RunLint(clean.Dir(), out, err), 0);
  EXPECT_EQ(out.str(), "");

  GameFixture faulty;
  faulty.Script("main", "@bg BG01\n@go nowhere\n").Script2("main", "@bg BG02\n");
  faulty.Write();
  out.str("");
  // The second data archive's script is the one checked.
  EXPECT_EQ(RunLint(faulty.Dir(), out, err), 1);
  EXPECT_EQ(out.str(), "MAIN:1: missing picture: BG02\n");

  // The map screen's table is read by its fixed name.
  GameFixture noMap;
  noMap.Script("main", "@map\n");
  noMap.Write();
  out.str("");
  EXPECT_EQ(RunLint(noMap.Dir(), out, err), 1);
  EXPECT_EQ(out.str(), "MAIN:1: missing script: mapctrl\n");
}

TEST(GameLintTest, WritesNothingIntoTheGame) {
  GameFixture game;
  MakeGame(game);
  auto listing = [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(game.Dir())) {
      names.push_back(entry.path().string() + ":" + std::to_string(entry.is_regular_file() ? entry.file_size() : 0));
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = listing();
  LintGame(game.Dir());
  EXPECT_EQ(listing(), before);
}

TEST(GameLintTest, BuiltDemosAreClean) {
  for (const char* demo : {"/demo/game", "/demo/plain"}) {
    const std::filesystem::path dir = std::filesystem::path(TORVEL_BINARY_DIR) / (std::string(".") + demo);
    const LintResult result = LintGame(dir);
    ASSERT_TRUE(result.gameFound) << dir;
    std::string report;
    for (const LintFinding& finding : result.findings) report += finding.Text() + "\n";
    EXPECT_EQ(report, "") << dir;
  }
}

}  // namespace
}  // namespace torvel
