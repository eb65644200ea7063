#pragma once
// The message text state: name slots, the cursor, typing, the read marks and the backlog text
// buffer. The page the characters land on belongs to the text window (graphics/text_page.h).
#include <array>
#include <string>

#include "script/backlog_text.h"
#include "script/variables.h"

namespace torvel {

constexpr int kNameSlots = 10;
constexpr size_t kNameSlotMax = 63;  // 64-byte slots less their NUL
constexpr int kReadMarkMax = 80000;  // `mark` numbers 0 to 80000

struct TextState {
  // Slots 0–2 hold the player names, slot 8 a click-hook label, slot 9 the scene title.
  std::array<std::string, kNameSlots> nameSlots;
  bool windowShown = false;  // whether the text window is shown
  int cursorRow = 0;
  int cursorCol = 0;           // in bytes: a full-width character takes two
  int textSpeed = 1;           // timer ticks + 1 between typed characters; 0 types without pause
  bool perCharDisplay = true;  // the player types character by character (setting Delay 0)
  bool instantText = false;    // a click asked for the rest of the line at once
  bool nameLineMode = false;   // full-screen text mode shows the speaker line as text
  bool largeText = false;
  int colourIndex = 0;     // colour code of the next characters
  int charsSinceWait = 0;  // characters typed since the last new page (auto-mode delay)
  std::string insertText;  // a name or number being typed before the rest of the line
  std::string speakerName;
  FlagSet readMarks{kReadMarkMax + 1};  // already-read marks set by `mark`
  bool alreadyRead = false;             // the passage after the last `mark` was read before
  BacklogText backlog;
};

}  // namespace torvel
