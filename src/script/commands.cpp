// The command table and the interpreter-control commands.
#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

struct Command {
  std::string_view keyword;
  int (*run)(TForm1&, std::string_view argument);
};

// Reads a script argument of the form NAME[:LABEL], ending at the first blank or the line end,
// scanning at most `limit` bytes.
void SplitScriptArgument(std::string_view arg, size_t limit, std::string& name, std::string& label) {
  arg = arg.substr(0, std::min(arg.size(), limit));
  arg = arg.substr(0, std::min(arg.find(' '), arg.size()));
  size_t colon = arg.find(':');
  name = std::string(arg.substr(0, colon));
  label = colon == std::string_view::npos ? std::string() : std::string(arg.substr(colon + 1));
}

int CmdGo(TForm1& e, std::string_view arg) {
  e.Jump(arg);
  return 0;
}

int CmdCall(TForm1& e, std::string_view arg) {
  std::string name, label;
  SplitScriptArgument(arg, 100, name, label);
  if (!name.empty() && name[0] == '$') {
    int slot = name.size() > 1 && std::isdigit(static_cast<unsigned char>(name[1])) ? name[1] - '0' : 0;
    name = e.text.nameSlots[static_cast<size_t>(slot)];
  }
  e.CallScript(name, label);
  return 1;
}

int CmdChain(TForm1& e, std::string_view arg) {
  std::string name, label;
  SplitScriptArgument(arg, 128, name, label);
  e.ChainScript(name, label);
  return 1;
}

int CmdEnd(TForm1& e, std::string_view) {
  if (e.script.callDepth > 0) e.ReturnFromScript();
  return 1;
}

constexpr std::array kCommands = {
    Command{"go ", CmdGo},
    Command{"chain ", CmdChain},
    Command{"call ", CmdCall},
    Command{"end", CmdEnd},
};

}  // namespace

int TForm1::ExecuteCommandLine() {
  std::string_view line = script.lineBuffer;
  std::string_view word = line.substr(1);
  for (const Command& c : kCommands) {
    if (word.size() < c.keyword.size()) continue;
    if (SjisUpper(word.substr(0, c.keyword.size())) != SjisUpper(c.keyword)) continue;
    size_t start = c.keyword.back() == ' ' ? 1 + c.keyword.size() : 2 + c.keyword.size();
    std::string_view arg = start < line.size() ? line.substr(start) : std::string_view();
    return c.run(*this, arg);
  }
  return 0;
}

}  // namespace torvel
