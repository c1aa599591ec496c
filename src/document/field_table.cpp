#include "document/field_table.h"

namespace kovra::document {

std::size_t field_size(const field_def& f) {
  switch (f.kind) {
  case field_kind::u8:
  case field_kind::i8: return 1;
  case field_kind::u16:
  case field_kind::i16: return 2;
  case field_kind::u32:
  case field_kind::i32:
  case field_kind::f32:
  case field_kind::pos: return 4;
  case field_kind::f64: return 8;
  case field_kind::text:
  case field_kind::fixed_text: return f.width;
  }
  return 0;
}

std::vector<bool> covered_bytes(std::span<const field_def> fields, std::size_t size) {
  std::vector<bool> mask(size, false);
  for (const auto& f : fields)
    for (std::size_t i = f.offset; i < f.offset + field_size(f) && i < size; ++i) mask[i] = true;
  return mask;
}

} // namespace kovra::document
