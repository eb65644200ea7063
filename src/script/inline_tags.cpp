// Inline tags "[name argument]" and ruby "<text>" inside text lines.
#include <algorithm>
#include <array>
#include <string>

#include "graphics/text_page.h"
#include "resources/sjis.h"
#include "script/command_table.h"
#include "script/expressions.h"
#include "shell/engine.h"

namespace torvel {

namespace {

enum class Tag { Gra, Normal, Large, Colour, Wait, Voice, Clrb, Delay, Number, Name, Spr, Bg };

struct TagName {
  std::string_view name;
  int gap;  // bytes between the name and its argument
  Tag tag;
};

// Compared in this order over each name's length; the first match wins.
constexpr std::array<TagName, 12> kTags = {{{"gra", 1, Tag::Gra},
                                            {"1", 0, Tag::Normal},
                                            {"2", 0, Tag::Large},
                                            {"col", 1, Tag::Colour},
                                            {"wait", 1, Tag::Wait},
                                            {"cv ", 0, Tag::Voice},
                                            {"clrb", 1, Tag::Clrb},
                                            {"delay", 1, Tag::Delay},
                                            {"?", 0, Tag::Number},
                                            {"$", 0, Tag::Name},
                                            {"spr", 1, Tag::Spr},
                                            {"bg", 1, Tag::Bg}}};

// The first `ch` at or after `from` that starts a character (a trail byte may look like it).
size_t FindCharacter(std::string_view line, size_t from, char ch) {
  for (size_t pos = from; pos < line.size(); pos += SjisCharLength(line, pos)) {
    if (line[pos] == ch) return pos;
  }
  return std::string_view::npos;
}

}  // namespace

bool TForm1::RunInlineTag() {
  const std::string line = script.lineBuffer;  // a tag's command may load another script
  const size_t open = static_cast<size_t>(script.linePos);
  const std::string_view body = std::string_view(line).substr(open + 1);
  const size_t close = FindCharacter(line, open + 1, ']');
  const TagName* match = nullptr;
  for (const TagName& t : kTags) {
    if (body.size() >= t.name.size() && SjisEqualNoCase(body.substr(0, t.name.size()), t.name)) {
      match = &t;
      break;
    }
  }
  // Move past the tag first: a command in it may start a new page or move the script.
  if (close == std::string_view::npos) {
    script.needLine = true;
    script.linePos = static_cast<int>(line.size());
  } else {
    script.linePos = static_cast<int>(close + 1);
  }
  if (!match) return false;
  const size_t start = std::min(line.size(), open + 1 + match->name.size() + static_cast<size_t>(match->gap));
  const size_t end = close == std::string_view::npos ? line.size() : std::max(close, start);
  const std::string argument = line.substr(start, end - start);
  switch (match->tag) {
    case Tag::Gra:
    case Tag::Spr: CmdGra(argument); return false;
    case Tag::Normal: text.largeText = false; return false;
    case Tag::Large: text.largeText = true; return false;
    case Tag::Colour:
      text.colourIndex = NormaliseColourCode(ReadInteger(argument));
      SetTextColour(text.colourIndex);
      return false;
    case Tag::Wait:
      // A negative count would never run out.
      if (!ctl.skipActive) ctl.waitTicks = std::max(0, ReadInteger(argument));
      return true;
    case Tag::Voice: {
      // The voice name runs to the end of the line, "]" and all (scripts write the tag last on
      // its line, without "]"); text after a "]" is still typed.
      const std::string name = line.substr(start);
      PlayVoiceLine(name);
      NoteVoiceName(name);
      return false;
    }
    case Tag::Clrb: CmdClrb(argument); return false;
    case Tag::Delay: text.textSpeed = std::max(0, ReadInteger(argument)); return false;
    case Tag::Number: text.insertText = std::to_string(Evaluate(argument, vars, random)); return false;
    case Tag::Name:
      if (!argument.empty() && argument[0] >= '0' && argument[0] <= '9') {
        text.insertText = text.nameSlots[static_cast<size_t>(argument[0] - '0')];
      }
      return false;
    case Tag::Bg: CmdBg(argument); return false;
  }
  return false;
}

void TForm1::ShowRuby() {
  const std::string_view line = script.lineBuffer;
  const size_t open = static_cast<size_t>(script.linePos);
  const size_t close = FindCharacter(line, open + 1, '>');
  const std::string ruby(line.substr(open + 1, (close == std::string_view::npos ? line.size() : close) - open - 1));
  if (close == std::string_view::npos) {
    script.needLine = true;
    script.linePos = static_cast<int>(line.size());
  } else {
    script.linePos = static_cast<int>(close + 1);
  }
  // Over the place the next character goes: past the indent, or at the next row's start.
  constexpr int kIndent = 2, kRubyLeft = 3, kRubyAbove = 7;
  const bool full = vars.S(kVarDisplayMode) == 1;
  int col = text.cursorCol;
  int row = text.cursorRow;
  int64_t x, y;
  if (!full) {
    if (col == 0 && row == 0 && !text.nameLineMode) text.cursorRow = row = 1;
    if (col == config.MOJI_MAX_X) ++row;
    if (col == 0 || col == config.MOJI_MAX_X) col = kIndent;
    x = int64_t{col} * config.TX_PITCH_X + config.TX_OFS_X + textWindow.x + kRubyLeft;
    y = int64_t{row} * config.TX_PITCH_Y + config.TX_OFS_Y + textWindow.y - kRubyAbove;
  } else {
    if (col == config.MOJI_MAX2_X) ++row;
    if (col == 0 || col == config.MOJI_MAX2_X) col = kIndent;
    x = int64_t{col} * config.TX2_PITCH_X + config.TX2_OFS_X + kRubyLeft;
    y = int64_t{row} * config.TX2_PITCH_Y + config.TX2_OFS_Y - kRubyAbove;
  }
  if (x < kScreenWidth && y < kScreenHeight && x > -kScreenWidth && y > -kScreenHeight) {
    DrawSmallText(ruby, static_cast<int>(x), static_cast<int>(y));
  }
}

}  // namespace torvel
