// Any bytes as a container: the integrity check, then the main set and its sub-sets opened
// and walked through the record interface, read-only and for work (inserts, rewrites,
// deletes on a private copy). Everything must end in an error value or a sound result.
#include "store/block_header.h"
#include "store/byte_order.h"
#include "store/container.h"
#include "store/corruption.h"
#include "store/integrity_check.h"
#include "store/key_index.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/record_set.h"
#include "store/records.h"
#include "store/set_key_binding.h"
#include "store/trace.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kovra::store;

namespace {

std::string scratch_folder() {
  static std::string folder = [] {
    char pattern[] = "/tmp/kovra-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp") + "/";
  }();
  return folder;
}

void write_file(const std::string& path, const uint8_t* data, size_t size) {
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
}

// Classes typed after the first block of each chain, so that the walk gets past the
// type check and into the links.
void type_classes(const uint8_t* data, size_t size, int32_t base, record_class* classes) {
  for (int k = 0; k < max_chains; ++k) {
    classes[k] = record_class{};
    classes[k].rec_type = REC_TYPE_ELPZ;
    classes[k].auto_number = uint8_t(k & 1);
    if (size < size_t(base) + 40) continue;
    const int32_t first = get_i32(data + base + 4 * k);
    if (first >= 0 && size_t(first) < size) classes[k].rec_type = data[first];
  }
}

void walk(record_class* classes, int count) {
  std::vector<uint8_t> buffer(65536);
  std::vector<uint8_t> whole;
  for (int k = 0; k < count; ++k) {
    record_cursor cursor;
    int steps = 0;
    for (rec_pos p = first_record(classes[k], buffer.data(), cursor); p != -1 && steps < 5000;
         p = next_record(cursor, buffer.data()), ++steps) {
      read_record_new(classes[k], p, whole, false);
      int32_t length = 0;
      read_record_shared(classes[k], p, &length);
      prev_of(classes[k], p, buffer.data());
    }
    locate_record(classes[k], LAST_REC, 0);
  }
}

void change(record_class* classes, int count, uint8_t seed) {
  std::vector<uint8_t> data(300 + seed * 7, seed);
  for (int k = 0; k < count; ++k) {
    const rec_pos first = locate_record(classes[k], FIRST_REC, 0);
    const rec_pos added = add_record(classes[k], data.data(), int32_t(data.size()));
    if (first > 0) {
      rewrite_record(classes[k], first, data.data(), int32_t(data.size() / 2 + seed));
      insert_record(classes[k], NEXT_REC, first, data.data(), 40);
    }
    if (added > 0) delete_record(classes[k], added);
  }
}

void open_subsets(record_class& main_class, const std::vector<rec_pos>& blocks, bool for_work) {
  for (rec_pos p : blocks) {
    record_class sub[max_chains];
    for (auto& c : sub) c = record_class{REC_TYPE_ELPZ, 0};
    if (!open_subset(main_class, p, sub, max_chains, {}, {}, {})) continue;
    walk(sub, max_chains);
    if (for_work) change(sub, 2, 3);
    close_subset(sub);
  }
}

void walk_keys(const int16_t* slots, int count, bool for_work) {
  for (int j = 0; j < count; ++j) {
    if (slots[j] < 0) continue;
    key_entry e;
    int steps = 0;
    for (int rc = key_first(slots[j], e); rc == KEY_OK && steps < 3000; rc = key_next(e)) ++steps;
    key_last(slots[j], e);
    key_prev(e);
    e.set_key("KOVRA-FUZZ-KEY", 14);
    key_find(slots[j], e);
    if (for_work) {
      e.set_value(1000 + j);
      key_insert_unique(slots[j], e);
      key_insert(slots[j], e, NEXT_REC, 1000 + j);
      key_delete(slots[j], e);
    }
  }
}

std::vector<rec_pos> subset_blocks(const uint8_t* data, size_t size) {
  // A few type-100 blocks found by a cheap scan; the store itself decides if they are sound.
  std::vector<rec_pos> out;
  for (size_t i = 293; i + 17 <= size && out.size() < 4; ++i)
    if (data[i] == REC_TYPE_SUBFILE_HDR && get_u16(data + i + 3) == get_u16(data + i + 5) + 17) out.push_back(rec_pos(i));
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool once = [] {
    set_program_folder(scratch_folder());
    set_disk_sync(false);
    std::atexit([] { std::system(("rm -rf " + scratch_folder()).c_str()); });
    return true;
  }();
  (void)once;
  const std::string path = scratch_folder() + "input.kvr";
  write_file(path, data, size);

  integrity_report report = check_container(path);
  (void)report;

  record_class classes[max_chains];
  type_classes(data, size, main_set_base, classes);
  const std::vector<rec_pos> subs = subset_blocks(data, size);
  for (int storage : {STORAGE_DIRECT, STORAGE_COMPRESSED}) {
    open_set_request r;
    r.path = path;
    r.storage = storage;
    r.open_mode = storage == STORAGE_DIRECT ? OPEN_READ_SHARED : OPEN_SHARED;
    r.classes = classes;
    r.class_count = max_chains;
    r.checksum_wanted = true;
    int16_t slots[2] = {-1, -1};
    const key_descriptor keys[2] = {{KEY_BYTES, 3, 6, &slots[0]}, {KEY_BYTES, 3, 11, &slots[1]}};
    r.keys = bind_key_indexes(keys, 2);
    int result = 0;
    if (record_set* s = open_record_set(r, &result)) {
      walk(classes, max_chains);
      walk_keys(slots, 2, storage != STORAGE_DIRECT);
      open_subsets(classes[0], subs, storage != STORAGE_DIRECT);
      if (storage != STORAGE_DIRECT) {
        change(classes, max_chains, uint8_t(size));
        walk(classes, max_chains);
        flush_record_set(s);
      }
      close_record_set(s);
    }
    write_file(path, data, size);  // the work open may have rewritten it
  }
  reset_key_index_state();
  reset_containers();
  reset_open_files();
  reset_trace();
  reset_corruption_state();
  reset_log_state();
  return 0;
}
