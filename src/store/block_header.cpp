#include "store/block_header.h"

#include "store/byte_order.h"

namespace kovra::store {

void encode_block_header(const block_header& h, uint8_t out[block_header_size]) {
  out[0] = h.type;
  put_u16(out + 1, h.set_no);
  put_u16(out + 3, h.size);
  put_u16(out + 5, h.capacity);
  put_u16(out + 7, h.used);
  put_i32(out + 9, h.prev);
  put_i32(out + 13, h.next);
}

block_header decode_block_header(const uint8_t in[block_header_size]) {
  block_header h;
  h.type = in[0];
  h.set_no = get_u16(in + 1);
  h.size = get_u16(in + 3);
  h.capacity = get_u16(in + 5);
  h.used = get_u16(in + 7);
  h.prev = get_i32(in + 9);
  h.next = get_i32(in + 13);
  return h;
}

int free_class(int64_t size) {
  int c = 0;
  while (size < 16384 && c < 5) {
    size *= 4;
    ++c;
  }
  return c;
}

int32_t free_class_upper(int c) { return c <= 0 ? 65536 : 65536 >> (2 * c); }
int32_t free_class_lower(int c) { return c <= 0 ? 16384 : 16384 >> (2 * c); }

} // namespace kovra::store
