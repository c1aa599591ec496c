#pragma once
// The chapter record of a compound estimate (327 bytes), kept as its bytes.
#include "document/bytes.h"
#include "document/field_table.h"

#include <array>
#include <span>
#include <string>

namespace kovra::document {

inline constexpr std::size_t CHAPTER_RECORD_SIZE = 327;
inline constexpr uint8_t CHAPTER_INTERNAL = 2;

struct chapter_record {
  std::array<uint8_t, CHAPTER_RECORD_SIZE> bytes{};

  static chapter_record from_bytes(std::span<const uint8_t> data);
  uint16_t serial() const { return get_u16(bytes.data()); }
  std::string number() const { return get_text(bytes.data() + 4, 20); }
  void set_number(std::string_view t) { put_text(bytes.data() + 4, 20, t); }
  uint8_t storage() const { return bytes[24]; }
  void set_storage(uint8_t v) { bytes[24] = v; }
  bool internal() const { return storage() == CHAPTER_INTERNAL; }
  rec_pos subset_pos() const { return get_i32(bytes.data() + 26); }
  void set_subset_pos(rec_pos p) { put_i32(bytes.data() + 26, p); }
  std::string path() const { return get_text(bytes.data() + 34, 260); }
  void set_path(std::string_view t) { put_text(bytes.data() + 34, 260, t); }
  double quantity() const { return get_f64(bytes.data() + 295); }
  void set_quantity(double v) { put_f64(bytes.data() + 295, v); }
  uint8_t precision_code() const { return bytes[303]; }
  void set_precision_code(uint8_t v) { bytes[303] = v; }
};

// A new chapter record: external, no sub-set, quantity 1.0, precision code 3.
chapter_record new_chapter_record();

std::span<const field_def> chapter_fields();

} // namespace kovra::document
