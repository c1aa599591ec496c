// Finding keys and stepping through an index.
#include "store/key_index_internal.h"
#include "store/store_error.h"

namespace kovra::store {

namespace kb = key_block;
using namespace btree;

namespace btree {

int guarded(int number, bool changing, const std::function<int(descriptor&)>& body) {
  state_t& st = state();
  key_index* changed = nullptr;
  try {
    descriptor& d = number == selected_index ? current() : select(number);
    if (changing) changed = d.owner;
    const int result = body(d);
    st.temp_pins.clear();
    return result;
  } catch (const store_failure&) {
  } catch (const std::bad_alloc&) {
  }
  st.temp_pins.clear();
  st.spare.clear();
  if (changed) {
    changed->broken = true;
    drop_index_blocks(changed);
  } else if (st.current >= 0 && size_t(st.current) < st.table.size() && st.table[size_t(st.current)].key_type != -1) {
    reset_cursors(st.table[size_t(st.current)]);
  }
  return KEY_ERROR;
}

void copy_entry_out(const descriptor& d, const uint8_t* e, key_entry& out) {
  std::memset(out.bytes, 0, key_entry_bytes);
  std::memcpy(out.bytes, e, size_t(d.entry_size));
}

int find(descriptor& d, const uint8_t* key) {
  const int top = d.levels - 1;
  if (compare(d, key, d.max_key) >= 0) {
    int32_t pos = d.root;
    for (int lv = top; lv >= 0; --lv) {
      load_cursor(lv, pos, -1);
      if (lv > 0) pos = kb::entry_value(cursor_entry(lv));
    }
    return KEY_END;
  }
  int32_t pos = d.root;
  int cmp = 0;
  for (int lv = top; lv >= 0; --lv) {
    uint8_t* b = load_cursor(lv, pos, 0);
    const int used = kb::used(b);
    int off = 0;
    while (off < used && (cmp = compare(d, key, kb::entry_key(kb::entry(b, off)))) > 0) off += d.entry_size;
    // In a sound tree every level holds a key not below the search key (the end marker).
    if (off >= used) corrupt("btree: FIND_KEY_ERROR", pos);
    d.cursors[size_t(lv)].offset = off;
    if (lv > 0) pos = kb::entry_value(kb::entry(b, off));
  }
  return cmp == 0 ? KEY_OK : KEY_NOT_FOUND;
}

namespace {

// Walks longer than the index's key count only happen in a damaged index.
struct walk_limit {
  int64_t left;
  explicit walk_limit(const descriptor& d) : left(int64_t(d.count) + 1) {}
  void step() {
    if (--left < 0) corrupt("btree: bad key block", current().cursors[0].block);
  }
};

} // namespace

bool walk_to_value(descriptor& d, const uint8_t* key, int32_t value) {
  walk_limit limit(d);
  for (;;) {
    const uint8_t* e = cursor_entry(0);
    if (compare(d, key, kb::entry_key(e)) != 0) return false;
    if (kb::entry_value(e) == value) return true;
    limit.step();
    if (!step_next(0)) return false;
  }
}

void skip_equal(descriptor& d, const uint8_t* key) {
  walk_limit limit(d);
  while (compare(d, key, kb::entry_key(cursor_entry(0))) == 0) {
    limit.step();
    if (!step_next(0)) return;
  }
}

} // namespace btree

int key_find(int index, key_entry& entry) {
  return guarded(index, false, [&](descriptor& d) {
    const int r = find(d, entry.key());
    if (r == KEY_OK) copy_entry_out(d, cursor_entry(0), entry);
    return r;
  });
}

int key_first(int index, key_entry& entry) {
  return guarded(index, false, [&](descriptor& d) {
    load_leftmost(d.levels - 1, d.root);
    if (at_end_marker()) return KEY_END;
    copy_entry_out(d, cursor_entry(0), entry);
    return KEY_OK;
  });
}

int key_last(int index, key_entry& entry) {
  return guarded(index, false, [&](descriptor& d) {
    int32_t pos = d.root;
    for (int lv = d.levels - 1; lv >= 0; --lv) {
      load_cursor(lv, pos, -1);
      if (lv > 0) pos = kb::entry_value(cursor_entry(lv));
    }
    if (!step_prev(0)) return KEY_END;
    copy_entry_out(d, cursor_entry(0), entry);
    return KEY_OK;
  });
}

int key_next(key_entry& entry) {
  return guarded(selected_index, false, [&](descriptor& d) {
    if (d.cursors[0].block < 0) return KEY_END;
    // The end marker is never handed out: stepping onto it is the end.
    if (!step_next(0) || at_end_marker()) return KEY_END;
    copy_entry_out(d, cursor_entry(0), entry);
    return KEY_OK;
  });
}

int key_prev(key_entry& entry) {
  return guarded(selected_index, false, [&](descriptor& d) {
    if (d.cursors[0].block < 0) return KEY_END;
    if (!step_prev(0)) return KEY_END;  // at the first entry the cursor stays there
    copy_entry_out(d, cursor_entry(0), entry);
    return KEY_OK;
  });
}

int key_current(key_entry& entry) {
  return guarded(selected_index, false, [&](descriptor& d) {
    if (d.cursors[0].block < 0 || at_end_marker()) return KEY_END;
    copy_entry_out(d, cursor_entry(0), entry);
    return KEY_OK;
  });
}

} // namespace kovra::store
