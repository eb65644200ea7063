#pragma once
// The text of a slot plate on the save and load screen: the game's templates (SV_FORMAT for a
// used slot, SV_EMPTY for an empty one) split into lines and filled in from the slot's label.
// Pure: bytes in, bytes out.
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

constexpr size_t kSlotTextLinesMax = 5;
constexpr int kSlotTextLineGap = 24;          // the distance after a "\" with no digits
constexpr size_t kSlotTextLineMax = 255;      // a filled line never grows past this
constexpr int kSlotTextReplacementsMax = 32;  // replacements made in one line

struct SlotTextLine {
  std::string text;
  int offset = 0;  // pixels below the first line
};

// Splits a template at "\" (never at the second byte of a two-byte character) into at most five
// lines. After a "\" the next line is 24 pixels lower, or d pixels for one digit d, or the number
// of two digits; the digits are removed and the distances add up. Text after the fifth line is
// dropped.
std::vector<SlotTextLine> SplitSlotTemplate(std::string_view tmpl);

// A used slot's line: "%0" is the slot number as "%2d", "%1" the date (label bytes 0..9), "%2" the
// time (11..18), "%3" the title (21..84); each field ends at its NUL or at its end. A "%" before
// anything else is deleted alone. Each replacement scans the line again from its start, so text
// inserted may be replaced in turn, up to 32 replacements and 255 bytes; the rest stays as it is.
std::string FillUsedSlotLine(std::string_view line, int slot, std::string_view label);

// An empty slot's line: its first "%0" becomes the slot number as "%2d".
std::string FillEmptySlotLine(std::string_view line, int slot);

}  // namespace torvel
