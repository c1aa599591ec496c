// Key index with 11-byte keys: 100,000 inserts, 100,000 finds, a full walk.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "store/key_block_io.h"
#include "store/key_index.h"

using namespace kovra::store;

namespace {

constexpr int key_count_wanted = 100000;

key_entry eleven(uint32_t n) {
  key_entry e;
  char text[16];
  std::snprintf(text, sizeof text, "K%010u", n);  // 11 bytes
  e.set_key(text, 11);
  e.set_value(int32_t(n));
  return e;
}

std::vector<uint32_t> shuffled_keys() {
  std::vector<uint32_t> keys(key_count_wanted);
  for (uint32_t i = 0; i < keys.size(); ++i) keys[i] = i * 7919u;
  std::shuffle(keys.begin(), keys.end(), std::mt19937(42));
  return keys;
}

struct filled_index {
  memory_key_block_io io;
  key_index* object = nullptr;
  int16_t number = -1;

  filled_index() {
    reset_key_index_state();
    key_descriptor d{KEY_BYTES, 1, 11, &number};
    create_key_index(io, 0, &d, 1, 0);
    bool error = false;
    object = open_key_index(io, 0, 0, error, 0, &d, 1);
  }
  void fill(const std::vector<uint32_t>& keys) {
    for (uint32_t k : keys)
      if (key_insert_unique(number, eleven(k)) != KEY_OK) std::abort();
  }
};

void BM_KeyIndexInsert100k(benchmark::State& state) {
  const std::vector<uint32_t> keys = shuffled_keys();
  for (auto _ : state) {
    filled_index ix;
    ix.fill(keys);
    benchmark::DoNotOptimize(key_count(ix.number));
  }
}
BENCHMARK(BM_KeyIndexInsert100k)->Unit(benchmark::kMillisecond);

void BM_KeyIndexFind100k(benchmark::State& state) {
  const std::vector<uint32_t> keys = shuffled_keys();
  filled_index ix;
  ix.fill(keys);
  std::vector<uint32_t> probes = keys;
  std::shuffle(probes.begin(), probes.end(), std::mt19937(7));
  for (auto _ : state) {
    for (uint32_t k : probes) {
      key_entry e = eleven(k);
      if (key_find(ix.number, e) != KEY_OK) std::abort();
    }
  }
}
BENCHMARK(BM_KeyIndexFind100k)->Unit(benchmark::kMillisecond);

void BM_KeyIndexWalk100k(benchmark::State& state) {
  filled_index ix;
  ix.fill(shuffled_keys());
  for (auto _ : state) {
    int n = 0;
    key_entry e;
    for (int r = key_first(ix.number, e); r == KEY_OK; r = key_next(e)) ++n;
    if (n != key_count_wanted) std::abort();
  }
}
BENCHMARK(BM_KeyIndexWalk100k)->Unit(benchmark::kMillisecond);

} // namespace
