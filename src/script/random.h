#pragma once
// The process-wide random generator: values 0 to 32767, seeded from the clock at start-up.
#include <cstdint>

namespace torvel {

class RandomGenerator {
 public:
  void Seed(uint32_t seed) { state_ = seed; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_ = 1;
};

}  // namespace torvel
