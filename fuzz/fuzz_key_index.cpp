// Any bytes taken as a container image with a key-index header at offset 0: opening,
// walking, searching, changing and checking it must give errors or sound results.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/key_block_io.h"
#include "store/key_index.h"
#include "store/key_index_verify.h"
#include "store/log.h"

namespace {

class quiet_handler : public kovra::store::fatal_handler {
public:
  void fatal(const std::string&) override {}
};

struct lcg {
  uint32_t s;
  uint32_t next() {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
  }
};

void fill_key(kovra::store::key_entry& e, lcg& r, const uint8_t* data, size_t size) {
  for (int i = 0; i < 32; ++i) e.key()[i] = size ? data[r.next() % size] : uint8_t(r.next());
  if (r.next() % 2) {  // small numbers for the numeric types, near the stored keys
    e.key()[0] = uint8_t(r.next() % 64);
    for (int i = 1; i < 4; ++i) e.key()[i] = 0;
  }
  e.set_value(int32_t(r.next() % 32));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kovra::store;
  static quiet_handler handler;
  static bool once = [] {
    set_program_folder("/tmp/");
    set_fatal_handler(&handler);
    return true;
  }();
  (void)once;
  reset_log_state();  // a fresh (truncated) log per input
  reset_key_index_state();

  memory_key_block_io io(std::vector<uint8_t>(data, data + size));
  io.set_max_image_size(size + 64 * 529);
  (void)verify_key_index(io, 0);

  bool error = false;
  key_index* obj = open_key_index(io, 0, 0, error, 0, nullptr, 0);
  if (!obj) return 0;
  lcg r{uint32_t(size) * 2654435761u};
  for (int j = 0; j < 3; ++j) {
    const int ix = key_index_number(obj, j);
    if (ix < 0) break;
    key_entry e;
    int steps = 0;
    for (int res = key_first(ix, e); res == KEY_OK && steps < 400; res = key_next(e)) ++steps;
    steps = 0;
    for (int res = key_last(ix, e); res == KEY_OK && steps < 400; res = key_prev(e)) ++steps;
    for (int op = 0; op < 60; ++op) {
      fill_key(e, r, data, size);
      const int mode = int(r.next() % 5);
      switch (r.next() % 6) {
        case 0: key_find(ix, e); break;
        case 1: key_insert_unique(ix, e); break;
        case 2: key_delete(ix, e); break;
        case 3: key_insert(ix, e, mode, int32_t(r.next() % 32)); break;
        case 4: key_delete_at(ix, e, mode, int32_t(r.next() % 32)); break;
        default:
          key_next(e);
          key_prev(e);
          key_current(e);
          break;
      }
    }
  }
  write_key_index(obj, 0);
  (void)verify_key_index(io, 0);
  release_key_index(obj);
  reset_key_index_state();
  return 0;
}
