// A whole walk of the summaries in name order (first_of_kind, then next_by_name to the
// end of each kind) over 2,000 and 20,000 price records with their name key: one pass over
// the key, so the time grows with the number of records, not with its square.
#include <benchmark/benchmark.h>

#include "calc/summaries.h"

using namespace kovra::calc;

namespace {

estimate_model priced(int count) {
  estimate_model m;
  for (int i = 0; i < count; ++i) {
    price_record p;
    p.kind = static_cast<uint8_t>(i % 3);
    p.id = static_cast<uint32_t>(1000 + i);
    p.name = "input " + std::to_string((i * 7919) % count);
    m.prices.push_back(p);
  }
  // The key's order, as a file holds it: kind by kind, by name.
  for (uint8_t kind = 0; kind < 3; ++kind)
    for (int index : inputs_by_name(m.prices, kind)) m.name_order.push_back(index);
  return m;
}

void BM_WholeNameWalk(benchmark::State& state) {
  const estimate_model m = priced(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const name_walk walk(m);
    long steps = 0;
    for (uint8_t kind = 0; kind < 3; ++kind)
      for (int i = walk.first_of_kind(kind); i >= 0; i = walk.next_by_name(i)) ++steps;
    benchmark::DoNotOptimize(steps);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WholeNameWalk)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
