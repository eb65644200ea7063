#pragma once
// The variable store and the flag sets that scripts and the engine keep their state in.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace torvel {

constexpr int kVarCount = 3010;
constexpr int kStoryVarBase = 0;      // V000–V999
constexpr int kSystemVarBase = 2000;  // S000–S999
constexpr int kGlobalVarBase = 3000;  // G0–G9

// Sizes of the flag sets, in bits.
constexpr int kSceneFlagBits = 1024;    // E: scene flags, kept with the global data
constexpr int kPlayFlagBits = 1024;     // F: per-play flags
constexpr int kLongFlagBits = 10000;    // T: per-play flags
constexpr int kPictureSeenBits = 4000;  // D: one per picture of the gallery's list
constexpr int kSceneSeenBits = 2000;    // C: one per scene of the recollection table

// A bit array: bit n is bit n mod 8 of byte n / 8. Bits at or above the size cannot be set and
// test false.
class FlagSet {
 public:
  explicit FlagSet(int bits) : bits_(bits), bytes_(static_cast<size_t>((bits + 7) / 8)) {}
  int Size() const { return bits_; }
  bool Test(int n) const { return n >= 0 && n < bits_ && (bytes_[n / 8] >> (n % 8) & 1) != 0; }
  void Set(int n, bool on = true) {
    if (n < 0 || n >= bits_) return;
    if (on) {
      bytes_[n / 8] = static_cast<uint8_t>(bytes_[n / 8] | (1 << (n % 8)));
    } else {
      bytes_[n / 8] = static_cast<uint8_t>(bytes_[n / 8] & ~(1 << (n % 8)));
    }
  }
  void Clear() { bytes_.assign(bytes_.size(), 0); }
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  int bits_;
  std::vector<uint8_t> bytes_;
};

struct VarStore {
  std::array<int32_t, kVarCount> vars{};
  FlagSet E{kSceneFlagBits};
  FlagSet F{kPlayFlagBits};
  FlagSet T{kLongFlagBits};
  FlagSet D{kPictureSeenBits};  // picture-seen
  FlagSet C{kSceneSeenBits};    // scene-seen

  int32_t& V(int n) { return vars[kStoryVarBase + n]; }
  int32_t& S(int n) { return vars[kSystemVarBase + n]; }
  int32_t& G(int n) { return vars[kGlobalVarBase + n]; }
  int32_t V(int n) const { return vars[kStoryVarBase + n]; }
  int32_t S(int n) const { return vars[kSystemVarBase + n]; }
  int32_t G(int n) const { return vars[kGlobalVarBase + n]; }
};

}  // namespace torvel
