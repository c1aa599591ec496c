// Opening and recalculating estimate files as opening their window does: the generated
// 10,000-position estimate (.kvr on disk, compressed) and a compound estimate of 50
// internal chapters of 200 positions. The whole, and each stage on its own: inflate (open
// the compressed file), tree (the model read from the records), pass 1 (input table and
// quantities), pass 2 (values), write-back (results into the records of a writable set).
//
// Peak memory is not measured here: this process also generates the files, which takes far
// more memory than opening them. Measure it on the file the benchmark leaves in the temporary
// folder: /usr/bin/time -v kovra-cli recalc /tmp/kovra_bench_recalc_10k.kvr (the
// "Maximum resident set size"), and the same for kovra_bench_recalc_c50.kvr.
#include "calc/record_model.h"
#include "document/estimate_file.h"
#include "document/estimate_generator.h"
#include "store/container.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace kovra;

std::string temp_file(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

const std::string& simple_file() {
  static const std::string path = [] {
    store::set_disk_sync(false);
    const std::string p = temp_file("kovra_bench_recalc_10k.kvr");
    document::generator_options o;
    o.positions = 10000;
    std::filesystem::remove(p);
    document::build_estimate_file(document::estimate_to_json(document::generate_simple_estimate(o)), p);
    return p;
  }();
  return path;
}

const std::string& compound_file() {
  static const std::string path = [] {
    store::set_disk_sync(false);
    const std::string p = temp_file("kovra_bench_recalc_c50.kvr");
    document::generator_options per_chapter;
    per_chapter.positions = 200;
    std::filesystem::remove(p);
    document::build_estimate_file(document::estimate_to_json(document::generate_compound_estimate(7, 50, per_chapter)), p);
    return p;
  }();
  return path;
}

void BM_OpenRecalc10k(benchmark::State& state) {
  const std::string& path = simple_file();
  for (auto _ : state) {
    calc::recalculated_estimate r;
    std::string error;
    if (!calc::recalculate_estimate_file(path, r, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(r.result.totals.gross);
  }
  state.counters["file_kb"] = double(std::filesystem::file_size(path)) / 1024.0;
}
BENCHMARK(BM_OpenRecalc10k)->Unit(benchmark::kMillisecond);

void BM_Stage1Inflate10k(benchmark::State& state) {
  const std::string& path = simple_file();
  for (auto _ : state) {
    auto set = document::open_estimate_set(path, true);
    benchmark::DoNotOptimize(set.get());
    if (set) set->close();
  }
}
BENCHMARK(BM_Stage1Inflate10k)->Unit(benchmark::kMillisecond);

void BM_Stage2Tree10k(benchmark::State& state) {
  auto set = document::open_estimate_set(simple_file(), true);
  for (auto _ : state) {
    calc::estimate_model model;
    std::string error;
    calc::model_from_records(*set, model, error);
    benchmark::DoNotOptimize(model.nodes.data());
  }
  set->close();
}
BENCHMARK(BM_Stage2Tree10k)->Unit(benchmark::kMillisecond);

// Passes 1 and 2 on a model read once; the other steps run outside the timing.
void BM_Stage3Pass1_10k(benchmark::State& state) {
  auto set = document::open_estimate_set(simple_file(), true);
  calc::estimate_model model;
  std::string error;
  calc::model_from_records(*set, model, error);
  set->close();
  const calc::recalc_options options = calc::options_from_settings(model.settings);
  for (auto _ : state) {
    state.PauseTiming();
    {
      calc::recalc_steps steps(model, options);
      state.ResumeTiming();
      steps.quantities();
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Stage3Pass1_10k)->Unit(benchmark::kMillisecond);

void BM_Stage4Pass2_10k(benchmark::State& state) {
  auto set = document::open_estimate_set(simple_file(), true);
  calc::estimate_model model;
  std::string error;
  calc::model_from_records(*set, model, error);
  set->close();
  const calc::recalc_options options = calc::options_from_settings(model.settings);
  for (auto _ : state) {
    state.PauseTiming();
    {
      calc::recalc_steps steps(model, options);
      steps.quantities();
      state.ResumeTiming();
      steps.values();
      benchmark::DoNotOptimize(steps.finish().totals.gross);
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Stage4Pass2_10k)->Unit(benchmark::kMillisecond);

// Write-back into a writable set (a copy of the file; closed without saving).
void BM_Stage5WriteBackUpToDate10k(benchmark::State& state) {
  const std::string copy = temp_file("kovra_bench_recalc_10k_copy2.kvr");
  std::filesystem::copy_file(simple_file(), copy, std::filesystem::copy_options::overwrite_existing);
  auto set = document::open_estimate_set(copy, false);
  if (!set) {
    state.SkipWithError("cannot open for writing");
    return;
  }
  calc::estimate_model model;
  calc::recalc_result r;
  std::string error;
  calc::recalculate_records(*set, true, model, r, error); // now up to date
  for (auto _ : state) benchmark::DoNotOptimize(calc::write_results(model, *set));
  set->close(false);
  std::filesystem::remove(copy);
}
BENCHMARK(BM_Stage5WriteBackUpToDate10k)->Unit(benchmark::kMillisecond);

void BM_Stage5WriteBack10k(benchmark::State& state) {
  const std::string copy = temp_file("kovra_bench_recalc_10k_copy.kvr");
  std::filesystem::copy_file(simple_file(), copy, std::filesystem::copy_options::overwrite_existing);
  auto set = document::open_estimate_set(copy, false);
  if (!set) {
    state.SkipWithError("cannot open for writing");
    return;
  }
  calc::estimate_model model;
  calc::recalc_result r;
  std::string error;
  calc::recalculate_records(*set, false, model, r, error);
  int failed = 0;
  double delta = 0.01;
  for (auto _ : state) {
    // Every value differs from the stored one, as after a change of prices: every record
    // is rewritten (an up-to-date record is only compared).
    state.PauseTiming();
    for (calc::model_node& n : model.nodes) n.net += delta;
    for (calc::price_record& p : model.prices) p.quantity += delta;
    delta = -delta;
    state.ResumeTiming();
    failed = calc::write_results(model, *set);
    benchmark::DoNotOptimize(failed);
  }
  state.counters["failed"] = failed;
  set->close(false);
  std::filesystem::remove(copy);
}
BENCHMARK(BM_Stage5WriteBack10k)->Unit(benchmark::kMillisecond);

void BM_OpenRecalcCompound50(benchmark::State& state) {
  const std::string& path = compound_file();
  for (auto _ : state) {
    calc::recalculated_estimate r;
    std::string error;
    if (!calc::recalculate_estimate_file(path, r, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(r.compound_result.totals.gross);
  }
}
BENCHMARK(BM_OpenRecalcCompound50)->Unit(benchmark::kMillisecond);

} // namespace
