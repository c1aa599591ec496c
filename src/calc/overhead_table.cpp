#include "calc/overhead_table.h"

#include "calc/rounding.h"
#include "shell/overhead_defaults.h"

#include <cstring>

namespace kovra::calc {

double overhead_table::rate(int row, int column) const {
  if (row < 0 || row >= overhead_rows || column < 0 || column >= overhead_columns) return 0;
  return round_percent(rows[row].rates[column]);
}

overhead_table overhead_table_from_record(const uint8_t* record) {
  overhead_table t;
  for (int r = 0; r < overhead_rows; ++r) {
    t.rows[r].name = shell::overhead_row_name(record, r);
    for (int c = 0; c < overhead_columns; ++c) t.rows[r].rates[c] = shell::overhead_rate(record, r, c);
  }
  t.kp_plus_cz = shell::overhead_switch(record, 0);
  t.kp_plus_ws = shell::overhead_switch(record, 1);
  t.z_plus_cz = shell::overhead_switch(record, 2);
  t.z_plus_ws = shell::overhead_switch(record, 3);
  int16_t head = 0;
  std::memcpy(&head, record, sizeof head);
  t.head = head;
  t.tail = 1.0; // always 1.0; another value is replaced on opening
  return t;
}

overhead_table default_standard_overheads() {
  shell::overhead_block block{};
  shell::standard_overhead_defaults(block.data());
  return overhead_table_from_record(block.data());
}

overhead_table default_investor_overheads() {
  shell::overhead_block block{};
  shell::investor_overhead_defaults(block.data());
  return overhead_table_from_record(block.data());
}

double overhead(const overhead_table& t, double x, int row, int column) {
  const double r = t.rate(row, column);
  return r > 0 ? round_money(r * x / 100) : 0;
}

double two_part(const overhead_table& t, int row, double base, double kp, int column_base, int column_kp) {
  if (t.rate(row, column_base) == t.rate(row, column_kp)) return overhead(t, base + kp, row, column_base);
  return overhead(t, base, row, column_base) + overhead(t, kp, row, column_kp);
}

} // namespace kovra::calc
