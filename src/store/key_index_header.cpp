#include "store/key_index_header.h"

#include <cstring>

namespace kovra::store {

namespace {

void put16(uint8_t* p, int v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(unsigned(v) >> 8);
}
void put32(uint8_t* p, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i));
}
int16_t get16(const uint8_t* p) { return int16_t(p[0] | p[1] << 8); }
uint16_t getu16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
int32_t get32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

} // namespace

void encode_index_header(const index_header& h, uint8_t out[index_header_size]) {
  std::memset(out, 0, index_header_size);
  put32(out + 2, h.free_blocks);
  put16(out + 10, h.index_count);
  for (int j = 0; j < index_header_slots; ++j) {
    const index_header_entry& e = h.indexes[size_t(j)];
    uint8_t* p = out + 12 + 14 * j;
    p[0] = uint8_t(e.levels);
    p[1] = uint8_t(uint32_t(e.count) >> 16);
    put16(p + 2, e.key_type);
    put16(p + 4, e.key_length);
    put16(p + 6, e.entry_size);
    put16(p + 8, int(uint32_t(e.count) & 0xFFFF));
    put32(p + 10, e.root);
  }
}

index_header decode_index_header(const uint8_t in[index_header_size]) {
  index_header h;
  h.free_blocks = get32(in + 2);
  h.index_count = get16(in + 10);
  for (int j = 0; j < index_header_slots; ++j) {
    index_header_entry& e = h.indexes[size_t(j)];
    const uint8_t* p = in + 12 + 14 * j;
    e.levels = p[0];
    e.count = int32_t(uint32_t(p[1]) << 16 | getu16(p + 8));
    e.key_type = get16(p + 2);
    e.key_length = get16(p + 4);
    e.entry_size = get16(p + 6);
    e.root = get32(p + 10);
  }
  return h;
}

} // namespace kovra::store
