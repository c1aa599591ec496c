// Keys with repeated values: equal keys told apart by their values, in the five modes.
#include "store/key_index_internal.h"
#include "store/trace.h"

namespace kovra::store {

namespace kb = key_block;
using namespace btree;

int key_insert(int index, const key_entry& entry, int mode, int32_t value) {
  return guarded(index, true, [&](descriptor& d) {
    if (mode < FIRST_REC || mode > LAST_REC) return KEY_ERROR;
    const uint8_t* key = entry.key();
    const int found = find(d, key);
    if (found == KEY_END) return KEY_END;
    const bool same_exists = found == KEY_OK && walk_to_value(d, key, entry.value());
    if (mode == PREV_REC || mode == THIS_REC || mode == NEXT_REC) {
      if (found != KEY_OK) return KEY_NOT_FOUND;
      find(d, key);
      if (!walk_to_value(d, key, value)) return KEY_NOT_FOUND;
      if (same_exists) return KEY_EXISTS;
      if (mode == THIS_REC) {
        kb::set_entry_value(cursor_entry(0), entry.value());
        mark_modified(0);
        return KEY_OK;
      }
      // PREV_REC inserts right before the entry found, NEXT_REC right after it.
      if (mode == NEXT_REC && !step_next(0)) bad_key_block(d.cursors[0].block, 0);
      return insert_at_cursor(d, entry.bytes);
    }
    if (same_exists) return KEY_EXISTS;
    find(d, key);
    if (mode == LAST_REC) skip_equal(d, key);
    return insert_at_cursor(d, entry.bytes);
  });
}

int key_delete_at(int index, const key_entry& entry, int mode, int32_t value) {
  return guarded(index, true, [&](descriptor& d) {
    if (mode < FIRST_REC || mode > LAST_REC) return KEY_ERROR;
    const uint8_t* key = entry.key();
    if (find(d, key) != KEY_OK) return KEY_NOT_FOUND;
    switch (mode) {
      case FIRST_REC: break;
      case LAST_REC:
        skip_equal(d, key);
        if (!step_prev(0)) bad_key_block(d.cursors[0].block, 0);
        break;
      default:
        if (!walk_to_value(d, key, value)) return KEY_NOT_FOUND;
        if (mode == PREV_REC && !step_prev(0)) return KEY_NOT_FOUND;
        if (mode == NEXT_REC && (!step_next(0) || at_end_marker())) return KEY_NOT_FOUND;
        break;
    }
    delete_at_cursor(d);
    return KEY_OK;
  });
}

} // namespace kovra::store
