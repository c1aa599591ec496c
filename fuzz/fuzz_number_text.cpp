// Number texts: every display function on any double (and code and width), and typed text
// through the separator conversion, the grouping and trimming helpers and the interpreter.
// Texts never exceed their width or the ring buffer.
#include "calc/decimal_separator.h"
#include "calc/display_ring.h"
#include "calc/interpreter.h"
#include "calc/number_text.h"
#include "calc/rounding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void expect_width(const char* text, std::size_t width) {
  if (std::strlen(text) != width) std::abort();
}

void expect_bounded(const char* text) {
  if (std::strlen(text) >= kovra::calc::display_buffer_size) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kovra::calc;
  if (size < 13) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  float single;
  std::memcpy(&single, data, sizeof single);
  const int code = static_cast<int8_t>(data[8]);
  int width;
  std::memcpy(&width, data + 9, sizeof width);
  set_system_decimal_separator(data[8] & 1 ? ',' : '.');

  expect_width(text_quantity(value, code, true), 14);
  expect_width(text_quantity(value, code, false), 14);
  expect_width(text_quantity_short(value, code), 14);
  expect_bounded(text_money(value));
  expect_bounded(text_money_e(value));
  expect_width(text_price(value), 9);
  expect_width(text_price_signed(value), 9);
  expect_width(text_coefficient(single, data[8] & 2), 6);
  expect_width(text_tenths(value), 9);
  expect_width(text_norm(value), 8);
  expect_bounded(text_amount(value));
  const char* percent = text_percent(value, width);
  expect_bounded(percent);
  if (width >= 7 && width < 38) expect_width(percent, static_cast<std::size_t>(width));
  expect_bounded(text_percent_signed(value, width));
  expect_bounded(text_distance(single));
  expect_width(text_factor(value), 5);
  char factor[6];
  text_factor_or_blank(value, factor, sizeof factor);
  expect_width(factor, 5);
  expect_bounded(text_integer(value));
  (void)round_to(value, static_cast<double>(single));
  (void)combine_codes(code, data[9]);

  std::string typed(reinterpret_cast<const char*>(data + 13), size - 13);
  from_display_separator(typed);
  VL_simp_interpret interpreter;
  double result = 0.0;
  interpreter.evaluate(typed.c_str(), result);

  char text[display_buffer_size * 2] = {};
  const std::size_t n = std::min(typed.size(), display_buffer_size - 1);
  std::memcpy(text, typed.data(), n);
  text[n] = '\0';
  group_digits(text, sizeof text, code);
  if (std::strlen(text) >= sizeof text) std::abort();
  trim_fraction(text, data[8] & 4, data[8] & 8);
  trim_spaces(text);
  reset_system_decimal_separator();
  return 0;
}
