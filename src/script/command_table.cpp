// The command table and the rules that match a command line and find its argument.
#include "script/command_table.h"

#include <array>

#include "shell/engine.h"

namespace torvel {

namespace {

// Order matters: the first keyword that matches wins, so a keyword that is a prefix of a later
// one hides it unless a trailing blank keeps them apart ("se " and "seloop ", "exitgame" before
// "exit").
constexpr std::array<Command, kCommandCount> kCommands = {{
    Command{"gra ", &TForm1::CmdGra},              // 0
    Command{"music ", &TForm1::CmdMusic},          // 1
    Command{"cv ", &TForm1::CmdCv},                // 2
    Command{"go ", &TForm1::CmdGo},                // 3
    Command{"clrb", &TForm1::CmdClrb},             // 4
    Command{"select", &TForm1::CmdSelect},         // 5
    Command{"clickmap ", &TForm1::CmdClickmap},    // 6
    Command{"switch", &TForm1::CmdSwitch},         // 7
    Command{"chain ", &TForm1::CmdChain},          // 8
    Command{"wait_v_end", &TForm1::CmdWaitVEnd},   // 9
    Command{"spr ", &TForm1::CmdSpr},              // 10
    Command{"calc ", &TForm1::CmdCalc},            // 11
    Command{"if ", &TForm1::CmdIf},                // 12
    Command{"ptset ", &TForm1::CmdPtset},          // 13
    Command{"call ", &TForm1::CmdCall},            // 14
    Command{"end", &TForm1::CmdEnd},               // 15
    Command{"mode ", &TForm1::CmdMode},            // 16
    Command{"load", &TForm1::CmdLoad},             // 17
    Command{"gameinit", &TForm1::CmdGameinit},     // 18
    Command{"grb ", &TForm1::CmdGrb},              // 19
    Command{"win_close", &TForm1::CmdWinClose},    // 20
    Command{"special ", &TForm1::CmdSpecial},      // 21
    Command{"gameclr", &TForm1::CmdGameclr},       // 22
    Command{"partsload ", &TForm1::CmdPartsload},  // 23
    Command{"movie ", &TForm1::CmdMovie},          // 24
    Command{"mark ", &TForm1::CmdMark},            // 25
    Command{"bg ", &TForm1::CmdBg},                // 26
    Command{"fix", &TForm1::CmdFix},               // 27
    Command{"sleep ", &TForm1::CmdSleep},          // 28
    Command{"seltree", &TForm1::CmdSeltree},       // 29
    Command{"string ", &TForm1::CmdString},        // 30
    Command{"direct ", &TForm1::CmdDirect},        // 31
    Command{"save", &TForm1::CmdSave},             // 32
    Command{"break", &TForm1::CmdBreak},           // 33
    Command{"win_open", &TForm1::CmdWinOpen},      // 34
    Command{"title ", &TForm1::CmdTitle},          // 35
    Command{"backto", &TForm1::CmdBackto},         // 36
    Command{"map", &TForm1::CmdMap},               // 37
    Command{"bg_anim", &TForm1::CmdBgAnim},        // 38
    Command{"roll ", &TForm1::CmdRoll},            // 39
    Command{"anim", &TForm1::CmdAnim},             // 40
    Command{"shake", &TForm1::CmdShake},           // 41
    Command{"cjmp", &TForm1::CmdCjmp},             // 42
    Command{"setname", &TForm1::CmdSetname},       // 43
    Command{"ovr", &TForm1::CmdOvr},               // 44
    Command{"viewer", &TForm1::CmdViewer},         // 45
    Command{"se ", &TForm1::CmdSe},                // 46
    Command{"seloop ", &TForm1::CmdSeloop},        // 47
    Command{"seoff", &TForm1::CmdSeoff},           // 48
    Command{"exitgame", &TForm1::CmdExitgame},     // 49
    Command{"rec", &TForm1::CmdRec},               // 50
    Command{"tw_set ", &TForm1::CmdTwSet},         // 51
    Command{"exit", &TForm1::CmdExit},             // 52
    Command{"obj_", &TForm1::CmdObj},              // 53
    Command{"sroll", &TForm1::CmdSroll},           // 54
    Command{"scroll ", &TForm1::CmdScroll},        // 55
    Command{"kaisou", &TForm1::CmdKaisou},         // 56
    Command{"chgprm", &TForm1::CmdChgprm},         // 57
    Command{"cgfull", &TForm1::CmdCgfull},         // 58
    Command{"effect", &TForm1::CmdEffect},         // 59
    Command{"vend", &TForm1::CmdVend},             // 60
    Command{"manpu ", &TForm1::CmdManpu},          // 61
    Command{"sprmv ", &TForm1::CmdSprmv},          // 62
    Command{"efxanim ", &TForm1::CmdEfxanim},      // 63
    Command{"wipeset ", &TForm1::CmdWipeset},      // 64
    Command{"config", &TForm1::CmdConfig},         // 65
    Command{"web ", &TForm1::CmdWeb},              // 66
    Command{"char ", &TForm1::CmdChar},            // 67
    Command{"fadein", &TForm1::CmdFadein},         // 68
    Command{"fadeout", &TForm1::CmdFadeout},       // 69
}};

// Commands whose argument does not start where the general rule puts it.
constexpr int kSelect = 5;
constexpr int kLoad = 17;
constexpr int kAnim = 40;
constexpr int kObj = 53;
constexpr int kFadeout = 69;

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesKeyword(std::string_view word, std::string_view keyword) {
  if (word.size() < keyword.size()) return false;
  for (size_t i = 0; i < keyword.size(); ++i) {
    if (Lower(word[i]) != keyword[i]) return false;
  }
  return true;
}

size_t ArgumentStart(int number, std::string_view line) {
  const std::string_view keyword = kCommands[static_cast<size_t>(number)].keyword;
  switch (number) {
    case kLoad:
    case kObj: return 5;
    case kFadeout: return 8;
    case kSelect: return line.size() > 7 && line[7] == ' ' ? 8 : line.size();
    case kAnim: return line.size() > 5 && Lower(line[5]) == 'q' ? 7 : 6;  // "animq"
    default: return keyword.back() == ' ' ? 1 + keyword.size() : 2 + keyword.size();
  }
}

}  // namespace

std::span<const Command> CommandTable() { return kCommands; }

int MatchCommand(std::string_view line) {
  if (line.empty()) return -1;
  const std::string_view word = line.substr(1);
  for (size_t i = 0; i < kCommands.size(); ++i) {
    if (MatchesKeyword(word, kCommands[i].keyword)) return static_cast<int>(i);
  }
  return -1;
}

std::string_view CommandArgument(int number, std::string_view line) {
  if (number < 0 || number >= kCommandCount) return {};
  // `cjmp` and `switch` have no argument when the line ends after the keyword: the same rule.
  const size_t start = ArgumentStart(number, line);
  return start < line.size() ? line.substr(start) : std::string_view();
}

int ReadInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  return static_cast<int>(negative ? 0u - value : value);
}

}  // namespace torvel
