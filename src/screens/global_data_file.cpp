#include "screens/global_data_file.h"

#include "screens/save_bytes.h"
#include "screens/save_checksum.h"

namespace torvel {

namespace {
template <size_t N>
void OrInto(std::array<uint8_t, N>& into, const std::array<uint8_t, N>& from) {
  for (size_t i = 0; i < N; ++i) into[i] = static_cast<uint8_t>(into[i] | from[i]);
}
}  // namespace

uint32_t GlobalData::SpriteCounter() const {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(pictureSeen[kSpriteCounterOffset + i]) << (8 * i);
  return v;
}

void GlobalData::SetSpriteCounter(uint32_t value) {
  for (size_t i = 0; i < 4; ++i) pictureSeen[kSpriteCounterOffset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GlobalDataChecksum(const GlobalData& data) {
  uint32_t crc = kSaveChecksumStart;
  crc = UpdateSaveChecksum(crc, data.sceneFlags);
  crc = UpdateSaveChecksum(crc, data.pictureSeen);
  crc = UpdateSaveChecksum(crc, data.sceneSeen);
  return UpdateSaveChecksum(crc, data.readMarks);
}

std::vector<uint8_t> EncodeGlobalData(const GlobalData& data) {
  SaveWriter out(kGlobalDataSize);
  out.Bytes(data.sceneFlags);
  out.Bytes(data.pictureSeen);
  out.Bytes(data.sceneSeen);
  out.Bytes(data.readMarks);
  out.Int(static_cast<int32_t>(GlobalDataChecksum(data)));
  return out.Take();
}

std::optional<GlobalData> DecodeGlobalData(std::span<const uint8_t> bytes) {
  if (bytes.size() < kGlobalDataSize) return std::nullopt;
  GlobalData data;
  SaveReader in(bytes);
  in.Bytes(data.sceneFlags);
  in.Bytes(data.pictureSeen);
  in.Bytes(data.sceneSeen);
  in.Bytes(data.readMarks);
  const uint32_t stored = static_cast<uint32_t>(in.Int());
  if (stored != GlobalDataChecksum(data)) return std::nullopt;
  return data;
}

void MergeGlobalData(GlobalData& into, const GlobalData& from) {
  OrInto(into.sceneFlags, from.sceneFlags);
  OrInto(into.pictureSeen, from.pictureSeen);
  OrInto(into.sceneSeen, from.sceneSeen);
  OrInto(into.readMarks, from.readMarks);
}

}  // namespace torvel
