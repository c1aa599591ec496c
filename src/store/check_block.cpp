#include "store/check_block.h"

#include "store/container.h"
#include "store/corruption.h"
#include "store/file_header.h"
#include "store/store_error.h"

namespace kovra::store {

bool read_block_header(int handle, rec_pos position, block_header& out) {
  if (position < file_header_size) return false;
  uint8_t bytes[block_header_size];
  if (read_at(handle, position, bytes, sizeof bytes) != block_header_size) return false;
  out = decode_block_header(bytes);
  return true;
}

bool write_block_header(int handle, rec_pos position, const block_header& h) {
  uint8_t bytes[block_header_size];
  encode_block_header(h, bytes);
  return position >= file_header_size && write_at(handle, position, bytes, sizeof bytes);
}

bool block_is_sound(int handle, rec_pos position, const char** why) {
  auto fail = [&](const char* text) {
    if (why) *why = text;
    return false;
  };
  if (position == -1) return true;
  block_header h;
  if (!read_block_header(handle, position, h)) return fail("block header outside the file");
  if (h.capacity < h.used) return fail("used above capacity");
  if (int(h.size) != int(h.capacity) + block_header_size) return fail("size is not capacity + 17");
  if (int64_t(position) + h.size > file_length(handle)) return fail("block runs past the end of the file");
  if (h.prev == position || h.next == position) return fail("block links to itself");
  const auto neighbour_ok = [&](rec_pos at, bool is_prev) {
    block_header n;
    if (!read_block_header(handle, at, n)) return fail("neighbour outside the file");
    if ((is_prev ? n.next : n.prev) != position) return fail("neighbour does not link back");
    if (!block_header_sound(n)) return fail("neighbour header unsound");
    if (n.type != h.type && n.type != REC_TYPE_BLOB && h.type != REC_TYPE_BLOB)
      return fail("neighbour of another type");
    return true;
  };
  if (h.prev != -1 && !neighbour_ok(h.prev, true)) return false;
  if (h.next != -1 && !neighbour_ok(h.next, false)) return false;
  return true;
}

void require_sound_block(int handle, rec_pos position) {
  if (!block_is_sound(handle, position)) report_corruption(handle, position);
}

bool check_block(int handle, rec_pos position) {
  try {
    require_sound_block(handle, position);
    return true;
  } catch (const store_failure&) {
    return false;
  }
}

} // namespace kovra::store
