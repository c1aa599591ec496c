// Writes small sound containers as seeds for fuzz_container: an empty set, chains of each
// size class, a blob, a sub-set with records, a compressed file, and free-list traffic.
#include "store/container.h"
#include "store/record_set.h"
#include "store/records.h"
#include "store/set_key_binding.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace kovra::store;

namespace {

bool make(const std::string& path, int variant) {
  create_set_request c;
  c.path = path;
  c.header_template = header_template();
  c.file_type = FILE_TYPE_ESTIMATE;
  c.version = CONTAINER_VERSION;
  c.class_count = 3;
  c.user_header_size = 40;
  int16_t slots[2] = {-1, -1};
  const key_descriptor keys[2] = {{KEY_BYTES, 3, 6, &slots[0]}, {KEY_BYTES, 3, 11, &slots[1]}};
  if (variant >= 6) c.keys = bind_key_indexes(keys, 2);
  if (!create_record_set(c)) return false;
  if (variant == 0) return true;
  record_class classes[3] = {{REC_TYPE_ELPZ, 1}, {REC_TYPE_ZEST, 1}, {REC_TYPE_RMS_BLK, 0}};
  open_set_request o;
  o.path = path;
  o.storage = variant == 3 ? STORAGE_COMPRESSED : STORAGE_DIRECT;
  o.classes = classes;
  o.class_count = 3;
  o.checksum_wanted = true;
  if (variant >= 6) o.keys = bind_key_indexes(keys, 2);
  record_set* s = open_record_set(o);
  if (!s) return false;
  if (variant >= 6) {
    // Enough keys to split leaves: 60 six-byte keys and 60 eleven-byte ones.
    for (int i = 0; i < 60 * (variant - 5); ++i) {
      key_entry e;
      e.set_value(1000 + i);
      char text[16];
      std::snprintf(text, sizeof text, "K%09d", i * 7919 % 100000);
      e.set_key(text, 6);
      key_insert_unique(slots[0], e);
      e.set_key(text, 11);
      key_insert_unique(slots[1], e);
    }
  }
  std::vector<uint8_t> data(variant == 2 ? 70000 : 300, uint8_t(variant));
  for (int i = 0; i < 6; ++i) add_record(classes[i % 3], data.data(), int32_t(i * 37 % 200 + 20));
  if (variant == 2) add_record(classes[2], data.data(), 70000);
  if (variant == 4) {
    const rec_pos sub = create_subset(classes[0], 5, 2, 16, {}, {});
    record_class subc[2] = {{REC_TYPE_ELPZ, 1}, {REC_TYPE_ZEST, 0}};
    if (open_subset(classes[0], sub, subc, 2, {}, {}, {})) {
      add_record(subc[0], data.data(), 50);
      add_record(subc[1], data.data(), 120);
      close_subset(subc);
    }
  }
  if (variant == 5) {
    const rec_pos a = locate_record(classes[0], FIRST_REC, 0);
    delete_record(classes[0], a);
    const rec_pos b = locate_record(classes[1], LAST_REC, 0);
    rewrite_record(classes[1], b, data.data(), 250);
  }
  flush_record_set(s);
  flush_container(set_handle(s));
  return close_record_set(s);
}

} // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? std::string(argv[1]) + "/" : "./";
  int failures = 0;
  for (int v = 0; v <= 7; ++v) {
    const std::string path = folder + "seed" + std::to_string(v) + ".kvr";
    if (!make(path, v)) {
      std::fprintf(stderr, "could not write %s\n", path.c_str());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
