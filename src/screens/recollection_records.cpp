#include "screens/recollection_records.h"

#include "screens/save_bytes.h"

namespace torvel {

std::string_view RecollectionRecords::Name(int slot) const {
  if (slot < 0 || slot >= kRecordSlots) return {};
  return FieldText(names[static_cast<size_t>(slot)]);
}

std::vector<uint8_t> EncodeRecollectionRecords(const RecollectionRecords& records) {
  SaveWriter out(kRecollectionFileSize);
  for (const auto& list : records.playLists) out.Ints(list);
  for (const auto& name : records.names) out.Bytes(name);
  return out.Take();
}

RecollectionRecords DecodeRecollectionRecords(std::span<const uint8_t> bytes) {
  RecollectionRecords records;
  SaveReader in(bytes);
  for (auto& list : records.playLists) in.Ints(list);
  for (auto& name : records.names) in.Bytes(name);
  return records;
}

}  // namespace torvel
