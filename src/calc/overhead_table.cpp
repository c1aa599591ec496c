#include "calc/overhead_table.h"

#include "calc/recalc_rounding.h"
#include "store/codepage.h"

namespace kovra::calc {

double overhead_table::rate(int row, int column) const {
  if (row < 0 || row >= overhead_rows || column < 0 || column >= overhead_columns) return 0;
  return round_percent(rows[row].rates[column]);
}

overhead_table default_standard_overheads() {
  overhead_table t;
  static const char* const names[overhead_rows] = {
      "Koszty zakupu", "Koszty pośrednie", "Zysk", "Czynny zakład", "Warunki szkodliwe",
      "", "", "", "", "", "Generalne wykonawstwo", "VAT"};
  for (int r = 0; r < overhead_rows; ++r) {
    t.rows[r].name = store::utf8_to_mazovia(names[r]);
    t.rows[r].rates.fill(-1.0f);
  }
  t.rows[0].rates[col_m] = 0;
  for (int c = 0; c <= 2; ++c) t.rows[1].rates[c] = 0;
  for (int c = 0; c <= 5; ++c) t.rows[2].rates[c] = 0;
  t.rows[3].rates[col_r] = 0;
  t.rows[3].rates[col_s] = 0;
  t.rows[4].rates[col_r] = 0;
  t.rows[10].rates[col_running] = 0;
  t.rows[11].rates[col_running] = 0;
  return t;
}

overhead_table default_investor_overheads() {
  overhead_table t = default_standard_overheads();
  for (auto& row : t.rows) row.rates.fill(-1.0f);
  t.rows[1].rates[col_r] = 0;
  t.rows[1].rates[col_s] = 0;
  for (int c = 0; c <= 5; ++c) t.rows[2].rates[c] = 0;
  t.rows[11].rates[col_running] = 0;
  return t;
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
