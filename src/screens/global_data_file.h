#pragma once
// The global data file "save0.dat": what every slot shares, the scene flags (E), the
// picture-seen block (D, with spare bytes and the sprite-change counter at its end), the
// scene-seen block (C) and the read marks, followed by a check value. Flags and marks only ever
// gain bits: the file is merged into memory with OR before it is written back.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace torvel {

constexpr size_t kSceneFlagBlock = 128;
constexpr size_t kPictureSeenBlock = 512;
constexpr size_t kSceneSeenBlock = 256;
constexpr size_t kReadMarkBlock = 10240;
constexpr size_t kGlobalDataChecked = kSceneFlagBlock + kPictureSeenBlock + kSceneSeenBlock + kReadMarkBlock;
constexpr size_t kGlobalDataSize = kGlobalDataChecked + 4;  // 11140
// The sprite-change counter's place in the picture-seen block.
constexpr size_t kSpriteCounterOffset = 508;

struct GlobalData {
  std::array<uint8_t, kSceneFlagBlock> sceneFlags{};
  std::array<uint8_t, kPictureSeenBlock> pictureSeen{};
  std::array<uint8_t, kSceneSeenBlock> sceneSeen{};
  std::array<uint8_t, kReadMarkBlock> readMarks{};

  uint32_t SpriteCounter() const;
  void SetSpriteCounter(uint32_t value);
};

// The check value of the four blocks, chained in file order.
uint32_t GlobalDataChecksum(const GlobalData& data);
// The file's 11140 bytes.
std::vector<uint8_t> EncodeGlobalData(const GlobalData& data);
// The blocks of a file; nothing when it is shorter than the layout or its check value differs.
// Bytes past the layout are ignored.
std::optional<GlobalData> DecodeGlobalData(std::span<const uint8_t> bytes);
// ORs every byte of `from` into `into`.
void MergeGlobalData(GlobalData& into, const GlobalData& from);

}  // namespace torvel
