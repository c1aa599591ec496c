// Opening a compound estimate file of 50 internal chapters (200 positions each) for a
// window: every chapter's sub-set opened, its settings loaded and its nodes built under
// the chapter node; and the same walk with the iterator, one chapter open at a time.
#include "document/chapter_open.h"
#include "document/estimate_file.h"
#include "document/estimate_generator.h"
#include "document/estimate_json.h"
#include "document/estimate_layout.h"
#include "store/container.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace kovra::document;

const std::string& compound_50() {
  static const std::string path = [] {
    kovra::store::set_disk_sync(false);
    std::string p = (std::filesystem::temp_directory_path() / "kovra_bench_compound50.kvr").string();
    generator_options per_chapter;
    per_chapter.positions = 200;
    auto spec = estimate_to_json(generate_compound_estimate(7, 50, per_chapter));
    std::filesystem::remove(p);
    build_estimate_file(spec, p);
    return p;
  }();
  return path;
}

void BM_OpenAllChapters50(benchmark::State& state) {
  const std::string& path = compound_50();
  for (auto _ : state) {
    auto file = open_compound_file(path, false);
    if (!file) {
      state.SkipWithError("the compound file does not open");
      return;
    }
    store_compound compound(*file->set, path, file->header, file->general, file->overhead);
    {
      Kvr_Tree8 tree;
      auto* estimate = new Koszt_Node;
      attach_last(tree, nullptr, estimate, 0, "Kosztorys");
      open_all_chapters(tree, *estimate, compound, {});
      benchmark::DoNotOptimize(tree.count);
    }
    file->set->close(false);
  }
}
BENCHMARK(BM_OpenAllChapters50)->Unit(benchmark::kMillisecond);

void BM_IterateChapters50(benchmark::State& state) {
  const std::string& path = compound_50();
  for (auto _ : state) {
    auto file = open_compound_file(path, true);
    if (!file) {
      state.SkipWithError("the compound file does not open");
      return;
    }
    store_compound compound(*file->set, path, file->header, file->general, file->overhead);
    std::size_t records = 0;
    Compound_Iterator it(compound);
    for (chapter_document* d = it.first_chapter(); d; d = it.next_chapter()) records += d->records().count(CHAIN_ELPZ);
    benchmark::DoNotOptimize(records);
    file->set->close();
  }
}
BENCHMARK(BM_IterateChapters50)->Unit(benchmark::kMillisecond);

} // namespace
