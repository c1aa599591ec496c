// Record store: opening compressed containers (against a bare inflate of the same stream),
// walking a long chain, inserting and rewriting records.
#include "store/byte_order.h"
#include "store/container.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/record_set.h"
#include "store/records.h"
#include "store/trace.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include <zlib.h>

using namespace kovra::store;

namespace {

std::string folder() {
  static std::string f = [] {
    char pattern[] = "/tmp/kovra-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    std::string name = std::string(made ? made : "/tmp") + "/";
    set_program_folder(name);
    set_disk_sync(false);  // the figures are the store's, not the disk's
    std::atexit([] { std::system(("rm -rf " + folder()).c_str()); });
    return name;
  }();
  return f;
}

struct classes3 {
  record_class c[3] = {{REC_TYPE_ELPZ, 1}, {REC_TYPE_ZEST, 1}, {REC_TYPE_RMS_BLK, 0}};
};

open_set_request request(const std::string& path, classes3& cls, int storage, int mode) {
  open_set_request r;
  r.path = path;
  r.storage = storage;
  r.open_mode = mode;
  r.classes = cls.c;
  r.class_count = 3;
  return r;
}

// Record data that compresses about as well as estimate records do: text-like runs and numbers.
std::vector<uint8_t> record_data(size_t length, uint32_t seed) {
  std::vector<uint8_t> d(length);
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < length; ++i) {
    x = x * 1103515245u + 12345u;
    d[i] = (i % 16) < 10 ? uint8_t('a' + (x >> 27) % 6) : uint8_t(x >> 24);
  }
  return d;
}

// A compressed container with `records` records of `length` bytes in chain 2.
std::string make_file(const std::string& name, int records, size_t length) {
  const std::string path = folder() + name;
  std::ifstream probe(path);
  if (probe.good()) return path;
  create_set_request c;
  c.path = path;
  c.header_template = header_template();
  c.file_type = FILE_TYPE_ESTIMATE;
  c.version = CONTAINER_VERSION;
  c.class_count = 3;
  c.user_header_size = 5692;
  create_record_set(c);
  classes3 cls;
  record_set* s = open_record_set(request(path, cls, STORAGE_COMPRESSED, OPEN_SHARED | OPEN_KEEP_COUNT));
  for (int i = 0; i < records; ++i) {
    std::vector<uint8_t> d = record_data(length, uint32_t(i));
    add_record(cls.c[2], d.data(), int32_t(d.size()));
  }
  flush_record_set(s);
  flush_container(set_handle(s));
  close_record_set(s);
  reset_trace();
  return path;
}

std::vector<uint8_t> file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void BM_OpenCompressed10k(benchmark::State& state) {
  const std::string path = make_file("open10k.kvr", 10000, 200);
  for (auto _ : state) {
    classes3 cls;
    record_set* s = open_record_set(request(path, cls, STORAGE_COMPRESSED, OPEN_READ_SHARED | OPEN_KEEP_COUNT));
    benchmark::DoNotOptimize(s);
    close_record_set(s);
  }
}
BENCHMARK(BM_OpenCompressed10k)->Unit(benchmark::kMillisecond);

// About 50 MB of image: the store's open against inflating the same stream bare.
const std::string& big_file() {
  static const std::string path = make_file("big.kvr", 50 * 1024 * 1024 / 4000, 4000 - 17);
  return path;
}

void BM_OpenCompressed50MB(benchmark::State& state) {
  const std::string& path = big_file();
  int64_t image = 0;
  for (auto _ : state) {
    const int h = open_container(path, STORAGE_COMPRESSED, OPEN_READ_SHARED | OPEN_KEEP_COUNT, 0, 0, 0, nullptr);
    image = file_length(h);
    close_container(h);
  }
  state.counters["image_MB"] = double(image) / 1e6;
  state.SetBytesProcessed(int64_t(state.iterations()) * image);
}
BENCHMARK(BM_OpenCompressed50MB)->Unit(benchmark::kMillisecond);

void BM_BareInflate50MB(benchmark::State& state) {
  const std::vector<uint8_t> bytes = file_bytes(big_file());
  std::vector<uint8_t> stream(bytes.begin() + 293, bytes.end());
  put_u32(stream.data(), get_u32(stream.data()) ^ SCRAMBLE_WORD);
  const size_t image = 64 * 1024 * 1024;
  for (auto _ : state) {
    // A fresh output buffer each time, as an open has to make one.
    std::unique_ptr<uint8_t[]> out(new uint8_t[image]);
    uLongf length = uLongf(image);
    uncompress(out.get(), &length, stream.data(), uLong(stream.size()));
    benchmark::DoNotOptimize(out.get());
  }
}
BENCHMARK(BM_BareInflate50MB)->Unit(benchmark::kMillisecond);

void BM_WalkChain100k(benchmark::State& state) {
  const std::string path = make_file("walk100k.kvr", 100000, 60);
  classes3 cls;
  record_set* s = open_record_set(request(path, cls, STORAGE_COMPRESSED, OPEN_READ_SHARED | OPEN_KEEP_COUNT));
  std::vector<uint8_t> buffer(65536);
  for (auto _ : state) {
    record_cursor cursor;
    int n = 0;
    for (rec_pos p = first_record(cls.c[2], buffer.data(), cursor); p != -1; p = next_record(cursor, buffer.data()))
      ++n;
    reset_trace();
    if (n != 100000) state.SkipWithError("chain walk fell short");
  }
  close_record_set(s);
}
BENCHMARK(BM_WalkChain100k)->Unit(benchmark::kMillisecond);

void BM_Insert(benchmark::State& state) {
  const std::string path = make_file("insert.kvr", 0, 0);
  classes3 cls;
  record_set* s = open_record_set(request(path, cls, STORAGE_COMPRESSED, OPEN_SHARED | OPEN_KEEP_COUNT));
  std::vector<uint8_t> d = record_data(200, 7);
  for (auto _ : state) benchmark::DoNotOptimize(add_record(cls.c[0], d.data(), 200));
  close_record_set(s, nullptr, false);  // not flushed: the file stays empty for the next run
}
BENCHMARK(BM_Insert);

void BM_RewriteInPlaceAndMoved(benchmark::State& state) {
  const std::string path = make_file("rewrite.kvr", 0, 0);
  classes3 cls;
  record_set* s = open_record_set(request(path, cls, STORAGE_COMPRESSED, OPEN_SHARED | OPEN_KEEP_COUNT));
  std::vector<uint8_t> d = record_data(1000, 3);
  std::vector<rec_pos> records;
  for (int i = 0; i < 1000; ++i) records.push_back(add_record(cls.c[0], d.data(), 100));
  size_t i = 0;
  bool grow = true;
  for (auto _ : state) {
    rec_pos& p = records[i];
    p = rewrite_record(cls.c[0], p, d.data(), grow ? 400 : 80);
    if (++i == records.size()) {
      i = 0;
      grow = !grow;
    }
  }
  close_record_set(s, nullptr, false);
}
BENCHMARK(BM_RewriteInPlaceAndMoved);

} // namespace
