#pragma once
// The argument reader of the comic-symbol mark (`manpu`) and the sprite moves (`sprmv`): a text
// split at every "," or ":" into at most 32 fields, each kept as text and, where it reads as one,
// as a number.
#include <array>
#include <string>
#include <string_view>

namespace torvel {

constexpr int kArgumentFieldCount = 32;
constexpr size_t kArgumentFieldBytes = 31;  // the field store's 32 bytes less the NUL
// The value of a field that is not a number.
constexpr int kNotANumber = -99999;

struct ArgumentField {
  std::string text;
  int value = kNotANumber;
};

struct ArgumentFields {
  std::array<ArgumentField, kArgumentFieldCount> field;
  // Separators plus one; 0 for an empty text. It may exceed the fields kept.
  int count = 0;
  bool IsNumber(int i) const { return i >= 0 && i < count && i < kArgumentFieldCount && field[i].value != kNotANumber; }
};

// Blanks before a field's first character are skipped, blanks after it belong to the field.
// A field reads as an optional sign and decimal digits (saturating); one that reads as 0 without
// starting with "0" is not a number. Longer fields are cut, further fields are left out.
ArgumentFields SplitArguments(std::string_view text);

}  // namespace torvel
