// Reading every record of the compressed 10,000-position estimate file into the JSON form
// (what kovra-cli dump does), and the same with the printed text.
#include "bench_files.h"

#include <benchmark/benchmark.h>

namespace {

using kovra::document::dump_estimate_file;

void BM_DumpEstimateFile10k(benchmark::State& state) {
  const std::string& path = kovra::bench::simple_10k_file();
  for (auto _ : state) {
    nlohmann::json out;
    auto error = dump_estimate_file(path, out);
    if (!error.empty()) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_DumpEstimateFile10k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DumpEstimateFile10kPrinted(benchmark::State& state) {
  const std::string& path = kovra::bench::simple_10k_file();
  std::size_t length = 0;
  for (auto _ : state) {
    nlohmann::json out;
    auto error = dump_estimate_file(path, out);
    if (!error.empty()) state.SkipWithError(error.c_str());
    length = out.dump(1).size();
  }
  state.counters["json_bytes"] = double(length);
}
BENCHMARK(BM_DumpEstimateFile10kPrinted)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
