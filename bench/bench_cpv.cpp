// The CPV tables: reading the three files as the first use does (target: under 20 ms), a
// code lookup, a 2003 code through the correspondence, a word search, and collecting the
// codes of a 10,000-position tree as opening an estimate does.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "document/cpv_codes.h"
#include "document/cpv_collect.h"
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

// Collecting over a tree of 50 work groups of 10 elements of 20 positions (10,000
// positions), each position coded with one of 2,000 distinct codes of the vocabulary.
class indexed_reader : public cpv_node_reader {
public:
  std::vector<std::string> texts;  // by the node's `reserved` slot, 0 none
  std::optional<std::string> code_text(Base_Node& n) override {
    return n.reserved ? std::optional(texts[static_cast<std::size_t>(n.reserved)]) : std::nullopt;
  }
  int level(const Base_Node& n) override { return n.kind == KIND_WORK_GROUP ? 4 : n.kind == KIND_ELEMENT ? 5 : 3; }
};

void BM_CpvCollectTree(benchmark::State& state) {
  std::string error;
  auto t = load_cpv_tables(folder, error);
  Kvr_Tree8 tree;
  indexed_reader reader;
  reader.texts.emplace_back();
  auto node = [&](Base_Node* parent, uint8_t kind) {
    auto* n = new Base_Node;
    n->kind = kind;
    append_child(tree, parent, n);
    return n;
  };
  Base_Node* root = node(nullptr, KIND_ESTIMATE);
  int p = 0;
  for (int g = 0; g < 50; ++g) {
    Base_Node* group = node(root, KIND_WORK_GROUP);
    for (int e = 0; e < 10; ++e) {
      Base_Node* element = node(group, KIND_ELEMENT);
      for (int i = 0; i < 20; ++i, ++p) {
        Base_Node* position = node(element, KIND_POSITION);
        position->reserved = static_cast<int32_t>(reader.texts.size());
        reader.texts.push_back(t->main()[static_cast<std::size_t>(p * 7919 % 2000) * 4].text.substr(0, 10));
      }
    }
  }
  for (auto _ : state) collect_cpv_node(*root, *t, reader);
  state.counters["root_collected"] = static_cast<double>(root->cpv_collected.size());
}
BENCHMARK(BM_CpvCollectTree)->Unit(benchmark::kMillisecond);

} // namespace
