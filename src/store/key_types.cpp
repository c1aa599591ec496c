#include "store/key_types.h"

#include <cstring>

namespace kovra::store {

namespace {

int min_key_length(int key_type) {
  switch (key_type) {
    case KEY_INT16:
    case KEY_UINT16: return 2;
    case KEY_INT32:
    case KEY_UINT32: return 4;
    case KEY_UINT32_BYTES2: return 6;
    default: return 1;
  }
}

uint32_t get_u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t get_u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

template <typename T>
int sign_of(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

uint8_t ascii_lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? uint8_t(c + 32) : c; }

int compare_text(const uint8_t* a, const uint8_t* b, int length, bool fold) {
  for (int i = 0; i < length; ++i) {
    uint8_t ca = fold ? ascii_lower(a[i]) : a[i];
    uint8_t cb = fold ? ascii_lower(b[i]) : b[i];
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

} // namespace

bool key_layout_valid(int key_type, int key_length) {
  if (key_type < KEY_INT16 || key_type > KEY_UINT32_BYTES2) return false;
  return key_length >= min_key_length(key_type) && key_length <= max_key_length;
}

int compare_keys(int key_type, int key_length, const uint8_t* a, const uint8_t* b) {
  switch (key_type) {
    case KEY_INT16: return sign_of(int16_t(get_u16(a)), int16_t(get_u16(b)));
    case KEY_UINT16: return sign_of(get_u16(a), get_u16(b));
    case KEY_INT32: return sign_of(int32_t(get_u32(a)), int32_t(get_u32(b)));
    case KEY_UINT32: return sign_of(get_u32(a), get_u32(b));
    case KEY_TEXT: return compare_text(a, b, key_length, false);
    case KEY_TEXT_NOCASE: return compare_text(a, b, key_length, true);
    case KEY_BYTES: {
      int r = std::memcmp(a, b, size_t(key_length));
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case KEY_UINT32_BYTES2: {
      int r = sign_of(get_u32(a), get_u32(b));
      if (r != 0) return r;
      r = std::memcmp(a + 4, b + 4, 2);
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    default: return 0;
  }
}

void fill_max_key(int key_type, int key_length, uint8_t* out) {
  switch (key_type) {
    case KEY_INT16:
      std::memset(out, 0, size_t(key_length));
      out[0] = 0xFF;
      out[1] = 0x7F;
      break;
    case KEY_UINT16:
      std::memset(out, 0, size_t(key_length));
      out[0] = out[1] = 0xFF;
      break;
    case KEY_INT32:
      std::memset(out, 0, size_t(key_length));
      out[0] = out[1] = out[2] = 0xFF;
      out[3] = 0x7F;
      break;
    case KEY_UINT32:
      std::memset(out, 0, size_t(key_length));
      out[0] = out[1] = out[2] = out[3] = 0xFF;
      break;
    default: std::memset(out, 0xFF, size_t(key_length)); break;
  }
}

} // namespace kovra::store
