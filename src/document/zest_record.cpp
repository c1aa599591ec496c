#include "document/zest_record.h"

#include <algorithm>

namespace kovra::document {

key0_t make_key0(uint32_t id, uint16_t sub) {
  key0_t k{};
  put_u32(k.data(), id);
  put_u16(k.data() + 4, sub);
  return k;
}

chpt_zest_record new_chpt_zest_record(uint8_t kind, uint32_t id, uint16_t sub, std::string_view unit,
                                      std::string_view name) {
  chpt_zest_record r;
  r.set_kind(kind);
  r.set_key(id, sub);
  r.set_unit(unit);
  r.set_name(name);
  return r;
}

double average_price(const chpt_zest_record& r) {
  double low = r.price_low(), high = r.price_high();
  double avg = r.basis_quantity() != 0 ? r.basis_value() / r.basis_quantity() : 0;
  if (r.basis_quantity() == 0 || avg == 0) avg = (low + high) / 2;
  return std::clamp(avg, std::min(low, high), std::max(low, high));
}

double average_base_price(const chpt_zest_record& r) {
  return r.basis_quantity() == 0 ? 0 : r.base_value() / r.basis_quantity();
}

namespace {
using K = field_kind;
constexpr field_def zest[] = {
    {"serial", 0, K::u16, 0},          {"kind", 2, K::u8, 0},
    {"id", 3, K::u32, 0},              {"sub", 7, K::u16, 0},
    {"unit", 9, K::text, 8},           {"price", 17, K::f64, 0},
    {"quantity", 25, K::f64, 0},       {"other_quantity", 33, K::f64, 0},
    {"excluded_quantity", 41, K::f64, 0}, {"kz_mode", 49, K::u8, 0},
    {"base_price", 50, K::f64, 0},     {"kz_value", 58, K::f64, 0},
    {"investor_quantity", 66, K::f64, 0}, {"base_material", 74, K::u8, 0},
    {"mp_mode", 75, K::u8, 0},
};
constexpr field_def chpt_zest[] = {
    {"serial", 0, K::u16, 0},           {"kind", 2, K::u8, 0},
    {"id", 3, K::u32, 0},               {"sub", 7, K::u16, 0},
    {"unit", 9, K::text, 8},            {"value", 17, K::f64, 0},
    {"quantity", 25, K::f64, 0},        {"excluded_value", 33, K::f64, 0},
    {"excluded_quantity", 41, K::f64, 0}, {"kz_mode", 49, K::u8, 0},
    {"base_value", 50, K::f64, 0},      {"kz_value", 58, K::f64, 0},
    {"investor_quantity", 66, K::f64, 0}, {"investor_value", 74, K::f64, 0},
    {"price_low", 82, K::f64, 0},       {"price_high", 90, K::f64, 0},
    {"base_price_low", 98, K::f64, 0},  {"base_price_high", 106, K::f64, 0},
    {"investor_value_base", 114, K::f64, 0}, {"basis_value", 122, K::f64, 0},
    {"basis_quantity", 130, K::f64, 0},
};
} // namespace

std::span<const field_def> zest_fields() { return zest; }
std::span<const field_def> chpt_zest_fields() { return chpt_zest; }

} // namespace kovra::document
