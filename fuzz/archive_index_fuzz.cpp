// Archive indexes of both layouts from arbitrary bytes: the index never claims more than the
// bytes hold, and every entry it keeps either fits or is marked as not fitting.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "resources/archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  for (torvel::ArchiveLayout layout : {torvel::ArchiveLayout::Data, torvel::ArchiveLayout::General}) {
    torvel::ArchiveIndex index = torvel::ParseArchiveIndex(bytes, size, layout);
    for (size_t i = 0; i < index.names.size(); ++i) {
      if (index.bodyFits[i] && static_cast<uint64_t>(index.offsets[i]) + index.sizes[i] > size) std::abort();
      index.FindEntry(index.names[i]);
    }
  }
  return 0;
}
