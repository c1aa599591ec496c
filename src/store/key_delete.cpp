// Deleting keys: removal at the cursor, freeing emptied blocks and merging small ones.
#include "store/key_index_internal.h"

namespace kovra::store {

namespace kb = key_block;
using namespace btree;

namespace btree {

namespace {

void delete_entry(descriptor& d, int level);

// The block's largest key changed: the parent's entry for it follows, and so on upwards
// while the changed entry is the last of its block.
void update_parent_key(descriptor& d, int level) {
  const int es = d.entry_size;
  for (; level < d.levels - 1; ++level) {
    const uint8_t* b = cursor_block(level);
    uint8_t key[max_key_length];
    std::memcpy(key, kb::entry_key(kb::entry(b, kb::used(b) - es)), size_t(d.key_length));
    uint8_t* pe = cursor_entry(level + 1);
    if (kb::entry_value(pe) != d.cursors[size_t(level)].block)
      bad_key_block(d.cursors[size_t(level + 1)].block, level + 1);
    std::memcpy(kb::entry_key(pe), key, size_t(d.key_length));
    mark_modified(level + 1);
    const uint8_t* pb = cursor_block(level + 1);
    if (d.cursors[size_t(level + 1)].offset + es != kb::used(pb)) return;
  }
}

// A block below half full joins a sibling under the same parent block when both fit in one.
void merge(descriptor& d, int level) {
  state_t& st = state();
  const int es = d.entry_size;
  const int32_t me = d.cursors[size_t(level)].block;
  const uint8_t* pb = cursor_block(level + 1);
  const int p = d.cursors[size_t(level + 1)].offset;
  const int parent_used = kb::used(pb);
  uint8_t* b = cursor_block(level);
  const int used = kb::used(b);

  if (p >= es) {
    const int32_t left = kb::entry_value(kb::entry(pb, p - es));
    if (left == me) bad_key_block(d.cursors[size_t(level + 1)].block, level + 1);
    const int ls = cache_get(left, level);
    pin(ls);
    const uint8_t* lb = st.cache[size_t(ls)].data;
    const int left_used = kb::used(lb);
    if (left_used + used <= kb::entries_capacity) {
      std::memmove(kb::entry(b, left_used), kb::entry(b, 0), size_t(used));
      std::memcpy(kb::entry(b, 0), kb::entry(lb, 0), size_t(left_used));
      kb::set_used(b, left_used + used);
      mark_modified(level);
      d.cursors[size_t(level)].offset += left_used;
      unpin(ls);
      free_block(left, level);
      d.cursors[size_t(level + 1)].offset = p - es;
      delete_entry(d, level + 1);  // the parent cursor ends on this block's entry
      return;
    }
    unpin(ls);
  }
  if (p + es < parent_used) {
    const int32_t right = kb::entry_value(kb::entry(pb, p + es));
    if (right == me) bad_key_block(d.cursors[size_t(level + 1)].block, level + 1);
    const int rs = cache_get(right, level);
    pin(rs);
    uint8_t* rb = st.cache[size_t(rs)].data;
    const int right_used = kb::used(rb);
    if (right_used + used <= kb::entries_capacity) {
      std::memmove(kb::entry(rb, used), kb::entry(rb, 0), size_t(right_used));
      std::memcpy(kb::entry(rb, 0), kb::entry(b, 0), size_t(used));
      kb::set_used(rb, right_used + used);
      st.cache[size_t(rs)].state |= state_modified;
      const int c = d.cursors[size_t(level)].offset;
      free_block(me, level);
      d.cursors[size_t(level)].block = -1;
      load_cursor(level, right, c);
      unpin(rs);
      delete_entry(d, level + 1);  // this block's entry; the parent cursor ends on the right one's
      return;
    }
    unpin(rs);
  }
}

void delete_entry(descriptor& d, int level) {
  const int es = d.entry_size;
  const int top = d.levels - 1;
  cursor_entry(level);  // validates the cursor
  uint8_t* b = cursor_block(level);
  const int c = d.cursors[size_t(level)].offset;
  const int used = kb::used(b) - es;
  std::memmove(kb::entry(b, c), kb::entry(b, c + es), size_t(used - c));
  std::memset(kb::entry(b, used), 0, size_t(es));
  kb::set_used(b, used);
  mark_modified(level);
  const int32_t pos = d.cursors[size_t(level)].block;

  if (used == 0) {
    if (level == top) bad_key_block(pos, level);  // the root always keeps the end marker's path
    free_block(pos, level);
    d.cursors[size_t(level)].block = -1;
    delete_entry(d, level + 1);
    load_cursor(level, kb::entry_value(cursor_entry(level + 1)), 0);
    return;
  }
  if (level < top) {
    if (c == used) update_parent_key(d, level);
    if (used < merge_threshold) merge(d, level);
  }
  // Past the block's end: on to the first entry of the next block.
  const uint8_t* now = cursor_block(level);
  if (d.cursors[size_t(level)].offset >= kb::used(now)) {
    if (level == top || !step_next(level + 1)) bad_key_block(d.cursors[size_t(level)].block, level);
    load_cursor(level, kb::entry_value(cursor_entry(level + 1)), 0);
  }
}

} // namespace

void delete_at_cursor(descriptor& d) {
  if (at_end_marker()) bad_key_block(d.cursors[0].block, 0);
  delete_entry(d, 0);
  d.count -= 1;
}

} // namespace btree

int key_delete(int index, const key_entry& entry) {
  return guarded(index, true, [&](descriptor& d) {
    const int r = find(d, entry.key());
    if (r != KEY_OK) return r;
    delete_at_cursor(d);
    return KEY_OK;
  });
}

} // namespace kovra::store
