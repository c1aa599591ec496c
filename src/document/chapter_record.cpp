#include "document/chapter_record.h"

#include <algorithm>

namespace kovra::document {

chapter_record chapter_record::from_bytes(std::span<const uint8_t> data) {
  chapter_record r;
  std::copy_n(data.begin(), std::min(data.size(), CHAPTER_RECORD_SIZE), r.bytes.begin());
  return r;
}

chapter_record new_chapter_record() {
  chapter_record r;
  r.set_subset_pos(NO_POS);
  r.set_quantity(1.0);
  r.set_precision_code(3);
  return r;
}

namespace {
using K = field_kind;
constexpr field_def fields[] = {
    {"serial", 0, K::u16, 0},     {"number", 4, K::text, 20},    {"storage", 24, K::u8, 0},
    {nullptr, 26, K::pos, 0},     {"path", 34, K::text, 260},    {"quantity", 295, K::f64, 0},
    {"precision_code", 303, K::i8, 0}, {"value_324", 324, K::i16, 0}, {"value_326", 326, K::u8, 0},
};
} // namespace

std::span<const field_def> chapter_fields() { return fields; }

} // namespace kovra::document
