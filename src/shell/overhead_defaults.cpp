#include "shell/overhead_defaults.h"

#include "shell/section_codec.h"
#include "store/codepage.h"

#include <cstring>

namespace kovra::shell {
namespace {

uint8_t* rate_at(uint8_t* record, int row, int column) {
  return record + overhead_row_offset + row * overhead_row_size + overhead_name_size + 4 * column;
}

void set_all_rates(uint8_t* record, float rate) {
  for (int r = 0; r < overhead_rows; ++r)
    for (int c = 0; c < overhead_columns; ++c) set_overhead_rate(record, r, c, rate);
}

} // namespace

float overhead_rate(const uint8_t* record, int row, int column) {
  if (row < 0 || row >= overhead_rows || column < 0 || column >= overhead_columns) return -1;
  return get_f32(rate_at(const_cast<uint8_t*>(record), row, column));
}

void set_overhead_rate(uint8_t* record, int row, int column, float rate) {
  if (row < 0 || row >= overhead_rows || column < 0 || column >= overhead_columns) return;
  put_f32(rate_at(record, row, column), rate);
}

std::string overhead_row_name(const uint8_t* record, int row) {
  if (row < 0 || row >= overhead_rows) return {};
  return get_text(record + overhead_row_offset + row * overhead_row_size, overhead_name_size);
}

int16_t overhead_switch(const uint8_t* record, int index) {
  if (index < 0 || index > 3) return 0;
  return get_i16(record + overhead_switch_offset + 2 * index);
}

void standard_overhead_defaults(uint8_t* block) {
  std::memset(block, 0, overhead_config_size);
  put_i16(block, 5);
  static const char* const names[overhead_rows] = {
      "Koszty zakupu", "Koszty pośrednie", "Zysk", "Czynny zakład", "Warunki szkodliwe", "", "", "", "",
      "", "Generalne wykonawstwo", "VAT"};
  for (int r = 0; r < overhead_rows; ++r)
    put_text(block + overhead_row_offset + r * overhead_row_size, overhead_name_size,
             store::utf8_to_mazovia(names[r]));
  set_all_rates(block, -1);
  set_overhead_rate(block, 0, 1, 0);
  for (int c = 0; c <= 2; ++c) set_overhead_rate(block, 1, c, 0);
  for (int c = 0; c <= 5; ++c) set_overhead_rate(block, 2, c, 0);
  set_overhead_rate(block, 3, 0, 0);
  set_overhead_rate(block, 3, 2, 0);
  set_overhead_rate(block, 4, 0, 0);
  set_overhead_rate(block, 10, 6, 0);
  set_overhead_rate(block, 11, 6, 0);
  // switches stay 0
  put_f64(block + overhead_factor_offset, 1.0);
  block[overhead_calc_method_offset] = 0;           // FORMUŁA II
  block[overhead_per_position_offset] = 0;          // per element
  block[overhead_profit_per_component_offset] = 0;  // profit on the sum
}

void investor_overhead_defaults(uint8_t* block) {
  standard_overhead_defaults(block);
  set_all_rates(block, -1);
  set_overhead_rate(block, 1, 0, 0);
  set_overhead_rate(block, 1, 2, 0);
  for (int c = 0; c <= 5; ++c) set_overhead_rate(block, 2, c, 0);
  set_overhead_rate(block, 11, 6, 0);
  block[overhead_calc_method_offset] = 2;           // investor method
  block[overhead_per_position_offset] = 1;          // per position
  block[overhead_profit_per_component_offset] = 0;  // profit on the sum
}

} // namespace kovra::shell
