// Sprites: the sprite specification, the layout it selects and the five-slot sprite cache.
#include <algorithm>
#include <cstring>

#include "graphics/picture_arguments.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

bool StartsWithDigit(const std::string& s) { return !s.empty() && s[0] >= '0' && s[0] <= '9'; }

// The colour half or the mask half of a picture that carries both side by side.
void CopyHalf(const Bitmap& source, int fromColumn, int width, Bitmap& target) {
  target.Resize(width, source.height);
  if (width == 0) return;
  for (int y = 0; y < source.height; ++y) {
    std::memcpy(target.Row(y), source.At(fromColumn, y), static_cast<size_t>(width) * 3);
  }
}

}  // namespace

void TForm1::LoadSpritePicture(std::string_view name, Bitmap& picture, Bitmap& mask) {
  if (config.TACHI_TYPE == 1) {
    if (!LoadImage(name, layers.split)) return;
    int half = layers.split.width / 2;
    CopyHalf(layers.split, 0, half, picture);
    CopyHalf(layers.split, half, half, mask);
    return;
  }
  LoadImage(name, picture);
  if (name.empty()) return;
  std::string maskName(name);
  maskName[0] = 'M';
  LoadImage(maskName, mask);
}

int TForm1::AcquireSpriteSlot(const std::string& name, const std::array<bool, kSpriteCacheSlots>& inUse) {
  for (int i = 0; i < kSpriteCacheSlots; ++i) {
    if (layers.cache[static_cast<size_t>(i)].key == name) return i;
  }
  // Slots are reused in turn; one that the picture being built still needs is passed over.
  int slot = layers.cacheCursor;
  for (int tries = 0; tries < kSpriteCacheSlots && inUse[static_cast<size_t>(slot)]; ++tries) {
    slot = (slot + 1) % kSpriteCacheSlots;
  }
  SpriteSlot& s = layers.cache[static_cast<size_t>(slot)];
  LoadSpritePicture(name, s.picture, s.mask);
  s.key = name;
  layers.cacheCursor = (slot + 1) % kSpriteCacheSlots;
  return slot;
}

int TForm1::SetSprites(std::string_view argument) {
  std::string spec = SjisUpper(argument.substr(0, std::min(argument.size(), kSpriteSpecMax)));
  SpriteFields fields = SplitSpriteSpec(spec);
  for (size_t i = 0; i < kSpriteFields; ++i) {
    if (fields.field[i] != "-") layers.positionNames[i] = fields.field[i];
  }
  int last = kSpritePositions - 1;
  while (last >= 0 && layers.positionNames[static_cast<size_t>(last)].empty()) --last;
  if (spec.empty() || last < 0) {
    layers.spriteCount = 0;
    layers.spriteSpec.clear();
    return 0;
  }
  int transition = 1;
  int counted = last + 1;
  const std::string& lastName = layers.positionNames[static_cast<size_t>(last)];
  if (StartsWithDigit(lastName)) {
    transition = LeadingDigits(lastName);
    counted = last;
  }
  if (fields.endsWithComma) counted = std::min(counted + 1, kSpritePositions);
  if (counted == 1 && layers.positionNames[0].empty()) {
    layers.spriteCount = 0;
  } else {
    layers.spriteCount = counted;
  }
  layers.spriteSpec.clear();
  for (int i = 0; i < counted; ++i) {
    if (i > 0) layers.spriteSpec += ',';
    layers.spriteSpec += layers.positionNames[static_cast<size_t>(i)];
  }
  FillSpriteCache(counted);
  if (!ctl.skipActive && vars.S(kVarAutoSpeed) != 1) ++layers.spriteChanges;
  return transition;
}

void TForm1::FillSpriteCache(int counted) {
  std::array<bool, kSpriteCacheSlots> inUse{};
  for (int i = 0; i < counted; ++i) {
    const std::string& name = layers.positionNames[static_cast<size_t>(i)];
    if (name.empty() || name[0] == '#') continue;
    int slot = AcquireSpriteSlot(name, inUse);
    inUse[static_cast<size_t>(slot)] = true;
    layers.positionSlots[static_cast<size_t>(i)] = slot;
  }
}

}  // namespace torvel
