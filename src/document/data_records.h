#pragma once
// Records of the data chain that the general data names: additions list, overhead
// records, authors, description, and the plain texts (notes, CPV codes, specification).
#include "document/bytes.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovra::document {

inline constexpr std::size_t ADDITION_SIZE = 259;
inline constexpr std::size_t ADDITION_NAME_WIDTH = 251;
inline constexpr std::size_t OVERHEAD_RECORD_SIZE = 714;
inline constexpr std::size_t OVERHEAD_ROWS = 12;
inline constexpr std::size_t OVERHEAD_ROW_SIZE = 58;
inline constexpr std::size_t OVERHEAD_NAME_WIDTH = 30;
inline constexpr std::size_t OVERHEAD_RATES = 7;
inline constexpr std::size_t PRINT_CONFIG_SIZE = 10907;

struct addition {
  std::string name;  // at most 250 characters
  double amount = 0;
  bool operator==(const addition&) const = default;
};

// A count larger than the record holds is cut to the entries present.
std::vector<addition> decode_additions(std::span<const uint8_t> data);
std::vector<uint8_t> encode_additions(std::span<const addition> list);

// The overhead record (714 bytes), kept as its bytes.
struct overhead_record {
  std::array<uint8_t, OVERHEAD_RECORD_SIZE> bytes{};

  static overhead_record from_bytes(std::span<const uint8_t> data);
  int16_t head() const { return get_i16(bytes.data()); }
  void set_head(int16_t v) { put_i16(bytes.data(), v); }
  std::string row_name(int row) const { return get_text(row_at(row), OVERHEAD_NAME_WIDTH); }
  void set_row_name(int row, std::string_view t) { put_text(row_at(row), OVERHEAD_NAME_WIDTH, t); }
  float rate(int row, int col) const { return get_f32(row_at(row) + OVERHEAD_NAME_WIDTH + 4 * col); }
  void set_rate(int row, int col, float v) { put_f32(row_at(row) + OVERHEAD_NAME_WIDTH + 4 * col, v); }
  // The four switches at 698-704: 0 kp_plus_cz, 1 kp_plus_ws, 2 z_plus_cz, 3 z_plus_ws.
  int16_t switch_value(int k) const { return get_i16(bytes.data() + 698 + 2 * k); }
  void set_switch(int k, int16_t v) { put_i16(bytes.data() + 698 + 2 * k, v); }
  double tail() const { return get_f64(bytes.data() + 706); }
  void set_tail(double v) { put_f64(bytes.data() + 706, v); }

private:
  uint8_t* row_at(int row) { return bytes.data() + 2 + OVERHEAD_ROW_SIZE * row; }
  const uint8_t* row_at(int row) const { return bytes.data() + 2 + OVERHEAD_ROW_SIZE * row; }
};

// A new overhead record: head 5, tail 1.0, the rest zero.
overhead_record new_overhead_record();

struct author {
  std::string name;
  std::string function;  // "Stanowisko"
  bool operator==(const author&) const = default;
};

// Count, then pairs of texts; pairs that run past the record are dropped, a last text
// without terminator ends at the record's end.
std::vector<author> decode_authors(std::span<const uint8_t> data);
std::vector<uint8_t> encode_authors(std::span<const author> list);

// The description record: three parts joined by the separator CR LF 0xB7 0xB7 0xB7 CR LF.
inline constexpr std::string_view DESCRIPTION_SEPARATOR = "\r\n\xB7\xB7\xB7\r\n";
// Splits an already converted description; a missing separator leaves the later parts absent.
std::array<std::optional<std::string>, 3> split_description(std::string_view text);
std::string join_description(std::string_view p1, std::string_view p2, std::string_view p3);

// A stored NUL-terminated text (a text without terminator ends at the record's end).
std::string decode_text_record(std::span<const uint8_t> data);
std::vector<uint8_t> encode_text_record(std::string_view text);

// The part of a specification text before the first byte 0x01 (all of it when none).
std::string specification_number(std::string_view text);

} // namespace kovra::document
