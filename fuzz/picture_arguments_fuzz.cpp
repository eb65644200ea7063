// The argument readers of the picture commands, from arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/picture_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  torvel::ParsePictureArgument(text);
  torvel::SplitSpriteSpec(text);
  torvel::SolidColour(text);
  torvel::SafeFileName(text);
  torvel::ReadNumber(text);
  torvel::LeadingDigits(text);
  torvel::FirstToken(text, torvel::kPictureNameMax);
  return 0;
}
