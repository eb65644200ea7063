// Arbitrary bytes as conditions, values and assignment lists, over a store whose pointers and
// flags come from the input too.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "script/expressions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  VarStore vars;
  RandomGenerator random;
  // The first bytes seed a few variables (P pointers among them) and the generator.
  size_t used = 0;
  for (int i = 0; i < 8 && used + 4 <= size; ++i, used += 4) {
    int32_t v;
    std::memcpy(&v, data + used, 4);
    vars.V(i) = v;
    vars.E.Set(i * 37);
    vars.T.Set(i * 1201);
  }
  random.Seed(static_cast<uint32_t>(size));
  const std::string_view text(reinterpret_cast<const char*>(data) + used, size - used);
  Evaluate(text, vars, random);
  Condition(text, vars, random);
  Assign(text, vars, random);
  // The store changed by the assignments: read it again.
  Condition(text, vars, random);
  return 0;
}
