#include "script/command_table.h"

#include <gtest/gtest.h>

#include <string>

namespace torvel {
namespace {

TEST(CommandTable, HoldsTheSeventyKeywordsInOrder) {
  const char* expected[kCommandCount] = {
      "gra ",       "music ",   "cv ",       "go ",      "clrb",     "select",     "clickmap ", "switch",   "chain ",
      "wait_v_end", "spr ",     "calc ",     "if ",      "ptset ",   "call ",      "end",       "mode ",    "load",
      "gameinit",   "grb ",     "win_close", "special ", "gameclr",  "partsload ", "movie ",    "mark ",    "bg ",
      "fix",        "sleep ",   "seltree",   "string ",  "direct ",  "save",       "break",     "win_open", "title ",
      "backto",     "map",      "bg_anim",   "roll ",    "anim",     "shake",      "cjmp",      "setname",  "ovr",
      "viewer",     "se ",      "seloop ",   "seoff",    "exitgame", "rec",        "tw_set ",   "exit",     "obj_",
      "sroll",      "scroll ",  "kaisou",    "chgprm",   "cgfull",   "effect",     "vend",      "manpu ",   "sprmv ",
      "efxanim ",   "wipeset ", "config",    "web ",     "char ",    "fadein",     "fadeout"};
  ASSERT_EQ(CommandTable().size(), static_cast<size_t>(kCommandCount));
  for (int i = 0; i < kCommandCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(CommandTable()[static_cast<size_t>(i)].keyword, expected[i]);
    ASSERT_NE(CommandTable()[static_cast<size_t>(i)].run, nullptr);
    // Every keyword has a handler of its own.
    for (int j = 0; j < i; ++j)
      EXPECT_FALSE(CommandTable()[static_cast<size_t>(j)].run == CommandTable()[static_cast<size_t>(i)].run) << j;
  }
}

struct MatchCase {
  const char* line;
  int expected;
};

TEST(MatchCommand, FindsTheFirstKeywordOverItsOwnLength) {
  const MatchCase cases[] = {
      {"@gra BG01", 0},
      {"@music 1", 1},
      {"@cv V001", 2},
      {"@go L", 3},
      {"@clrb", 4},
      {"@select", 5},
      {"@clickmap m", 6},
      {"@switch", 7},
      {"@chain s", 8},
      {"@wait_v_end", 9},
      {"@spr A", 10},
      {"@calc V001=1", 11},
      {"@if (1=1) L", 12},
      {"@ptset 1", 13},
      {"@call s", 14},
      {"@end", 15},
      {"@mode 1", 16},
      {"@load", 17},
      {"@gameinit", 18},
      {"@grb x", 19},
      {"@win_close", 20},
      {"@special 0", 21},
      {"@gameclr", 22},
      {"@partsload p", 23},
      {"@movie m", 24},
      {"@mark 1", 25},
      {"@bg x", 26},
      {"@fix", 27},
      {"@sleep 1", 28},
      {"@seltree 1", 29},
      {"@string 1 a", 30},
      {"@direct d", 31},
      {"@save", 32},
      {"@break", 33},
      {"@win_open", 34},
      {"@title t", 35},
      {"@backto", 36},
      {"@map m", 37},
      {"@bg_anim 1", 38},
      {"@roll r", 39},
      {"@anim a", 40},
      {"@shake 1", 41},
      {"@cjmp", 42},
      {"@setname", 43},
      {"@ovr o", 44},
      {"@viewer v", 45},
      {"@se s", 46},
      {"@seloop s", 47},
      {"@seoff", 48},
      {"@exitgame", 49},
      {"@rec", 50},
      {"@tw_set 1", 51},
      {"@exit", 52},
      {"@obj_x", 53},
      {"@sroll r", 54},
      {"@scroll s", 55},
      {"@kaisou", 56},
      {"@chgprm", 57},
      {"@cgfull", 58},
      {"@effect e", 59},
      {"@vend", 60},
      {"@manpu m", 61},
      {"@sprmv INIT", 62},
      {"@efxanim e", 63},
      {"@wipeset w", 64},
      {"@config", 65},
      {"@web u", 66},
      {"@char c", 67},
      {"@fadein 1", 68},
      {"@fadeout 1", 69},
      // Case does not matter, and "*" starts a command as "@" does.
      {"@SE X", 46},
      {"@SeLoop x", 47},
      {"*go L", 3},
      {"@EXITGAME", 49},
      // Prefixes of longer words match.
      {"@animq a", 40},
      {"@mapctrl", 37},
      {"@endless", 15},
      // A trailing blank belongs to the keyword.
      {"@se", -1},
      {"@bg", -1},
      {"@gox", -1},
      {"@sleep", -1},
      {"@unknown", -1},
      {"@", -1},
      {"", -1},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(MatchCommand(c.line), c.expected);
  }
}

struct ArgumentCase {
  const char* line;
  const char* expected;
};

TEST(CommandArgument, StartsWhereTheKeywordSays) {
  const ArgumentCase cases[] = {
      {"@go LABEL", "LABEL"},      // after a keyword's blank
      {"@clrb 5L", "5L"},          // one byte after a keyword without a blank
      {"@load 99", " 99"},         // load reads from position 5
      {"@load", ""},               //
      {"@obj_move 1", "move 1"},   // obj_ reads from position 5
      {"@fadeout 30", " 30"},      // fadeout reads from position 8
      {"@fadein 30", "30"},        //
      {"@select V001", "V001"},    // select only with a blank at position 7
      {"@selectV001", ""},         //
      {"@select", ""},             //
      {"@cjmp", ""},               // cjmp only when position 5 is not the line end
      {"@cjmp V001", "V001"},      //
      {"@switch", ""},             // switch: empty when the line ends after the keyword
      {"@switch CASE", "CASE"},    //
      {"@animq NAME", "NAME"},     // animq reads from position 7
      {"@animQ NAME", "NAME"},     //
      {"@anim NAME", "NAME"},      //
      {"@string 3 abc", "3 abc"},  // the slot digit at 8, the text at 10
      {"@fadein", ""},             // beyond the line end: empty
      {"@effect", ""},             //
      {"@anim", ""},               //
      {"@animq", ""},              //
      {"@if (V001=1) L", "(V001=1) L"},
  };
  for (const ArgumentCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(CommandArgument(MatchCommand(c.line), c.line), c.expected);
  }
  EXPECT_EQ(CommandArgument(-1, "@go L"), "");
  EXPECT_EQ(CommandArgument(kCommandCount, "@go L"), "");
}

TEST(ReadInteger, ReadsSignAndDigits) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {{"", 0},    {"12", 12}, {"  -12x", -12}, {"+7", 7},         {"\t3", 3},
               {"abc", 0}, {"-", 0},   {"1 2", 1},      {"4294967296", 0}, {"2147483648", INT32_MIN}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadInteger(c.text), c.expected);
  }
}

}  // namespace
}  // namespace torvel
