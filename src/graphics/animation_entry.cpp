#include "graphics/animation_entry.h"

#include <limits>

#include "sound/le_bytes.h"

namespace torvel {

bool ReadAnimationHeader(std::span<const uint8_t> bytes, AnimationHeader& header) {
  if (bytes.size() < kAnimationHeaderSize) return false;
  header.frameCount = ReadLe32(bytes, 0);
  header.interval = ReadLe32(bytes, 4);
  header.width = ReadLe32(bytes, 8);
  header.height = ReadLe32(bytes, 12);
  header.soundLength = ReadLe32(bytes, 16);
  header.soundOffset = ReadLe32(bytes, 20);
  return true;
}

uint64_t AnimationTableEnd(uint32_t frameCount) {
  return kAnimationHeaderSize + uint64_t{frameCount} * kAnimationFrameArrays;
}

bool AnimationTableFits(const AnimationHeader& header, uint64_t entrySize) {
  return header.frameCount > 0 && header.frameCount <= kMaxAnimationFrames &&
         AnimationTableEnd(header.frameCount) <= entrySize;
}

bool ReadAnimationFrames(std::span<const uint8_t> arrays, uint32_t frameCount, std::vector<AnimationFrame>& frames) {
  const size_t n = frameCount;
  if (frameCount > kMaxAnimationFrames || arrays.size() < n * kAnimationFrameArrays) return false;
  frames.assign(n, AnimationFrame{});
  const size_t xs = n * 2, ys = n * 4, offsets = n * 6, lengths = n * 10;
  for (size_t i = 0; i < n; ++i) {
    AnimationFrame& f = frames[i];
    f.kind = static_cast<int16_t>(ReadLe16(arrays, i * 2));
    f.x = static_cast<int16_t>(ReadLe16(arrays, xs + i * 2));
    f.y = static_cast<int16_t>(ReadLe16(arrays, ys + i * 2));
    f.offset = ReadLe32(arrays, offsets + i * 4);
    f.length = ReadLe32(arrays, lengths + i * 4);
  }
  return true;
}

bool BuildAnimationEntry(const AnimationBlueprint& blueprint, std::vector<uint8_t>& out) {
  out.clear();
  const size_t n = blueprint.frames.size();
  if (n > kMaxAnimationFrames) return false;
  uint64_t end = AnimationTableEnd(static_cast<uint32_t>(n));
  std::vector<uint64_t> at(blueprint.pictures.size());
  for (size_t i = 0; i < blueprint.pictures.size(); ++i) {
    at[i] = end;
    end += blueprint.pictures[i].size();
  }
  const uint64_t soundAt = end;
  end += blueprint.sound.size();
  if (end > std::numeric_limits<uint32_t>::max()) return false;
  for (const AnimationBlueprint::Frame& f : blueprint.frames) {
    if (f.data < 0 || static_cast<size_t>(f.data) >= blueprint.pictures.size()) return false;
  }
  out.assign(static_cast<size_t>(end), 0);
  std::span<uint8_t> bytes(out);
  const AnimationHeader& h = blueprint.header;
  WriteLe32(bytes, 0, static_cast<uint32_t>(n));
  WriteLe32(bytes, 4, h.interval);
  WriteLe32(bytes, 8, h.width);
  WriteLe32(bytes, 12, h.height);
  WriteLe32(bytes, 16, static_cast<uint32_t>(blueprint.sound.size()));
  WriteLe32(bytes, 20, blueprint.sound.empty() ? 0 : static_cast<uint32_t>(soundAt));
  const size_t base = kAnimationHeaderSize;
  for (size_t i = 0; i < n; ++i) {
    const AnimationBlueprint::Frame& f = blueprint.frames[i];
    const size_t picture = static_cast<size_t>(f.data);
    WriteLe16(bytes, base + i * 2, static_cast<uint16_t>(f.kind));
    WriteLe16(bytes, base + n * 2 + i * 2, static_cast<uint16_t>(f.x));
    WriteLe16(bytes, base + n * 4 + i * 2, static_cast<uint16_t>(f.y));
    WriteLe32(bytes, base + n * 6 + i * 4, static_cast<uint32_t>(at[picture]));
    WriteLe32(bytes, base + n * 10 + i * 4, static_cast<uint32_t>(blueprint.pictures[picture].size()));
  }
  for (size_t i = 0; i < blueprint.pictures.size(); ++i) {
    std::copy(blueprint.pictures[i].begin(), blueprint.pictures[i].end(), out.begin() + static_cast<ptrdiff_t>(at[i]));
  }
  std::copy(blueprint.sound.begin(), blueprint.sound.end(), out.begin() + static_cast<ptrdiff_t>(soundAt));
  return true;
}

}  // namespace torvel
