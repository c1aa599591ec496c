// Opening the compressed 10,000-position estimate as its window does: the document
// opened read-only (the file inflated into memory, header, general data and record
// classes read) and its tree built from the node records. The whole is one case, with the
// open and the tree given apart as counters; the inflate alone is its own case, so the
// records' share is the open less the inflate.
#include "bench_files.h"
#include "document/build_tree.h"
#include "document/estimate_doc.h"
#include "document/estimate_layout.h"
#include "store/compressed_image.h"
#include "store/file_header.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace kovra::document;
using clock_type = std::chrono::steady_clock;

double ms_since(clock_type::time_point start) {
  return std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
}

void BM_OpenAndBuildTree10k(benchmark::State& state) {
  const std::string& path = kovra::bench::simple_10k_file();
  double open_ms = 0, tree_ms = 0;
  int nodes = 0;
  for (auto _ : state) {
    const auto start = clock_type::now();
    const int kind = document_kind(path);
    std::unique_ptr<estimate_doc> doc = kind < 0 ? nullptr : open_estimate_by_kind(path, kind, true);
    if (!doc) {
      state.SkipWithError("the estimate does not open");
      return;
    }
    const auto opened = clock_type::now();
    doc->tree = std::make_unique<Kvr_Tree8>();
    auto* root = new Koszt_Node;
    root->doc = doc.get();
    attach_last(*doc->tree, nullptr, root, 0, "");
    nodes = build_tree(*doc->records, *doc->tree, *root, doc.get()).attached;
    tree_ms += ms_since(opened);
    open_ms += std::chrono::duration<double, std::milli>(opened - start).count();
    free_estimate(doc);
  }
  state.counters["open_ms"] = benchmark::Counter(open_ms, benchmark::Counter::kAvgIterations);
  state.counters["tree_ms"] = benchmark::Counter(tree_ms, benchmark::Counter::kAvgIterations);
  state.counters["nodes"] = nodes;
}
BENCHMARK(BM_OpenAndBuildTree10k)->Unit(benchmark::kMillisecond);

// The open's first step alone: the zlib stream after the header read and inflated.
void BM_Inflate10k(benchmark::State& state) {
  const std::string& path = kovra::bench::simple_10k_file();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::vector<uint8_t> image(kovra::store::file_header_size);
    const bool ok = fd >= 0 && ::pread(fd, image.data(), image.size(), 0) == ssize_t(image.size()) &&
                    kovra::store::inflate_container(fd, image, int64_t(1) << 31);
    if (fd >= 0) ::close(fd);
    if (!ok) {
      state.SkipWithError("the file does not inflate");
      return;
    }
    bytes = image.size();
    benchmark::DoNotOptimize(image.data());
  }
  state.counters["image_bytes"] = double(bytes);
}
BENCHMARK(BM_Inflate10k)->Unit(benchmark::kMillisecond);

} // namespace
