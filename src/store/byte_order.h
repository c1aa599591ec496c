#pragma once
// Little-endian field access for on-disk layouts. Every container number is little-endian.
#include <cstdint>

namespace kovra::store {

inline uint16_t get_u16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t get_i16(const uint8_t* p) { return int16_t(get_u16(p)); }
inline uint32_t get_u32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t get_i32(const uint8_t* p) { return int32_t(get_u32(p)); }

inline void put_u16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void put_i16(uint8_t* p, int16_t v) { put_u16(p, uint16_t(v)); }
inline void put_u32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
inline void put_i32(uint8_t* p, int32_t v) { put_u32(p, uint32_t(v)); }

} // namespace kovra::store
