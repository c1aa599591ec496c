#pragma once
// Field access to the 512 data bytes of a key block.
//
//   0  owner's index slot while cached (not meaningful on disk)
//   2  cache state while cached (not meaningful on disk)
//   4  level of the block (0 = leaf)
//   6  own position while cached; in a freed block the next freed block (-1 none)
//  10  bytes of entries in use (a multiple of the entry size, at most 500)
//  12  entries: a 32-bit value then the key, in ascending key order
#include <cstdint>
#include <cstring>

namespace kovra::store::key_block {

inline constexpr int entries_offset = 12;
inline constexpr int entries_capacity = 500;

inline int16_t get16(const uint8_t* p) { return int16_t(p[0] | p[1] << 8); }
inline void put16(uint8_t* p, int v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(unsigned(v) >> 8);
}
inline int32_t get32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}
inline void put32(uint8_t* p, int32_t v) {
  const uint32_t u = uint32_t(v);
  p[0] = uint8_t(u);
  p[1] = uint8_t(u >> 8);
  p[2] = uint8_t(u >> 16);
  p[3] = uint8_t(u >> 24);
}

inline int level(const uint8_t* b) { return get16(b + 4); }
inline void set_level(uint8_t* b, int level) { put16(b + 4, level); }
inline int32_t next_free(const uint8_t* b) { return get32(b + 6); }
inline void set_next_free(uint8_t* b, int32_t next) { put32(b + 6, next); }
inline int used(const uint8_t* b) { return get16(b + 10); }
inline void set_used(uint8_t* b, int used) { put16(b + 10, used); }

inline uint8_t* entry(uint8_t* b, int offset) { return b + entries_offset + offset; }
inline const uint8_t* entry(const uint8_t* b, int offset) { return b + entries_offset + offset; }

// An entry is its value followed by the key.
inline int32_t entry_value(const uint8_t* e) { return get32(e); }
inline void set_entry_value(uint8_t* e, int32_t v) { put32(e, v); }
inline const uint8_t* entry_key(const uint8_t* e) { return e + 4; }
inline uint8_t* entry_key(uint8_t* e) { return e + 4; }

} // namespace kovra::store::key_block
