// Arbitrary bytes as "save0.dat" and "kaiso.dat". The bytes are read as they stand, and once more
// with a correct check value so the reader gets past it; what is accepted writes back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "screens/global_data_file.h"
#include "screens/recollection_records.h"
#include "screens/save_checksum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (std::optional<torvel::GlobalData> g = torvel::DecodeGlobalData(bytes)) {
    if (!std::equal(bytes.begin(), bytes.begin() + torvel::kGlobalDataSize, torvel::EncodeGlobalData(*g).begin())) {
      __builtin_trap();
    }
  }
  std::vector<uint8_t> sealed(bytes.begin(), bytes.begin() + std::min(size, torvel::kGlobalDataChecked));
  sealed.resize(torvel::kGlobalDataChecked, 0);
  const uint32_t check = torvel::UpdateSaveChecksum(torvel::kSaveChecksumStart, sealed);
  for (int i = 0; i < 4; ++i) sealed.push_back(static_cast<uint8_t>(check >> (8 * i)));
  std::optional<torvel::GlobalData> g = torvel::DecodeGlobalData(sealed);
  if (!g || torvel::EncodeGlobalData(*g) != sealed) __builtin_trap();
  torvel::GlobalData merged;
  torvel::MergeGlobalData(merged, *g);
  if (torvel::EncodeGlobalData(merged) != sealed) __builtin_trap();

  const torvel::RecollectionRecords records = torvel::DecodeRecollectionRecords(bytes);
  const std::vector<uint8_t> kaiso = torvel::EncodeRecollectionRecords(records);
  const size_t kept = std::min(size, torvel::kRecollectionFileSize);
  if (!std::equal(bytes.begin(), bytes.begin() + kept, kaiso.begin())) __builtin_trap();
  for (int slot = 0; slot < torvel::kRecordSlots; ++slot) {
    if (records.Name(slot).size() > torvel::kRecordNameField) __builtin_trap();
  }
  return 0;
}
