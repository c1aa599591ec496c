// Creating, opening, writing and releasing key indexes; the descriptor table.
#include <algorithm>
#include <new>

#include "store/key_index_internal.h"
#include "store/log.h"
#include "store/store_error.h"

namespace kovra::store {

namespace kb = key_block;
using namespace btree;

int32_t key_entry::value() const { return kb::get32(bytes); }
void key_entry::set_value(int32_t v) { kb::put32(bytes, v); }
void key_entry::set_key(const void* data, size_t length) {
  std::memset(bytes + 4, 0, max_key_length);
  std::memcpy(bytes + 4, data, std::min<size_t>(length, max_key_length));
}
void key_entry::set_key_i16(int16_t k) {
  std::memset(bytes + 4, 0, max_key_length);
  kb::put16(bytes + 4, k);
}
void key_entry::set_key_i32(int32_t k) {
  std::memset(bytes + 4, 0, max_key_length);
  kb::put32(bytes + 4, k);
}
void key_entry::set_key_u32(uint32_t k) { set_key_i32(int32_t(k)); }
void key_entry::set_key_text(const char* text) { set_key(text, std::min<size_t>(std::strlen(text), max_key_length)); }

namespace {

bool header_entry_ok(const index_header_entry& e) {
  return e.levels >= 1 && e.levels <= max_key_levels && key_layout_valid(e.key_type, e.key_length) &&
         e.entry_size == e.key_length + 4 && e.root >= 0 && e.count >= 0;
}

int take_descriptor() {
  state_t& st = state();
  for (size_t n = 0; n < st.table.size(); ++n)
    if (st.table[n].key_type == -1) return int(n);
  const size_t first = st.table.size();
  st.table.resize(first + table_growth);
  return int(first);
}

void free_descriptor(int number) {
  state_t& st = state();
  descriptor& d = st.table[size_t(number)];
  d = descriptor{};
  if (st.current == number) st.current = -1;
}

// Counts, levels and roots of the open indexes back into the header copy.
void refresh_header(key_index* obj) {
  state_t& st = state();
  for (int n : obj->numbers) {
    const descriptor& d = st.table[size_t(n)];
    index_header_entry& e = obj->header.indexes[size_t(d.number_in_header)];
    e.levels = d.levels;
    e.count = d.count;
    e.root = d.root;
  }
}

int write_index(key_index* obj, int32_t position, bool keep) {
  if (obj->broken) return KEY_ERROR;
  try {
    write_back_index(obj, keep);
  } catch (const store_failure&) {
    return KEY_ERROR;
  }
  refresh_header(obj);
  uint8_t image[index_header_size];
  encode_index_header(obj->header, image);
  return obj->io->write_index_header(position, image) ? KEY_OK : KEY_ERROR;
}

} // namespace

int create_key_index(key_block_io& io, int32_t header_position, const key_descriptor* descriptors, int count,
                     int set_no) {
  if (count < 1 || count > 3 || !descriptors) return KEY_ERROR;
  index_header h;
  h.index_count = count;
  for (int j = 0; j < count; ++j) {
    const key_descriptor& kd = descriptors[j];
    if (!key_layout_valid(kd.key_type, kd.key_length) || kd.levels < 1 || kd.levels > max_key_levels)
      return KEY_ERROR;
    index_header_entry& e = h.indexes[size_t(j)];
    e.levels = kd.levels;
    e.key_type = kd.key_type;
    e.key_length = kd.key_length;
    e.entry_size = kd.key_length + 4;
    e.count = 0;
    // One block per level holding only the end marker; each points at the one below.
    int32_t below = -1;
    for (int lv = 0; lv < kd.levels; ++lv) {
      const int32_t pos = io.allocate_key_block(set_no);
      if (pos < 0) return KEY_ERROR;
      uint8_t b[key_block_size] = {};
      kb::set_level(b, lv);
      kb::put32(b + 6, pos);
      kb::set_used(b, e.entry_size);
      uint8_t* entry = kb::entry(b, 0);
      kb::set_entry_value(entry, below);
      fill_max_key(kd.key_type, kd.key_length, kb::entry_key(entry));
      if (!io.write_key_block(pos, b)) return KEY_ERROR;
      below = pos;
    }
    e.root = below;
  }
  uint8_t image[index_header_size];
  encode_index_header(h, image);
  return io.write_index_header(header_position, image) ? KEY_OK : KEY_ERROR;
}

key_index* open_key_index(key_block_io& io, int32_t header_position, int open_mode, bool& error, int set_no,
                          const key_descriptor* descriptors, int count) {
  error = false;
  state_t& st = state();
  try {
    for (auto& existing : st.objects) {
      if (existing->io == &io && existing->header_position == header_position && !existing->broken) {
        ++existing->users;
        for (int j = 0; j < count && descriptors; ++j)
          if (descriptors[j].slot) {
            *descriptors[j].slot = int16_t(j < int(existing->numbers.size()) ? existing->numbers[size_t(j)] : -1);
            existing->slots.push_back(descriptors[j].slot);
          }
        return existing.get();
      }
    }
    uint8_t image[index_header_size];
    if (!io.read_index_header(header_position, image)) {
      error = true;
      return nullptr;
    }
    const index_header h = decode_index_header(image);
    if (h.index_count < 1 || h.index_count > 3) {
      error = true;
      return nullptr;
    }
    for (int j = 0; j < h.index_count; ++j)
      if (!header_entry_ok(h.indexes[size_t(j)])) {
        error = true;
        return nullptr;
      }

    auto obj = std::make_unique<key_index>();
    obj->io = &io;
    obj->header_position = header_position;
    obj->header = h;
    obj->users = 1;
    obj->set_no = set_no;
    for (int j = 0; j < h.index_count; ++j) {
      const index_header_entry& e = h.indexes[size_t(j)];
      const int n = take_descriptor();
      descriptor& d = st.table[size_t(n)];
      d.key_type = e.key_type;
      d.levels = e.levels;
      d.count = e.count;
      d.key_length = e.key_length;
      d.entry_size = e.entry_size;
      d.root = e.root;
      d.owner = obj.get();
      d.number_in_header = j;
      d.shared = (open_mode & 3) != 0;
      d.cursors.reserve(size_t(max_key_levels) + 1);
      d.cursors.assign(size_t(e.levels), level_cursor{});
      fill_max_key(e.key_type, e.key_length, d.max_key);
      obj->numbers.push_back(n);
      if (descriptors && j < count && descriptors[j].slot) {
        *descriptors[j].slot = int16_t(n);
        obj->slots.push_back(descriptors[j].slot);
      }
    }
    st.objects.push_back(std::move(obj));
    return st.objects.back().get();
  } catch (const std::bad_alloc&) {
    error = true;
    return nullptr;
  }
}

int release_key_index(key_index* index) {
  state_t& st = state();
  auto it = std::find_if(st.objects.begin(), st.objects.end(), [&](const auto& o) { return o.get() == index; });
  if (it == st.objects.end()) return KEY_ERROR;
  if (--index->users > 0) return KEY_OK;
  int result = write_index(index, index->header_position, false);
  drop_index_blocks(index);
  for (int n : index->numbers) free_descriptor(n);
  for (int16_t* slot : index->slots) *slot = -1;
  st.objects.erase(it);
  return result;
}

int write_key_index(key_index* index, int32_t header_position) {
  state_t& st = state();
  if (std::none_of(st.objects.begin(), st.objects.end(), [&](const auto& o) { return o.get() == index; }))
    return KEY_ERROR;
  return write_index(index, header_position, true);
}

int32_t key_count(int index) {
  state_t& st = state();
  if (index < 0 || size_t(index) >= st.table.size() || st.table[size_t(index)].key_type == -1) return -1;
  return st.table[size_t(index)].count;
}

int key_levels(int index) {
  state_t& st = state();
  if (index < 0 || size_t(index) >= st.table.size() || st.table[size_t(index)].key_type == -1) return -1;
  return st.table[size_t(index)].levels;
}

int key_index_number(const key_index* index, int j) {
  if (!index || j < 0 || size_t(j) >= index->numbers.size()) return -1;
  return index->numbers[size_t(j)];
}

void reset_key_index_state() {
  state_t& st = state();
  st.table.clear();
  st.objects.clear();
  st.cache = {};
  st.cache_head = 0;
  st.current = -1;
  st.temp_pins.clear();
  st.spare.clear();
}

} // namespace kovra::store
