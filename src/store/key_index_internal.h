#pragma once
// Internals shared by the key-index sources: the process-wide descriptor table, the open
// index objects, the key-block cache and the cursor primitives the operations are made of.
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <vector>

#include "store/key_block.h"
#include "store/key_block_io.h"
#include "store/key_index.h"
#include "store/key_index_header.h"

namespace kovra::store::btree {

inline constexpr int cache_slots = 20;
inline constexpr int state_modified = 2;
inline constexpr int state_in_use = 4;
inline constexpr int merge_threshold = 250;
inline constexpr int32_t max_key_count = 0xFFFFFF;  // the header keeps 24 bits
inline constexpr int table_growth = 25;

struct level_cursor {
  int32_t block = -1;  // data position, -1 none
  int offset = 0;      // entry offset in the block
  int slot = -1;       // cache slot holding the block, -1 when not cached
};

struct descriptor {
  int key_type = -1;  // -1: free entry
  int levels = 0;
  int32_t count = 0;
  int key_length = 0;
  int entry_size = 0;
  int32_t root = -1;
  key_index* owner = nullptr;
  int number_in_header = 0;
  bool shared = false;
  std::vector<level_cursor> cursors;
  uint8_t max_key[max_key_length] = {};
};

struct cache_slot {
  int owner = -1;  // descriptor number, -1 free
  int state = 0;
  int level = 0;
  int32_t position = -1;
  alignas(8) uint8_t data[key_block_size] = {};
};

} // namespace kovra::store::btree

namespace kovra::store {

struct key_index {
  key_block_io* io = nullptr;
  int32_t header_position = -1;
  index_header header;
  int users = 0;
  int set_no = 0;
  std::vector<int> numbers;  // descriptor numbers of its indexes
  std::vector<int16_t*> slots;  // the openers' slots, set back to -1 when the index is freed
  bool broken = false;       // damaged during a change: refused, never written again
};

} // namespace kovra::store

namespace kovra::store::btree {

struct state_t {
  std::vector<descriptor> table;
  std::vector<std::unique_ptr<key_index>> objects;
  std::array<cache_slot, cache_slots> cache{};
  int cache_head = 0;
  int current = -1;
  std::vector<int> temp_pins;  // slots held for the running operation besides the cursors
  std::vector<int32_t> spare;  // key blocks taken ahead for the running insert
};

state_t& state();

// Selects the index; throws store_failure (without the fatal path) when it is not open.
descriptor& select(int number);
descriptor& current();

// Fatal path for a damaged index: reports to the container, fatal_error(text), throws.
[[noreturn]] void corrupt(const char* text, int32_t position);
// "btree: bad key block": writes the cache and cursor dump to the log first.
[[noreturn]] void bad_key_block(int32_t position, int level);
// A failure that is not damage (index not open, cache exhausted): logged, thrown.
[[noreturn]] void fail(const char* text);

// Key comparison of the selected index; type 6 takes the fatal path.
int compare(const descriptor& d, const uint8_t* a, const uint8_t* b);

// Cache. Blocks are addressed by (selected index, position).
int cache_get(int32_t position, int level);       // loads on a miss; validates what it reads
int cache_place(int32_t position, const uint8_t* data);  // a block made here, marked modified
void cache_drop(const key_index* owner, int32_t position);  // forget a freed block, no write
void write_back(int slot);
void write_back_index(const key_index* owner, bool keep);  // all modified blocks of its indexes
void drop_index_blocks(const key_index* owner);           // forget them without writing
void pin(int slot);
void unpin(int slot);

// Cursors of the selected index.
uint8_t* load_cursor(int level, int32_t position, int offset);  // offset -1: last entry
uint8_t* cursor_block(int level);                               // reloads after eviction
uint8_t* cursor_entry(int level);                               // validated entry at the cursor
void mark_modified(int level);
bool step_next(int level);
bool step_prev(int level);
bool at_end_marker();
void load_leftmost(int level, int32_t position);  // cursors from `level` down to the leaf

// Forgets the cursors of an index (after a failed call they may be half moved).
void reset_cursors(descriptor& d);

// Runs one public call: selects the index (`selected_index`: keep the current one), turns a
// store failure into KEY_ERROR, and for a failed change marks the index damaged and drops
// its cached blocks unwritten.
inline constexpr int selected_index = -1000000;
int guarded(int number, bool changing, const std::function<int(descriptor&)>& body);

// Positions the cursors for `key`: KEY_OK (on the first equal key), KEY_NOT_FOUND, KEY_END.
int find(descriptor& d, const uint8_t* key);
void copy_entry_out(const descriptor& d, const uint8_t* e, key_entry& out);
// Inserts at the leaf cursor; the cursor ends on the entry after the new one.
int insert_at_cursor(descriptor& d, const uint8_t* entry);
// Deletes the leaf entry at the cursor; the cursor ends on the entry that followed.
void delete_at_cursor(descriptor& d);
// Key walks from the leaf cursor, bounded by the key count (a longer walk is damage).
bool walk_to_value(descriptor& d, const uint8_t* key, int32_t value);
void skip_equal(descriptor& d, const uint8_t* key);

// Free list of the selected index's header.
int32_t take_free_block();
void free_block(int32_t position, int level);

} // namespace kovra::store::btree
