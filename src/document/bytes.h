#pragma once
// Little-endian reads and writes at byte offsets of a record image.
//
// Records are kept as their stored bytes; typed fields are read and written through these
// helpers so that bytes nobody names survive a read-modify-write unchanged. Callers pass
// offsets that lie inside the buffer (the record structs check their own sizes).
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "store/byte_order.h"

namespace kovra::document {

using rec_pos = std::int32_t;  // position of a record in its container; -1 none
inline constexpr rec_pos NO_POS = -1;

inline uint8_t get_u8(const uint8_t* p) { return p[0]; }
inline int8_t get_i8(const uint8_t* p) { return int8_t(p[0]); }
using store::get_i16;
using store::get_i32;
using store::get_u16;
using store::get_u32;
inline float get_f32(const uint8_t* p) {
  uint32_t u = get_u32(p);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline double get_f64(const uint8_t* p) {
  uint64_t u = uint64_t(get_u32(p)) | (uint64_t(get_u32(p + 4)) << 32);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

inline void put_u8(uint8_t* p, uint8_t v) { p[0] = v; }
using store::put_i16;
using store::put_i32;
using store::put_u16;
using store::put_u32;
inline void put_f32(uint8_t* p, float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  put_u32(p, u);
}
inline void put_f64(uint8_t* p, double d) {
  uint64_t u;
  std::memcpy(&u, &d, 8);
  put_u32(p, uint32_t(u));
  put_u32(p + 4, uint32_t(u >> 32));
}

// A NUL-terminated text inside a field of `width` bytes; a field without a terminator
// gives all its bytes (the text is never read past the field).
inline std::string get_text(const uint8_t* p, std::size_t width) {
  std::size_t n = 0;
  while (n < width && p[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

// Writes `text` into a field of `width` bytes: at most width - 1 bytes, then zeros to the
// end of the field.
inline void put_text(uint8_t* p, std::size_t width, std::string_view text) {
  if (width == 0) return;
  std::size_t n = text.size() < width - 1 ? text.size() : width - 1;
  std::memcpy(p, text.data(), n);
  std::memset(p + n, 0, width - n);
}

// A field written without terminator when it fills the width (dates "yymmdd").
inline void put_fixed_text(uint8_t* p, std::size_t width, std::string_view text) {
  std::size_t n = text.size() < width ? text.size() : width;
  std::memcpy(p, text.data(), n);
  std::memset(p + n, 0, width - n);
}

} // namespace kovra::document
