// Reading the arguments of the picture commands.
#include "graphics/picture_arguments.h"

#include <algorithm>
#include <climits>

#include "resources/sjis.h"

namespace torvel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int AddDigit(int value, char c) {
  int digit = c - '0';
  return value > (INT_MAX - digit) / 10 ? INT_MAX : value * 10 + digit;
}

int ColourDigit(char c) {
  if (c >= '0' && c <= '9') return 16 * (c - '0');
  if (c >= 'a' && c <= 'f') return 16 * (c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return 16 * (c - 'A' + 10);
  if (c == 'g' || c == 'G') return 255;
  return 0;
}

}  // namespace

int ReadNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = AddDigit(value, text[i]);
  return negative ? -value : value;
}

int LeadingDigits(std::string_view text) {
  int value = 0;
  for (size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) value = AddDigit(value, text[i]);
  return value;
}

std::string FirstToken(std::string_view text, size_t limit) {
  size_t end = std::min(text.find_first_of(" ,"), text.size());
  return std::string(text.substr(0, std::min(end, limit)));
}

PictureArgument ParsePictureArgument(std::string_view text) {
  PictureArgument arg;
  arg.name = FirstToken(text, kPictureNameMax);
  std::string_view scan = text.substr(0, std::min(text.size(), kGraScanLength));
  bool inRun = false;
  int run = 0;
  for (size_t i = arg.name.size(); i < scan.size(); ++i) {
    char c = scan[i];
    if (IsDigit(c)) {
      run = inRun ? AddDigit(run, c) : c - '0';
      inRun = true;
      arg.number = run;
      continue;
    }
    inRun = false;
    if (c == 'L' || c == 'l') arg.left = true;
    if (c == 'R' || c == 'r') arg.right = true;
  }
  return arg;
}

SpriteFields SplitSpriteSpec(std::string_view spec) {
  SpriteFields out;
  spec = spec.substr(0, std::min(spec.size(), kSpriteSpecMax));
  out.endsWithComma = !spec.empty() && spec.back() == ',';
  size_t field = 0;
  size_t start = 0;
  for (size_t i = 0; i <= spec.size() && field < kSpriteFields; ++i) {
    if (i < spec.size() && spec[i] != ',' && spec[i] != ':') continue;
    std::string_view part = spec.substr(start, i - start);
    out.field[field++] = std::string(part.substr(0, std::min(part.size(), kSpriteNameMax)));
    start = i + 1;
  }
  return out;
}

Colour SolidColour(std::string_view name) {
  auto at = [&](size_t i) { return i < name.size() ? name[i] : '\0'; };
  return Colour{static_cast<uint8_t>(ColourDigit(at(1))), static_cast<uint8_t>(ColourDigit(at(2))),
                static_cast<uint8_t>(ColourDigit(at(3)))};
}

std::string SafeFileName(std::string_view sjisName) {
  std::string name = SjisToUtf8(sjisName);
  for (char& c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  }
  // A name of dots alone would name the folder itself or its parent.
  if (name.find_first_not_of('.') == std::string::npos) name = "_" + name;
  constexpr size_t kMaxNameBytes = 200;
  if (name.size() > kMaxNameBytes) {
    size_t cut = kMaxNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // keep UTF-8 whole
    name.resize(cut);
  }
  return name;
}

}  // namespace torvel
