// Recalculation of a generated estimate of 10,000 positions (200 elements of 50 positions,
// 8 inputs each over 600 price records), under FORMUŁA II and FORMUŁA I, and of a compound
// estimate of 50 chapters of 200 positions.
#include <benchmark/benchmark.h>

#include "calc/compound_recalc.h"
#include "calc/input_table.h"
#include "calc/recalculation.h"

using namespace kovra::calc;

namespace {

estimate_model generated(int elements, int positions_per_element, uint8_t method) {
  estimate_model m;
  m.settings.calc_method = method;
  m.overheads = default_standard_overheads();
  m.overheads.rows[row_kp].rates = {65, 0, 65, -1, -1, -1, -1};
  m.overheads.rows[row_profit].rates = {12, 0, 12, 12, 0, 12, -1};
  m.overheads.rows[row_vat].rates[col_running] = 8;
  for (uint32_t i = 0; i < 600; ++i) {
    price_record p;
    p.kind = static_cast<uint8_t>(i % 3);
    p.id = 1000 + i * 7;
    p.name = "input " + std::to_string(i);
    p.unit = "j";
    p.price = 1.0 + (i % 97) * 0.37;
    p.base_price = p.kind == kind_material ? p.price / 1.05 : p.price;
    p.kz_mode = 4;
    p.kz_value = 5;
    p.base_material = 1;
    m.prices.push_back(p);
  }
  uint32_t next = 0;
  for (int e = 0; e < elements; ++e) {
    model_node el;
    el.type = node_element;
    el.level = 0;
    m.nodes.push_back(el);
    for (int k = 0; k < positions_per_element; ++k) {
      model_node p;
      p.type = node_position;
      p.level = 1;
      p.quantity = 1.5 + (k % 13) * 2.25;
      p.precision_code = 1;
      p.has_inputs = true;
      p.variants.resize(1);
      for (int j = 0; j < 8; ++j) {
        input_entry in;
        const uint32_t idx = (next++ * 31) % 600;
        in.kind = static_cast<uint8_t>(idx % 3);
        in.id = 1000 + idx * 7;
        in.norm = 0.01 + (j % 5) * 0.7;
        p.variants[0].entries.push_back(in);
      }
      m.nodes.push_back(p);
    }
  }
  return m;
}

void BM_recalculate(benchmark::State& state, uint8_t method) {
  estimate_model m = generated(200, 50, method);
  for (auto _ : state) {
    recalc_result r = recalculate(m);
    benchmark::DoNotOptimize(r.totals.gross);
  }
  state.SetLabel("10,000 positions");
}

void BM_tree_and_table(benchmark::State& state) {
  estimate_model m = generated(200, 50, method_formula_2);
  for (auto _ : state) {
    build_tree(m);
    input_table t;
    t.load(m);
    benchmark::DoNotOptimize(t.entries().data());
  }
}

void BM_compound(benchmark::State& state) {
  compound_model c;
  c.overheads = default_standard_overheads();
  for (int i = 0; i < 50; ++i) {
    chapter_model ch;
    ch.number = std::to_string(i + 1);
    ch.quantity = 1 + i % 3;
    ch.doc = generated(4, 50, method_formula_2);
    c.chapters.push_back(std::move(ch));
  }
  for (auto _ : state) {
    compound_result r = recalculate_compound(c);
    benchmark::DoNotOptimize(r.totals.gross);
  }
  state.SetLabel("50 chapters");
}

} // namespace

BENCHMARK_CAPTURE(BM_recalculate, formula_2, method_formula_2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_recalculate, formula_1, method_formula_1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_tree_and_table)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_compound)->Unit(benchmark::kMillisecond);

// A damaged or hostile estimate whose inputs name keys without price records: 10,000
// positions of 10 keys each, all different (100,000 placeholders in the input table).
void BM_unknown_keys(benchmark::State& state) {
  estimate_model m;
  m.overheads = default_standard_overheads();
  uint32_t next = 1;
  model_node el;
  el.type = node_element;
  m.nodes.push_back(el);
  for (int k = 0; k < 10000; ++k) {
    model_node p;
    p.type = node_position;
    p.level = 1;
    p.quantity = 2;
    p.has_inputs = true;
    p.variants.resize(1);
    for (int j = 0; j < 10; ++j) {
      input_entry in;
      in.kind = static_cast<uint8_t>(j % 3);
      in.id = (next++ * 2654435761u) % 1000000007u; // spread, not in order
      in.norm = 1;
      p.variants[0].entries.push_back(in);
    }
    m.nodes.push_back(p);
  }
  for (auto _ : state) {
    recalc_result r = recalculate(m);
    benchmark::DoNotOptimize(r.table.entries().size());
  }
  state.SetLabel("100,000 keys without price records");
}
BENCHMARK(BM_unknown_keys)->Unit(benchmark::kMillisecond)->Iterations(1);
