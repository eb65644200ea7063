#include "screens/save_checksum.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace torvel {

uint32_t UpdateSaveChecksum(uint32_t crc, std::span<const uint8_t> bytes) {
  // zlib's crc32 runs the same table update between an inversion on entry and one on exit; undoing
  // both gives the plain update, at zlib's speed.
  uLong value = static_cast<uLong>(~crc & 0xFFFFFFFFu);
  const uint8_t* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const uInt n = static_cast<uInt>(std::min<size_t>(left, UINT_MAX));
    value = ::crc32(value, p, n);
    p += n;
    left -= n;
  }
  return ~static_cast<uint32_t>(value);
}

}  // namespace torvel
