#pragma once
// Throwing building blocks shared by records and blobs.
#include "store/record_set_internal.h"

namespace kovra::store::detail {

// The linked insert; `type` is written into the block (the class's, or the blob header type).
rec_pos linked_insert(record_set& s, record_class& c, uint8_t type, int mode, rec_pos position, uint8_t* data,
                      int32_t length);
// A block of this set that the chain of `c` may hold (sound, a record or blob header of
// the class's set). Damaged blocks take the corruption path.
block_header chain_block(record_set& s, const record_class& c, rec_pos position);
// Sound header of any record-carrying block, for a caller-given position: false when the
// position is not a record of this chain.
bool caller_block(record_set& s, const record_class& c, rec_pos position, block_header& out);

// Writes the segments of a blob. Every block taken is in `out`, also when a write throws.
void write_blob_segments(record_set& s, const uint8_t* data, int64_t length, std::vector<rec_pos>& out);
// Frees blocks taken for a blob that was never linked; never throws.
void give_back_segments(record_set& s, const std::vector<rec_pos>& segments) noexcept;
struct segment_block {
  rec_pos position;
  int32_t size;
};
// The checked segment blocks of a stored blob.
std::vector<segment_block> blob_segments(record_set& s, rec_pos header_position, const block_header& h);
void free_blob_segments(record_set& s, rec_pos header_position, const block_header& h);
// The serial in the first two bytes of a stored record (a blob's header record holds it
// too); 0 when the record is shorter.
uint16_t stored_serial(record_set& s, rec_pos position, const block_header& h);
bool read_blob(record_set& s, rec_pos header_position, const block_header& h, std::vector<uint8_t>& out);

} // namespace kovra::store::detail
