#pragma once
// The 158-byte header of a record set: the ten chains' ends, counts and serial numbers,
// the set's number and sizes, the free-list heads (main set) and the checksum.
#include "store/block_header.h"

#include <cstdint>

namespace kovra::store {

inline constexpr int set_header_size = 158;
inline constexpr int max_chains = 10;
inline constexpr int16_t STORE_VERSION = 300;
inline constexpr int main_set_base = 293;
// Offsets inside the header.
inline constexpr int set_checksum_offset = 148;

struct set_header {
  rec_pos first[max_chains];
  rec_pos last[max_chains];
  uint16_t count[max_chains];
  uint16_t serial[max_chains];
  int16_t set_no = 0;
  int16_t class_count = 0;
  int16_t user_header_size = 0;
  int16_t store_version = STORE_VERSION;
  int32_t free_heads[5];
  int32_t checksum = 0;

  set_header();
};

void encode_set_header(const set_header& h, uint8_t out[set_header_size]);
set_header decode_set_header(const uint8_t in[set_header_size]);

} // namespace kovra::store
