// Archive indexes of both layouts from arbitrary bytes: the header and the index alone, with the
// file's whole size taken from the input, so that entries may point anywhere. The index never
// claims more than the bytes hold, says when it is cut short, and every entry it keeps either
// fits the file or is marked as not fitting.
#include <cstdint>
#include <cstring>
#include <span>

#include "resources/archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  // The first four bytes: how far the file goes on past the index bytes given.
  uint32_t beyond;
  std::memcpy(&beyond, data, 4);
  std::span<const uint8_t> head(data + 4, size - 4);
  const uint64_t fileSize = head.size() + (beyond & 0xFFFFFF);
  for (torvel::ArchiveLayout layout : {torvel::ArchiveLayout::Data, torvel::ArchiveLayout::General}) {
    torvel::ArchiveIndex index = torvel::ParseArchiveIndex(head, fileSize, layout);
    const uint64_t entrySize = (layout == torvel::ArchiveLayout::Data ? torvel::kDataNameField : index.nameLength) + 8;
    const uint64_t header = layout == torvel::ArchiveLayout::Data ? 4 : 8;
    if (index.names.size() != index.count || index.offsets.size() != index.count || index.sizes.size() != index.count ||
        index.bodyFits.size() != index.count || (index.count > 0 && header + index.count * entrySize > head.size())) {
      __builtin_trap();
    }
    for (size_t i = 0; i < index.names.size(); ++i) {
      if (index.bodyFits[i] && static_cast<uint64_t>(index.offsets[i]) + index.sizes[i] > fileSize) __builtin_trap();
    }
    // Look-ups are linear: a few of them, not one per entry.
    if (!index.names.empty()) {
      if (index.FindEntry(index.names.front()) != 0) __builtin_trap();
      index.FindEntry(index.names.back());
    }
    index.FindEntry("MAIN");
  }
  return 0;
}
