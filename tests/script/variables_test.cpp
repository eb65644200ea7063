#include "script/variables.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(FlagSet, KeepsBitsInsideItsSize) {
  VarStore s;
  const struct {
    FlagSet* flags;
    int bits;
  } sets[] = {{&s.E, 1024}, {&s.F, 1024}, {&s.T, 10000}, {&s.D, 4000}, {&s.C, 2000}};
  for (const auto& set : sets) {
    SCOPED_TRACE(set.bits);
    FlagSet& f = *set.flags;
    EXPECT_EQ(f.Size(), set.bits);
    EXPECT_EQ(f.Bytes().size(), static_cast<size_t>((set.bits + 7) / 8));
    f.Set(set.bits - 1);
    EXPECT_TRUE(f.Test(set.bits - 1));
    // Bit n is bit n mod 8 of byte n / 8.
    EXPECT_EQ(f.Bytes()[static_cast<size_t>((set.bits - 1) / 8)], 1 << ((set.bits - 1) % 8));
    f.Set(set.bits);
    f.Set(-1);
    EXPECT_FALSE(f.Test(set.bits));
    EXPECT_FALSE(f.Test(-1));
    f.Set(set.bits - 1, false);
    for (uint8_t b : f.Bytes()) EXPECT_EQ(b, 0);
  }
}

}  // namespace
}  // namespace torvel
