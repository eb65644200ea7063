// `switch` and `cjmp`: branches into the blocks of a construct without asking the player.
#include <algorithm>
#include <cstring>

#include "resources/sjis.h"
#include "script/command_table.h"
#include "script/expressions.h"
#include "script/scenario_lines.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarDefaultJump = 6;
// A `cjmp` construct's "{" and "}" lines are one byte long: the body starts two bytes on.
constexpr int kPastBraceLine = 2;

// The next occurrence of `marker` + `name` (the name compared without regard to case) at or
// after `pos`, anywhere in the buffer; -1 when there is none.
int FindNamedMarker(const ScriptState& s, int pos, std::string_view marker, const std::string& upperName) {
  const size_t size = static_cast<size_t>(s.scenarioSize);
  const size_t needed = marker.size() + upperName.size();
  const auto* bytes = reinterpret_cast<const char*>(s.scenario.data());
  for (size_t at = static_cast<size_t>(std::max(pos, 0)); at + needed <= size; ++at) {
    if (std::memcmp(bytes + at, marker.data(), marker.size()) != 0) continue;
    if (SjisUpper(std::string_view(bytes + at + marker.size(), upperName.size())) == upperName) {
      return static_cast<int>(at);
    }
  }
  return -1;
}

}  // namespace

int TForm1::CmdSwitch(std::string_view arg) { return Switch(arg); }

int TForm1::CmdCjmp(std::string_view arg) {
  return ComputedJump(arg.empty() ? vars.S(kVarDefaultJump) : Evaluate(arg, vars, random));
}

int TForm1::Switch(std::string_view name) {
  const ScriptState& s = script;
  const auto* bytes = reinterpret_cast<const char*>(s.scenario.data());
  const bool named = !name.empty();
  const std::string upperName = SjisUpper(name);
  int end = named ? FindNamedMarker(s, s.pc, "}:", upperName) : NextLineStarting(s, s.pc, '}');
  // Without an end line the construct runs to the end of the script.
  if (end < 0) end = s.scenarioSize;
  script.needLine = true;

  int at = s.pc;
  while (at < end) {
    const int caseLine = named ? FindNamedMarker(s, at, "{:", upperName) : NextLineStarting(s, at, '{');
    if (caseLine < 0 || caseLine >= end) break;
    const int after = caseLine + (named ? 2 + static_cast<int>(upperName.size()) : 1);
    const char next = after < s.scenarioSize ? bytes[after] : '\0';
    if (next == '(') {
      int close = after;
      while (close < s.scenarioSize && bytes[close] != 0 && bytes[close] != ')') ++close;
      const bool closed = close < s.scenarioSize && bytes[close] == ')';
      if (Condition(std::string_view(bytes + after, static_cast<size_t>(close - after + (closed ? 1 : 0))), vars,
                    random)) {
        script.pc = LineAfter(s, caseLine);
        return 1;
      }
    } else if (next == '\0') {
      script.pc = LineAfter(s, caseLine);
      return 1;
    }
    at = named ? caseLine + 1 : LineAfter(s, caseLine);
  }
  script.pc = end;
  return 1;
}

int TForm1::ComputedJump(int n) {
  const ScriptState& s = script;
  script.needLine = true;
  const int close = NextLineStarting(s, s.pc, '}');
  const int end = close < 0 ? s.scenarioSize : std::min(close + kPastBraceLine, s.scenarioSize);
  int at = s.pc;
  if (n < 0) {
    const int first = NextLineStarting(s, at, '{');
    script.pc = first < 0 || first > end ? end : first;
    return 0;
  }
  for (int k = 0;; ++k) {
    const int open = NextLineStarting(s, at, '{');
    if (open < 0 || open > end) {
      script.pc = end;
      return 0;
    }
    if (k == n) {
      script.pc = std::min(open + kPastBraceLine, s.scenarioSize);
      return 0;
    }
    at = LineAfter(s, open);
  }
}

}  // namespace torvel
