// The expression language on typical script lines: conditions of `if`, values of `select` and
// `cjmp`, and calculation lines.
#include <benchmark/benchmark.h>

#include <string_view>

#include "script/command_table.h"
#include "script/expressions.h"

namespace torvel {
namespace {

VarStore TypicalStore() {
  VarStore s;
  for (int i = 0; i < 1000; ++i) s.V(i) = i % 7;
  s.S(26) = 0;
  s.V(5) = 2010;
  s.E.Set(10);
  s.F.Set(20);
  return s;
}

constexpr std::string_view kConditions[] = {
    "(V001=1)", "(V010>=3&F020=1)", "(s026 != 0)", "(E010=1|V004<2&T0012=0)", "(V100+V101*2>20)", "(P005=0)",
};

constexpr std::string_view kValues[] = {"V001+1", "R100", "V010*3/2", "E010+F020+T0012", "S026"};

constexpr std::string_view kAssignments[] = {
    "V001=V001+1", "v010 = v010 + 1", "F020=1;E011=1", "V100=R100", "S200=V001*10+V002;T0012=0", "G1=G1+1",
};

void BM_Condition(benchmark::State& state) {
  VarStore s = TypicalStore();
  RandomGenerator random;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Condition(kConditions[i], s, random));
    i = i + 1 == std::size(kConditions) ? 0 : i + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Condition);

void BM_Evaluate(benchmark::State& state) {
  VarStore s = TypicalStore();
  RandomGenerator random;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Evaluate(kValues[i], s, random));
    i = i + 1 == std::size(kValues) ? 0 : i + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Evaluate);

void BM_Assign(benchmark::State& state) {
  VarStore s = TypicalStore();
  RandomGenerator random;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Assign(kAssignments[i], s, random));
    i = i + 1 == std::size(kAssignments) ? 0 : i + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Assign);

void BM_MatchCommand(benchmark::State& state) {
  // Early, middle and late keywords of the table, and a line that matches none.
  constexpr std::string_view kLines[] = {"@gra BG01,3", "@se SE01", "@fadeout 30", "@nosuch"};
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MatchCommand(kLines[i]));
    i = i + 1 == std::size(kLines) ? 0 : i + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MatchCommand);

}  // namespace
}  // namespace torvel
