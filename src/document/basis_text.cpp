#include "document/basis_text.h"

#include <cctype>
#include <cstdio>

namespace kovra::document {

namespace {
// Upper case of ASCII letters and of the Mazovia Polish lower-case letters.
std::string upper(std::string_view s) {
  static const std::pair<uint8_t, uint8_t> polish[] = {{0x86, 0x8F}, {0x8D, 0x95}, {0x91, 0x90},
                                                       {0x92, 0x9C}, {0xA4, 0xA5}, {0xA2, 0xA3},
                                                       {0x9E, 0x98}, {0xA6, 0xA0}, {0xA7, 0xA1}};
  std::string out(s);
  for (char& c : out) {
    uint8_t u = uint8_t(c);
    if (u >= 'a' && u <= 'z') c = char(u - 32);
    for (auto [lo, up] : polish)
      if (u == lo) c = char(up);
  }
  return out;
}
} // namespace

std::string basis_text(elpz_record& r, bool numeric, std::string_view catalogue_prefix) {
  int type = r.type();
  if (!is_position_type(type) && type != NODE_SCAFFOLD) return {};
  if ((r.flags() & FLAG_BASIS_AS_TEXT) && !numeric) return r.basis_text_field();

  std::string name = upper(r.catalogue_name());
  if (name.empty()) name = upper(catalogue_prefix);
  name = name.substr(0, 5);
  r.set_catalogue_name(name);
  if (r.catalogue_number() == 0) return {};

  bool simplified = type == NODE_SIMPLIFIED || type == NODE_SIMPLIFIED_PLAIN;
  // A current variant that is not below the number of variants (a damaged record) is the
  // first one, as the inputs view takes it.
  int current = r.current_variant();
  if (current < 0 || current >= r.variant_count()) current = 0;
  int a = 0;
  if (type == NODE_POSITION || type == NODE_POSITION_PLAIN)
    a = r.variant_count() < 2 ? 0 : current + 1;
  else if (simplified)
    a = r.variant_count() < 2 && r.ref_style() == 0 ? 0 : current + 1;
  int b = simplified ? r.ref_style() : 0;

  char buf[64];
  std::string text = name + " " + std::to_string(r.catalogue_number());
  if (r.table_number() == 0) {
    if (r.further_number() > 0) text += "/" + std::to_string(r.further_number());
    return text;
  }
  if (b == 1) {
    std::snprintf(buf, sizeof buf, "/%04d", int(r.table_number()));
    text += buf;
    if (r.column_number() != 0) {
      std::snprintf(buf, sizeof buf, "-%02d%02d", int(r.column_number()), a);
      text += buf;
    }
    return text;
  }
  text += "/" + std::to_string(r.table_number());
  if (r.column_number() != 0) {
    text += "/" + std::to_string(r.column_number());
    if (a != 0) text += " (" + std::to_string(a) + ")";
  }
  return text;
}

} // namespace kovra::document
