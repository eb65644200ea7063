#pragma once
// The check value of the global data file: the byte-wise CRC-32 update (reflected polynomial
// 0xEDB88320) started from 1234, with no inversion before or after.
#include <cstdint>
#include <span>

namespace torvel {

constexpr uint32_t kSaveChecksumStart = 1234;

// Continues the update over `bytes` from `crc`; chaining blocks equals one call over all.
uint32_t UpdateSaveChecksum(uint32_t crc, std::span<const uint8_t> bytes);

}  // namespace torvel
