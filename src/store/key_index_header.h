#pragma once
// The 68-byte header of a set's key indexes: the shared list of freed key blocks and
// room for four index descriptions of 14 bytes.
#include <array>
#include <cstdint>

#include "store/key_block_io.h"

namespace kovra::store {

inline constexpr int index_header_slots = 4;

struct index_header_entry {
  int levels = 0;        // leaf level is 0, the root is levels - 1
  int32_t count = 0;     // number of keys, 24 bits
  int key_type = 0;
  int key_length = 0;
  int entry_size = 0;    // key_length + 4
  int32_t root = -1;     // data position of the top key block
};

struct index_header {
  int32_t free_blocks = -1;  // first freed key block, -1 none
  int index_count = 0;
  std::array<index_header_entry, index_header_slots> indexes{};
};

// Little-endian image and back. Unused words are written as 0; the count keeps 24 bits.
void encode_index_header(const index_header& h, uint8_t out[index_header_size]);
index_header decode_index_header(const uint8_t in[index_header_size]);

} // namespace kovra::store
