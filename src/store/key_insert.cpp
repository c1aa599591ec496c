// Inserting keys: the leaf insert, block splits and the growth of the tree.
#include <new>

#include "store/key_index_internal.h"
#include "store/store_error.h"

namespace kovra::store {

namespace kb = key_block;
using namespace btree;

namespace btree {

namespace {

// Takes the key blocks an insert will need before anything changes, so that a container
// that cannot grow leaves the index as it was.
bool take_spares(descriptor& d, int needed) {
  state_t& st = state();
  st.spare.clear();
  while (int(st.spare.size()) < needed) {
    int32_t pos = take_free_block();
    if (pos < 0) {
      try {
        pos = d.owner->io->allocate_key_block(d.owner->set_no);
      } catch (const std::bad_alloc&) {
        pos = -1;
      }
    }
    if (pos < 0) {
      // Back onto the free list in reverse, which restores the list's order.
      for (auto it = st.spare.rbegin(); it != st.spare.rend(); ++it) free_block(*it, 0);
      st.spare.clear();
      return false;
    }
    st.spare.push_back(pos);
  }
  return true;
}

int32_t pop_spare() {
  state_t& st = state();
  if (st.spare.empty()) fail("btree: no key block taken for a split");
  const int32_t pos = st.spare.back();
  st.spare.pop_back();
  return pos;
}

// A new root above the old one, holding only the end marker that points at it.
void grow(descriptor& d) {
  const int32_t pos = pop_spare();
  uint8_t b[key_block_size] = {};
  kb::set_level(b, d.levels);
  kb::put32(b + 6, pos);
  kb::set_used(b, d.entry_size);
  kb::set_entry_value(kb::entry(b, 0), d.root);
  std::memcpy(kb::entry_key(kb::entry(b, 0)), d.max_key, size_t(d.key_length));
  d.levels += 1;
  d.cursors.push_back(level_cursor{});
  d.root = pos;
  cache_place(pos, b);
  load_cursor(d.levels - 1, pos, 0);
}

// Inserts `e` at the cursor of `level`; the cursor ends on the inserted entry and the levels
// above point along its path.
void insert_entry(descriptor& d, int level, const uint8_t* e) {
  const int es = d.entry_size;
  uint8_t* b = cursor_block(level);
  const int used = kb::used(b);
  const int c = d.cursors[size_t(level)].offset;
  const int32_t old_pos = d.cursors[size_t(level)].block;
  if (c < 0 || c + es > used) bad_key_block(old_pos, level);

  if (used + es <= kb::entries_capacity) {
    std::memmove(kb::entry(b, c + es), kb::entry(b, c), size_t(used - c));
    std::memcpy(kb::entry(b, c), e, size_t(es));
    kb::set_used(b, used + es);
    mark_modified(level);
    return;
  }

  if (level == d.levels - 1) grow(d);

  // The full run of entries with the new one in place, split after the entry that starts
  // last below half of it: the new block takes the front up to that entry, the old block
  // keeps the rest (and with it its largest key, so its parent entry stays right).
  uint8_t full[kb::entries_capacity + key_entry_bytes];
  const int total = used + es;
  std::memcpy(full, kb::entry(b, 0), size_t(c));
  std::memcpy(full + c, e, size_t(es));
  std::memcpy(full + c + es, kb::entry(b, c), size_t(used - c));
  const int split = ((total / 2 - 1) / es) * es;
  const int front = split + es;

  const int32_t new_pos = pop_spare();
  uint8_t nb[key_block_size] = {};
  kb::set_level(nb, level);
  kb::put32(nb + 6, new_pos);
  kb::set_used(nb, front);
  std::memcpy(kb::entry(nb, 0), full, size_t(front));

  std::memset(kb::entry(b, 0), 0, kb::entries_capacity);
  std::memcpy(kb::entry(b, 0), full + front, size_t(total - front));
  kb::set_used(b, total - front);
  mark_modified(level);
  cache_place(new_pos, nb);

  uint8_t separator[key_entry_bytes] = {};
  kb::set_entry_value(separator, new_pos);
  std::memcpy(kb::entry_key(separator), kb::entry_key(full + split), size_t(d.key_length));
  insert_entry(d, level + 1, separator);  // the parent cursor ends on the separator

  if (c < front) {
    load_cursor(level, new_pos, c);
  } else {
    if (!step_next(level + 1) || kb::entry_value(cursor_entry(level + 1)) != old_pos)
      bad_key_block(d.cursors[size_t(level + 1)].block, level + 1);
    load_cursor(level, old_pos, c - front);
  }
}

} // namespace

int insert_at_cursor(descriptor& d, const uint8_t* entry) {
  if (d.count >= max_key_count) return KEY_NO_GROWTH;
  const int es = d.entry_size;
  int needed = 0;
  int level = 0;
  for (; level < d.levels; ++level) {
    if (kb::used(cursor_block(level)) + es <= kb::entries_capacity) break;
    ++needed;
  }
  if (level == d.levels) {
    if (d.levels >= max_key_levels) return KEY_NO_GROWTH;
    ++needed;  // the new root
  }
  if (!take_spares(d, needed)) return KEY_NO_GROWTH;
  uint8_t e[key_entry_bytes];
  std::memcpy(e, entry, size_t(es));
  insert_entry(d, 0, e);
  state().spare.clear();
  if (!step_next(0)) bad_key_block(d.cursors[0].block, 0);  // the end marker always follows
  d.count += 1;
  return KEY_OK;
}

} // namespace btree

int key_insert_unique(int index, const key_entry& entry) {
  return guarded(index, true, [&](descriptor& d) {
    const int r = find(d, entry.key());
    if (r == KEY_OK) return KEY_EXISTS;
    if (r == KEY_END) return KEY_END;
    return insert_at_cursor(d, entry.bytes);
  });
}

} // namespace kovra::store
