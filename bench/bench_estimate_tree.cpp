// Building the estimate tree of generated estimates (records in memory), and the JSON
// dump of the large one. Fixed seeds: figures compare between runs.
#include "document/build_tree.h"
#include "document/compound_nodes.h"
#include "document/estimate_generator.h"
#include "document/estimate_layout.h"
#include "document/memory_compound.h"

#include <benchmark/benchmark.h>

using namespace kovra::document;

namespace {
const estimate_image& simple_10k() {
  static estimate_image image = generate_simple_estimate(generator_options{});
  return image;
}

void BM_GenerateSimple10k(benchmark::State& state) {
  for (auto _ : state) {
    estimate_image image = generate_simple_estimate(generator_options{});
    benchmark::DoNotOptimize(image.records.get());
  }
}
BENCHMARK(BM_GenerateSimple10k)->Unit(benchmark::kMillisecond);

void BM_BuildTreeSimple10k(benchmark::State& state) {
  memory_records& m = *simple_10k().records;
  for (auto _ : state) {
    Kvr_Tree8 tree;
    auto root = new Koszt_Node();
    attach_last(tree, nullptr, root, 0, "Kosztorys");
    build_result r = build_tree(m, tree, *root);
    benchmark::DoNotOptimize(r.attached);
  }
  state.counters["nodes"] = double(m.count(CHAIN_ELPZ));
}
BENCHMARK(BM_BuildTreeSimple10k)->Unit(benchmark::kMillisecond);

void BM_BuildTreeCompound50(benchmark::State& state) {
  generator_options per_chapter;
  per_chapter.positions = 200;
  static estimate_image image = generate_compound_estimate(7, 50, per_chapter);
  for (auto _ : state) {
    memory_compound source(*image.records, image.externals);
    Kvr_Tree8 tree;
    auto root = new Koszt_Node();
    attach_last(tree, nullptr, root, 0, "Kosztorys");
    for (const chapter_entry& e : source.chapters()) {
      auto node = new Rozdz_Node(source.open_chapter(e));
      attach_last(tree, root, node, chapter_picture(*node), node->caption());
      build_tree(node->chapter()->records(), tree, *node);
    }
    benchmark::DoNotOptimize(tree.count);
  }
}
BENCHMARK(BM_BuildTreeCompound50)->Unit(benchmark::kMillisecond);

void BM_DumpJsonSimple10k(benchmark::State& state) {
  const estimate_image& image = simple_10k();
  for (auto _ : state) {
    nlohmann::json j = estimate_to_json(image);
    benchmark::DoNotOptimize(j.size());
  }
}
BENCHMARK(BM_DumpJsonSimple10k)->Unit(benchmark::kMillisecond);
} // namespace
