#pragma once
// Records of a chain: linked insert in five modes, rewrite, delete, locate and read, and
// cursor walks. Records above 64,512 bytes are stored as blobs (see blob.h). Nothing
// here throws; a damaged chain takes the corruption path and the call returns -1 / false.
#include "store/record_set.h"
#include "store/trace.h"

#include <cstdint>
#include <vector>

namespace kovra::store {

inline constexpr int32_t max_plain_record = 64512;

// Position of the new record, or -1. With auto-numbering the serial is written into the
// first two bytes of `data` (the caller sees it).
rec_pos insert_record(record_class& c, int mode, rec_pos position, void* data, int32_t length);
// New records go to the head of the chain.
rec_pos add_record(record_class& c, void* data, int32_t length);
// The record's position afterwards (it moves when it grows past its capacity), or -1.
rec_pos rewrite_record(record_class& c, rec_pos position, const void* data, int32_t length);
// Overwrites the record's used bytes with as many bytes of `data`.
bool rewrite_keep_size(record_class& c, const void* data, rec_pos position);
bool delete_record(record_class& c, rec_pos position);

rec_pos locate_record(record_class& c, int mode, rec_pos position, block_header* header_out = nullptr);
// Locates, then reads min(length, capacity) bytes (the whole capacity when length <= 0).
rec_pos read_record(record_class& c, int mode, rec_pos position, void* buffer, int32_t length);
// Reads the capacity bytes; returns the used length or -1.
int32_t read_record_at(record_class& c, rec_pos position, void* buffer);
// The record's used bytes (a blob assembled from its segments). False when the record
// cannot be read, or in strict mode when it is shorter than its capacity.
bool read_record_new(record_class& c, rec_pos position, std::vector<uint8_t>& out, bool strict = false);
// A process-wide buffer holding the record's capacity bytes, overwritten by the next call.
const uint8_t* read_record_shared(record_class& c, rec_pos position, int32_t* length_out);

struct record_cursor {
  int handle = -1;
  rec_pos next = -1;
  rec_pos prev = -1;
  record_class* owner = nullptr;
  int64_t steps = 0;  // bounds a walk through a damaged, looping chain
};

rec_pos first_record(record_class& c, void* buffer, record_cursor& cursor);
rec_pos next_record(record_cursor& cursor, void* buffer);
rec_pos record_at(record_class& c, rec_pos position, void* buffer, record_cursor& cursor);
rec_pos next_of(record_class& c, rec_pos position, void* buffer);
rec_pos prev_of(record_class& c, rec_pos position, void* buffer);

int record_count(const record_class& c);

} // namespace kovra::store
