// Text lines: control characters, waits and typed characters, until the step ends or the line
// is used up. The next character comes from the inserted text first, then from the line.
#include <algorithm>
#include <cstdint>
#include <string>

#include "resources/sjis.h"
#include "script/text_codes.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarLineShown = 164;
constexpr int kDefaultPercentWait = 10;  // "%" without a count waits this many timer ticks
constexpr int64_t kLongestWait = INT32_MAX;

// Logs and places one character; true when typing pauses after it (the step ends).
bool TypeCharacter(TForm1& e, std::string_view character) {
  if (!CodeIn(kUnloggedMarks, GlyphCode(character))) e.AppendBacklogText(character);
  e.PutChar(character);
  TextState& t = e.text;
  if (t.nameLineMode || t.textSpeed <= 0 || t.instantText || e.ctl.skipActive) return false;
  if (!t.perCharDisplay && e.vars.S(kVarAutoSpeed) == 0) return false;
  e.ctl.waitTicks = t.textSpeed - 1;
  return true;
}

// Ends the line; true when the step ends.
bool EndOfLine(TForm1& e) {
  e.vars.S(kVarLineShown) = 0;
  e.CloseBacklogLine();
  e.script.needLine = true;
  e.text.cursorCol = 0;
  ++e.text.cursorRow;
  e.text.nameLineMode = false;
  return !e.ctl.skipActive;
}

// A page wait written in the text: "\" and "▼".
void PageWait(TForm1& e) {
  e.CloseBacklogLine();
  e.ctl.waitKind = 1;
  e.StartAutoCountdown();
  e.script.needLine = true;
  e.text.instantText = false;
}

}  // namespace

bool TForm1::ShowTextLine() {
  text.perCharDisplay = settings.Delay == 0;
  const std::string_view line = script.lineBuffer;
  for (;;) {
    if (!text.insertText.empty()) {
      const size_t n = SjisCharLength(text.insertText, 0);
      const std::string character = text.insertText.substr(0, n);
      text.insertText.erase(0, n);
      if (TypeCharacter(*this, character)) return true;
      continue;
    }
    const size_t pos = static_cast<size_t>(std::max(0, script.linePos));
    if (pos >= line.size()) return EndOfLine(*this);
    const std::string_view rest = line.substr(pos);
    const uint16_t code = GlyphCode(rest);
    if (rest[0] == '%') {
      size_t end = 1;
      int64_t ticks = 0;
      for (; end < rest.size() && rest[end] >= '0' && rest[end] <= '9'; ++end) {
        ticks = std::min(kLongestWait, ticks * 10 + (rest[end] - '0'));
      }
      if (!ctl.skipActive) ctl.waitTicks = ticks == 0 ? kDefaultPercentWait : static_cast<int>(ticks);
      script.linePos = static_cast<int>(pos + end);
      return true;
    }
    if (rest[0] == '\\') {
      PageWait(*this);
      RecordPage();
      return true;
    }
    if (rest[0] == '[') {
      if (RunInlineTag()) return true;
      if (script.needLine) return false;
      continue;
    }
    if (rest[0] == '<') {
      ShowRuby();
      if (script.needLine) return false;
      continue;
    }
    switch (code) {
      case kPageWaitMark: PageWait(*this); return true;
      case kNewPageMark:
        CloseBacklogLine();
        NewPage();
        script.needLine = true;
        return true;
      case kContinueWaitMark:
        ctl.waitKind = 2;
        StartAutoCountdown();
        text.instantText = false;
        // After a character the line goes on once the wait is answered.
        if (pos > 0) {
          script.linePos = static_cast<int>(pos + 2);
        } else {
          script.needLine = true;
        }
        return true;
      case kNameMark: {
        const int slot = rest.size() > 3 ? NameSlotOfLetter(rest[3]) : -1;
        if (slot >= 0) text.insertText = text.nameSlots[static_cast<size_t>(slot)];
        script.linePos = static_cast<int>(std::min(line.size(), pos + 4));
        continue;
      }
      default: break;
    }
    const size_t n = SjisCharLength(line, pos);
    script.linePos = static_cast<int>(pos + n);
    if (TypeCharacter(*this, rest.substr(0, n))) return true;
  }
}

void TForm1::NewTextRow() {
  ++text.cursorRow;
  text.cursorCol = 0;
}

}  // namespace torvel
