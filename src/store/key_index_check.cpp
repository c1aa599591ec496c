#include "store/key_index_check.h"

#include "store/block_header.h"
#include "store/byte_order.h"
#include "store/check_block.h"
#include "store/container.h"

#include <cctype>
#include <cstring>
#include <set>

namespace kovra::store {

namespace {

constexpr int key_data = 512;
constexpr int entries_room = 500;
constexpr int max_levels = 16;

struct index_desc {
  int levels = 0;
  int64_t count = 0;
  int type = 0;
  int key_length = 0;
  int entry_size = 0;
  int32_t root = -1;
};

// Comparison of two stored keys by key type (negative, zero, positive).
int compare_keys(int type, const uint8_t* a, const uint8_t* b, int length) {
  switch (type) {
  case 0: return int(get_i16(a)) - int(get_i16(b));
  case 1: return int(get_u16(a)) - int(get_u16(b));
  case 2: return get_i32(a) < get_i32(b) ? -1 : get_i32(a) > get_i32(b);
  case 3: return get_u32(a) < get_u32(b) ? -1 : get_u32(a) > get_u32(b);
  case 4:
    for (int i = 0; i < length; ++i) {
      if (a[i] != b[i]) return int(a[i]) - int(b[i]);
      if (a[i] == 0) return 0;
    }
    return 0;
  case 5:
    for (int i = 0; i < length; ++i) {
      const int x = std::tolower(a[i]), y = std::tolower(b[i]);
      if (x != y) return x - y;
      if (a[i] == 0) return 0;
    }
    return 0;
  case 8:
    if (get_u32(a) != get_u32(b)) return get_u32(a) < get_u32(b) ? -1 : 1;
    return std::memcmp(a + 4, b + 4, size_t(std::max(0, std::min(length, 6) - 4)));
  default: return std::memcmp(a, b, size_t(length));
  }
}

bool is_max_key(int type, const uint8_t* k, int length) {
  switch (type) {
  case 0: return get_i16(k) == 32767;
  case 1: return get_u16(k) == 65535;
  case 2: return get_i32(k) == INT32_MAX;
  case 3: return get_u32(k) == UINT32_MAX;
  default:
    for (int i = 0; i < length; ++i)
      if (k[i] != 255) return false;
    return true;
  }
}

struct tree_walk {
  int handle;
  int set_no;
  int index;
  const index_desc& d;
  std::vector<std::string>& problems;
  std::set<int32_t>& seen;
  int64_t leaf_entries = 0;
  bool have_last = false;
  std::vector<uint8_t> last_key;

  void problem(const std::string& text) {
    if (problems.size() < 1000) problems.push_back("set " + std::to_string(set_no) + " key " + std::to_string(index) + ": " + text);
  }

  bool load(int32_t position, uint8_t* data) {
    block_header h;
    if (!read_block_header(handle, position - block_header_size, h) || h.type != REC_TYPE_BTREE_LEAF ||
        h.capacity != key_data || h.size != key_data + block_header_size) {
      problem(std::to_string(position) + " is not a key block");
      return false;
    }
    if (!seen.insert(position).second) {
      problem(std::to_string(position) + " is reached twice");
      return false;
    }
    return read_at(handle, position, data, key_data) == key_data;
  }

  // Walks the block at `position` on `level`; `rightmost` tells whether it ends its level.
  void walk(int32_t position, int level, bool rightmost) {
    uint8_t data[key_data];
    if (!load(position, data)) return;
    const int used = get_i16(data + 10);
    const std::string at = std::to_string(position);
    if (get_i16(data + 4) != level) problem(at + " holds level " + std::to_string(get_i16(data + 4)) + ", expected " + std::to_string(level));
    if (used <= 0 || used > entries_room || used % d.entry_size != 0) {
      problem(at + " uses " + std::to_string(used) + " bytes");
      return;
    }
    for (int off = 0; off < used; off += d.entry_size) {
      const uint8_t* e = data + 12 + off;
      const int32_t value = get_i32(e);
      const uint8_t* key = e + 4;
      const bool last_of_all = rightmost && off + d.entry_size == used;
      if (last_of_all && !is_max_key(d.type, key, d.key_length)) problem(at + " does not end with the end marker");
      if (level == 0) {
        if (last_of_all) {
          if (value != -1) problem(at + " end marker has a value");
          continue;
        }
        if (have_last && compare_keys(d.type, last_key.data(), key, d.key_length) > 0) problem(at + " keys out of order");
        last_key.assign(key, key + d.key_length);
        have_last = true;
        ++leaf_entries;
      } else {
        walk(value, level - 1, last_of_all);
        // No key below an entry may be larger than the entry's key.
        if (!last_of_all && have_last && compare_keys(d.type, last_key.data(), key, d.key_length) > 0)
          problem(at + " separator below its child's last key");
      }
    }
  }
};

} // namespace

void check_key_indexes(int handle, int32_t header_position, int set_no,
                       std::vector<integrity_report::key_info>& keys, std::vector<std::string>& problems) {
  uint8_t h[68];
  const std::string where = "set " + std::to_string(set_no) + " key index: ";
  if (read_at(handle, header_position, h, sizeof h) != int64_t(sizeof h)) {
    problems.push_back(where + "header cannot be read");
    return;
  }
  const int count = get_i16(h + 10);
  if (count == 0) return;  // a set made without an index
  if (count < 0 || count > 3) {
    problems.push_back(where + std::to_string(count) + " indexes");
    return;
  }
  std::set<int32_t> seen;
  for (int j = 0; j < count; ++j) {
    const uint8_t* p = h + 12 + 14 * j;
    index_desc d;
    d.levels = p[0];
    d.count = int64_t(p[1]) << 16 | get_u16(p + 8);
    d.type = get_i16(p + 2);
    d.key_length = get_i16(p + 4);
    d.entry_size = get_i16(p + 6);
    d.root = get_i32(p + 10);
    keys.push_back({j, d.count, d.levels});
    const std::string at = where + "index " + std::to_string(j) + ": ";
    if (d.levels < 1 || d.levels > max_levels) {
      problems.push_back(at + std::to_string(d.levels) + " levels");
      continue;
    }
    if (d.key_length <= 0 || d.key_length > 32 || d.entry_size != d.key_length + 4) {
      problems.push_back(at + "key length " + std::to_string(d.key_length) + ", entry size " + std::to_string(d.entry_size));
      continue;
    }
    if (d.type < 0 || d.type > 8 || d.type == 6) {
      problems.push_back(at + "key type " + std::to_string(d.type));
      continue;
    }
    tree_walk w{handle, set_no, j, d, problems, seen, 0, false, {}};
    w.walk(d.root, d.levels - 1, true);
    if (w.leaf_entries != d.count)
      problems.push_back(at + std::to_string(w.leaf_entries) + " keys, the header counts " + std::to_string(d.count));
  }
  // The index's own list of freed key blocks.
  size_t steps = 0;
  for (int32_t p = get_i32(h + 2); p != -1;) {
    block_header bh;
    if (++steps > 1000000 || !read_block_header(handle, p - block_header_size, bh) || bh.type != REC_TYPE_BTREE_LEAF ||
        bh.capacity != key_data) {
      problems.push_back(where + "freed key-block list broken at " + std::to_string(p));
      break;
    }
    if (!seen.insert(p).second) {
      problems.push_back(where + "freed key block " + std::to_string(p) + " is also in use or listed twice");
      break;
    }
    uint8_t next[4];
    if (read_at(handle, p + 6, next, 4) != 4) break;
    p = get_i32(next);
  }
}

} // namespace kovra::store
