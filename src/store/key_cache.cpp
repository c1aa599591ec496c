// The process-wide state of the key indexes and the 20-block cache they share.
#include <algorithm>

#include "store/key_index_internal.h"
#include "store/log.h"
#include "store/store_error.h"

namespace kovra::store::btree {

namespace kb = key_block;

state_t& state() {
  static state_t s;
  return s;
}

descriptor& select(int number) {
  state_t& st = state();
  if (number < 0 || size_t(number) >= st.table.size() || st.table[size_t(number)].key_type == -1)
    fail("btree: index not open");
  descriptor& d = st.table[size_t(number)];
  if (d.owner->broken) fail("btree: index damaged");
  st.current = number;
  return d;
}

descriptor& current() {
  state_t& st = state();
  if (st.current < 0 || size_t(st.current) >= st.table.size() || st.table[size_t(st.current)].key_type == -1)
    fail("btree: no index selected");
  descriptor& d = st.table[size_t(st.current)];
  if (d.owner->broken) fail("btree: index damaged");
  return d;
}

void corrupt(const char* text, int32_t position) {
  state_t& st = state();
  if (st.current >= 0 && size_t(st.current) < st.table.size()) {
    descriptor& d = st.table[size_t(st.current)];
    if (d.key_type != -1 && d.owner) d.owner->io->report_corruption(position, text);
  }
  fatal_error("%s", text);
  throw store_failure(text);
}

void bad_key_block(int32_t position, int level) {
  state_t& st = state();
  log_text("btree: bad key block.\n");
  log_text("current key=%d  current_lvl=%1d  cache_head=%d\n", st.current, level, st.cache_head);
  log_text("\nCACHE\n");
  for (int i = 0; i < cache_slots; ++i) {
    const cache_slot& c = st.cache[size_t(i)];
    log_text("i=%2d  addr=%p  key=%2d  stat=%1d  lvl=%2d  blk_pos=%7ld  len=%3d\n", i, static_cast<const void*>(c.data),
             c.owner, c.state, c.level, long(c.position), kb::used(c.data));
  }
  log_text("\nKEY_DSC\n");
  for (size_t n = 0; n < st.table.size(); ++n) {
    const descriptor& d = st.table[n];
    if (d.key_type == -1) continue;
    for (size_t lv = 0; lv < d.cursors.size(); ++lv) {
      const level_cursor& c = d.cursors[lv];
      const void* block = c.slot >= 0 ? static_cast<const void*>(st.cache[size_t(c.slot)].data) : nullptr;
      log_text("i=%2d  lvl=%1d  curr_block=%7ld  curr_offset=%3d  block=%p\n", int(n), int(lv), long(c.block), c.offset,
               block);
    }
  }
  corrupt("btree: bad key block", position);
}

void fail(const char* text) {
  log_text("%s\n", text);
  throw store_failure(text);
}

int compare(const descriptor& d, const uint8_t* a, const uint8_t* b) {
  if (d.key_type == KEY_UPPER_POLISH) {
    fatal_error("UPPER_POLISH_KEY not implemented");
    throw store_failure("UPPER_POLISH_KEY not implemented");
  }
  return compare_keys(d.key_type, d.key_length, a, b);
}

namespace {

bool owned_by(const cache_slot& c, const key_index* owner) {
  const state_t& st = state();
  return c.owner >= 0 && size_t(c.owner) < st.table.size() && st.table[size_t(c.owner)].owner == owner;
}

// A slot a cursor of its owner points at, or one the running operation holds.
bool referenced(int slot) {
  state_t& st = state();
  const cache_slot& c = st.cache[size_t(slot)];
  if (c.owner < 0) return false;
  for (const level_cursor& cur : st.table[size_t(c.owner)].cursors)
    if (cur.slot == slot) return true;
  return c.owner == st.current && std::find(st.temp_pins.begin(), st.temp_pins.end(), slot) != st.temp_pins.end();
}

void refresh_in_use(int slot) {
  cache_slot& c = state().cache[size_t(slot)];
  if (referenced(slot))
    c.state |= state_in_use;
  else
    c.state &= ~state_in_use;
}

// Cursors of the slot's owner forget the slot but keep their place, so they reload it.
void forget_slot(int slot) {
  state_t& st = state();
  cache_slot& c = st.cache[size_t(slot)];
  if (c.owner >= 0)
    for (level_cursor& cur : st.table[size_t(c.owner)].cursors)
      if (cur.slot == slot) cur.slot = -1;
  st.temp_pins.erase(std::remove(st.temp_pins.begin(), st.temp_pins.end(), slot), st.temp_pins.end());
  c.owner = -1;
  c.state = 0;
  c.position = -1;
}

int choose_victim() {
  state_t& st = state();
  for (int i = 1; i <= cache_slots; ++i) {
    const int s = (st.cache_head - i + 2 * cache_slots) % cache_slots;
    const cache_slot& c = st.cache[size_t(s)];
    if (c.owner == st.current && c.owner >= 0 && referenced(s)) continue;
    return s;
  }
  fail("btree: key-block cache full");
}

int take_victim() {
  state_t& st = state();
  const int s = choose_victim();
  cache_slot& c = st.cache[size_t(s)];
  if (c.owner >= 0 && (c.state & state_modified) && !st.table[size_t(c.owner)].owner->broken) write_back(s);
  forget_slot(s);
  st.cache_head = s;
  return s;
}

bool block_shape_ok(const descriptor& d, const uint8_t* data, int level) {
  const int used = kb::used(data);
  return kb::level(data) == level && used > 0 && used <= kb::entries_capacity && used % d.entry_size == 0;
}

} // namespace

int cache_get(int32_t position, int level) {
  state_t& st = state();
  descriptor& d = current();
  for (int i = 0; i < cache_slots; ++i) {
    const int s = (st.cache_head + i) % cache_slots;
    cache_slot& c = st.cache[size_t(s)];
    if (c.owner == st.current && c.position == position) {
      if (kb::level(c.data) != level) bad_key_block(position, level);
      return s;
    }
  }
  const int s = take_victim();
  cache_slot& c = st.cache[size_t(s)];
  if (!d.owner->io->read_key_block(position, c.data) || !block_shape_ok(d, c.data, level))
    bad_key_block(position, level);
  c.owner = st.current;
  c.level = level;
  c.position = position;
  c.state = 0;
  return s;
}

int cache_place(int32_t position, const uint8_t* data) {
  state_t& st = state();
  int s = -1;
  for (int i = 0; i < cache_slots && s < 0; ++i)
    if (st.cache[size_t(i)].owner == st.current && st.cache[size_t(i)].position == position) s = i;
  if (s < 0) s = take_victim();
  cache_slot& c = st.cache[size_t(s)];
  std::copy(data, data + key_block_size, c.data);
  c.owner = st.current;
  c.level = kb::level(data);
  c.position = position;
  c.state = state_modified;
  refresh_in_use(s);
  return s;
}

void cache_drop(const key_index* owner, int32_t position) {
  state_t& st = state();
  for (int s = 0; s < cache_slots; ++s)
    if (owned_by(st.cache[size_t(s)], owner) && st.cache[size_t(s)].position == position) forget_slot(s);
}

void write_back(int slot) {
  state_t& st = state();
  cache_slot& c = st.cache[size_t(slot)];
  // The cache-only fields are not meaningful on disk: the owner slot and state are written
  // as 0, the own-position word as the block's position.
  uint8_t out[key_block_size];
  std::copy(c.data, c.data + key_block_size, out);
  kb::put16(out, 0);
  kb::put16(out + 2, 0);
  kb::put32(out + 6, c.position);
  key_index* owner = st.table[size_t(c.owner)].owner;
  if (!owner->io->write_key_block(c.position, out)) {
    owner->broken = true;
    fatal_error("btree: key block write failed");
    throw store_failure("btree: key block write failed");
  }
  c.state &= ~state_modified;
}

void write_back_index(const key_index* owner, bool keep) {
  state_t& st = state();
  for (int s = 0; s < cache_slots; ++s) {
    cache_slot& c = st.cache[size_t(s)];
    if (!owned_by(c, owner)) continue;
    if (c.state & state_modified) write_back(s);
    if (!keep) forget_slot(s);
  }
}

void drop_index_blocks(const key_index* owner) {
  state_t& st = state();
  for (int s = 0; s < cache_slots; ++s)
    if (owned_by(st.cache[size_t(s)], owner)) forget_slot(s);
}

void pin(int slot) {
  state().temp_pins.push_back(slot);
  refresh_in_use(slot);
}

void unpin(int slot) {
  state_t& st = state();
  auto it = std::find(st.temp_pins.begin(), st.temp_pins.end(), slot);
  if (it != st.temp_pins.end()) st.temp_pins.erase(it);
  if (st.cache[size_t(slot)].owner >= 0) refresh_in_use(slot);
}

// Cursor primitives -------------------------------------------------------------------

uint8_t* load_cursor(int level, int32_t position, int offset) {
  state_t& st = state();
  descriptor& d = current();
  level_cursor& cur = d.cursors[size_t(level)];
  if (cur.block != position || cur.slot < 0) {
    const int old = cur.slot;
    cur.slot = -1;
    cur.block = -1;
    if (old >= 0) refresh_in_use(old);
    const int s = cache_get(position, level);
    cur.block = position;
    cur.slot = s;
  }
  cache_slot& c = st.cache[size_t(cur.slot)];
  c.state |= state_in_use;
  if (c.owner != st.current || c.position != position || kb::level(c.data) != level) bad_key_block(position, level);
  cur.offset = offset < 0 ? kb::used(c.data) - d.entry_size : offset;
  return c.data;
}

uint8_t* cursor_block(int level) {
  descriptor& d = current();
  level_cursor& cur = d.cursors[size_t(level)];
  if (cur.block < 0) fail("btree: cursor not positioned");
  if (cur.slot < 0) return load_cursor(level, cur.block, cur.offset);
  return state().cache[size_t(cur.slot)].data;
}

uint8_t* cursor_entry(int level) {
  descriptor& d = current();
  uint8_t* b = cursor_block(level);
  const level_cursor& cur = d.cursors[size_t(level)];
  if (cur.offset < 0 || cur.offset % d.entry_size != 0 || cur.offset + d.entry_size > kb::used(b))
    bad_key_block(cur.block, level);
  return kb::entry(b, cur.offset);
}

void mark_modified(int level) {
  descriptor& d = current();
  cursor_block(level);
  state().cache[size_t(d.cursors[size_t(level)].slot)].state |= state_modified;
}

bool step_next(int level) {
  descriptor& d = current();
  uint8_t* b = cursor_block(level);
  level_cursor& cur = d.cursors[size_t(level)];
  if (cur.offset + 2 * d.entry_size <= kb::used(b)) {
    cur.offset += d.entry_size;
    return true;
  }
  if (level == d.levels - 1 || !step_next(level + 1)) return false;
  load_cursor(level, kb::entry_value(cursor_entry(level + 1)), 0);
  return true;
}

bool step_prev(int level) {
  descriptor& d = current();
  cursor_block(level);
  level_cursor& cur = d.cursors[size_t(level)];
  if (cur.offset >= d.entry_size) {
    cur.offset -= d.entry_size;
    return true;
  }
  if (level == d.levels - 1 || !step_prev(level + 1)) return false;
  load_cursor(level, kb::entry_value(cursor_entry(level + 1)), -1);
  return true;
}

bool at_end_marker() {
  descriptor& d = current();
  for (int lv = 0; lv < d.levels; ++lv) {
    const uint8_t* b = cursor_block(lv);
    if (d.cursors[size_t(lv)].offset + d.entry_size < kb::used(b)) return false;
  }
  return true;
}

void load_leftmost(int level, int32_t position) {
  for (int lv = level; lv >= 0; --lv) {
    load_cursor(lv, position, 0);
    if (lv > 0) position = kb::entry_value(cursor_entry(lv));
  }
}

void reset_cursors(descriptor& d) {
  for (level_cursor& cur : d.cursors) {
    const int old = cur.slot;
    cur = level_cursor{};
    if (old >= 0) refresh_in_use(old);
  }
}

// The index header's own list of freed key blocks ----------------------------------

int32_t take_free_block() {
  state_t& st = state();
  descriptor& d = current();
  key_index* obj = d.owner;
  const int32_t head = obj->header.free_blocks;
  if (head == -1) return -1;
  for (const cache_slot& c : st.cache)
    if (owned_by(c, obj) && c.position == head) corrupt("btree: free list points at a live key block", head);
  if (std::find(st.spare.begin(), st.spare.end(), head) != st.spare.end())
    corrupt("btree: free list runs in a circle", head);
  for (int n : obj->numbers)
    for (const level_cursor& cur : st.table[size_t(n)].cursors)
      if (cur.block == head) corrupt("btree: free list points at a live key block", head);
  uint8_t buf[key_block_size];
  if (!obj->io->read_key_block(head, buf)) corrupt("btree: bad free key block", head);
  if (kb::used(buf) != 0) corrupt("btree: free list points at a live key block", head);
  obj->header.free_blocks = kb::next_free(buf);
  return head;
}

void free_block(int32_t position, int level) {
  descriptor& d = current();
  key_index* obj = d.owner;
  cache_drop(obj, position);
  uint8_t buf[key_block_size] = {};
  kb::set_level(buf, level);
  kb::set_used(buf, 0);
  kb::set_next_free(buf, obj->header.free_blocks);
  if (!obj->io->write_key_block(position, buf)) corrupt("btree: key block write failed", position);
  obj->header.free_blocks = position;
}

} // namespace kovra::store::btree
