#pragma once
// Named fields of a record image, for generic encoding (JSON) and for finding the bytes
// that no field names (kept as read).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kovra::document {

enum class field_kind : uint8_t { u8, i8, u16, i16, u32, i32, f32, f64, text, fixed_text, pos };

struct field_def {
  const char* name;  // the JSON name; nullptr for a record position (not shown)
  uint16_t offset;
  field_kind kind;
  uint16_t width;    // bytes of a text field; ignored for numbers
};

std::size_t field_size(const field_def& f);

// One flag per byte of a record of `size` bytes: true where some field lies.
std::vector<bool> covered_bytes(std::span<const field_def> fields, std::size_t size);

} // namespace kovra::document
