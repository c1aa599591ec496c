// The CPV tables: reading the three files as the first use does (target: under 20 ms), a
// code lookup, a 2003 code through the correspondence, and a word search.
#include <benchmark/benchmark.h>

#include <string>

#include "document/cpv_codes.h"
#include "document/cpv_table.h"

namespace {

using namespace kovra::document;

const std::string folder = KOVRA_SOURCE_DIR "/data/cpv/";

void BM_CpvLoadTables(benchmark::State& state) {
  for (auto _ : state) {
    std::string error;
    auto t = load_cpv_tables(folder, error);
    benchmark::DoNotOptimize(t);
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_CpvLoadTables)->Unit(benchmark::kMillisecond);

void BM_CpvResolveCodes(benchmark::State& state) {
  std::string error;
  auto t = load_cpv_tables(folder, error);
  for (auto _ : state) {
    benchmark::DoNotOptimize(resolve_main_code(*t, "45111200-0"));
    benchmark::DoNotOptimize(resolve_main_code(*t, "02000000-4"));
    benchmark::DoNotOptimize(resolve_supplementary_code(*t, "FF01-1"));
  }
}
BENCHMARK(BM_CpvResolveCodes);

void BM_CpvSearchWords(benchmark::State& state) {
  std::string error;
  auto t = load_cpv_tables(folder, error);
  for (auto _ : state) benchmark::DoNotOptimize(t->search("roboty ziemne"));
}
BENCHMARK(BM_CpvSearchWords)->Unit(benchmark::kMicrosecond);

} // namespace
