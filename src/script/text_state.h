#pragma once
// The message text state: name slots, the cursor, the read marks and the backlog text buffer.
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
  bool windowShown = true;  // whether the text window counts as shown
  int cursorRow = 0;
  int cursorColumn = 0;
  int textSpeed = 1;
  bool instantText = false;
  FlagSet readMarks{kReadMarkMax + 1};  // already-read marks set by `mark`
  bool alreadyRead = false;             // the passage after the last `mark` was read before
  BacklogText backlog;
};

}  // namespace torvel
