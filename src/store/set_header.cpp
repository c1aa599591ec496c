#include "store/set_header.h"

#include "store/byte_order.h"

#include <cstring>

namespace kovra::store {

set_header::set_header() {
  for (int i = 0; i < max_chains; ++i) {
    first[i] = last[i] = -1;
    count[i] = serial[i] = 0;
  }
  for (int32_t& head : free_heads) head = -1;
}

void encode_set_header(const set_header& h, uint8_t out[set_header_size]) {
  std::memset(out, 0, set_header_size);
  for (int i = 0; i < max_chains; ++i) {
    put_i32(out + 4 * i, h.first[i]);
    put_i32(out + 40 + 4 * i, h.last[i]);
    put_u16(out + 80 + 2 * i, h.count[i]);
    put_u16(out + 100 + 2 * i, h.serial[i]);
  }
  put_i16(out + 120, h.set_no);
  put_i16(out + 122, h.class_count);
  put_i16(out + 124, h.user_header_size);
  put_i16(out + 126, h.store_version);
  for (int i = 0; i < 5; ++i) put_i32(out + 128 + 4 * i, h.free_heads[i]);
  put_i32(out + set_checksum_offset, h.checksum);
}

set_header decode_set_header(const uint8_t in[set_header_size]) {
  set_header h;
  for (int i = 0; i < max_chains; ++i) {
    h.first[i] = get_i32(in + 4 * i);
    h.last[i] = get_i32(in + 40 + 4 * i);
    h.count[i] = get_u16(in + 80 + 2 * i);
    h.serial[i] = get_u16(in + 100 + 2 * i);
  }
  h.set_no = get_i16(in + 120);
  h.class_count = get_i16(in + 122);
  h.user_header_size = get_i16(in + 124);
  h.store_version = get_i16(in + 126);
  for (int i = 0; i < 5; ++i) h.free_heads[i] = get_i32(in + 128 + 4 * i);
  h.checksum = get_i32(in + set_checksum_offset);
  return h;
}

} // namespace kovra::store
