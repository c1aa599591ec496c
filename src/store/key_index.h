#pragma once
// Key indexes of a record set: B+-trees of 512-byte key blocks in the container that map
// fixed-length keys to 32-bit values (record positions). Keys may repeat; callers then tell
// equal keys apart by their values.
//
// All open indexes of the process share one descriptor table and one cache of 20 key
// blocks. An index is addressed by its number in that table; every call that takes a
// number selects that index, and key_next / key_prev / key_current work on the selected one.
//
// A damaged key block takes the fatal-error path (log, fatal_error) and the call returns
// KEY_ERROR; the index it happened in is then refused until released, and nothing more of
// it is written.
#include <cstdint>
#include <cstring>

#include "store/key_block_io.h"
#include "store/key_types.h"
#include "store/trace.h"  // FIRST_REC ... LAST_REC

namespace kovra::store {

// Results of the key calls (which ones a call can give is said at the call).
inline constexpr int KEY_OK = 0;
inline constexpr int KEY_END = 1;        // empty / no further entry / key at or above the maximum key
inline constexpr int KEY_NOT_FOUND = 2;  // not found (the cursor on the first greater key)
inline constexpr int KEY_EXISTS = 3;     // already present
inline constexpr int KEY_NO_GROWTH = 4;  // no room: the container could not give a key block
inline constexpr int KEY_ERROR = -1;     // damaged index, index not open, or cache exhausted

inline constexpr int key_entry_bytes = 36;
inline constexpr int max_key_levels = 16;

// A caller's entry: the 32-bit value, then the key bytes (value little-endian, as on disk).
struct key_entry {
  uint8_t bytes[key_entry_bytes] = {};

  int32_t value() const;
  void set_value(int32_t v);
  uint8_t* key() { return bytes + 4; }
  const uint8_t* key() const { return bytes + 4; }
  void set_key(const void* data, size_t length);
  void set_key_i16(int16_t k);
  void set_key_i32(int32_t k);
  void set_key_u32(uint32_t k);
  void set_key_text(const char* text);  // copied up to its NUL, at most 32 bytes
};

// What the caller describes when it creates or opens an index. `slot` (may be null)
// receives the index's number in the descriptor table, -1 while not open.
struct key_descriptor {
  int16_t key_type = 0;
  int16_t levels = 1;
  int16_t key_length = 0;
  int16_t* slot = nullptr;
};

struct key_index;  // one open index header (up to three indexes)

// Builds `count` (1-3) empty indexes, each of `levels` blocks holding only the end marker,
// and writes the header at `header_position`. KEY_OK, or KEY_ERROR for a bad descriptor or
// a container that cannot give the blocks.
int create_key_index(key_block_io& io, int32_t header_position, const key_descriptor* descriptors, int count,
                     int set_no);

// Opens the header at `header_position`: every index in it gets a descriptor number, written
// into descriptors[j].slot for j below `count`. The header decides types and lengths. Opening
// a header that is already open shares it. On failure returns null and sets `error`.
key_index* open_key_index(key_block_io& io, int32_t header_position, int open_mode, bool& error, int set_no,
                          const key_descriptor* descriptors, int count);

// Lowers the user count; at 0 writes back the index's modified blocks and its header and
// frees it. KEY_OK, or KEY_ERROR when something could not be written (or the index was damaged).
int release_key_index(key_index* index);

// Writes back modified blocks (keeping them cached) and the header at `header_position`.
int write_key_index(key_index* index, int32_t header_position);

// Navigation; a found entry is copied into `entry`.
int key_first(int index, key_entry& entry);    // KEY_OK, KEY_END when empty
int key_last(int index, key_entry& entry);     // KEY_OK, KEY_END when empty
int key_next(key_entry& entry);                // KEY_OK, KEY_END at the end
int key_prev(key_entry& entry);                // KEY_OK, KEY_END at the first entry
int key_current(key_entry& entry);             // KEY_OK, KEY_END when not on an entry

// KEY_OK: the cursor on the first entry with the key (copied back); KEY_NOT_FOUND: the cursor on
// the first greater key; KEY_END: the key is at or above the maximum key.
int key_find(int index, key_entry& entry);

// KEY_OK, KEY_EXISTS, KEY_NO_GROWTH; KEY_END for a key at or above the maximum key (it could
// not be told from the end marker).
int key_insert_unique(int index, const key_entry& entry);
// KEY_OK or the key_find result.
int key_delete(int index, const key_entry& entry);

// Repeated keys. The entry's key and `value` pick the neighbour (modes FIRST_REC ... LAST_REC):
// FIRST_REC before all equal keys, PREV_REC before the entry with `value`, THIS_REC replaces the
// value of the entry with `value`, NEXT_REC after the entry with `value`, LAST_REC after all
// equal keys. KEY_OK, KEY_NOT_FOUND (`value` not among the equal keys), KEY_EXISTS (the same key
// with the entry's value exists), KEY_NO_GROWTH, KEY_END (key at or above the maximum key).
int key_insert(int index, const key_entry& entry, int mode, int32_t value);
// Deletes the first / previous / this / next / last entry as picked above. KEY_OK or KEY_NOT_FOUND.
int key_delete_at(int index, const key_entry& entry, int mode, int32_t value);

// Number of keys and of levels of an open index (-1 when not open).
int32_t key_count(int index);
int key_levels(int index);
// Number of the index j of an open header (-1 when none).
int key_index_number(const key_index* index, int j);

// Forgets every open index and empties the cache without writing anything (start-up, tests).
void reset_key_index_state();

} // namespace kovra::store
