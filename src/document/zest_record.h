#pragma once
// Price records: `zest_record` (one per input key of a simple estimate) and
// `chpt_zest_record` (the summary of one input key over the chapters of a compound
// estimate). Both are kept as their stored bytes: fixed part, then the NUL-terminated name.
#include "document/bytes.h"
#include "document/field_table.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

namespace kovra::document {

inline constexpr std::size_t ZEST_FIXED = 123;
inline constexpr std::size_t CHPT_ZEST_FIXED = 186;
inline constexpr std::size_t PRICE_NAME_MAX = 250;  // characters; 251 bytes with the terminator
inline constexpr std::size_t KEY0_LENGTH = 6;
inline constexpr std::size_t KEY1_LENGTH = 11;

// Purchase-cost modes (low seven bits of offset 49).
enum : uint8_t { KZ_PERCENT = 4, KZ_AMOUNT = 5, KZ_PER_DISTANCE = 6, KZ_PER_DISTANCE_7 = 7 };

using key0_t = std::array<uint8_t, KEY0_LENGTH>;
using key1_t = std::array<uint8_t, KEY1_LENGTH>;

key0_t make_key0(uint32_t id, uint16_t sub);

// Shared part of both price records: serial, kind, key, unit and the trailing name.
template <std::size_t Fixed> struct price_record_base {
  std::array<uint8_t, Fixed + PRICE_NAME_MAX + 1> bytes{};

  uint8_t* at(int off) { return bytes.data() + off; }
  const uint8_t* at(int off) const { return bytes.data() + off; }
  double f64(int off) const { return get_f64(at(off)); }
  void set_f64(int off, double v) { put_f64(at(off), v); }

  uint16_t serial() const { return get_u16(at(0)); }
  uint8_t kind() const { return bytes[2]; }
  void set_kind(uint8_t k) { bytes[2] = k; }
  uint32_t id() const { return get_u32(at(3)); }
  uint16_t sub() const { return get_u16(at(7)); }
  void set_key(uint32_t id, uint16_t sub) {
    put_u32(at(3), id);
    put_u16(at(7), sub);
  }
  key0_t key0() const {
    key0_t k;
    std::copy_n(bytes.begin() + 3, KEY0_LENGTH, k.begin());
    return k;
  }
  std::string unit() const { return get_text(at(9), 8); }
  void set_unit(std::string_view t) { put_text(at(9), 8, t); }
  std::string name() const { return get_text(at(Fixed), PRICE_NAME_MAX + 1); }
  void set_name(std::string_view t) { put_text(at(Fixed), PRICE_NAME_MAX + 1, t); }
  uint8_t kz_mode() const { return bytes[49]; }
  void set_kz_mode(uint8_t v) { bytes[49] = v; }
  // Stored length: fixed part + name + terminator.
  std::size_t used_length() const { return Fixed + name().size() + 1; }

  // Copies a stored record, cut to the largest size; the name always ends inside it.
  static void fill(price_record_base& r, std::span<const uint8_t> data) {
    std::size_t n = std::min(data.size(), r.bytes.size());
    std::copy_n(data.begin(), n, r.bytes.begin());
    r.bytes.back() = 0;
  }
};

struct zest_record : price_record_base<ZEST_FIXED> {
  static zest_record from_bytes(std::span<const uint8_t> data) {
    zest_record r;
    fill(r, data);
    return r;
  }
  double price() const { return f64(17); }
  void set_price(double v) { set_f64(17, v); }
  double quantity() const { return f64(25); }
  void set_quantity(double v) { set_f64(25, v); }
  double other_quantity() const { return f64(33); }
  void set_other_quantity(double v) { set_f64(33, v); }
  double excluded_quantity() const { return f64(41); }
  void set_excluded_quantity(double v) { set_f64(41, v); }
  double base_price() const { return f64(50); }
  void set_base_price(double v) { set_f64(50, v); }
  double kz_value() const { return f64(58); }
  void set_kz_value(double v) { set_f64(58, v); }
  double investor_quantity() const { return f64(66); }
  void set_investor_quantity(double v) { set_f64(66, v); }
  uint8_t base_material() const { return bytes[74]; }
  void set_base_material(uint8_t v) { bytes[74] = v; }
  uint8_t mp_mode() const { return bytes[75]; }
  void set_mp_mode(uint8_t v) { bytes[75] = v; }
};

struct chpt_zest_record : price_record_base<CHPT_ZEST_FIXED> {
  static chpt_zest_record from_bytes(std::span<const uint8_t> data) {
    chpt_zest_record r;
    fill(r, data);
    return r;
  }
  double value() const { return f64(17); }
  double quantity() const { return f64(25); }
  double excluded_value() const { return f64(33); }
  double excluded_quantity() const { return f64(41); }
  double base_value() const { return f64(50); }
  double kz_value() const { return f64(58); }
  double investor_quantity() const { return f64(66); }
  double investor_value() const { return f64(74); }
  double price_low() const { return f64(82); }
  double price_high() const { return f64(90); }
  double base_price_low() const { return f64(98); }
  double base_price_high() const { return f64(106); }
  double investor_value_base() const { return f64(114); }
  double basis_value() const { return f64(122); }
  double basis_quantity() const { return f64(130); }
  // Field offsets for writers: 17 value ... 130 basis quantity (see the names above).
};

// A new summary record: zero but for kind, key, unit and name.
chpt_zest_record new_chpt_zest_record(uint8_t kind, uint32_t id, uint16_t sub, std::string_view unit,
                                      std::string_view name);

// Average price of a summary record: price-basis value / quantity, else the midpoint of
// the lowest and highest price, held within them.
double average_price(const chpt_zest_record& r);
// Value at base price / price-basis quantity; 0 without quantity.
double average_base_price(const chpt_zest_record& r);

std::span<const field_def> zest_fields();
std::span<const field_def> chpt_zest_fields();

} // namespace kovra::document
