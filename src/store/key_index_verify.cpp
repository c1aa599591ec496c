#include "store/key_index_verify.h"

#include <cstdio>
#include <cstring>
#include <set>

#include "store/key_block.h"
#include "store/key_index.h"
#include "store/key_index_header.h"
#include "store/key_types.h"

namespace kovra::store {

namespace kb = key_block;

namespace {

std::string text(const char* format, long a, long b = 0, long c = 0) {
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

struct tree_walk {
  key_block_io& io;
  const index_header_entry& e;
  int j;
  std::set<int32_t>& live;
  std::vector<std::string>& problems;
  uint8_t max_key[max_key_length] = {};
  uint8_t previous[max_key_length] = {};
  bool have_previous = false;
  int64_t leaf_entries = 0;
  bool end_marker_ok = false;

  int compare(const uint8_t* a, const uint8_t* b) const { return compare_keys(e.key_type, e.key_length, a, b); }

  void problem(const std::string& what) { problems.push_back(what); }

  // Walks the subtree of the block at `pos`; on success copies its largest key to `last`.
  bool walk(int32_t pos, int level, bool rightmost, uint8_t* last) {
    if (!live.insert(pos).second) {
      problem(text("key index %ld: block %ld reached twice", j, long(pos)));
      return false;
    }
    uint8_t b[key_block_size];
    if (!io.read_key_block(pos, b)) {
      problem(text("key index %ld: %ld is not a key block", j, long(pos)));
      return false;
    }
    if (kb::level(b) != level)
      problem(text("key index %ld: block %ld has level %ld", j, long(pos), kb::level(b)) +
              text(", expected %ld", level));
    const int used = kb::used(b);
    const int es = e.entry_size;
    if (used <= 0 || used > kb::entries_capacity || used % es != 0) {
      problem(text("key index %ld: block %ld has %ld bytes in use", j, long(pos), used));
      return false;
    }
    for (int off = 0; off < used; off += es) {
      const uint8_t* entry = kb::entry(b, off);
      const uint8_t* key = kb::entry_key(entry);
      const bool last_entry = off + es == used;
      if (level == 0) {
        if (have_previous && compare(previous, key) > 0)
          problem(text("key index %ld: block %ld: key at offset %ld out of order", j, long(pos), off));
        std::memcpy(previous, key, size_t(e.key_length));
        have_previous = true;
        ++leaf_entries;
        if (rightmost && last_entry) {
          end_marker_ok = compare(key, max_key) == 0 && kb::entry_value(entry) == -1;
          if (!end_marker_ok) problem(text("key index %ld: block %ld: end marker missing", j, long(pos)));
        }
      } else {
        if (rightmost && last_entry && compare(key, max_key) != 0)
          problem(text("key index %ld: block %ld: last entry is not the maximum key", j, long(pos)));
        uint8_t child_last[max_key_length];
        if (walk(kb::entry_value(entry), level - 1, rightmost && last_entry, child_last) &&
            compare(child_last, key) != 0)
          problem(text("key index %ld: block %ld: entry at offset %ld differs from its block's largest key", j,
                       long(pos), off));
      }
    }
    std::memcpy(last, kb::entry_key(kb::entry(b, used - es)), size_t(e.key_length));
    return true;
  }
};

} // namespace

key_index_check verify_key_index(key_block_io& io, int32_t header_position) {
  key_index_check result;
  uint8_t image[index_header_size];
  if (!io.read_index_header(header_position, image)) {
    result.problems.push_back(text("key-index header at %ld cannot be read", long(header_position)));
    return result;
  }
  const index_header h = decode_index_header(image);
  if (h.index_count < 1 || h.index_count > 3) {
    result.problems.push_back(
        text("key-index header at %ld: index count %ld", long(header_position), long(h.index_count)));
    return result;
  }
  std::set<int32_t> live;
  for (int j = 0; j < h.index_count; ++j) {
    const index_header_entry& e = h.indexes[size_t(j)];
    result.indexes.push_back({j, e.count, e.levels});
    if (e.levels < 1 || e.levels > max_key_levels || !key_layout_valid(e.key_type, e.key_length) ||
        e.entry_size != e.key_length + 4) {
      result.problems.push_back(text("key index %ld: bad description (levels %ld, type %ld)", j, e.levels, e.key_type));
      continue;
    }
    if (e.key_type == KEY_UPPER_POLISH) {
      result.problems.push_back(text("key index %ld: key type 6 is not implemented", j));
      continue;
    }
    tree_walk w{io, e, j, live, result.problems};
    fill_max_key(e.key_type, e.key_length, w.max_key);
    uint8_t last[max_key_length];
    if (w.walk(e.root, e.levels - 1, true, last) && w.end_marker_ok && w.leaf_entries - 1 != e.count)
      result.problems.push_back(
          text("key index %ld: %ld keys found, header says %ld", j, long(w.leaf_entries - 1), long(e.count)));
  }
  result.key_blocks = int32_t(live.size());

  std::set<int32_t> freed;
  for (int32_t pos = h.free_blocks; pos != -1;) {
    if (!freed.insert(pos).second) {
      result.problems.push_back(text("free key-block list runs in a circle at %ld", long(pos)));
      break;
    }
    if (live.count(pos)) {
      result.problems.push_back(text("free key-block list holds the live block %ld", long(pos)));
      break;
    }
    uint8_t b[key_block_size];
    if (!io.read_key_block(pos, b)) {
      result.problems.push_back(text("free key-block list: %ld is not a key block", long(pos)));
      break;
    }
    if (kb::used(b) != 0) result.problems.push_back(text("free key block %ld is not empty", long(pos)));
    pos = kb::next_free(b);
  }
  result.free_key_blocks = int32_t(freed.size());
  return result;
}

} // namespace kovra::store
