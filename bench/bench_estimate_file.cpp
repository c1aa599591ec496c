// Opening a 10,000-position estimate file read-only and reading every record into the
// JSON form (what kovra-cli dump and recalc do before any calculation).
#include "document/estimate_file.h"
#include "document/estimate_generator.h"
#include "store/container.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::string& large_file() {
  static const std::string path = [] {
    kovra::store::set_disk_sync(false);
    std::string p = (std::filesystem::temp_directory_path() / "kovra_bench_10k.kvr").string();
    kovra::document::generator_options o;
    o.positions = 10000;
    auto spec = kovra::document::estimate_to_json(kovra::document::generate_simple_estimate(o));
    std::filesystem::remove(p);
    kovra::document::build_estimate_file(spec, p);
    return p;
  }();
  return path;
}

void BM_DumpEstimateFile10k(benchmark::State& state) {
  const std::string& path = large_file();
  for (auto _ : state) {
    nlohmann::json out;
    auto error = kovra::document::dump_estimate_file(path, out);
    if (!error.empty()) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_DumpEstimateFile10k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
