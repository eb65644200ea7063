#pragma once
// Reading the arguments of the picture commands: picture names, transition numbers, sprite
// specifications and solid-colour names. Every field has a fixed length; longer text is cut.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace torvel {

constexpr size_t kPictureNameMax = 63;  // a picture name of `gra`, `bg` or `ovr`
constexpr size_t kGraScanLength = 64;   // how much of a `gra` argument is looked at
constexpr size_t kDirectNameMax = 31;   // the picture name of `direct`
constexpr size_t kSpriteNameMax = 63;   // one position of a sprite spec
constexpr size_t kSpriteSpecMax = 255;  // a whole sprite spec
constexpr size_t kSpriteFields = 5;

// Leading blanks, an optional sign, decimal digits; anything else ends it, no digits give 0.
// Saturates instead of overflowing.
int ReadNumber(std::string_view text);

// The leading decimal digits of a text ("12AB" gives 12; none give 0).
int LeadingDigits(std::string_view text);

// `gra`, `grb`, `bg`: NAME up to a blank or ",", then the last run of digits in the rest of the
// first 64 bytes (-1 when there is none) and the position letters L and R.
struct PictureArgument {
  std::string name;
  int number = -1;
  bool left = false;
  bool right = false;
};
PictureArgument ParsePictureArgument(std::string_view text);

// The first token of a text up to a blank or ",", cut to `limit` bytes.
std::string FirstToken(std::string_view text, size_t limit);

// A sprite spec split at every "," or ":" into five fields (missing fields are empty).
struct SpriteFields {
  std::array<std::string, kSpriteFields> field;
  bool endsWithComma = false;
};
SpriteFields SplitSpriteSpec(std::string_view upperSpec);

// The colour of a solid-colour name "Srgb": each digit 0–9, a–f gives 16 × its value, "g" gives
// 255, anything else (or a missing character) 0.
struct Colour {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};
Colour SolidColour(std::string_view name);

// A Shift-JIS entry name turned into a file name that stays inside its folder: UTF-8, with
// separators, control characters and the characters file systems refuse replaced by "_".
std::string SafeFileName(std::string_view sjisName);

}  // namespace torvel
