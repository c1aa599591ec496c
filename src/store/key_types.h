#pragma once
// Comparison types of index keys and the maximum key that marks the end of an index.
#include <cstdint>

namespace kovra::store {

enum key_type_code : int {
  KEY_INT16 = 0,          // signed 16-bit, numeric
  KEY_UINT16 = 1,         // unsigned 16-bit, numeric
  KEY_INT32 = 2,          // signed 32-bit, numeric
  KEY_UINT32 = 3,         // unsigned 32-bit, numeric
  KEY_TEXT = 4,           // NUL-terminated text, byte-wise, case-sensitive
  KEY_TEXT_NOCASE = 5,    // NUL-terminated text, case-insensitive
  KEY_UPPER_POLISH = 6,   // reserved; any comparison is a fatal error
  KEY_BYTES = 7,          // raw bytes over the whole key length
  KEY_UINT32_BYTES2 = 8,  // unsigned 32-bit, then the next two bytes byte-wise
};

inline constexpr int max_key_length = 32;

// True for a known type with a length from the type's own size up to 32 bytes.
bool key_layout_valid(int key_type, int key_length);

// Compares search key `a` with stored key `b` (negative, zero, positive). Never reads
// more than `key_length` bytes of either. Type 6 has no comparison and gives 0: callers
// must refuse it before comparing.
int compare_keys(int key_type, int key_length, const uint8_t* a, const uint8_t* b);

// Writes the type's maximum key into `out` (key_length bytes).
void fill_max_key(int key_type, int key_length, uint8_t* out);

} // namespace kovra::store
