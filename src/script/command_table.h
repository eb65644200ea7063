#pragma once
// The command table: the keywords of command lines in their fixed order, each with the engine
// operation that runs it, the rule that matches a line to a keyword and the rule that finds
// where a command's argument starts.
#include <span>
#include <string_view>

namespace torvel {

class TForm1;

// A handler gets the command's argument (empty when the line ends before it) and returns
// 0 to go on with the next line in the same step, 1 to end the step, 2 to dispatch the line
// buffer again (only `if`, which leaves its then-part there).
using CommandHandler = int (TForm1::*)(std::string_view argument);

struct Command {
  std::string_view keyword;  // lower case; a trailing blank belongs to the keyword
  CommandHandler run;
};

constexpr int kCommandCount = 70;

// The table; the index of a keyword is its command number.
std::span<const Command> CommandTable();

// The command number of a command line ("@" or "*" first): the first keyword, in table order,
// that equals the bytes after the first byte over the keyword's own length, ignoring case.
// -1 when none does.
int MatchCommand(std::string_view line);

// The argument of command `number` on `line`. An argument that would start beyond the end of
// the line is empty.
std::string_view CommandArgument(int number, std::string_view line);

// An integer argument: leading blanks skipped, an optional sign, decimal digits; anything else
// ends the number and no digits give 0. Wraps at 32 bits.
int ReadInteger(std::string_view text);

}  // namespace torvel
