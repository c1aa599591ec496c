#pragma once
// The 17-byte header in front of every block, record type codes and free-space classes.
#include <cstdint>

namespace kovra::store {

using rec_pos = int32_t;  // byte offset of a block in its container; -1 none

inline constexpr int block_header_size = 17;
inline constexpr int max_block_size = 65535;

// Record type codes (byte 0 of a block header).
enum rec_type : uint8_t {
  REC_TYPE_NONE = 0,
  REC_TYPE_BRMS = 1,
  REC_TYPE_ELPZ = 2,
  REC_TYPE_ZEST = 3,
  REC_TYPE_RMS_BLK = 4,
  REC_TYPE_IL_ROB_OPIS = 5,
  REC_TYPE_DANE_OGOL_OPIS = 6,
  REC_TYPE_OVHDR = 7,
  REC_TYPE_ZEST_QTY = 8,
  REC_TYPE_CHPT_NODE = 9,
  REC_TYPE_CHPT_ZEST = 10,
  REC_TYPE_INTG_PRLST = 11,
  REC_TYPE_FILTR = 12,
  REC_TYPE_HISTORY = 13,
  REC_TYPE_HGRAM_LINK = 14,
  REC_TYPE_TEXT = 15,  // text records of tree nodes (the type has no name of its own)
  REC_TYPE_SUBFILE_HDR = 100,
  REC_TYPE_BTREE_LEAF = 101,
  REC_TYPE_BLOB = 103,
  REC_TYPE_BLOB_SEGMENT = 104,
  REC_TYPE_FREE = 255,
};

struct block_header {
  uint8_t type = 0;
  uint16_t set_no = 0;
  uint16_t size = 0;      // whole block, header included
  uint16_t capacity = 0;  // size - 17
  uint16_t used = 0;      // <= capacity
  rec_pos prev = -1;
  rec_pos next = -1;
};

void encode_block_header(const block_header& h, uint8_t out[block_header_size]);
block_header decode_block_header(const uint8_t in[block_header_size]);

// The header's own consistency: used within capacity, size = capacity + 17.
inline bool block_header_sound(const block_header& h) {
  return h.used <= h.capacity && int(h.size) == int(h.capacity) + block_header_size;
}

// Free-space class of a block size: 0 for 16,384 and more ... 4 for 64-255, 5 below 64
// (kept on no list).
int free_class(int64_t size);
inline constexpr int free_list_count = 5;
// Size bounds a list head of class c must respect: below `upper`, at least `lower`.
int32_t free_class_upper(int c);
int32_t free_class_lower(int c);

} // namespace kovra::store
